"""Tests of the text table tools: the resource script generator and the check."""

import os
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
TOOLS = os.path.dirname(HERE)
sys.path.insert(0, TOOLS)
import texttable  # noqa: E402

# A complete small table: three ids in the eight languages that have files.
COMPLETE = {
    "en": {10200: "&OK", 11380: "A-Entries History", 21020: "Text (*.TXT)|*.txt|"},
    "cs": {10200: "&OK", 11380: "A-Historie hesel", 21020: "Text (*.TXT)|*.txt|"},
    "de": {10200: "&OK", 11380: "A-Verlauf", 21020: "Text (*.TXT)|*.txt|"},
    "ru": {10200: "&ОК", 11380: "A-История", 21020: "Текст (*.TXT)|*.txt|"},
    "fr": {10200: "&OK", 11380: "A-Historique", 21020: "Texte (*.TXT)|*.txt|"},
    "es": {10200: "&Aceptar", 11380: "A-Historial", 21020: "Texto (*.TXT)|*.txt|"},
    "it": {10200: "&OK", 11380: "A-Cronologia", 21020: "Testo (*.TXT)|*.txt|"},
    "pl": {10200: "&OK", 11380: "A-Historia", 21020: "Tekst (*.TXT)|*.txt|"},
}


def write_table(folder, table):
    os.makedirs(folder, exist_ok=True)
    for stem, texts in table.items():
        with open(os.path.join(folder, stem + ".txt"), "w", encoding="utf-8") as f:
            f.write("# test table\n\n")
            for base, text in texts.items():
                escaped = text.replace("\\", "\\\\").replace("\n", "\\n").replace("\t", "\\t")
                f.write(f"{base}\t{escaped}\n")


def read_if_there(path):
    if not os.path.exists(path):
        return None
    with open(path, encoding="utf-8") as f:
        return f.read()


def run(script, *args):
    return subprocess.run([sys.executable, os.path.join(TOOLS, script), *args],
                          capture_output=True, text=True, encoding="utf-8")


