#!/usr/bin/env python3
"""Writes the nine menu resources of lexora ("A_COMMANDS" .. "P_COMMANDS").

Usage: make_menus.py OUT.rc

Each UI language has its own menu; the texts below are written per language.
Language 2 (Czech without diacritics) is the Czech menu with the diacritics
taken away. The output is a UTF-8 resource script (menus are stored as UTF-16).
"""
import sys
import unicodedata

# UI language index -> menu resource name
NAMES = ["A_COMMANDS", "C_COMMANDS", "CC_COMMANDS", "N_COMMANDS", "R_COMMANDS",
         "F_COMMANDS", "S_COMMANDS", "I_COMMANDS", "P_COMMANDS"]
# Languages written out (index 2 is derived from 1).
LANGS = ["en", "cs", "de", "ru", "fr", "es", "it", "pl"]
INDEX = {"en": 0, "cs": 1, "de": 3, "ru": 4, "fr": 5, "es": 6, "it": 7, "pl": 8}

T = {}  # key -> {lang: text}


def t(key, en, cs, de, ru, fr, es, it, pl):
    T[key] = dict(en=en, cs=cs, de=de, ru=ru, fr=fr, es=es, it=it, pl=pl)


# Popups
t("P1", "&Dictionary", "&Slovník", "&Wörterbuch", "&Словарь", "&Dictionnaire", "&Diccionario", "&Dizionario", "&Słownik")
t("P2", "&Edit", "Úpr&avy", "&Bearbeiten", "&Правка", "&Edition", "&Edición", "&Modifica", "&Edycja")
t("P3", "&Words", "S&lova", "W&örter", "С&лова", "&Mots", "&Palabras", "&Parole", "&Wyrazy")
t("P4", "&Languages", "&Jazyky", "&Sprachen", "&Языки", "&Langues", "&Idiomas", "&Lingue", "&Języki")
t("P5", "&Setup", "&Nastavení", "E&instellungen", "&Настройка", "&Configuration", "&Configuración", "&Impostazioni", "&Ustawienia")
t("P6", "&Help", "&Nápověda", "&Hilfe", "&Справка", "&Aide", "A&yuda", "&Guida", "&Pomoc")

