#!/usr/bin/env python3
"""Writes the demo keyboard layout: demo.tsb and its companion demo.ini.

A Czech-style layout over the scan codes of a standard PC keyboard:
- the number row types "+ěščřžýáíé" without Shift (code page 1250) and the
  digits with Shift; the letters type lower and upper case; Y and Z change
  places;
- prefix 1 is Shift with the "=" key (a caron): then e, s, c, r, z, n type
  ě, š, č, ř, ž, ň;
- F2 without modifiers starts "notepad.exe" (run flag and [RUN] entry);
- the key captions are drawn in Arial.

Usage: make_demo_layout.py [FOLDER]   (default: the folder of this script)
"""
import os
import struct
import sys

MAIN, FUNCTION, KEYPAD = 0, 1, 2
COUNTS = {MAIN: 60, FUNCTION: 12, KEYPAD: 20}
BLOCKS = {MAIN: 0, FUNCTION: 5900, KEYPAD: 7076}
RUN_BASE = {MAIN: 0, FUNCTION: 60, KEYPAD: 72}
PREFIXES = 5880
RUN_FLAGS = 9036
FILE_SIZE = 13452
KEY_SIZE = 98

SHIFT = 1


def cp1250(text):
    return text.encode("cp1250")


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    image = bytearray(FILE_SIZE)

    def put16(offset, value):
        struct.pack_into("<h", image, offset, value)

    def key_offset(group, key):
        assert 0 <= key < COUNTS[group]
        return BLOCKS[group] + KEY_SIZE * key

    def set_key(group, key, scan, chars):
        """chars: {state: 8-bit code}"""
        at = key_offset(group, key)
        put16(at, scan)
        for state, code in chars.items():
            put16(at + 2 + 2 * state, code)

    # Main keys by their place on the on-screen keyboard.
    number_row = list(zip(range(0, 13),
                          [0x29] + list(range(0x02, 0x0E)),
                          cp1250(";+ěščřžýáíé=´"),
                          cp1250("°1234567890%ˇ")))
    for key, scan, plain, shifted in number_row:
        set_key(MAIN, key, scan, {0: plain, SHIFT: shifted})
    letters = [(16, 0x10, "qwertzuiopú)"), (32, 0x1E, "asdfghjklů§"), (47, 0x2C, "yxcvbnm,.-")]
    uppers = {"ú": "/", ")": "(", "ů": "\"", "§": "!", ",": "?", ".": ":", "-": "_"}
    for first, first_scan, row in letters:
        for i, ch in enumerate(row):
            upper = uppers.get(ch, ch.upper())
            set_key(MAIN, first + i, first_scan + i, {0: cp1250(ch)[0], SHIFT: cp1250(upper)[0]})

    # Function keys F1-F12: scan codes only, F2 starts a program.
    for key, scan in enumerate(list(range(0x3B, 0x45)) + [0x57, 0x58]):
        set_key(FUNCTION, key, scan, {})

    # Numeric keypad: digits and signs in state 0.
    keypad = {1: (0x35, "/"), 2: (0x37, "*"), 3: (0x4A, "-"), 4: (0x47, "7"), 5: (0x48, "8"),
              6: (0x49, "9"), 7: (0x4E, "+"), 8: (0x4B, "4"), 9: (0x4C, "5"), 10: (0x4D, "6"),
              12: (0x4F, "1"), 13: (0x50, "2"), 14: (0x51, "3"), 16: (0x52, "0"), 18: (0x53, ",")}
    for key, (scan, ch) in keypad.items():
        set_key(KEYPAD, key, scan, {0: ord(ch)})

    # Prefix 1: Shift with the "=" key (main key 12, scan 0x0D), then the caron
    # letters in state 8 (prefix 1, no modifiers) and 9 (with Shift).
    struct.pack_into("<hh", image, PREFIXES, SHIFT, 0x0D)
    caron = {"e": "ě", "s": "š", "c": "č", "r": "ř", "z": "ž", "n": "ň"}
    for first, first_scan, row in letters:
        for i, ch in enumerate(row):
            if ch in caron:
                at = key_offset(MAIN, first + i)
                put16(at + 2 + 2 * 8, cp1250(caron[ch])[0])
                put16(at + 2 + 2 * 9, cp1250(caron[ch].upper())[0])

    # F2 in state 0 starts notepad: cell (key + base) x (state + 1).
    image[RUN_FLAGS + (1 + RUN_BASE[FUNCTION]) * (0 + 1)] = 1

    with open(os.path.join(folder, "demo.tsb"), "wb") as f:
        f.write(image)
    ini = ("[RUN]\r\n1_1_0=notepad.exe\r\n\r\n[FONT]\r\n"
           "lfHeight=-13\r\nlfWidth=0\r\nlfEscapement=0\r\nlfOrientation=0\r\nlfWeight=700\r\n"
           "lfItalic=0\r\nlfUnderline=0\r\nlfStrikeOut=0\r\nlfCharSet=238\r\nlfOutPrecision=1\r\n"
           "lfClipPrecision=2\r\nlfQuality=1\r\nlfPitchAndFamily=34\r\nlfFaceName=Arial\r\n")
    with open(os.path.join(folder, "demo.ini"), "wb") as f:
        f.write(ini.encode("ascii"))


if __name__ == "__main__":
    main()