class GeneratorTest(unittest.TestCase):
    def generate(self, tables):
        with tempfile.TemporaryDirectory() as tmp:
            folders = []
            for i, table in enumerate(tables):
                folder = os.path.join(tmp, f"t{i}")
                write_table(folder, table)
                folders.append(folder)
            out = os.path.join(tmp, "out", "strings.rc")
            result = run("make_string_table.py", out, *folders)
            self.assertEqual(result.returncode, 0, result.stderr)
            with open(out, encoding="utf-8") as f:
                rc = f.read()
        entries = {}
        for line in rc.splitlines():
            line = line.strip()
            if line[:1].isdigit():
                key, _, value = line.partition(", ")
                entries[int(key)] = value
        self.assertIn("#pragma code_page(65001)", rc)
        return entries

    def test_ids_escapes_fallback_and_overrides(self):
        entries = self.generate([
            {"en": {10200: 'Say "hi" \\ C:\\x\tF1\nnext', 10300: "Ready", 10400: ""},
             "cs": {10200: "Řekni \"ahoj\" \\ C:\\x\tF1\nDál", 10300: "Připraveno"},
             "cs_plain": {10300: "Nachystano"},
             "ru": {10200: "Скажи"}},
            {"en": {10300: "Done:"}, "cs": {10300: "Hotovo:"}},
        ])
        cases = [
            (10200, '"Say ""hi"" \\\\ C:\\\\x\\tF1\\nnext"'),       # English
            (10201, '"Řekni ""ahoj"" \\\\ C:\\\\x\\tF1\\nDál"'),     # Czech
            (10202, '"Rekni ""ahoj"" \\\\ C:\\\\x\\tF1\\nDal"'),     # Czech without diacritics
            (10204, '"Скажи"'),                                       # Russian
            (10205, '"Say ""hi"" \\\\ C:\\\\x\\tF1\\nnext"'),       # French not there: English
            (10300, '"Done:"'),                                       # the override wins
            (10301, '"Hotovo:"'),
            (10302, '"Hotovo:"'),                                     # stripped from the override
            (10304, '"Done:"'),
        ]
        for rc_id, value in cases:
            self.assertEqual(entries.get(rc_id), value, rc_id)
        self.assertNotIn(10400, entries)  # an empty text is no entry
        self.assertEqual(len([k for k in entries if k // 10 == 1020]), 9)

    def test_explicit_text_without_diacritics_wins(self):
        entries = self.generate([{"en": {10300: "Ready"}, "cs": {10300: "Připraveno"},
                                  "cs_plain": {10300: "Nachystano"}}])
        self.assertEqual(entries[10302], '"Nachystano"')

    def test_malformed_lines_fail(self):
        for line in ["10205\tnot a multiple of ten", "abc\ttext", "10200 no tab",
                     "10200\tbad \\q escape", "10200\tone\n10200\ttwice"]:
            with tempfile.TemporaryDirectory() as tmp:
                with open(os.path.join(tmp, "en.txt"), "w", encoding="utf-8") as f:
                    f.write(line + "\n")
                result = run("make_string_table.py", os.path.join(tmp, "x.rc"), tmp)
                self.assertEqual(result.returncode, 1, line)
                self.assertIn("en.txt", result.stderr)


class CheckTest(unittest.TestCase):
    def check(self, shared, override=None, required=(10200, 11380, 21020)):
        with tempfile.TemporaryDirectory() as tmp:
            write_table(os.path.join(tmp, "lexora"), shared)
            args = [os.path.join(tmp, "ids.txt"), os.path.join(tmp, "lexora")]
            if override is not None:
                write_table(os.path.join(tmp, "lexbulk"), override)
                args.append(os.path.join(tmp, "lexbulk"))
            with open(args[0], "w") as f:
                f.write("# ids\n" + "".join(f"{i}\tkTextNumber{i}\n" for i in required))
            return run("check_texts.py", *args)

    def test_complete_table_passes(self):
        result = self.check(COMPLETE, {"en": {}})
        self.assertEqual(result.returncode, 0, result.stderr)

    def test_language_8_of_another_table(self):
        # ts's table has Slovak (sk.txt) as UI language 8 in place of Polish.
        table = {k: dict(v) for k, v in COMPLETE.items()}
        table["sk"] = table.pop("pl")
        with tempfile.TemporaryDirectory() as tmp:
            write_table(os.path.join(tmp, "ts"), table)
            ids = os.path.join(tmp, "ids.txt")
            with open(ids, "w") as f:
                f.write("".join(f"{i}\tkTextNumber{i}\n" for i in (10200, 11380, 21020)))
            self.assertEqual(run("check_texts.py", ids, os.path.join(tmp, "ts")).returncode, 1)
            result = run("check_texts.py", ids, os.path.join(tmp, "ts"), "--language-8", "sk:Slovak")
            self.assertEqual(result.returncode, 0, result.stderr)
            del table["sk"][10200]
            write_table(os.path.join(tmp, "ts2"), table)
            result = run("check_texts.py", ids, os.path.join(tmp, "ts2"), "--language-8", "sk:Slovak")
            self.assertIn("id 10200 has no Slovak text", result.stderr)
            out = os.path.join(tmp, "out.rc")
            result = run("make_string_table.py", out, os.path.join(tmp, "ts"), "--language-8", "sk:Slovak")
            self.assertEqual(result.returncode, 0, result.stderr)
            self.assertIn('11388, "A-Historia"', read_if_there(out))
            header = os.path.join(tmp, "ids.h")
            result = run("make_text_ids.py", ids, os.path.join(tmp, "ts"), header, "--namespace", "ts")
            self.assertEqual(result.returncode, 0, result.stderr)
            self.assertIn("namespace ts {", read_if_there(header))

    def test_faults_are_found(self):
        def changed(stem, base, text):
            table = {k: dict(v) for k, v in COMPLETE.items()}
            if text is None:
                del table[stem][base]
            else:
                table[stem][base] = text
            return table

        cases = [
            (changed("pl", 10200, None), "id 10200 has no Polish text"),
            (changed("cs", 11380, None), "id 11380 has no Czech without diacritics text"),
            (changed("en", 21020, None), "id 21020 has no English text"),
            (changed("ru", 10200, "&Ąa"), "not in code page 1251"),
            (changed("it", 10200, "Così"), "not in code page 1250"),
            (changed("de", 10200, "OK"), "does not keep the '&'"),
            (changed("fr", 21020, "Texte (*.TXT)"), "does not keep the '|'"),
            (changed("es", 11380, "Historial"), "must begin with 'A-'"),
            (changed("cs", 10200, "x" * 253), "253 bytes"),
            (changed("de", 30000, "Extra"), "id 30000 has a German text but no English one"),
        ]
        for table, fault in cases:
            result = self.check(table)
            self.assertEqual(result.returncode, 1, fault)
            self.assertIn(fault, result.stderr)

    def test_override_needs_every_language(self):
        result = self.check(COMPLETE, {"en": {10200: "&Go"}, "cs": {10200: "&Jdi"}})
        self.assertEqual(result.returncode, 1)
        self.assertIn("lexbulk: id 10200 overrides the English text but not the German one", result.stderr)
        self.assertNotIn("Czech", result.stderr)

    def test_every_text_needs_a_named_id(self):
        result = self.check(COMPLETE, required=(10200, 11380))
        self.assertEqual(result.returncode, 1)
        self.assertIn("id 21020 has no name in the ids file", result.stderr)

    def test_czech_without_diacritics_is_ascii(self):
        self.assertEqual(texttable.strip_diacritics("Příliš žluťoučký kůň úpěl ďábelské ódy"),
                         "Prilis zlutoucky kun upel dabelske ody")


class TextIdsTest(unittest.TestCase):
    def generate(self, ids_text):
        with tempfile.TemporaryDirectory() as tmp:
            write_table(os.path.join(tmp, "lexora"), {"en": {10200: "&OK", 10900: 'Run\n"again"\\'}})
            ids = os.path.join(tmp, "ids.txt")
            with open(ids, "w", encoding="utf-8") as f:
                f.write(ids_text)
            out = os.path.join(tmp, "gen", "core", "texts", "text_ids.h")
            result = run("make_text_ids.py", ids, os.path.join(tmp, "lexora"), out)
            header = read_if_there(out)
        return result, header

    def test_names_for_code_and_resources(self):
        result, header = self.generate("# names\n10200\tkTextOk\n10900\tkTextRestartQuestion\n")
        self.assertEqual(result.returncode, 0, result.stderr)
        code, _, rc = header.partition("#ifdef RC_INVOKED")
        rc, _, cpp = rc.partition("#else")
        self.assertIn("#define kTextOk 10200\n", rc)
        self.assertIn("#define kTextRestartQuestion 10900\n", rc)
        self.assertIn("namespace lex {", cpp)
        self.assertRegex(cpp, r'constexpr int kTextOk +  *= 10200;  // "&OK"\n')
        # The comment never ends in a backslash that would swallow the next line.
        self.assertRegex(cpp, r'= 10900;  // "Run\\n""again""\\\\"\n')

    def test_bad_ids_files_fail(self):
        cases = [
            ("10200\tkTextOk\n10200\tkTextAgain\n", "id 10200 given twice"),
            ("10200\tkTextOk\n10210\tkTextOk\n", "name kTextOk given twice"),
            ("10205\tkTextOk\n", "not a multiple of 10"),
            ("10200\tOk\n", "not a name like kTextSomething"),
            ("10200\tkText-Ok\n", "not a name like kTextSomething"),
            ("10200\n", "expected '<id><TAB><name>'"),
        ]
        for text, fault in cases:
            result, header = self.generate(text)
            self.assertEqual(result.returncode, 1, text)
            self.assertIn(fault, result.stderr, text)
            self.assertIsNone(header, text)


# A menu bar with a nested popup and a top-level item, in two resources' worth
# of languages.
LAYOUT = """# test menus
RESOURCES A B C D E F G H I
POPUP FileMenu
    CM_OPEN
    SEPARATOR
    POPUP MoreMenu
        CM_SAVE
        CM_SAVE SaveAgain
    END
END
CM_END
"""
MENU_TEXTS = {
    "en": {"FileMenu": "&File", "MoreMenu": "&More", "CM_OPEN": "&Open\tCtrl+O", "CM_SAVE": "Save",
           "SaveAgain": "Save &again", "CM_END": "&End"},
    "cs": {"FileMenu": "&Soubor", "MoreMenu": "&Další", "CM_OPEN": "&Otevřít\tCtrl+O", "CM_SAVE": "&Uložit",
           "SaveAgain": "Uložit &znovu", "CM_END": "&Konec"},
}
for stem in ("de", "ru", "fr", "es", "it", "pl"):
    MENU_TEXTS[stem] = dict(MENU_TEXTS["en"])
MENU_TEXTS["ru"]["CM_END"] = "&Выход"


class MenuTest(unittest.TestCase):
    def run_tool(self, script, texts, layout=LAYOUT):
        with tempfile.TemporaryDirectory() as tmp:
            write_table(os.path.join(tmp, "menus"), texts)
            layout_file = os.path.join(tmp, "menus.layout")
            with open(layout_file, "w", encoding="utf-8") as f:
                f.write(layout)
            out = os.path.join(tmp, "out", "menus.rc")
            if script == "make_menus.py":
                result = run(script, layout_file, os.path.join(tmp, "menus"), out)
            else:
                result = run(script, "--menus", layout_file, os.path.join(tmp, "menus"))
            rc = read_if_there(out)
        return result, rc

    def test_menus_of_every_language(self):
        result, rc = self.run_tool("make_menus.py", MENU_TEXTS)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn("#pragma code_page(65001)", rc)
        menus = rc.split("\n\n")[1:]
        self.assertEqual([m.splitlines()[0] for m in menus], [f"{n} MENU" for n in "ABCDEFGHI"])
        self.assertEqual(menus[0].splitlines()[1:], [
            "BEGIN",
            '  POPUP "&File"',
            "  BEGIN",
            '    MENUITEM "&Open\\tCtrl+O", CM_OPEN',
            "    MENUITEM SEPARATOR",
            '    POPUP "&More"',
            "    BEGIN",
            '      MENUITEM "Save", CM_SAVE',
            '      MENUITEM "Save &again", CM_SAVE',
            "    END",
            "  END",
            '  MENUITEM "&End", CM_END',
            "END",
        ])
        self.assertIn('MENUITEM "Uložit &znovu", CM_SAVE', menus[1])
        self.assertIn('MENUITEM "Ulozit &znovu", CM_SAVE', menus[2])  # Czech without diacritics
        self.assertIn('MENUITEM "&Выход", CM_END', menus[4])

    def test_menu_table_check(self):
        result, _ = self.run_tool("check_texts.py", MENU_TEXTS)
        self.assertEqual(result.returncode, 0, result.stderr)

        def changed(stem, key, text):
            table = {k: dict(v) for k, v in MENU_TEXTS.items()}
            if text is None:
                del table[stem][key]
            else:
                table[stem][key] = text
            return table

        cases = [
            (changed("pl", "CM_SAVE", None), "CM_SAVE has no Polish text"),
            (changed("en", "MoreMenu", None), "MoreMenu has no English text"),
            (changed("ru", "CM_OPEN", "&Открыть Ctrl+O"), "does not keep the tab"),
            (changed("de", "FileMenu", "Datei"), "does not keep the '&'"),
            (changed("fr", "CM_SAVE", "Enregistrer\tF2"), "has a tab that the English text lacks"),
            (changed("it", "CM_END", "&Così"), "not in code page 1250"),
            (changed("en", "CM_CLOSE", "&Close"), "CM_CLOSE has a English text but is not in menus.layout"),
        ]
        for table, fault in cases:
            result, _ = self.run_tool("check_texts.py", table)
            self.assertEqual(result.returncode, 1, fault)
            self.assertIn(fault, result.stderr)

    def test_bad_layouts_fail(self):
        cases = [
            (LAYOUT.replace("    END\n", "", 1), "a POPUP lacks its END"),
            (LAYOUT.replace("RESOURCES A B C D E F G H I\n", ""), "no RESOURCES line"),
            (LAYOUT.replace(" I\n", "\n"), "RESOURCES line with 9 names"),
            (LAYOUT + "END\n", "END without a POPUP"),
            (LAYOUT.replace("CM_END", "CM_END Two Keys"), "expected '<command id name> [<text key>]'"),
        ]
        for layout, fault in cases:
            result, rc = self.run_tool("make_menus.py", MENU_TEXTS, layout)
            self.assertEqual(result.returncode, 1, fault)
            self.assertIn(fault, result.stderr)
            self.assertIsNone(rc, fault)


if __name__ == "__main__":
    unittest.main()