# Commands (id, texts). The English texts are those the program has always shown.
t(183, "&Translator...", "&Překladač...", "Ü&bersetzer...", "&Переводчик...", "&Traducteur...", "&Traductor...", "&Traduttore...", "&Tłumacz...")
t(190, "&Utility", "&Pomocný program", "&Dienstprogramm", "&Утилита", "&Utilitaire", "&Utilidad", "&Utilita'", "&Narzędzie")
t(703, "Save the Dictionary Actual &Position", "Uložit &polohu slovníku", "Aktuelle &Position speichern", "Сохранить &положение окна", "Enregistrer la &position", "Guardar la &posición", "Salva la &posizione", "Zapisz &położenie okna")
t(189, "&End", "&Konec", "&Beenden", "В&ыход", "&Quitter", "&Salir", "&Esci", "&Koniec")
t(197, "&Undo", "&Zpět", "&Rückgängig", "&Отменить", "&Annuler", "&Deshacer", "&Annulla", "&Cofnij")
t(198, "&Redo", "&Znovu", "&Wiederholen", "&Повторить", "&Rétablir", "&Rehacer", "&Ripristina", "&Ponów")
t(208, "&Copy\tCtrl+C", "&Kopírovat\tCtrl+C", "&Kopieren\tCtrl+C", "&Копировать\tCtrl+C", "&Copier\tCtrl+C", "&Copiar\tCtrl+C", "&Copia\tCtrl+C", "&Kopiuj\tCtrl+C")
t(209, "&Paste\tCtrl+V", "&Vložit\tCtrl+V", "&Einfügen\tCtrl+V", "&Вставить\tCtrl+V", "C&oller\tCtrl+V", "&Pegar\tCtrl+V", "I&ncolla\tCtrl+V", "&Wklej\tCtrl+V")
t(701, "Clibboard Interconnection &Activation \tF8", "Z&apnout propojení se schránkou \tF8", "Zwischenablage-Verbindung &einschalten \tF8", "&Включить связь с буфером \tF8", "&Activer le lien au presse-papiers \tF8", "&Activar el enlace al portapapeles \tF8", "&Attiva il collegamento agli appunti \tF8", "&Włącz połączenie ze schowkiem \tF8")
t(702, "Clibboard I&nterconnection Cancellation \tF8", "&Vypnout propojení se schránkou \tF8", "Zwischenablage-Verbindung &ausschalten \tF8", "В&ыключить связь с буфером \tF8", "&Désactiver le lien au presse-papiers \tF8", "&Desactivar el enlace al portapapeles \tF8", "&Disattiva il collegamento agli appunti \tF8", "&Wyłącz połączenie ze schowkiem \tF8")
t(199, "Worlds &History...\tF2", "&Historie slov...\tF2", "&Wortverlauf...\tF2", "&История слов...\tF2", "&Historique des mots...\tF2", "&Historial de palabras...\tF2", "&Cronologia parole...\tF2", "&Historia słów...\tF2")
t(186, "&Irregular Verbs...\tF7", "&Nepravidelná slovesa...\tF7", "&Unregelmäßige Verben...\tF7", "&Неправильные глаголы...\tF7", "&Verbes irréguliers...\tF7", "&Verbos irregulares...\tF7", "&Verbi irregolari...\tF7", "&Czasowniki nieregularne...\tF7")
t(300, "&Locate...", "&Hledat...", "&Suchen...", "&Найти...", "&Rechercher...", "&Buscar...", "&Trova...", "&Szukaj...")
t(301, "Locate &Next...", "Hledat &další...", "&Weitersuchen...", "Найти &далее...", "Rechercher la &suite...", "Buscar &siguiente...", "Trova &successivo...", "Szukaj &dalej...")
t(103, "&Existing Word and/or its Translation Correction...\tF5", "&Oprava slova nebo překladu...\tF5", "&Korrektur eines Wortes oder seiner Übersetzung...\tF5", "&Исправить слово или перевод...\tF5", "&Corriger un mot ou sa traduction...\tF5", "&Corregir una palabra o su traducción...\tF5", "&Correggi una parola o la sua traduzione...\tF5", "&Popraw wyraz lub tłumaczenie...\tF5")
t(215, "&New Entry and/or Its Translation Input...\tF6", "&Nové slovo nebo překlad...\tF6", "&Neues Wort oder neue Übersetzung...\tF6", "&Новое слово или перевод...\tF6", "&Nouveau mot ou traduction...\tF6", "&Nueva palabra o traducción...\tF6", "&Nuova parola o traduzione...\tF6", "&Nowy wyraz lub tłumaczenie...\tF6")
t(216, "Delete the Whole Entry...", "Smazat &celé heslo...", "Ganzen &Eintrag löschen...", "Удалить &всё слово...", "Supprimer l'&entrée...", "Borrar la &entrada...", "Elimina la &voce...", "Usuń &całe hasło...")
t(219, "Delete the Single Translation Only...", "Smazat &jen jeden překlad...", "Nur eine Ü&bersetzung löschen...", "Удалить &один перевод...", "Supprimer une &traduction...", "Borrar una &traducción...", "Elimina una &traduzione...", "Usuń &jedno tłumaczenie...")
t(211, "&English", "&Angličtina", "&Englisch", "&Английский", "&Anglais", "&Inglés", "&Inglese", "&Angielski")
t(212, "&German", "&Němčina", "&Deutsch", "&Немецкий", "A&llemand", "A&lemán", "&Tedesco", "&Niemiecki")
t(603, "&Russian", "&Ruština", "&Russisch", "&Русский", "&Russe", "&Ruso", "&Russo", "&Rosyjski")
t(604, "&French", "&Francouzština", "&Französisch", "&Французский", "&Français", "&Francés", "&Francese", "&Francuski")
t(605, "&Spanish", "Š&panělština", "&Spanisch", "&Испанский", "&Espagnol", "&Español", "&Spagnolo", "&Hiszpański")
t(606, "&Italian", "&Italština", "&Italienisch", "&Итальянский", "&Italien", "&Italiano", "&Italiano", "&Włoski")
t(607, "Lang. &7", "Jazyk &7", "Sprache &7", "Язык &7", "Langue &7", "Idioma &7", "Lingua &7", "Język &7")
t(608, "Lang. &8", "Jazyk &8", "Sprache &8", "Язык &8", "Langue &8", "Idioma &8", "Lingua &8", "Język &8")
t(609, "Lang. &9", "Jazyk &9", "Sprache &9", "Язык &9", "Langue &9", "Idioma &9", "Lingua &9", "Język &9")
t(610, "Lang. &10", "Jazyk &10", "Sprache &10", "Язык &10", "Langue &10", "Idioma &10", "Lingua &10", "Język &10")
t(217, "&Other Languages...", "&Další jazyky...", "&Andere Sprachen...", "&Другие языки...", "&Autres langues...", "&Otros idiomas...", "&Altre lingue...", "&Inne języki...")
t(213, "Translation &Direction\tF3", "&Směr překladu\tF3", "Übersetzungs&richtung\tF3", "&Направление перевода\tF3", "&Sens de la traduction\tF3", "&Dirección de traducción\tF3", "&Direzione della traduzione\tF3", "&Kierunek tłumaczenia\tF3")
t(115, "&Translate Back\tF4", "Přeložit &zpět\tF4", "&Zurückübersetzen\tF4", "Перевести &обратно\tF4", "&Retraduire\tF4", "&Traducir de vuelta\tF4", "&Ritraduci\tF4", "Przetłumacz &z powrotem\tF4")
t(321, "&Dictionary Configuration...", "&Konfigurace slovníku...", "&Wörterbuch-Konfiguration...", "&Конфигурация словаря...", "&Configuration du dictionnaire...", "&Configuración del diccionario...", "&Configurazione del dizionario...", "&Konfiguracja słownika...")
t(322, "&Font Setup...", "&Písma...", "&Schriftarten...", "&Шрифты...", "&Polices...", "&Fuentes...", "&Caratteri...", "&Czcionki...")
t(101, "Sorting Setup...", "&Řazení...", "&Sortierung...", "&Сортировка...", "&Tri...", "&Ordenación...", "&Ordinamento...", "&Sortowanie...")
t(106, "Keyboard C&onfiguration...", "Nastavení &klávesnic...", "&Tastatur-Konfiguration...", "Настройка &клавиатуры...", "Configuration du &clavier...", "Configuración del &teclado...", "Configurazione della &tastiera...", "Konfiguracja &klawiatury...")
t(224, "&Help\tF1", "&Nápověda\tF1", "&Hilfe\tF1", "&Справка\tF1", "&Aide\tF1", "A&yuda\tF1", "&Guida\tF1", "&Pomoc\tF1")
t(225, "&About the Program...", "&O programu...", "Ü&ber das Programm...", "&О программе...", "À &propos du programme...", "&Acerca del programa...", "&Informazioni sul programma...", "&O programie...")

