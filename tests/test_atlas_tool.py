#!/usr/bin/python3
"""The atlas tool stops the build on a font the atlas cannot draw exactly: a printable Latin-1
byte without a glyph, a glyph with partly covered pixels, a font that kerns. The game's own font
gives the atlas the build made, byte for byte.

usage: test_atlas_tool.py ATLAS_TOOL SOURCE_DIR BUILT_ATLAS.cpp
"""
import os
import subprocess
import sys
import tempfile

tool, source, built = sys.argv[1:4]
sys.path.insert(0, os.path.join(source, "tools"))
import build_font  # noqa: E402
from fontTools.ttLib import TTFont, newTable  # noqa: E402
from fontTools.ttLib.tables._k_e_r_n import KernTable_format_0  # noqa: E402

GLYPHS = build_font.parse(open(os.path.join(source, "data/font/glyphs.txt"), encoding="utf-8").read())
failures = []


def run_tool(font, out):
    return subprocess.run([tool, font, out], stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                          text=True)


def expect_refused(name, font, why, tmp):
    out = os.path.join(tmp, name + ".cpp")
    r = run_tool(font, out)
    if r.returncode == 0 or why not in r.stderr or os.path.exists(out):
        failures.append("%s: expected a refusal naming %r, got status %d, %r%s"
                        % (name, why, r.returncode, r.stderr.strip(),
                           ", and an atlas written" if os.path.exists(out) else ""))
    else:
        print("%s: refused: %s" % (name, r.stderr.strip()))


with tempfile.TemporaryDirectory() as tmp:
    # the game's font: the same atlas as the build's
    font = os.path.join(tmp, "gamefont.ttf")  # the name the atlas records
    build_font.build(GLYPHS, font)
    r = run_tool(font, os.path.join(tmp, "game.cpp"))
    if r.returncode != 0:
        failures.append("the game's font refused: " + r.stderr)
    elif open(os.path.join(tmp, "game.cpp"), "rb").read() != open(built, "rb").read():
        failures.append("the game's font gives another atlas than the build's " + built)

    # a printable byte missing
    missing = os.path.join(tmp, "missing.ttf")
    build_font.build({cp: g for cp, g in GLYPHS.items() if cp != 0x7E}, missing)
    expect_refused("missing", missing, "no glyph for byte 0x7E", tmp)

    # pixels a third wider than the screen's: grey edges
    grey = os.path.join(tmp, "grey.ttf")
    pixel = build_font.PIXEL
    build_font.PIXEL = pixel * 4 // 3
    try:
        build_font.build(GLYPHS, grey)
    finally:
        build_font.PIXEL = pixel
    expect_refused("grey", grey, "partly covered pixel", tmp)

    # a kerning pair: A then V three font pixels closer (below 25 pixels an em FreeType scales
    # kerning down, to a pixel here)
    kerned = os.path.join(tmp, "kerned.ttf")
    f = TTFont(font)
    table = KernTable_format_0()
    table.version, table.coverage, table.format = 0, 1, 0
    table.kernTable = {(build_font.glyph_name(0x41), build_font.glyph_name(0x56)): -3 * build_font.PIXEL}
    kern = newTable("kern")
    kern.version = 0
    kern.kernTables = [table]
    f["kern"] = kern
    f.save(kerned)
    expect_refused("kerned", kerned, "the line 0x41 0x56 differs from SDL_ttf's", tmp)

for f in failures:
    print("FAIL:", f)
sys.exit(1 if failures else 0)
