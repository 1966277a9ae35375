#!/usr/bin/env python3
"""Draws the toolbar pictures of lexora and writes them as 20 x 20 BMP files
plus a resource script that names them, and the header that names their ids.

Usage: make_bitmaps.py OUTDIR HEADER
    (writes OUTDIR/*.bmp, OUTDIR/bitmaps.rc and the header HEADER)

The language buttons A..Z (the letter on a flag-like field) have the ids
from kBitmapLanguageA on; the others are small pictures of their commands.
The ids are written here once: the header gives them to the code and the
tests, as constexpr ints in namespace lexora (macros of the same names for a
resource script).
"""
import math
import os
import struct
import sys

W = H = 20
GREY = (192, 192, 192)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
BLUE = (0, 0, 160)
RED = (200, 0, 0)
GREEN = (0, 128, 0)
YELLOW = (240, 220, 0)
DARK = (96, 96, 96)

# 5 x 7 capital letters and a few signs, one string per row.
FONT = {
    'A': ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    'B': ["11110", "10001", "10001", "11110", "10001", "10001", "11110"],
    'C': ["01110", "10001", "10000", "10000", "10000", "10001", "01110"],
    'D': ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    'E': ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    'F': ["11111", "10000", "10000", "11110", "10000", "10000", "10000"],
    'G': ["01110", "10001", "10000", "10111", "10001", "10001", "01111"],
    'H': ["10001", "10001", "10001", "11111", "10001", "10001", "10001"],
    'I': ["01110", "00100", "00100", "00100", "00100", "00100", "01110"],
    'J': ["00111", "00010", "00010", "00010", "00010", "10010", "01100"],
    'K': ["10001", "10010", "10100", "11000", "10100", "10010", "10001"],
    'L': ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    'M': ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    'N': ["10001", "10001", "11001", "10101", "10011", "10001", "10001"],
    'O': ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    'P': ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    'Q': ["01110", "10001", "10001", "10001", "10101", "10010", "01101"],
    'R': ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    'S': ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    'T': ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    'U': ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    'V': ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
    'W': ["10001", "10001", "10001", "10101", "10101", "10101", "01010"],
    'X': ["10001", "10001", "01010", "00100", "01010", "10001", "10001"],
    'Y': ["10001", "10001", "01010", "00100", "00100", "00100", "00100"],
    'Z': ["11111", "00001", "00010", "00100", "01000", "10000", "11111"],
    '?': ["01110", "10001", "00001", "00010", "00100", "00000", "00100"],
    'i': ["00100", "00000", "01100", "00100", "00100", "00100", "01110"],
}


class Pic:
    def __init__(self):
        self.px = [[GREY] * W for _ in range(H)]

    def set(self, x, y, c):
        if 0 <= x < W and 0 <= y < H:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c, fill=None):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                edge = x in (x0, x1) or y in (y0, y1)
                if edge:
                    self.set(x, y, c)
                elif fill is not None:
                    self.set(x, y, fill)

    def line(self, x0, y0, x1, y1, c):
        n = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(n + 1):
            self.set(round(x0 + (x1 - x0) * i / n), round(y0 + (y1 - y0) * i / n), c)

    def glyph(self, ch, x0, y0, c, scale=1):
        for r, row in enumerate(FONT[ch]):
            for col, bit in enumerate(row):
                if bit == "1":
                    for dy in range(scale):
                        for dx in range(scale):
                            self.set(x0 + col * scale + dx, y0 + r * scale + dy, c)

    def arrow(self, x0, y, x1, c):
        self.line(x0, y, x1, y, c)
        d = 1 if x1 > x0 else -1
        for k in range(1, 4):
            self.set(x1 - d * k, y - k, c)
            self.set(x1 - d * k, y + k, c)

    def bmp(self):
        row_bytes = W * 3
        pad = (4 - row_bytes % 4) % 4
        data = bytearray()
        for y in range(H - 1, -1, -1):
            for x in range(W):
                r, g, b = self.px[y][x]
                data += bytes((b, g, r))
            data += b"\0" * pad
        header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(data), 2835, 2835, 0, 0)
        return header + info + bytes(data)


def page(p, x, y, c=BLACK):
    p.rect(x, y, x + 8, y + 10, c, WHITE)
    for k in range(3):
        p.line(x + 2, y + 3 + 2 * k, x + 6, y + 3 + 2 * k, DARK)


