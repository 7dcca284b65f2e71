#!/usr/bin/env python3
"""Builds lines.tsv from the hand readings in readings/*.txt and checks it.

A readings file holds, line by line:
  @ URL                       the source of the rows that follow
  = LANG                      the language of the rows that follow
  TEXT ||| READING ||| NOTE   one real line, its hand reading, a note (may be empty);
                              the last two "|||" part the fields, so TEXT may hold "|||"
  // comment                 ignored
READING is empty (no point) or points separated by ';', each 'LAT , LON'; a
coordinate is a signed decimal ('-12.5') or degrees [minutes [seconds]] and a
hemisphere letter ('43 22 43.5 N').  Only arithmetic happens here: the reading
of the line is written by hand in the readings file.
"""
import glob, os, re, sys

LANGS = "ru uk be bg sr hr kk vi zh ja ko cs sk pl de nl fr es pt it da no sv fi en".split()
HERE = os.path.dirname(os.path.abspath(__file__))


def coord(text, axis):
    t = text.split()
    if len(t) == 1 and re.fullmatch(r"[+-]?\d+(\.\d+)?", t[0]):
        v = float(t[0])
    else:
        hemi = t[-1]
        nums = [float(x) for x in t[:-1]]
        if not 1 <= len(nums) <= 3:
            raise ValueError("bad coordinate " + text)
        ok = "NS" if axis == "lat" else "EW"
        if hemi not in ok:
            raise ValueError("hemisphere %s on %s in %s" % (hemi, axis, text))
        for x in nums[1:]:
            if not 0 <= x < 60:
                raise ValueError("minutes/seconds out of range in " + text)
        v = nums[0] + (nums[1] / 60 if len(nums) > 1 else 0) + (nums[2] / 3600 if len(nums) > 2 else 0)
        if hemi in "SW":
            v = -v
    lim = 90 if axis == "lat" else 180
    if not -lim <= v <= lim:
        raise ValueError("out of range " + text)
    return v


def truth(reading):
    reading = reading.strip()
    if not reading:
        return ""
    pts = []
    for p in reading.split(";"):
        lat, lon = p.split(",")
        pts.append("%.6f, %.6f" % (coord(lat, "lat"), coord(lon, "lon")))
    return " ; ".join(pts)


def escape(s):
    return s.replace("\\", "\\\\").replace("\t", "\\t")


def main():
    rows = []
    for path in sorted(glob.glob(os.path.join(HERE, "readings", "*.txt"))):
        src = lang = None
        for n, line in enumerate(open(path, encoding="utf-8"), 1):
            line = line.rstrip("\n")
            where = "%s:%d" % (os.path.basename(path), n)
            if not line.strip() or line.startswith("//"):
                continue
            if line.startswith("@ "):
                src = line[2:].strip()
                continue
            if line.startswith("= "):
                lang = line[2:].strip()
                if lang not in LANGS:
                    sys.exit(where + ": unknown language " + lang)
                continue
            parts = line.rsplit("|||", 2)
            if len(parts) != 3:
                sys.exit(where + ": want TEXT ||| READING ||| NOTE")
            text, reading, note = parts
            if text.endswith(" "):
                text = text[:-1]
            if not src or not lang:
                sys.exit(where + ": no source or language yet")
            try:
                tr = truth(reading)
            except Exception as e:
                sys.exit(where + ": " + str(e))
            rows.append((LANGS.index(lang), len(rows), lang, src, escape(text), tr, note.strip()))
    rows.sort(key=lambda r: (r[0], r[1]))
    seen = set()
    with open(os.path.join(HERE, "lines.tsv"), "w", encoding="utf-8") as out:
        out.write("lang\tsource\ttext\ttruth\tnote\n")
        for r in rows:
            key = (r[2], r[4])
            if key in seen:
                print("duplicate line:", r[4][:60])
            seen.add(key)
            out.write("\t".join(r[2:]) + "\n")
    counts = {}
    for r in rows:
        c = counts.setdefault(r[2], [0, 0, 0])
        c[0] += 1
        c[1 if r[5] else 2] += 1
    tot = [0, 0, 0]
    print("| lang | lines | with points | without |")
    print("|---|---|---|---|")
    for l in LANGS:
        c = counts.get(l, [0, 0, 0])
        tot = [a + b for a, b in zip(tot, c)]
        print("| %s | %d | %d | %d |" % (l, *c))
    print("| all | %d | %d | %d |" % tuple(tot))


if __name__ == "__main__":
    main()
