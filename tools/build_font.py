"""Builds the game's TrueType font from the glyph bitmaps in data/font/glyphs.txt.

usage: build_font.py SRC OUT.ttf

Each '#' becomes a 100x100-unit square (unitsPerEm 1000), so at point size 10 one font pixel is
exactly one screen pixel and SDL_ttf draws the text with no grey edges. Horizontal runs of pixels
are merged into rectangles, and identical runs on consecutive rows into taller ones.
"""
import re
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen

PIXEL = 100
ROWS_ABOVE = 10  # rows from the baseline up: ascent 1000
ROWS_BELOW = 2   # descender rows: descent -200
FAMILY = "Talmyr Pixel"
LICENCE = ("Part of the game Talmyr demo 2'. Drawn pixel by pixel for the game and "
           "distributed with it under the game's licence.")

HEADER = re.compile(r"^U\+([0-9A-Fa-f]{4,6})\b")


class GlyphError(Exception):
    pass


def parse(text):
    """Returns {code point: (width, [(row, col), ...])}, row 0 sitting on the baseline."""
    glyphs = {}
    cur = None

    def finish():
        if cur is None:
            return
        cp, rows, line_no = cur
        marks = [i for i, r in enumerate(rows) if set(r) == {"-"}]
        if len(marks) != 1:
            raise GlyphError("line %d: U+%04X needs exactly one '-' baseline line" % (line_no, cp))
        m = marks[0]
        above, below = rows[:m], rows[m + 1:]
        if len(above) > ROWS_ABOVE or len(below) > ROWS_BELOW:
            raise GlyphError("line %d: U+%04X is taller than %d+%d rows"
                             % (line_no, cp, ROWS_ABOVE, ROWS_BELOW))
        width = len(rows[m])
        if width == 0 or any(len(r) != width for r in rows):
            raise GlyphError("line %d: U+%04X has rows of different widths" % (line_no, cp))
        pixels = []
        for i, r in enumerate(above):
            y = len(above) - 1 - i
            pixels += [(y, x) for x, c in enumerate(r) if c == "#"]
        for i, r in enumerate(below):
            y = -1 - i
            pixels += [(y, x) for x, c in enumerate(r) if c == "#"]
        if cp in glyphs:
            raise GlyphError("line %d: U+%04X defined twice" % (line_no, cp))
        glyphs[cp] = (width, pixels)

    for n, line in enumerate(text.splitlines(), 1):
        line = line.rstrip()
        if not line or line.startswith(";"):
            continue
        h = HEADER.match(line)
        if h:
            finish()
            cur = (int(h.group(1), 16), [], n)
            continue
        if cur is None or not re.fullmatch(r"[.#]+|-+", line):
            raise GlyphError("line %d: unexpected %r" % (n, line))
        cur[1].append(line)
    finish()
    return glyphs


def rectangles(pixels):
    """Merges pixels into rectangles (x0, y0, x1, y1) in pixel units, y growing upwards."""
    runs = {}  # row -> list of (x0, x1)
    for y in sorted({p[0] for p in pixels}):
        xs = sorted(x for (py, x) in pixels if py == y)
        row = []
        for x in xs:
            if row and row[-1][1] == x:
                row[-1][1] = x + 1
            else:
                row.append([x, x + 1])
        runs[y] = [tuple(r) for r in row]
    # stack identical runs of consecutive rows (bottom-up)
    rects = []
    open_rects = {}  # (x0, x1) -> [x0, y0, x1, y1]
    for y in sorted(runs):
        still = {}
        for run in runs[y]:
            r = open_rects.get(run)
            if r is not None and r[3] == y:
                r[3] = y + 1
            else:
                r = [run[0], y, run[1], y + 1]
                rects.append(r)
            still[run] = r
        open_rects = still
    return [tuple(r) for r in rects]


def draw(rects):
    pen = TTGlyphPen(None)
    for x0, y0, x1, y1 in rects:
        # clockwise: up the left side, along the top, down the right side
        pen.moveTo((x0 * PIXEL, y0 * PIXEL))
        pen.lineTo((x0 * PIXEL, y1 * PIXEL))
        pen.lineTo((x1 * PIXEL, y1 * PIXEL))
        pen.lineTo((x1 * PIXEL, y0 * PIXEL))
        pen.closePath()
    return pen.glyph()


def glyph_name(cp):
    return "space" if cp == 0x20 else "uni%04X" % cp


def build(glyphs, out_path):
    order = [".notdef"] + [glyph_name(cp) for cp in sorted(glyphs)]
    cmap = {cp: glyph_name(cp) for cp in glyphs}
    outlines, metrics = {}, {}
    # .notdef: an empty box 5 pixels wide, 7 high
    box = [(0, 0, 5, 1), (0, 6, 5, 7), (0, 1, 1, 6), (4, 1, 5, 6)]
    outlines[".notdef"] = draw(box)
    metrics[".notdef"] = (6 * PIXEL, 0)
    for cp, (width, pixels) in sorted(glyphs.items()):
        rects = rectangles(pixels)
        name = glyph_name(cp)
        outlines[name] = draw(rects)
        lsb = min((r[0] for r in rects), default=0) * PIXEL
        metrics[name] = ((width + 1) * PIXEL, lsb)

    ascent, descent = ROWS_ABOVE * PIXEL, -ROWS_BELOW * PIXEL
    fb = FontBuilder(1000, isTTF=True)
    fb.setupGlyphOrder(order)
    fb.setupCharacterMap(cmap)
    fb.setupGlyf(outlines)
    fb.setupHorizontalMetrics(metrics)
    fb.setupHorizontalHeader(ascent=ascent, descent=descent, lineGap=0)
    fb.setupNameTable({
        "familyName": FAMILY,
        "styleName": "Regular",
        "uniqueFontIdentifier": FAMILY + " Regular",
        "fullName": FAMILY + " Regular",
        "psName": "TalmyrPixel-Regular",
        "version": "Version 1.000",
        "copyright": "Part of the game Talmyr demo 2'",
        "licenseDescription": LICENCE,
        "description": "Pixel font of the game Talmyr demo 2', pixel-exact at 10 points.",
    })
    fb.setupOS2(sTypoAscender=ascent, sTypoDescender=descent, sTypoLineGap=0,
                usWinAscent=ascent, usWinDescent=-descent,
                sxHeight=5 * PIXEL, sCapHeight=7 * PIXEL,
                usFirstCharIndex=min(glyphs), usLastCharIndex=max(glyphs),
                fsType=0, achVendID="TLMR")
    fb.setupPost()
    fb.font["head"].created = fb.font["head"].modified = 0  # reproducible output
    fb.font.recalcTimestamp = False
    fb.save(out_path)


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: build_font.py SRC OUT.ttf")
    src, out = sys.argv[1:3]
    try:
        glyphs = parse(open(src, encoding="utf-8").read())
    except GlyphError as e:
        sys.exit("%s: %s" % (src, e))
    build(glyphs, out)


if __name__ == "__main__":
    main()
