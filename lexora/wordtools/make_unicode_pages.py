#!/usr/bin/env python3
"""Writes unicode_pages.inc: the UTF-16 code units of the bytes 0x80..0xFF in
the Windows code pages 1250, 1251 and 1252 (a byte the page leaves undefined
keeps its own value, as the system's conversion does).

    python3 make_unicode_pages.py > unicode_pages.inc
"""

PAGES = (1250, 1251, 1252)

print("// Made by make_unicode_pages.py: bytes 0x80..0xFF of Windows code pages")
print("// 1250, 1251 and 1252 as UTF-16 code units.")
for page in PAGES:
    units = []
    for byte in range(0x80, 0x100):
        try:
            units.append(ord(bytes([byte]).decode("cp%d" % page)))
        except UnicodeDecodeError:
            units.append(byte)
    print("constexpr char16_t kUpperHalf%d[128] = {" % page)
    for row in range(0, 128, 8):
        print("    " + ", ".join("0x%04X" % u for u in units[row:row + 8]) + ",")
    print("};")
