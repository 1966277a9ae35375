// ts2000.ini, the common settings file of the keyboard product: the keyboard
// configuration program `ts` owns it; the resident keyboard program and the
// dictionary program read and write some of its keys. The programs use the
// bare name, so the file lies in the Windows directory.
//
// The table holds the keys the dictionary program uses; the keys of `ts`
// join it in the order of their sections.
#pragma once

#include <windows.h>

#include "ini_file.h"

namespace lex {

constexpr const char kTs2000IniFileName[] = "ts2000.ini";

enum class Ts2000Key : int {
    LexoraActive,  // [LEXORA] "AKTIVNI": the dictionary is active with its coupling on
    // Keys of ts.
    UiLanguage,          // [Konfigurace] "Komunikacni jazyk": ts's UI language 0..8 (8 Slovak)
    SaveLast,            // [Konfigurace] "Ukladat": 1 = remember the current quick-switch button at the end
    AskToFinish,         // [Konfigurace] "Ukoncit": 1 = ask before ending
    ActivateAtStart,     // [Konfigurace] "Aktivovat": 1 = turn the keyboard on at start
    LastQuickButton,     // [Konfigurace] "Posledni": quick-switch button selected at start
    HideAtStart,         // [Konfigurace] "Minimalizovny": 1 = hide the main window at the first tick
    ActiveKeyboard,      // [Klavesnice] "Aktualni": active keyboard file, "ne_exs" = temporarily off
    ActiveQuickButton,   // [Klavesnice] "AktTlac": active quick-switch button (-1 none; 0 in the poll)
    InstallCount,        // [Klavesnice] "pocitadlo": hook installations by this run of ts
    QuickButtonShortName,  // [RYCHLOTLACITKA] "Tlacitko %i jmeno" (a = button 0..9)
    QuickButtonName,       // [RYCHLOTLACITKA] "Tlacitko %i nazev" ("XXXXX": the default name text)
    QuickButtonData,       // [RYCHLOTLACITKA] "Tlacitko %i data": keyboard file path without ".tsb"
    QuickButtonWindowsLayout,  // [RYCHLOTLACITKA] "Tlacitko %i WindowsKlavesnice": -1 none
    SwitchFile,          // [PREPINAC] "Prepinaci soubor": path of the switch file
    ProgramFolder,       // [CESTY] "Umisteni programu": the program's folder
    // [FONT]: the font of ts's buttons and dialogs, a LOGFONT in its field order.
    ButtonFontHeight,          // "lfHeight", -13
    ButtonFontWidth,           // "lfWidth", 0
    ButtonFontEscapement,      // "lfEscapement", 0
    ButtonFontOrientation,     // "lfOrientation", 0
    ButtonFontWeight,          // "lfWeight", 700
    ButtonFontItalic,          // "lfItalic", 0
    ButtonFontUnderline,       // "lfUnderline", 0
    ButtonFontStrikeOut,       // "lfStrikeOut", 0
    ButtonFontCharSet,         // "lfCharSet", 238
    ButtonFontOutPrecision,    // "lfOutPrecision", 1
    ButtonFontClipPrecision,   // "lfClipPrecision", 2
    ButtonFontQuality,         // "lfQuality", 1
    ButtonFontPitchAndFamily,  // "lfPitchAndFamily", 34
    ButtonFontFaceName,        // "lfFaceName", "System" (30 characters at most)
    Count
};

template <>
struct IniKeyTable<Ts2000Key> {
    static constexpr const char* kFileName = kTs2000IniFileName;
    static const IniKeyDef<Ts2000Key>& Row(Ts2000Key id);
};

using Ts2000IniFile = IniFile<Ts2000Key>;

// [FONT] as a LOGFONT; missing keys take their defaults.
LOGFONTA ReadButtonFont(const Ts2000IniFile& file);
// Writes every key of [FONT] ("%d", the face name cut to 30 characters);
// false when a key could not be written.
bool WriteButtonFont(const Ts2000IniFile& file, const LOGFONTA& font);

}  // namespace lex
