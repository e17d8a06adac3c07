#!/usr/bin/python3
"""Paints the tile strip data/art/tiles_decor.png: 255 tiles of 32x32 stacked top to bottom,
tile t at rows 32*(t-1) .. 32*(t-1)+31, indexed with the shared palette.

Run from anywhere with /usr/bin/python3 tools/art/gen_tiles.py [output.png]
"""
import os
import sys

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import palette  # noqa: E402
from tiles_common import T, check  # noqa: E402
import tiles_nature as nat  # noqa: E402
import tiles_village as vil  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
OUT = os.path.join(ROOT, "data", "art", "tiles_decor.png")
COUNT = 255


def build():
    tiles = {}
    tiles[1] = nat.GRASS.copy()
    tiles[141] = nat.VGRASS.copy()
    tiles[100] = nat.PLANKS.copy()
    tiles[56] = nat.TERRACOTTA.copy()
    tiles[192] = nat.FLAGSTONES.copy()
    # island
    tiles[90] = nat.water_tile(90, 3)
    tiles[91] = nat.water_tile(91, 2)
    tiles[92] = nat.water_tile(92, 3)
    tiles.update(nat.sea_edge_tiles())
    tiles[33] = nat.boat_tile()
    tiles.update(nat.pond_tiles())
    tiles.update(nat.ridge_tiles())
    tiles[6] = nat.tree_tile()
    tiles.update(nat.castle_icon_tiles())
    tiles[93] = nat.village_icon_tile()
    tiles.update(nat.low_wall_tiles())
    # castle approach
    tiles.update(nat.path_tiles())
    tiles.update(nat.tall_tree_tiles())
    tiles[94] = nat.body_tile()
    tiles[95] = nat.body_tile(95, flip=False)
    tiles[253] = nat.boulder_tile()
    tiles[254] = nat.food_tile()
    tiles[255] = nat.grave_tile()
    tiles.update(vil.boundary_tiles())
    # village
    tiles.update(vil.plaza_tiles())
    tiles.update(vil.house_tiles())
    tiles.update(vil.village_pond_tiles())
    tiles[143] = vil.bush_tile()
    tiles[144] = vil.flowers_tile()
    tiles[145] = vil.hedge_tile()
    tiles[146] = vil.signpost_tile()
    tiles[147] = vil.bench_tile()
    tiles[149] = vil.well_tile()
    tiles[150] = vil.keg(nat.VGRASS.copy(), None, 150)
    tiles[151] = vil.reeds_tile()
    tiles[152] = vil.veg_tile()
    tiles[155] = vil.rock_flowers_tile()
    tiles[175] = vil.pot_tile()
    tiles[176] = vil.crate_tile()
    try:
        import tiles_interior as inn
        tiles.update(inn.interior_tiles())
    except ImportError:
        pass
    try:
        import tiles_castle as cas
        tiles.update(cas.castle_tiles())
    except ImportError:
        pass
    fill_unused(tiles)
    return tiles


# numbers no map uses: a copy of the nearest ground, so a later map edit shows nothing odd
FILLERS = {2: 1, 3: 1, 5: 1, 7: 1, 20: 21, 22: 31, 25: 31, 30: 31, 108: 100, 109: 100,
           118: 98, 120: 119, 122: 119, 124: 119, 134: 132, 135: 132, 136: 132, 137: 132,
           142: 141, 148: 141, 153: 141, 154: 141, 173: 140, 174: 140, 177: 192, 178: 192,
           179: 192}


def fill_unused(tiles):
    for n, src in FILLERS.items():
        if n not in tiles and src in tiles:
            tiles[n] = tiles[src].copy()
    for n in range(1, COUNT + 1):
        if n not in tiles:  # not painted yet: a loud checker so it shows at once
            t = np.full((T, T), palette.shade("magic", 6), np.uint8)
            t[(np.add.outer(np.arange(T), np.arange(T)) // 8) % 2 == 0] = palette.shade("grey", 2)
            tiles[n] = t


def strip(tiles):
    img = palette.new_image(T, T * COUNT, fill=0)
    arr = np.zeros((T * COUNT, T), np.uint8)
    for n in range(1, COUNT + 1):
        arr[T * (n - 1):T * n, :] = check(tiles[n])
    from PIL import Image
    img = Image.fromarray(arr, "P")
    return img


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else OUT
    img = strip(build())
    palette.save(img, out)
    print("wrote", out)


if __name__ == "__main__":
    main()
