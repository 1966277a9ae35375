#!/usr/bin/env python3
"""Checks the UI text tables of the dictionary programs.

    check_texts.py [REQUIRED_IDS SHARED_FOLDER [OVERRIDE_FOLDER...]] [--menus LAYOUT MENU_FOLDER]...
                   [--language-8 STEM:NAME]

REQUIRED_IDS names every text id (see texttable.read_ids); every text of a
table must have a named id there. For the shared table and for each program
table (shared + one override folder) it checks that every required id has a
text in all nine UI languages, that every text fits its language's code page
and the 252-byte limit of the loader, and that a translation keeps the
mnemonic '&', the menu tab, the '|' separators of file filters and the letter
code of a toolbar entry of the English text; file names stay the same in
every language. An override folder must give each of its texts in every
language. A menu table must give every popup and item of its layout a text in
all nine languages, in the code page, keeping the '&' and the tab of the
English text, and no text that the layout does not use. Exit status 1 lists
every fault.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import texttable  # noqa: E402

# Texts that are the same in every language (file names).
SAME_IN_EVERY_LANGUAGE = {"kTextHelpFile", "kTextBulkHelpFile"}
# Texts shown once with and once without their leading mnemonic '&'.
LEADING_MNEMONIC = {"kTextMenuLicence"}

LANGUAGE_NAMES = texttable.LANGUAGE_NAMES


def check_table(name, folders, names, faults):
    def fault(message):
        faults.append(f"{name}: {message}")

    required = list(names)
    same = {base for base, n in names.items() if n in SAME_IN_EVERY_LANGUAGE}
    leading = {base for base, n in names.items() if n in LEADING_MNEMONIC}
    sources = texttable.read_sources(folders)
    languages, missing = texttable.language_texts(sources)
    english = languages[0]
    for base in required:
        if base not in english:
            fault(f"id {base} has no English text")
    for base in sorted(set(english) - set(names)):
        fault(f"id {base} has no name in the ids file")
    for index, texts in enumerate(languages):
        lang = LANGUAGE_NAMES[index]
        code_page = texttable.LANGUAGES[index][1]
        for base in sorted(missing[index] | (set(required) - set(texts))):
            if base in english or base in required:
                fault(f"id {base} has no {lang} text")
        for base in sorted(set(texts) - set(english)):
            fault(f"id {base} has a {lang} text but no English one")
        for base, text in sorted(texts.items()):
            try:
                encoded = text.encode(f"cp{code_page}")
            except UnicodeEncodeError as e:
                fault(f"id {base} {lang}: {text[e.start:e.end]!r} is not in code page {code_page}")
                continue
            if index == 2 and any(b >= 0x80 for b in encoded):
                fault(f"id {base} {lang}: {text!r} keeps diacritics")
            if len(encoded) > texttable.MAX_TEXT_BYTES:
                fault(f"id {base} {lang}: {len(encoded)} bytes, more than {texttable.MAX_TEXT_BYTES}")
            if base in english and index != 0:
                for mark, what in (("&", "'&'"), ("\t", "tab"), ("|", "'|'")):
                    if mark in english[base] and text.count(mark) != english[base].count(mark):
                        fault(f"id {base} {lang}: {text!r} does not keep the {what} of {english[base]!r}")
                    if mark == "&" and "&" not in english[base] and "&" in text:
                        fault(f"id {base} {lang}: {text!r} has a '&' that the English text lacks")
                if base in same and text != english[base]:
                    fault(f"id {base} {lang}: {text!r} must stay {english[base]!r}")
                if base in leading and not text.startswith("&"):
                    fault(f"id {base} {lang}: {text!r} must begin with '&'")
                # Toolbar catalogue entries begin with the button's letter code.
                code = english[base][:2]
                if len(code) == 2 and code[0].isupper() and code[1] == "-" and not text.startswith(code):
                    fault(f"id {base} {lang}: {text!r} must begin with {code!r}")


def check_menus(layout_file, folder, faults):
    name = os.path.basename(os.path.normpath(folder))

    def fault(message):
        faults.append(f"{name}: {message}")

    layout = texttable.MenuLayout(layout_file)
    keys = layout.keys()
    languages, _ = texttable.language_texts(texttable.read_sources([folder], keyed_by_name=True))
    english = languages[0]
    for index, texts in enumerate(languages):
        lang = LANGUAGE_NAMES[index]
        code_page = texttable.LANGUAGES[index][1]
        for key in keys:
            if key not in texts:
                fault(f"{key} has no {lang} text")
        for key in sorted(set(texts) - set(keys)):
            fault(f"{key} has a {lang} text but is not in {os.path.basename(layout_file)}")
        for key, text in sorted(texts.items()):
            try:
                encoded = text.encode(f"cp{code_page}")
            except UnicodeEncodeError as e:
                fault(f"{key} {lang}: {text[e.start:e.end]!r} is not in code page {code_page}")
                continue
            if index == 2 and any(b >= 0x80 for b in encoded):
                fault(f"{key} {lang}: {text!r} keeps diacritics")
            if index != 0 and key in english:
                # An English text without a mnemonic lets a translation add one.
                for mark, what in (("&", "'&'"), ("\t", "tab")):
                    if mark in english[key] and text.count(mark) != english[key].count(mark):
                        fault(f"{key} {lang}: {text!r} does not keep the {what} of {english[key]!r}")
                    if mark == "\t" and mark not in english[key] and mark in text:
                        fault(f"{key} {lang}: {text!r} has a tab that the English text lacks")


def check_override(folder, faults):
    own = {stem: texttable.read_file(os.path.join(folder, stem + ".txt"))
           for stem, _ in texttable.LANGUAGES}
    ids = set(own["en"])
    for index, (stem, _) in enumerate(texttable.LANGUAGES):
        if stem == "cs_plain":
            continue  # follows the Czech texts
        for base in sorted(ids - set(own[stem])):
            faults.append(f"{os.path.basename(folder)}: id {base} overrides the English text "
                          f"but not the {LANGUAGE_NAMES[index]} one")


def main(argv):
    args, menus = [], []
    rest = texttable.take_language_option(argv[1:])
    while rest:
        if rest[0] == "--menus":
            if len(rest) < 3:
                print(__doc__, file=sys.stderr)
                return 2
            menus.append((rest[1], rest[2]))
            rest = rest[3:]
        else:
            args.append(rest[0])
            rest = rest[1:]
    if len(args) == 1 or not (args or menus):
        print(__doc__, file=sys.stderr)
        return 2
    faults = []
    names = {}
    try:
        if args:
            shared, overrides = args[1], args[2:]
            names = dict(texttable.read_ids(args[0]))
            check_table(os.path.basename(os.path.normpath(shared)), [shared], names, faults)
        else:
            overrides = []
        for folder in overrides:
            name = os.path.basename(os.path.normpath(folder))
            check_table(name, [shared, folder], names, faults)
            check_override(folder, faults)
        for layout_file, folder in menus:
            check_menus(layout_file, folder, faults)
    except texttable.TableError as e:
        faults.append(str(e))
    for f in faults:
        print(f, file=sys.stderr)
    if faults:
        print(f"{len(faults)} fault(s) in the text tables", file=sys.stderr)
        return 1
    print(f"text tables complete: {len(names)} ids and {len(menus)} menu table(s) "
          f"in {len(texttable.LANGUAGES)} languages")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
