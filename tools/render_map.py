#!/usr/bin/python3
"""Developer tool: renders a map grid of data/maps.cpp with the tile strip, to look at the art.

    /usr/bin/python3 tools/render_map.py ile /tmp/ile.png        one map
    /usr/bin/python3 tools/render_map.py all /tmp/maps           every map, into a folder
    options: --scale 2, --strip path/to/tiles_decor.png, --grid (draws tile borders)
"""
import argparse
import os
import re
import sys

from PIL import Image, ImageDraw

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TILE = 32


def parse_maps(path):
    """Returns {name: (width, height, [numbers row by row])} from the C++ grids."""
    text = open(path, encoding="utf-8").read()
    maps = {}
    pat = re.compile(r"int16_t\s+map_(\w+)\s*\[\s*(\d+)\s*\*\s*(\d+)\s*\]\s*=\s*\{(.*?)\};", re.S)
    for m in pat.finditer(text):
        name, w, h, body = m.group(1), int(m.group(2)), int(m.group(3)), m.group(4)
        body = re.sub(r"//[^\n]*", "", body)
        nums = [int(v) for v in re.findall(r"-?\d+", body)]
        if len(nums) != w * h:
            raise ValueError("map %s: %d numbers for %dx%d" % (name, len(nums), w, h))
        maps[name] = (w, h, nums)
    return maps


def render(strip, grid, scale=1, lines=False):
    w, h, nums = grid
    out = Image.new("RGB", (w * TILE, h * TILE))
    rgb = strip.convert("RGB")
    for i, n in enumerate(nums):
        x, y = (i % w) * TILE, (i // w) * TILE
        if 1 <= n <= strip.height // TILE:
            out.paste(rgb.crop((0, (n - 1) * TILE, TILE, n * TILE)), (x, y))
    if lines:
        d = ImageDraw.Draw(out)
        for i in range(w + 1):
            d.line([(i * TILE, 0), (i * TILE, h * TILE)], fill=(255, 0, 255))
        for j in range(h + 1):
            d.line([(0, j * TILE), (w * TILE, j * TILE)], fill=(255, 0, 255))
    if scale != 1:
        out = out.resize((out.width * scale, out.height * scale), Image.NEAREST)
    return out


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("map", help="map name (ile, village, maison1..3, entree, chateau) or 'all'")
    ap.add_argument("out", help="output PNG (or folder with 'all')")
    ap.add_argument("--scale", type=int, default=1)
    ap.add_argument("--strip", default=os.path.join(ROOT, "data", "art", "tiles_decor.png"))
    ap.add_argument("--maps", default=os.path.join(ROOT, "data", "maps.cpp"))
    ap.add_argument("--grid", action="store_true")
    a = ap.parse_args(argv)
    maps = parse_maps(a.maps)
    strip = Image.open(a.strip)
    if a.map == "all":
        os.makedirs(a.out, exist_ok=True)
        for name, grid in maps.items():
            p = os.path.join(a.out, name + ".png")
            render(strip, grid, a.scale, a.grid).save(p)
            print("wrote", p)
    else:
        if a.map not in maps:
            sys.exit("unknown map %r (have: %s)" % (a.map, ", ".join(maps)))
        render(strip, maps[a.map], a.scale, a.grid).save(a.out)
        print("wrote", a.out)


if __name__ == "__main__":
    main()