# The pictures of the commands: name, resource id, what it shows.
COMMAND_BITMAPS = [
    ("kBitmapLocateNext", 1, "locate next"),
    ("kBitmapLocate", 2, "locate"),
    ("kBitmapIrregularVerbs", 3, "irregular verbs"),
    ("kBitmapClipboardLinkOn", 4, "clipboard link on"),
    ("kBitmapClipboardLinkOff", 5, "clipboard link off"),
    ("kBitmapCopy", 2050, "copy"),
    ("kBitmapPaste", 2060, "paste"),
    ("kBitmapNewEntry", 2120, "new entry"),
    ("kBitmapDeleteEntry", 2130, "delete an entry"),
    ("kBitmapDeleteTranslation", 2160, "delete one translation"),
    ("kBitmapHelp", 2210, "help"),
    ("kBitmapOtherLanguages", 2211, "other languages"),
    ("kBitmapAbout", 2220, "about"),
    ("kBitmapHistory", 2221, "word history"),
    ("kBitmapDirection", 2227, "translation direction"),
    ("kBitmapCorrectWord", 2229, "correct an entry"),
    ("kBitmapTranslateBack", 2343, "translate back"),
]
# The language button of letter c has the id LANGUAGE_A + (c - 'A').
LANGUAGE_A = 600
LETTERS = 26
B = {name: ident for name, ident, _ in COMMAND_BITMAPS}


def draw(ident):
    p = Pic()
    if LANGUAGE_A <= ident < LANGUAGE_A + LETTERS:
        letter = chr(ord('A') + ident - LANGUAGE_A)
        p.rect(1, 2, 18, 17, BLACK, WHITE)
        p.rect(2, 3, 17, 5, BLUE, BLUE)
        p.glyph(letter, 7, 7, RED)
        return p
    if ident == B["kBitmapHistory"]:  # word history: a clock
        for a in range(0, 360, 10):
            p.set(round(10 + 7 * math.cos(math.radians(a))), round(10 + 7 * math.sin(math.radians(a))), BLACK)
        p.line(10, 10, 10, 5, BLACK)
        p.line(10, 10, 14, 10, RED)
    elif ident == B["kBitmapIrregularVerbs"]:  # irregular verbs: a book with V
        p.rect(3, 2, 16, 17, BLACK, GREEN)
        p.glyph('V', 8, 6, WHITE)
    elif ident == B["kBitmapCopy"]:  # copy: two pages
        page(p, 2, 2)
        page(p, 9, 7)
    elif ident == B["kBitmapPaste"]:  # paste: clipboard and a page
        p.rect(2, 3, 12, 17, BLACK, (160, 110, 40))
        p.rect(5, 1, 9, 4, BLACK, DARK)
        page(p, 9, 7)
    elif ident == B["kBitmapLocate"]:  # locate: magnifying glass
        p.rect(3, 3, 10, 10, BLACK, WHITE)
        p.line(10, 10, 16, 16, BLACK)
        p.line(11, 10, 17, 16, BLACK)
    elif ident == B["kBitmapLocateNext"]:  # locate next: glass and arrow
        p.rect(2, 2, 8, 8, BLACK, WHITE)
        p.line(8, 8, 11, 11, BLACK)
        p.arrow(8, 15, 18, BLUE)
    elif ident == B["kBitmapOtherLanguages"]:  # other languages: a globe
        p.rect(3, 3, 16, 16, BLUE, (120, 170, 255))
        p.line(3, 9, 16, 9, BLUE)
        p.line(9, 3, 9, 16, BLUE)
    elif ident == B["kBitmapDirection"]:  # translation direction: two arrows
        p.arrow(3, 6, 16, BLUE)
        p.arrow(16, 13, 3, RED)
    elif ident == B["kBitmapTranslateBack"]:  # translate back: a turning arrow
        p.line(4, 5, 14, 5, BLUE)
        p.line(15, 6, 15, 12, BLUE)
        p.arrow(14, 13, 4, BLUE)
    elif ident == B["kBitmapCorrectWord"]:  # correct an entry: a pencil on a page
        page(p, 2, 4)
        p.line(7, 16, 17, 4, RED)
        p.line(8, 16, 18, 4, RED)
    elif ident == B["kBitmapNewEntry"]:  # new entry: page with a plus
        page(p, 2, 4)
        p.line(14, 4, 14, 12, GREEN)
        p.line(10, 8, 18, 8, GREEN)
    elif ident == B["kBitmapDeleteEntry"]:  # delete an entry: page with a cross
        page(p, 2, 4)
        p.line(10, 5, 17, 12, RED)
        p.line(17, 5, 10, 12, RED)
    elif ident == B["kBitmapDeleteTranslation"]:  # delete one translation: a line crossed out
        for k in range(3):
            p.line(3, 5 + 4 * k, 16, 5 + 4 * k, DARK)
        p.line(2, 9, 17, 9, RED)
        p.line(2, 10, 17, 10, RED)
    elif ident == B["kBitmapHelp"]:  # help
        p.rect(3, 2, 16, 17, BLUE, YELLOW)
        p.glyph('?', 7, 6, BLUE)
    elif ident == B["kBitmapAbout"]:  # about
        p.rect(3, 2, 16, 17, BLUE, WHITE)
        p.glyph('i', 7, 6, BLUE)
    elif ident == B["kBitmapClipboardLinkOn"]:  # clipboard link on: board and green link
        p.rect(2, 3, 10, 16, BLACK, (160, 110, 40))
        p.rect(12, 7, 17, 12, GREEN, GREEN)
    elif ident == B["kBitmapClipboardLinkOff"]:  # clipboard link off: board and red cross
        p.rect(2, 3, 10, 16, BLACK, (160, 110, 40))
        p.line(12, 6, 18, 13, RED)
        p.line(18, 6, 12, 13, RED)
    else:
        raise ValueError(ident)
    return p


