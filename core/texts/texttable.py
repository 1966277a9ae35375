"""Reading the UI text tables of the dictionary programs.

A table is a folder with one UTF-8 file per UI language. Each line holds a
base id (a multiple of 10), a tab and the text; empty lines and lines that
start with '#' are ignored. In a text, \\n stands for a new line, \\t for a tab
and \\\\ for a backslash; everything else, leading and trailing blanks
included, is taken as it stands.

A menu table (lexora_menus/) has the same files, but each line holds a key
(the name of a command or of a popup in the program's menu layout) instead of
a base id.

A program's table may be layered: a second folder holds only the texts in
which that program differs from the shared one (lexbulk over lexora).

UI language 2 (Czech without diacritics) has no file of its own: its texts are
the Czech texts with the diacritics taken off, unless cs_plain.txt gives a
text explicitly.
"""

import os
import re
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
# Names of the UI languages, for the tools' reports.
LANGUAGE_NAMES = ["English", "Czech", "Czech without diacritics", "German",
                  "Russian", "French", "Spanish", "Italian", "Polish"]


def take_language_option(argv):
    """The tools' option '--language-8 STEM:NAME' (anywhere in argv): UI
    language 8 of this table is another language than Polish (ts has Slovak,
    file sk.txt, code page 1250). Returns argv without the option."""
    rest = []
    i = 0
    while i < len(argv):
        if argv[i] == "--language-8" and i + 1 < len(argv):
            stem, _, name = argv[i + 1].partition(":")
            LANGUAGES[8] = (stem, 1250)
            LANGUAGE_NAMES[8] = name or stem
            i += 2
        else:
            rest.append(argv[i])
            i += 1
    return rest
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


NAME = re.compile(r"[A-Za-z_][A-Za-z0-9_]*$")


def read_file(path, keyed_by_name=False):
    """Returns {base id: text} of one language file ({key: text} when
    keyed_by_name); a missing file gives {}."""
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
            if keyed_by_name:
                if not sep or not NAME.match(key):
                    raise TableError(f"{where}: expected '<key><TAB><text>'")
                base = key
            else:
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


def read_sources(folders, keyed_by_name=False):
    """Per folder, {language stem: {base id or key: text}}."""
    return [{stem: read_file(os.path.join(folder, stem + ".txt"), keyed_by_name) for stem, _ in LANGUAGES}
            for folder in folders]


def read_ids(path):
    """The text ids file: a list of (base id, name), one line each as
    '<base id><TAB><name>'. Ids and names are unique; a name is a C++
    identifier beginning with 'kText'."""
    ids = []
    seen_ids, seen_names = set(), set()
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            where = f"{path}:{number}"
            fields = line.split()
            if len(fields) != 2 or not fields[0].isdigit():
                raise TableError(f"{where}: expected '<id><TAB><name>'")
            base, name = int(fields[0]), fields[1]
            if base % 10 != 0:
                raise TableError(f"{where}: {base} is not a multiple of 10")
            if not NAME.match(name) or not name.startswith("kText") or name == "kText":
                raise TableError(f"{where}: {name!r} is not a name like kTextSomething")
            if base in seen_ids:
                raise TableError(f"{where}: id {base} given twice")
            if name in seen_names:
                raise TableError(f"{where}: name {name} given twice")
            seen_ids.add(base)
            seen_names.add(name)
            ids.append((base, name))
    return ids


def rc_string(text):
    """A resource script string literal (UTF-8 script) of `text`."""
    out = []
    for c in text:
        if c == '"':
            out.append('""')
        elif c == "\\":
            out.append("\\\\")
        elif c == "\n":
            out.append("\\n")
        elif c == "\t":
            out.append("\\t")
        elif ord(c) < 0x20:
            out.append("\\%03o" % ord(c))
        else:
            out.append(c)
    return '"' + "".join(out) + '"'


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


class MenuLayout:
    """A program's menu layout (the file its make_menus rule names):

        RESOURCES <menu name of UI language 0> ... <of UI language 8>
        POPUP <text key>
            <command id name> [<text key>]
            SEPARATOR
            POPUP <text key>
                ...
            END
        END
        <command id name> [<text key>]

    An item's text key defaults to its command id name; popups nest. '#'
    lines and empty lines are ignored; indentation is free. The command ids
    stay names in the resource script, so the script that includes the
    generated menus includes the program's id header first."""

    def __init__(self, path):
        self.path = path
        self.resources = []
        self.items = []  # ("popup", key, [items]) | ("item", id name, key) | ("separator",)
        stack = [self.items]
        with open(path, encoding="utf-8") as f:
            for number, line in enumerate(f, 1):
                fields = line.split()
                if not fields or fields[0].startswith("#"):
                    continue
                where = f"{path}:{number}"
                word = fields[0]
                if word == "RESOURCES":
                    if self.resources or len(fields) != 1 + LANGUAGE_COUNT:
                        raise TableError(f"{where}: expected one RESOURCES line with {LANGUAGE_COUNT} names")
                    self.resources = fields[1:]
                elif word == "POPUP":
                    if len(fields) != 2 or not NAME.match(fields[1]):
                        raise TableError(f"{where}: expected 'POPUP <text key>'")
                    popup = []
                    stack[-1].append(("popup", fields[1], popup))
                    stack.append(popup)
                elif word == "END":
                    if len(fields) != 1 or len(stack) == 1:
                        raise TableError(f"{where}: END without a POPUP")
                    if not stack[-1]:
                        raise TableError(f"{where}: empty POPUP")
                    stack.pop()
                elif word == "SEPARATOR":
                    if len(fields) != 1:
                        raise TableError(f"{where}: expected 'SEPARATOR'")
                    stack[-1].append(("separator",))
                else:
                    if len(fields) > 2 or not all(NAME.match(x) for x in fields):
                        raise TableError(f"{where}: expected '<command id name> [<text key>]'")
                    stack[-1].append(("item", word, fields[-1]))
        if len(stack) != 1:
            raise TableError(f"{path}: a POPUP lacks its END")
        if not self.resources:
            raise TableError(f"{path}: no RESOURCES line")
        if not self.items:
            raise TableError(f"{path}: no menu items")

    def keys(self):
        """Every text key in the order of the layout."""
        out = []

        def walk(items):
            for entry in items:
                if entry[0] == "popup":
                    out.append(entry[1])
                    walk(entry[2])
                elif entry[0] == "item":
                    out.append(entry[2])
        walk(self.items)
        return out


def write_generated(output, content, keep_unchanged=False):
    """Writes a generated file (UTF-8, LF line ends). With keep_unchanged, a
    file that already holds exactly `content` is left untouched, so that
    nothing depending on it is rebuilt (for headers that many files include)."""
    if keep_unchanged:
        try:
            with open(output, encoding="utf-8", newline="") as f:
                if f.read() == content:
                    return
        except OSError:
            pass
    os.makedirs(os.path.dirname(os.path.abspath(output)), exist_ok=True)
    with open(output, "w", encoding="utf-8", newline="\n") as f:
        f.write(content)
