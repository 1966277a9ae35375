"""Reading the UI text tables of the dictionary programs.

A table is a folder with one UTF-8 file per UI language. Each line holds a
base id (a multiple of 10), a tab and the text; empty lines and lines that
start with '#' are ignored. In a text, \\n stands for a new line, \\t for a tab
and \\\\ for a backslash; everything else, leading and trailing blanks
included, is taken as it stands.

A program's table may be layered: a second folder holds only the texts in
which that program differs from the shared one (lexbulk over lexora).

UI language 2 (Czech without diacritics) has no file of its own: its texts are
the Czech texts with the diacritics taken off, unless cs_plain.txt gives a
text explicitly.
"""

import os
import unicodedata

# UI language index -> (file stem, Windows code page of its texts)
LANGUAGES = [
    ("en", 1250),
    ("cs", 1250),
    ("cs_plain", 1250),
    ("de", 1250),
    ("ru", 1251),
    ("fr", 1252),
    ("es", 1252),
    ("it", 1250),
    ("pl", 1250),
]
LANGUAGE_COUNT = len(LANGUAGES)
MAX_TEXT_BYTES = 252


class TableError(Exception):
    pass


def unescape(raw, where):
    out = []
    i = 0
    while i < len(raw):
        c = raw[i]
        if c == "\\":
            if i + 1 >= len(raw):
                raise TableError(f"{where}: backslash at the end of the text")
            n = raw[i + 1]
            if n == "n":
                out.append("\n")
            elif n == "t":
                out.append("\t")
            elif n == "\\":
                out.append("\\")
            else:
                raise TableError(f"{where}: unknown escape \\{n}")
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


def read_file(path):
    """Returns {base id: text} of one language file; a missing file gives {}."""
    texts = {}
    if not os.path.exists(path):
        return texts
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\r\n")
            if not line.strip() or line.startswith("#"):
                continue
            where = f"{path}:{number}"
            key, sep, raw = line.partition("\t")
            if not sep or not key.strip().isdigit():
                raise TableError(f"{where}: expected '<id><TAB><text>'")
            base = int(key)
            if base % 10 != 0:
                raise TableError(f"{where}: {base} is not a multiple of 10")
            if base in texts:
                raise TableError(f"{where}: id {base} given twice")
            texts[base] = unescape(raw, where)
    return texts


def strip_diacritics(text):
    decomposed = unicodedata.normalize("NFD", text)
    return "".join(c for c in decomposed if not unicodedata.combining(c))


def read_sources(folders):
    """Per folder, {language stem: {base id: text}}."""
    return [{stem: read_file(os.path.join(folder, stem + ".txt")) for stem, _ in LANGUAGES}
            for folder in folders]


def language_texts(sources):
    """The texts of every UI language as a list of {base id: text}, the
    folders layered in order (a later folder's text wins).

    Czech without diacritics comes from the Czech texts of the same folder, so
    a Czech override also overrides the shared folder's text without
    diacritics. Returns the list and, per UI language, the set of English ids
    that the language lacks."""
    result = [{} for _ in LANGUAGES]
    for folder in sources:
        for index, (stem, _) in enumerate(LANGUAGES):
            if stem == "cs_plain":
                own = {k: strip_diacritics(v) for k, v in folder["cs"].items()}
                own.update(folder["cs_plain"])
            else:
                own = folder[stem]
            result[index].update(own)
    english = result[0]
    missing = [set(english) - set(texts) for texts in result]
    return result, missing
