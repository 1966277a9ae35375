#!/usr/bin/env python3
"""Checks the UI text tables of the dictionary programs.

    check_texts.py REQUIRED_IDS SHARED_FOLDER [OVERRIDE_FOLDER...]

For the shared table and for each program table (shared + one override
folder) it checks that every required id has a text in all nine UI languages,
that every text fits its language's code page and the 252-byte limit of the
loader, and that a translation keeps the mnemonic '&', the menu tab, the '|'
separators of file filters and the letter code of a toolbar entry of the
English text; file names stay the same in every language. An override folder must
give each of its texts in every language. Exit status 1 lists every fault.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import texttable  # noqa: E402

# Texts that are the same in every language (file names).
SAME_IN_EVERY_LANGUAGE = {11210, 20970}
# Texts shown once with and once without their leading mnemonic '&'.
LEADING_MNEMONIC = {21200}

LANGUAGE_NAMES = ["English", "Czech", "Czech without diacritics", "German",
                  "Russian", "French", "Spanish", "Italian", "Polish"]


def read_required(path):
    ids = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if line and not line.startswith("#"):
                ids.append(int(line))
    return ids


def check_table(name, folders, required, faults):
    def fault(message):
        faults.append(f"{name}: {message}")

    sources = texttable.read_sources(folders)
    languages, missing = texttable.language_texts(sources)
    english = languages[0]
    for base in required:
        if base not in english:
            fault(f"id {base} has no English text")
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
                if base in SAME_IN_EVERY_LANGUAGE and text != english[base]:
                    fault(f"id {base} {lang}: {text!r} must stay {english[base]!r}")
                if base in LEADING_MNEMONIC and not text.startswith("&"):
                    fault(f"id {base} {lang}: {text!r} must begin with '&'")
                # Toolbar catalogue entries begin with the button's letter code.
                code = english[base][:2]
                if len(code) == 2 and code[0].isupper() and code[1] == "-" and not text.startswith(code):
                    fault(f"id {base} {lang}: {text!r} must begin with {code!r}")


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
    if len(argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    required = read_required(argv[1])
    shared, overrides = argv[2], argv[3:]
    faults = []
    try:
        check_table(os.path.basename(os.path.normpath(shared)), [shared], required, faults)
        for folder in overrides:
            name = os.path.basename(os.path.normpath(folder))
            check_table(name, [shared, folder], required, faults)
            check_override(folder, faults)
    except texttable.TableError as e:
        faults.append(str(e))
    for f in faults:
        print(f, file=sys.stderr)
    if faults:
        print(f"{len(faults)} fault(s) in the text tables", file=sys.stderr)
        return 1
    print(f"text tables complete: {len(required)} ids in {len(texttable.LANGUAGES)} languages")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
