#!/usr/bin/env python3
"""Turns the demo word lists into the input lines of `slottool add` for the
four demo slots, in code page 1250:

  0 English -> Czech   1 Czech -> English   2 German -> Czech   3 Czech -> German

Usage: demo_slots.py DATADIR OUTDIR   (writes OUTDIR/slot0.txt .. slot3.txt)
Each output line is "word TAB translation [TAB pronunciation]"; a word with
several translations gives several lines.
"""
import os
import sys


def read(path):
    entries = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            parts = line.split("\t")
            word = parts[0].strip()
            translations = [t.strip() for t in parts[1].split(";") if t.strip()]
            pron = parts[2].strip() if len(parts) > 2 else ""
            entries.append((word, translations, pron))
    return entries


def forward(entries):
    lines = []
    for word, translations, pron in entries:
        for t in translations:
            lines.append((word, t, pron))
    return lines


def backward(entries):
    lines = []
    seen = set()
    for word, translations, _ in entries:
        for t in translations:
            if (t, word) not in seen:
                seen.add((t, word))
                lines.append((t, word, ""))
    return lines


def write(path, lines):
    with open(path, "wb") as f:
        for word, translation, pron in lines:
            fields = [word, translation] + ([pron] if pron else [])
            f.write(("\t".join(fields) + "\n").encode("cp1250"))


def main():
    data, out = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    en = read(os.path.join(data, "demo_en_cs.txt"))
    de = read(os.path.join(data, "demo_de_cs.txt"))
    write(os.path.join(out, "slot0.txt"), forward(en))
    write(os.path.join(out, "slot1.txt"), backward(en))
    write(os.path.join(out, "slot2.txt"), forward(de))
    write(os.path.join(out, "slot3.txt"), backward(de))


if __name__ == "__main__":
    main()
