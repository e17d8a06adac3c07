#!/usr/bin/python3
"""The picture pipeline: the converter's format and its refusals, and that the committed art is
exactly what our generators paint.

    /usr/bin/python3 tests/test_art.py
"""
import os
import subprocess
import sys
import tempfile

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
sys.path.insert(0, os.path.join(ROOT, "tools"))
sys.path.insert(0, os.path.join(ROOT, "tools", "art"))

from PIL import Image  # noqa: E402

import palette  # noqa: E402
import png2gp  # noqa: E402

results = []


def check(name, ok, detail=""):
    results.append((name, bool(ok), detail))


def art_copy(tmp):
    """A copy of data/art in tmp, to break one picture at a time."""
    d = os.path.join(tmp, "art")
    os.makedirs(d, exist_ok=True)
    for f in os.listdir(os.path.join(ROOT, "data", "art")):
        with open(os.path.join(ROOT, "data", "art", f), "rb") as src, open(os.path.join(d, f), "wb") as dst:
            dst.write(src.read())
    return d


def convert(art_dir, out_dir):
    return subprocess.run([sys.executable, os.path.join(ROOT, "tools", "png2gp.py"), art_dir, out_dir],
                          capture_output=True, text=True)


def test_column_order():
    img = palette.new_image(2, 3, 0)
    for i, (x, y) in enumerate([(0, 2), (0, 1), (0, 0), (1, 2), (1, 1), (1, 0)]):
        img.putpixel((x, y), 10 + i)  # byte i of the stored picture
    with tempfile.TemporaryDirectory() as tmp:
        p = os.path.join(tmp, "x.png")
        palette.save(img, p)
        data, pal = png2gp.convert("x", 2, 3, "npal", False, tmp)
    check("columns from the left, each from the bottom up", list(data) == [10, 11, 12, 13, 14, 15], list(data))
    check("shared-palette pictures carry no palette of their own", pal is None)


def test_shared_palette():
    npal = png2gp.NPAL
    check("npal has 256 entries", len(npal) == 256)
    check("entry 135 is the transparent colour", npal[135] == 0xE021, hex(npal[135]))
    check("no other entry is the transparent colour", npal.count(0xE021) == 1)
    check("bit 0 set in every entry", all(v & 1 for v in npal))


def test_four_bit_title_palette():
    check("4-bit red and blue", png2gp.to565((255, 255, 255), True) == 0xF7EF, hex(png2gp.to565((255, 255, 255), True)))
    check("5-6-5 otherwise", png2gp.to565((255, 255, 255), False) == 0xFFFF)


def test_refusals():
    with tempfile.TemporaryDirectory() as tmp:
        art = art_copy(tmp)
        out = os.path.join(tmp, "out")
        r = convert(art, out)
        check("the committed art converts", r.returncode == 0, r.stderr)
        cases = [
            ("an RGB picture", "sprite_perso", lambda: Image.new("RGB", (64, 128), (1, 2, 3)), "not a palette-indexed"),
            ("a picture of the wrong size", "sprite_roi", lambda: palette.new_image(64, 96), "size 64x96"),
            ("a sheet with another palette", "sprite_boss", lambda: bad_palette(64, 128), "palette differs"),
            ("a missing picture", "tiles_decor", None, "missing"),
        ]
        for label, name, make, message in cases:
            work = art_copy(os.path.join(tmp, name))
            path = os.path.join(work, name + ".png")
            if make is None:
                os.remove(path)
            else:
                img = make()
                img.save(path)
            r = convert(work, os.path.join(tmp, name, "out"))
            check("refuses " + label, r.returncode != 0 and message in r.stderr, (r.returncode, r.stderr))


def bad_palette(w, h):
    img = palette.new_image(w, h)
    flat = palette.flat_palette()
    flat[3 * 40] ^= 0x80  # one entry off
    img.putpalette(flat)
    return img


def test_generators_reproduce_the_committed_art():
    gens = [("gen_tiles.py", "tiles_decor"), ("gen_battlebg.py", "img_battlebg")]
    with tempfile.TemporaryDirectory() as tmp:
        for script, name in gens:
            out = os.path.join(tmp, name + ".png")
            r = subprocess.run([sys.executable, os.path.join(ROOT, "tools", "art", script), out],
                               capture_output=True, text=True)
            if r.returncode != 0:
                check(script + " runs", False, r.stderr)
                continue
            a = Image.open(out)
            b = Image.open(os.path.join(ROOT, "data", "art", name + ".png"))
            check(name + ".png is what " + script + " paints",
                  a.size == b.size and list(a.getdata()) == list(b.getdata()))
    # the sheets, portraits, icons and full-screen pictures have their own checker
    r = subprocess.run([sys.executable, os.path.join(ROOT, "tools", "art", "sprite_check.py")],
                       capture_output=True, text=True)
    check("sprite_check passes", r.returncode == 0, r.stdout[-400:] + r.stderr[-400:])


def test_tiles_never_use_the_transparent_colour():
    img = Image.open(os.path.join(ROOT, "data", "art", "tiles_decor.png"))
    check("no transparent pixel in the tile strip", img.getcolors(256) and
          all(idx != palette.TRANSPARENT for _, idx in img.getcolors(256)))


def main():
    for name, fn in sorted(globals().items()):
        if name.startswith("test_") and callable(fn):
            fn()
    failed = [r for r in results if not r[1]]
    for name, ok, detail in failed:
        print("FAIL %s: %s" % (name, detail))
    print("%d passed, %d failed" % (len(results) - len(failed), len(failed)))
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
