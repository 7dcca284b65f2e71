#!/usr/bin/env python3
"""Checks lines.tsv: five fields a row, known languages, truth that parses."""
import os, re, sys

LANGS = set("ru uk be bg sr hr kk vi zh ja ko cs sk pl de nl fr es pt it da no sv fi en".split())
PT = re.compile(r"-?\d{1,3}\.\d{6}, -?\d{1,3}\.\d{6}")
path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "lines.tsv")
bad = 0
with open(path, encoding="utf-8") as f:
    head = f.readline().rstrip("\n")
    if head != "lang\tsource\ttext\ttruth\tnote":
        sys.exit("bad header")
    for n, line in enumerate(f, 2):
        fields = line.rstrip("\n").split("\t")
        if len(fields) != 5:
            print(n, "fields:", len(fields)); bad += 1; continue
        lang, src, text, truth, note = fields
        if lang not in LANGS:
            print(n, "lang", lang); bad += 1
        if not src.startswith("http"):
            print(n, "source", src); bad += 1
        if not text.strip() or "\r" in text:
            print(n, "text"); bad += 1
        if truth:
            for p in truth.split(" ; "):
                if not PT.fullmatch(p):
                    print(n, "truth", p); bad += 1; continue
                la, lo = map(float, p.split(", "))
                if abs(la) > 90 or abs(lo) > 180:
                    print(n, "range", p); bad += 1
sys.exit(1 if bad else 0)
