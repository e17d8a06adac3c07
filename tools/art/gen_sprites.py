#!/usr/bin/python3
"""Paints the character sheets, the dialogue portraits, the icons and the magic sparks into
data/art/ (indexed PNGs on the shared palette).

    /usr/bin/python3 tools/art/gen_sprites.py [--preview DIR]

Sheets are 64x128: 2 walking frames (columns) x 4 facings (rows: up, right, down, left).
"""
import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import palette  # noqa: E402
from sprite_paint import blit  # noqa: E402
from sprite_people import person  # noqa: E402
from sprite_cast import CHARACTERS  # noqa: E402
import sprite_faces  # noqa: E402
import sprite_icons  # noqa: E402

ART = os.path.normpath(os.path.join(HERE, "..", "..", "data", "art"))

# portrait n of icons_faceset -> character
FACES = ["perso", "vagabond", "gmere", "boss", "garde1", "pgarcon", "pfille", "roi", "reine", "princesse",
         "garde3", "femme2", "femme1", "gpere", "gmere2"]


def sheet(spec):
    img = palette.new_image(64, 128)
    for facing in range(4):
        for frame in range(2):
            cell = person(spec, facing, frame)
            blit(img, cell, 32 * frame, 32 * facing, flip=(facing == 3))
    return img


def faceset():
    img = palette.new_image(24, 24 * len(FACES))
    for n, who in enumerate(FACES):
        blit(img, sprite_faces.portrait(who, CHARACTERS[who]), 0, 24 * n)
    return img


def build_all():
    out = {}
    for name, spec in CHARACTERS.items():
        out["sprite_" + name] = sheet(spec)
    out["icons_faceset"] = faceset()
    out["sprite_icones"] = sprite_icons.icons()
    out["sprite_attaq1"] = sprite_icons.sparks()
    return out


def _on(p, bg):
    """The picture over a flat background colour, as RGB."""
    from PIL import Image
    tile = Image.new("RGB", p.size, bg)
    mask = Image.frombytes("L", p.size, p.tobytes()).point(lambda v: 0 if v == palette.TRANSPARENT else 255)
    tile.paste(p.convert("RGB"), (0, 0), mask)
    return tile


def preview(pics, d, scale=3):
    from PIL import Image
    os.makedirs(d, exist_ok=True)
    grass = palette.COLORS[palette.shade("grass", 5)]
    names = [n for n in pics if n.startswith("sprite_") and pics[n].size == (64, 128)]
    per = 6
    nrow = (len(names) + per - 1) // per
    board = Image.new("RGB", (70 * per + 6, 134 * nrow), grass)
    for i, n in enumerate(names):
        board.paste(_on(pics[n], grass), (6 + 70 * (i % per), 3 + 134 * (i // per)))
    board.resize((board.width * scale, board.height * scale), Image.NEAREST).save(os.path.join(d, "sheets.png"))
    for n in names:
        _on(pics[n], grass).resize((64 * 5, 128 * 5), Image.NEAREST).save(os.path.join(d, n + ".png"))
    smalls = ["icons_faceset", "sprite_icones", "sprite_attaq1"]
    w = sum(pics[n].width + 8 for n in smalls) * 2 + 8
    strip = Image.new("RGB", (w, 368), (60, 60, 60))
    x = 4
    for n in smalls:
        for bg in ((255, 255, 255), grass):
            strip.paste(_on(pics[n], bg), (x, 4))
            x += pics[n].width + 8
    strip.resize((strip.width * scale, strip.height * scale), Image.NEAREST).save(os.path.join(d, "smalls.png"))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--preview", help="also write scaled previews into this folder")
    ap.add_argument("--no-save", action="store_true")
    a = ap.parse_args()
    pics = build_all()
    if not a.no_save:
        os.makedirs(ART, exist_ok=True)
        for name, img in pics.items():
            palette.save(img, os.path.join(ART, name + ".png"))
    if a.preview:
        preview(pics, a.preview)


if __name__ == "__main__":
    main()
