#!/usr/bin/python3
"""The build's picture and font tools: each refuses, with a message saying why, what it cannot convert
exactly; the committed art is what our generators paint and passes its own checks; the game's font
gives the build's glyph atlas byte for byte. (What the converters make is seen pixel for pixel by
test_references' pictures.)

    /usr/bin/python3 tests/test_art.py                                       the pictures
    /usr/bin/python3 tests/test_art.py ATLAS_TOOL SOURCE_DIR BUILT_ATLAS.cpp  the font's atlas
"""
import os
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
ART, TOOLS = os.path.join(ROOT, "data", "art"), os.path.join(ROOT, "tools")
sys.path[:0] = [TOOLS, os.path.join(TOOLS, "art")]
failures = []


def refused(what, command, why, out=None):
    """Runs a tool that must fail naming why, and write nothing to out."""
    r = subprocess.run(command, capture_output=True, text=True)
    if r.returncode == 0 or why not in r.stderr or (out and os.path.exists(out)):
        failures.append("%s: expected a refusal naming %r%s, got status %d, %r" % (
            what, why, " and no " + out if out else "", r.returncode, r.stderr.strip()))


def pictures(tmp):
    from PIL import Image
    import palette
    py = sys.executable
    r = subprocess.run([py, os.path.join(TOOLS, "png2gp.py"), ART, os.path.join(tmp, "out")], capture_output=True)
    if r.returncode != 0:
        failures.append("the committed art does not convert: %s" % r.stderr)

    def off_palette():  # one entry off
        img, flat = palette.new_image(64, 128), palette.flat_palette()
        flat[3 * 40] ^= 0x80
        img.putpalette(flat)
        return img
    for label, name, make, why in [
            ("an RGB picture", "sprite_perso", lambda: Image.new("RGB", (64, 128), (1, 2, 3)),
             "not a palette-indexed"),
            ("a picture of the wrong size", "sprite_roi", lambda: palette.new_image(64, 96), "size 64x96"),
            ("a sheet with another palette", "sprite_boss", off_palette, "palette differs"),
            ("a missing picture", "tiles_decor", None, "missing")]:
        work = shutil.copytree(ART, os.path.join(tmp, name))
        path = os.path.join(work, name + ".png")
        if make:
            make().save(path)
        else:
            os.remove(path)
        refused(label, [py, os.path.join(TOOLS, "png2gp.py"), work, os.path.join(work, "out")], why)
    for script, name in [("gen_tiles.py", "tiles_decor"), ("gen_battlebg.py", "img_battlebg")]:
        r = subprocess.run([py, os.path.join(TOOLS, "art", script), os.path.join(tmp, name + ".png")],
                           capture_output=True, text=True)
        if r.returncode == 0:
            a, b = (Image.open(os.path.join(d, name + ".png")) for d in (tmp, ART))
        if r.returncode != 0 or a.size != b.size or list(a.getdata()) != list(b.getdata()):
            failures.append("%s.png is not what %s paints %s" % (name, script, r.stderr))
    # the sheets, portraits, icons and full-screen pictures have their own checker
    r = subprocess.run([py, os.path.join(TOOLS, "art", "sprite_check.py")], capture_output=True, text=True)
    if r.returncode != 0:
        failures.append("sprite_check fails: " + r.stdout[-400:] + r.stderr[-400:])
    colours = Image.open(os.path.join(ART, "tiles_decor.png")).getcolors(256)
    if not colours or any(idx == palette.TRANSPARENT for _, idx in colours):
        failures.append("the tile strip uses the transparent colour")


def atlas(tmp, tool, source, built):
    import build_font as bf
    from fontTools.ttLib import TTFont, newTable
    from fontTools.ttLib.tables._k_e_r_n import KernTable_format_0
    glyphs = bf.parse(open(os.path.join(source, "data/font/glyphs.txt"), encoding="utf-8").read())
    game, out = os.path.join(tmp, "gamefont.ttf"), os.path.join(tmp, "game.cpp")  # the name the atlas records
    bf.build(glyphs, game)
    r = subprocess.run([tool, game, out], capture_output=True, text=True)
    if not os.path.exists(out) or open(out, "rb").read() != open(built, "rb").read():
        failures.append("the game's font gives another atlas than the build's %s: %s" % (built, r.stderr))
    bf.build({c: g for c, g in glyphs.items() if c != 0x7E}, os.path.join(tmp, "missing.ttf"))
    pixel, bf.PIXEL = bf.PIXEL, bf.PIXEL * 4 // 3  # pixels a third wider than the screen's: grey edges
    bf.build(glyphs, os.path.join(tmp, "grey.ttf"))
    bf.PIXEL = pixel
    # A then V three font pixels closer (FreeType scales that to a pixel here)
    f, table, kern = TTFont(game), KernTable_format_0(), newTable("kern")
    table.version, table.coverage, table.format = 0, 1, 0
    table.kernTable = {(bf.glyph_name(0x41), bf.glyph_name(0x56)): -3 * bf.PIXEL}
    kern.version, kern.kernTables, f["kern"] = 0, [table], kern
    f.save(os.path.join(tmp, "kerned.ttf"))
    for name, why in [("missing", "no glyph for byte 0x7E"), ("grey", "partly covered pixel"),
                      ("kerned", "the line 0x41 0x56 differs from SDL_ttf's")]:
        out = os.path.join(tmp, name + ".cpp")
        refused("the atlas of a font " + name, [tool, os.path.join(tmp, name + ".ttf"), out], why, out)


with tempfile.TemporaryDirectory() as tmp:
    if len(sys.argv) == 4:
        atlas(tmp, *sys.argv[1:4])
    else:
        pictures(tmp)
for f in failures:
    print("FAIL:", f)
sys.exit(1 if failures else 0)
