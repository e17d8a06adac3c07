#!/usr/bin/python3
"""Checks the pictures of data/art/ that gen_sprites.py and gen_pictures.py paint.

    /usr/bin/python3 tools/art/sprite_check.py

Sizes and modes, the shared palette, the sheet layout (a figure in every cell, feet near the
bottom, two different walking frames, a dark outline), the portraits and icons, the sparks that
grow, the readability of the title menu band and of the parchment's text area, and that the
committed PNGs are exactly what the generators paint.
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from PIL import Image  # noqa: E402

import palette  # noqa: E402

ART = os.path.normpath(os.path.join(HERE, "..", "..", "data", "art"))
T = palette.TRANSPARENT

SHEETS = ["perso", "vagabond", "gmere", "gmere2", "gpere", "femme1", "femme2", "pgarcon", "pfille", "poule",
          "garde1", "garde2", "garde3", "roi", "reine", "princesse", "boss"]
NPAL = {"sprite_" + s: (64, 128) for s in SHEETS}
NPAL.update({"icons_faceset": (24, 360), "sprite_icones": (16, 128), "sprite_attaq1": (32, 96)})
OWN = {"img_intro": (320, 240), "img_parch2": (320, 240), "img_bravo": (320, 240), "img_gameover": (320, 240)}

results = []


def check(name, ok, detail=""):
    results.append((name, bool(ok), detail))


def lum(rgb):
    def lin(v):
        v /= 255
        return v / 12.92 if v <= 0.04045 else ((v + 0.055) / 1.055) ** 2.4
    r, g, b = rgb[:3]
    return 0.2126 * lin(r) + 0.7152 * lin(g) + 0.0722 * lin(b)


def contrast(a, b):
    la, lb = lum(a), lum(b)
    return (max(la, lb) + 0.05) / (min(la, lb) + 0.05)


def load(name):
    return Image.open(os.path.join(ART, name + ".png"))


def cell(img, x0, y0, w, h):
    px = img.load()
    return [[px[x0 + x, y0 + y] for x in range(w)] for y in range(h)]


def bbox(c):
    pts = [(x, y) for y, row in enumerate(c) for x, v in enumerate(row) if v != T]
    if not pts:
        return None
    xs, ys = [p[0] for p in pts], [p[1] for p in pts]
    return min(xs), min(ys), max(xs), max(ys)


def outline_is_dark(c, limit=0.12):
    """Every visible pixel touching the background (or the cell border) is a dark colour."""
    h, w = len(c), len(c[0])
    bad = 0
    for y in range(h):
        for x in range(w):
            if c[y][x] == T:
                continue
            edge = False
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                qx, qy = x + dx, y + dy
                if not (0 <= qx < w and 0 <= qy < h) or c[qy][qx] == T:
                    edge = True
            if edge and lum(palette.COLORS[c[y][x]]) > limit:
                bad += 1
    return bad


def check_files():
    for name, size in list(NPAL.items()) + list(OWN.items()):
        path = os.path.join(ART, name + ".png")
        if not os.path.exists(path):
            check(name + " exists", False, path)
            continue
        img = Image.open(path)
        check(name + " size/mode", img.size == size and img.mode == "P", "%s %s" % (img.size, img.mode))
        pal = img.getpalette()
        if name in NPAL:
            want = [v for c in palette.COLORS for v in c]
            check(name + " shared palette", pal[:768] == want)
        else:
            used = {v for v in img.getdata()}
            check(name + " own palette", len(used) <= 256 and len(used) > 16, "%d colours" % len(used))


def check_sheets():
    for s in SHEETS:
        img = load("sprite_" + s)
        problems = []
        for facing in range(4):
            frames = [cell(img, 32 * f, 32 * facing, 32, 32) for f in range(2)]
            if frames[0] == frames[1]:
                problems.append("facing %d: both frames equal" % facing)
            for f, c in enumerate(frames):
                b = bbox(c)
                if b is None:
                    problems.append("cell %d,%d empty" % (f, facing))
                    continue
                w, h = b[2] - b[0] + 1, b[3] - b[1] + 1
                small = s in ("poule", "pgarcon", "pfille")
                if b[3] < 29:
                    problems.append("cell %d,%d feet at %d" % (f, facing, b[3]))
                if not (12 if small else 16) <= w <= 30 or not (14 if small else 24) <= h <= 32:
                    problems.append("cell %d,%d size %dx%d" % (f, facing, w, h))
                bad = outline_is_dark(c)
                if bad > 2:
                    problems.append("cell %d,%d: %d light outline pixels" % (f, facing, bad))
        # facing up and down must not be the same picture
        if cell(img, 0, 0, 32, 32) == cell(img, 0, 64, 32, 32):
            problems.append("back and front equal")
        check("sheet " + s, not problems, "; ".join(problems))


def check_faces_icons_sparks():
    img = load("icons_faceset")
    faces = [cell(img, 0, 24 * n, 24, 24) for n in range(15)]
    empty = [n for n, c in enumerate(faces) if bbox(c) is None]
    check("15 portraits drawn", not empty, "empty: %s" % empty)
    same = [(a, b) for a in range(15) for b in range(a + 1, 15) if faces[a] == faces[b]]
    check("portraits all different", not same, str(same))
    for n, c in enumerate(faces):
        b = bbox(c)
        if b and (b[2] - b[0] < 18 or b[3] - b[1] < 18):
            check("portrait %d fills its square" % n, False, str(b))

    img = load("sprite_icones")
    icons = [cell(img, 0, 16 * n, 16, 16) for n in range(8)]
    check("icons 0-6 drawn", all(bbox(c) for c in icons[:7]))
    check("icon 7 transparent", bbox(icons[7]) is None)
    for n in (3, 4, 5):
        check("icon %d dark outline" % n, outline_is_dark(icons[n], 0.2) == 0)

    img = load("sprite_attaq1")
    areas = []
    for n in range(3):
        c = cell(img, 0, 32 * n, 32, 32)
        areas.append(sum(v != T for row in c for v in row))
    check("sparks grow", 0 < areas[0] < areas[1] < areas[2], str(areas))
    c = cell(img, 0, 0, 32, 32)
    border = [c[0][x] for x in range(32)] + [c[31][x] for x in range(32)]
    check("sparks inside the cell", all(v == T for v in border))


def check_pictures():
    intro = load("img_intro").convert("RGB")
    # the game keeps 4 bits of red and blue, 6 of green
    px = intro.load()
    band = [px[x, y] for y in range(158, 188) for x in range(110, 210)]
    band = [(r & 0xF0, g & 0xFC, b & 0xF0) for r, g, b in band]
    worst_white = min(contrast(c, (255, 255, 255)) for c in band)
    worst_green = min(contrast(c, (32, 100, 8)) for c in band)
    check("title band: white readable", worst_white >= 2.0, "%.2f" % worst_white)
    check("title band: dark green readable", worst_green >= 2.0, "%.2f" % worst_green)
    top = [px[x, y] for y in range(20, 90) for x in range(40, 280)]
    check("title logo area is busy (logo drawn)", len(set(top)) > 20)

    parch = load("img_parch2").convert("RGB")
    px = parch.load()
    area = [px[x, y] for x in range(50, 271) for y in range(75, 191)]
    darkest = min(lum(c) for c in area)
    check("parchment text area is light", darkest > 0.45, "%.2f" % darkest)
    check("parchment text area stays black-text readable", min(contrast(c, (0, 0, 0)) for c in area) > 8)
    corners = [px[2, 2], px[317, 2], px[2, 237], px[317, 237]]
    check("parchment over a dark background", all(lum(c) < 0.05 for c in corners))

    over = load("img_gameover").convert("RGB")
    px = over.load()
    reds = sum(1 for y in range(240) for x in range(320) if px[x, y][0] > 180 and px[x, y][1] < 90)
    check("game over: red eyes and letters", reds > 2000, str(reds))
    bravo = load("img_bravo").convert("RGB")
    check("bravo: a colourful picture", len(set(bravo.getdata())) > 40)


def check_generators():
    """The committed pictures are exactly what the generators paint now."""
    import gen_sprites
    import gen_pictures
    pics = gen_sprites.build_all()
    for name, img in pics.items():
        disk = load(name)
        check(name + " matches gen_sprites", list(disk.getdata()) == list(img.getdata()))
    for name, fn in gen_pictures.PICTURES.items():
        a = gen_pictures.to_p(fn()).convert("RGB")
        b = load(name).convert("RGB")
        check(name + " matches gen_pictures", a.tobytes() == b.tobytes())


def check_painting_kit():
    """The layered canvas: outlines, lines between parts, details covered by later parts."""
    from sprite_paint import Canvas, Mat, ellipse, rect, poly
    m = Mat("red", 2, 5, 7)
    c = Canvas(8, 8)
    c.add(rect(2, 2, 5, 5), m, shading="flat")
    img = c.render()
    ring = {(x, y) for x in range(8) for y in range(8)
            if not (2 <= x <= 5 and 2 <= y <= 5) and ((2 <= x <= 5 and y in (1, 6)) or (2 <= y <= 5 and x in (1, 6)))}
    check("kit: outline around a part", all(img[y][x] == m.out for x, y in ring))
    check("kit: no outline on diagonals", img[1][1] == T and img[6][6] == T)
    check("kit: flat part is its mid shade", img[3][3] == m.mid)

    top = Mat("navy", 2, 5, 7)
    c = Canvas(8, 8)
    c.add(rect(1, 1, 6, 6), m, shading="flat")
    c.px(4, 4, 1)
    c.add(rect(3, 3, 4, 4), top, shading="flat", line=True)
    img = c.render()
    check("kit: later part draws a line on the earlier one", img[3][2] == m.line and img[2][3] == m.line)
    check("kit: a detail under a later part is covered", img[4][4] == top.mid)
    c = Canvas(8, 8)
    c.add(rect(1, 1, 6, 6), m, shading="flat")
    c.add(rect(3, 3, 4, 4), top, shading="flat", line=False)
    check("kit: no line when the part asks for none", c.render()[3][2] == m.mid)

    e = ellipse(16, 10, 7, 6)
    check("kit: ellipse symmetric about its centre", e == {(31 - x, y) for x, y in e})
    check("kit: ellipse size", max(x for x, _ in e) - min(x for x, _ in e) + 1 == 14)
    tri = poly([(0, 0), (8, 0), (0, 8)])
    check("kit: polygon keeps inside pixels only", (0, 0) in tri and (7, 7) not in tri)

    c = Canvas(10, 10)
    c.add(rect(2, 2, 7, 7), m, shading="cyl")
    img = c.render()
    check("kit: lit from the left, dark on the right", img[3][2] == m.light and img[3][7] == m.dark)


def main():
    check_painting_kit()
    check_files()
    check_sheets()
    check_faces_icons_sparks()
    check_pictures()
    if "--fast" not in sys.argv:
        check_generators()
    failed = [r for r in results if not r[1]]
    for name, ok, detail in results:
        if not ok or "-v" in sys.argv:
            print("%s %s %s" % ("ok  " if ok else "FAIL", name, detail))
    print("%d passed, %d failed" % (len(results) - len(failed), len(failed)))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
