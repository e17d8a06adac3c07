"""Converts the game's indexed PNG pictures into C++ tables in the handheld's 8-bit format.

A picture becomes width x height palette indices stored column by column from the left, each column
from the bottom row up, with no header. A palette becomes 256 RGB565 entries with bit 0 set.
Pictures drawn with the shared palette `npal` must carry exactly that palette; the full-screen
pictures with palettes of their own also get a `<name>_Pal` table.

usage: png2gp.py ART_DIR OUT_DIR      (writes one .cpp per picture plus npal.cpp)
Fails loudly on a picture that is not palette-indexed, has the wrong size or the wrong palette.
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "art"))
from PIL import Image  # noqa: E402
import palette  # noqa: E402

# name, width, height, palette ("npal" or "own"), 4-bit red and blue channels
PICTURES = [
    ("icons_faceset", 24, 360, "npal", False),
    ("img_battlebg", 320, 240, "npal", False),
    ("img_bravo", 320, 240, "own", False),
    ("img_bravo_en", 320, 240, "own", False),
    ("img_gameover", 320, 240, "own", False),
    ("img_intro", 320, 240, "own", True),
    ("img_parch2", 320, 240, "own", False),
    ("sprite_attaq1", 32, 96, "npal", False),
] + [("sprite_" + n, 64, 128, "npal", False) for n in (
    "boss", "femme1", "femme2", "garde1", "garde2", "garde3", "gmere", "gmere2", "gpere")] + [
    ("sprite_icones", 16, 128, "npal", False),
] + [("sprite_" + n, 64, 128, "npal", False) for n in (
    "perso", "pfille", "pgarcon", "poule", "princesse", "reine", "roi", "vagabond")] + [
    ("tiles_decor", 32, 8160, "npal", False),
]


class ArtError(Exception):
    pass


def to565(c, four_bit):
    r, g, b = c
    if four_bit:  # red in bits 15-12, blue in bits 3-0
        return ((r >> 4) << 12) | ((g >> 2) << 5) | (b >> 4) | 1
    return palette.rgb565(c)


def read_palette(img):
    raw = img.getpalette() or []
    cols = [tuple(raw[i:i + 3]) for i in range(0, min(len(raw), 768), 3)]
    while len(cols) < 256:
        cols.append((0, 0, 0))
    return cols


def load(path, w, h):
    if not os.path.exists(path):
        raise ArtError("%s: missing" % path)
    img = Image.open(path)
    if img.mode != "P":
        raise ArtError("%s: not a palette-indexed PNG (mode %s)" % (path, img.mode))
    if img.size != (w, h):
        raise ArtError("%s: size %dx%d, expected %dx%d" % (path, img.size[0], img.size[1], w, h))
    return img


NPAL = [palette.rgb565(c) for c in palette.COLORS]


def convert(name, w, h, pal_kind, four_bit, art_dir):
    img = load(os.path.join(art_dir, name + ".png"), w, h)
    cols = read_palette(img)
    if pal_kind == "npal":
        got = [palette.rgb565(c) for c in cols]
        bad = [i for i in range(256) if got[i] != NPAL[i]]
        if bad:
            raise ArtError("%s.png: palette differs from the shared one at indices %s" % (name, bad[:8]))
    px = img.load()
    data = bytearray(w * h)
    for x in range(w):
        for y in range(h):
            data[x * h + (h - 1 - y)] = px[x, y]
    pal = None if pal_kind == "npal" else [to565(c, four_bit) for c in cols]
    return bytes(data), pal


def table(ctype, name, values, per_line=32, fmt="%d"):
    out = ["extern const %s %s[%d] = {" % (ctype, name, len(values))]
    for i in range(0, len(values), per_line):
        out.append("    " + ",".join(fmt % v for v in values[i:i + per_line]) + ",")
    out.append("};")
    return "\n".join(out)


def write(path, body):
    text = "// Generated from data/art at build time; do not edit.\n#include \"assets.h\"\n\n" + body + "\n"
    if os.path.exists(path) and open(path).read() == text:
        return
    open(path, "w").write(text)


def main():
    art_dir, out_dir = sys.argv[1:3]
    os.makedirs(out_dir, exist_ok=True)
    try:
        write(os.path.join(out_dir, "npal.cpp"),
              table("unsigned short", "npal", NPAL, 16, "0x%04X"))
        for name, w, h, kind, four_bit in PICTURES:
            data, pal = convert(name, w, h, kind, four_bit, art_dir)
            body = table("unsigned char", name, data)
            if pal is not None:
                body += "\n\n" + table("unsigned short", name + "_Pal", pal, 16, "0x%04X")
            write(os.path.join(out_dir, name + ".cpp"), body)
    except ArtError as e:
        sys.stderr.write("png2gp: %s\n" % e)
        sys.exit(1)


if __name__ == "__main__":
    main()