SEP = None
MENU = [
    ("P1", [183, 190, SEP, 703, SEP, 189]),
    ("P2", [197, 198, SEP, 208, 209, SEP, 701, 702]),
    ("P3", [199, 186, SEP, 300, 301, SEP, 103, 215, 216, 219]),
    ("P4", [211, 212, 603, 604, 605, 606, 607, 608, 609, 610, SEP, 217, SEP, 213, 115]),
    ("P5", [321, 322, 101, 106]),
    ("P6", [224, 225]),
]


def strip_diacritics(s):
    return "".join(c for c in unicodedata.normalize("NFD", s)
                   if unicodedata.category(c) != "Mn")


def rc_string(s):
    return '"' + s.replace('"', '""').replace("\t", "\\t") + '"'


def main():
    out = []
    out.append("// Generated by make_menus.py: the menus of lexora in nine UI languages.")
    out.append("#pragma code_page(65001)")
    for ui, name in enumerate(NAMES):
        if ui == 2:
            text = lambda key: strip_diacritics(T[key]["cs"])
        else:
            lang = [l for l, i in INDEX.items() if i == ui][0]
            text = lambda key, lang=lang: T[key][lang]
        out.append("")
        out.append(f"{name} MENU")
        out.append("BEGIN")
        for popup, items in MENU:
            out.append(f"  POPUP {rc_string(text(popup))}")
            out.append("  BEGIN")
            for item in items:
                if item is SEP:
                    out.append("    MENUITEM SEPARATOR")
                else:
                    out.append(f"    MENUITEM {rc_string(text(item))}, {item}")
            out.append("  END")
        out.append("END")
    with open(sys.argv[1], "w", encoding="utf-8") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