def icon():
    """The program icon: an open book with the letter L, 32 x 32."""
    n = 32
    px = [[None] * n for _ in range(n)]
    for y in range(6, 27):
        for x in range(2, 30):
            px[y][x] = WHITE if x not in (15, 16) else DARK
    for x in range(2, 30):
        px[6][x] = px[26][x] = BLUE
    for y in range(6, 27):
        px[y][2] = px[y][29] = BLUE
    for r, row in enumerate(FONT['L']):
        for c, bit in enumerate(row):
            if bit == "1":
                for d in range(4):
                    px[9 + r * 2 + d // 2][5 + c * 2 + d % 2] = RED
    for k in range(4):
        for x in range(19, 27):
            px[11 + 3 * k][x] = BLACK
    xor = bytearray()
    for y in range(n - 1, -1, -1):
        for x in range(n):
            c = px[y][x] or (0, 0, 0)
            xor += bytes((c[2], c[1], c[0], 0))
    mask = bytearray()
    for y in range(n - 1, -1, -1):
        bits = 0
        for x in range(n):
            bits = (bits << 1) | (1 if px[y][x] is None else 0)
        mask += bits.to_bytes(4, "big")
    info = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = info + bytes(xor) + bytes(mask)
    head = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(image), 22)
    return head + image


IDS = [ident for _, ident, _ in COMMAND_BITMAPS] + list(range(LANGUAGE_A, LANGUAGE_A + LETTERS))


def header():
    width = max(len(name) for name, _, _ in COMMAND_BITMAPS)
    lines = [
        "// Generated by make_bitmaps.py; do not edit.",
        "// Resource ids of the toolbar pictures of lexora.",
        "#pragma once",
        "",
        "#ifdef RC_INVOKED",
    ]
    lines += [f"#define {name} {ident}" for name, ident, _ in COMMAND_BITMAPS]
    lines += [f"#define kBitmapLanguageA {LANGUAGE_A}", "#else", "namespace lexora {", ""]
    lines += [f"constexpr int {name.ljust(width)} = {ident};  // {what}" for name, ident, what in COMMAND_BITMAPS]
    lines += [
        "",
        "// The language buttons A..Z: kBitmapLanguageA + (letter - 'A').",
        f"constexpr int kBitmapLanguageA = {LANGUAGE_A};",
        "constexpr int LanguageBitmap(char letter) { return kBitmapLanguageA + (letter - 'A'); }",
        "",
        "}  // namespace lexora",
        "#endif",
    ]
    return "\n".join(lines) + "\n"


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    lines = ["// Generated by make_bitmaps.py: the toolbar pictures of lexora."]
    for ident in IDS:
        name = f"tb{ident}.bmp"
        with open(os.path.join(out, name), "wb") as f:
            f.write(draw(ident).bmp())
        lines.append(f'{ident} BITMAP "{name}"')
    with open(os.path.join(out, "lexora.ico"), "wb") as f:
        f.write(icon())
    lines.append('1 ICON "lexora.ico"')
    with open(os.path.join(out, "bitmaps.rc"), "w") as f:
        f.write("\n".join(lines) + "\n")
    os.makedirs(os.path.dirname(os.path.abspath(sys.argv[2])), exist_ok=True)
    with open(sys.argv[2], "w") as f:
        f.write(header())
    return 0


if __name__ == "__main__":
    sys.exit(main())
