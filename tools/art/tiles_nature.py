"""Outdoor tiles: the grounds, the sea and its shores, ponds, paths, the ridge, trees and the
small props that stand on grass. Every edge tile is computed from a signed distance to its
water (or dirt) line, so that two tiles that continue the same line share the same profile.
"""
import math

import numpy as np

from tiles_common import (T, XX, YY, C, tile, rng, ellipse, rect, poly, shift, dilate, erode,
                          paint, outline, darken, shaded_blob, hline,
                          vline, px, canvas, cut, cgrid)


# --- periodic noise ------------------------------------------------------------------------

def periodic_noise(seed, cells=4, size=T):
    """Smooth value noise in 0..1 that wraps around a size x size square."""
    r = rng(seed)
    lat = [[r.random() for _ in range(cells)] for _ in range(cells)]
    out = np.zeros((size, size))
    step = size / cells
    for y in range(size):
        for x in range(size):
            gx, gy = x / step, y / step
            x0, y0 = int(gx) % cells, int(gy) % cells
            x1, y1 = (x0 + 1) % cells, (y0 + 1) % cells
            fx, fy = gx - int(gx), gy - int(gy)
            fx, fy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)
            a = lat[y0][x0] * (1 - fx) + lat[y0][x1] * fx
            b = lat[y1][x0] * (1 - fx) + lat[y1][x1] * fx
            out[y, x] = a * (1 - fy) + b * fy
    return out


def hash01(x, y, seed=0):
    h = (x * 374761393 + y * 668265263 + seed * 2147483647) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    return (h ^ (h >> 16)) / 0xFFFFFFFF


# --- grounds -------------------------------------------------------------------------------

def grass_texture(seed, ramp="grass", base=4, warm=False):
    n = periodic_noise(seed, 8)
    t = tile(C(ramp, base))
    t[n > 0.74] = C(ramp, base + 1)
    t[n < 0.2] = C(ramp, base - 1)
    r = rng(seed + 1)
    # blade tufts: two light tips over a dark root, wrapped around the tile
    for _ in range(22):
        x, y = r.randrange(T), r.randrange(T)
        hi = C(ramp, base + 2 if n[y, x] > 0.4 else base + 1)
        lo = C(ramp, base - 1)
        for dx, dy, c in ((0, 0, hi), (2, -1, hi), (1, 1, lo), (2, 1, lo), (3, 0, lo)):
            t[(y + dy) % T, (x + dx) % T] = c
    for _ in range(18):
        x, y = r.randrange(T), r.randrange(T)
        t[y, x] = C(ramp, base + 2)
    if warm:
        for _ in range(10):
            x, y = r.randrange(T), r.randrange(T)
            t[y, x] = C("olive", 6)
            t[(y + 1) % T, x] = C("olive", 4)
    return t


GRASS = grass_texture(11)                       # tile 1: island and castle approach
VGRASS = grass_texture(23, base=4, warm=True)    # tile 141: the village's slightly warmer grass


def earth_texture(seed, ramp="earth", base=6):
    n = periodic_noise(seed, 4)
    t = tile(C(ramp, base))
    t[n > 0.66] = C(ramp, base + 1)
    t[n < 0.3] = C(ramp, base - 1)
    r = rng(seed + 5)
    for _ in range(9):  # pebbles: light top-left, dark bottom-right
        x, y = r.randrange(T), r.randrange(T)
        t[y, x] = C(ramp, base + 2)
        t[y, (x + 1) % T] = C(ramp, base + 1)
        t[(y + 1) % T, (x + 1) % T] = C(ramp, base - 2)
    for _ in range(14):
        x, y = r.randrange(T), r.randrange(T)
        t[y, x] = C(ramp, base - 1 if r.random() < 0.6 else base + 1)
    return t


PLAZA = earth_texture(31, "earth", 6)   # tile 140
DIRT = earth_texture(41, "earth", 5)    # castle approach path


def planks_texture(seed):
    """Honey planks running left to right, 8 px high, staggered joints."""
    t = tile(C("wood", 6))
    for row in range(4):
        y0 = row * 8
        tone = [6, 7, 6, 5][row]
        t[y0:y0 + 8, :] = C("wood", tone)
        for x in range(T):  # grain streaks
            if hash01(x // 3, row, seed) < 0.25:
                t[y0 + 2 + (x * 7 + row) % 4, x] = C("wood", tone - 1)
        t[y0 + 1, :] = C("wood", tone + 1)
        t[y0 + 7, :] = C("wood", 3)
        jx = (row * 13 + 5) % T
        t[y0:y0 + 7, jx] = C("wood", 3)
        t[y0:y0 + 7, (jx + 1) % T] = C("wood", tone + 1)
        px(t, (jx + 3) % T, y0 + 3, C("wood", 2))
        px(t, (jx - 3) % T, y0 + 3, C("wood", 2))
    return t


PLANKS = planks_texture(51)   # tile 100


def terracotta_texture(seed):
    """Square terracotta floor tiles, 16 px, with light grout (house 2, tile 56)."""
    t = tile(C("orange", 4))
    for by in range(2):
        for bx in range(2):
            x0, y0 = bx * 16, by * 16
            tone = 4 if (bx + by) % 2 == 0 else 3
            t[y0:y0 + 16, x0:x0 + 16] = C("orange", tone - 1)
            t[y0 + 1, x0 + 1:x0 + 15] = C("orange", tone)
            t[y0 + 1:y0 + 15, x0 + 1] = C("orange", tone)
            t[y0 + 14, x0 + 1:x0 + 15] = C("orange", tone - 2)
            t[y0 + 1:y0 + 15, x0 + 14] = C("orange", tone - 2)
            t[y0 + 15, x0:x0 + 16] = C("sand", 3)
            t[y0:y0 + 16, x0 + 15] = C("sand", 3)
    r = rng(seed)
    for _ in range(14):
        x, y = r.randrange(T), r.randrange(T)
        if x % 16 not in (0, 1, 14, 15) and y % 16 not in (0, 1, 14, 15):
            t[y, x] = C("orange", 3 if r.random() < 0.5 else 1)
    return t


TERRACOTTA = terracotta_texture(61)


def flagstone_texture(seed):
    """Castle floor: large warm sandstone flagstones with soft mortar (tile 192)."""
    t = tile(C("earth", 3))
    rows = [(0, 11), (11, 10), (21, 11)]
    r = rng(seed)
    for ri, (y0, h) in enumerate(rows):
        cuts = sorted({0, (9 + 13 * ri) % 32, (22 + 5 * ri) % 32})
        cuts = cuts + [cuts[0] + 32]
        for i in range(len(cuts) - 1):
            x0, x1 = cuts[i], cuts[i + 1]
            tone = r.choice([2, 2, 3, 1]) + 1
            for x in range(x0 + 1, x1):
                xx = x % 32
                t[y0 + 1:y0 + h, xx] = C("sand", tone)
                t[y0 + 1, xx] = C("sand", tone + 1)
            t[y0 + 2:y0 + h, (x1 - 1) % 32] = C("sand", tone - 1)
            for _ in range(4):
                x = (x0 + 2 + r.randrange(max(1, x1 - x0 - 3))) % 32
                y = y0 + 2 + r.randrange(max(1, h - 3))
                t[y, x] = C("sand", tone - 1 if r.random() < 0.6 else tone + 1)
    return t


FLAGSTONES = flagstone_texture(71)


# --- water ---------------------------------------------------------------------------------

WATER = C("water", 4)


def water_tile(seed, marks=3):
    t = tile(WATER)
    add_waves(t, np.ones((T, T), bool), seed, marks)
    return t


def add_waves(t, allowed, seed, marks=3):
    r = rng(seed)
    placed = 0
    tries = 0
    while placed < marks and tries < 200:
        tries += 1
        w = r.choice([5, 6, 7])
        x, y = r.randrange(1, T - w - 1), r.randrange(2, T - 3)
        if not allowed[y - 1:y + 3, x - 1:x + w + 1].all():
            continue
        hline(t, x + 1, x + w - 2, y, C("water", 7))
        px(t, x, y + 1, C("water", 6))
        px(t, x + w - 1, y + 1, C("water", 6))
        hline(t, x + 1, x + w - 2, y + 1, C("water", 3))
        px(t, x + w // 2, y, C("water", 8))
        placed += 1
    return t


def _quadrant_land(x, y, ox, oy, R):
    """Signed distance (positive on land) for land = {x>=ox, y>=oy} with its corner rounded."""
    qx, qy = ox + R, oy + R
    inside = (x >= qx) & (y >= qy)
    dx = np.maximum(qx - x, 0)
    dy = np.maximum(qy - y, 0)
    return np.where(inside, np.minimum(x - ox, y - oy), R - np.sqrt(dx * dx + dy * dy))


def _quadrant_water(x, y, ox, oy, r):
    """Signed distance (positive on land) for water = {x>=ox, y>=oy}, corner rounded by r."""
    qx, qy = ox + r, oy + r
    inside = (x >= qx) & (y >= qy)
    dx = np.maximum(qx - x, 0)
    dy = np.maximum(qy - y, 0)
    return np.where(inside, -np.minimum(x - ox, y - oy), np.sqrt(dx * dx + dy * dy) - r)


def _mirror(fn, fx, fy):
    def g(x, y):
        return fn(T - x if fx else x, T - y if fy else y)
    return g


def edge_field(kind, side, band, radius):
    """Distance field for one edge tile.  kind: 'side' (straight band of water on `side`),
    'outer' (land is a rounded quadrant, water on the two sides named in `side`), 'inner'
    (water only in the corner named in `side`).  Corners are named by two letters: 'tl', 'br'..."""
    if kind == "side":
        return {"t": lambda x, y: y - band[0], "b": lambda x, y: (T - band[1]) - y,
                "l": lambda x, y: x - band[2], "r": lambda x, y: (T - band[3]) - x}[side]
    fx, fy = side[1] == "r", side[0] == "b"
    if kind == "outer":
        ox = band[3] if fx else band[2]
        oy = band[1] if fy else band[0]
        return _mirror(lambda x, y: _quadrant_land(x, y, ox, oy, radius), fx, fy)
    # water only in the corner: its size is the width of the bands that continue it
    wx = band[3] if side[1] == "r" else band[2]
    wy = band[1] if side[0] == "b" else band[0]
    return _mirror(lambda x, y: _quadrant_water(x, y, T - wx, T - wy, radius),
                   side[1] == "l", side[0] == "t")


def field_and_normal(fn):
    d = fn(XX, YY)
    e = 0.25
    gx = fn(XX + e, YY) - fn(XX - e, YY)
    gy = fn(XX, YY + e) - fn(XX, YY - e)
    return d, gx, gy


def draw_shore(ground, fn, seed, rim="auto", water_marks=2, beach=4, bank=5):
    """Paints water where the field is negative, a rim (sand beach where the water lies above,
    an earth bank with a cliff face elsewhere) and keeps `ground` beyond the rim."""
    t = ground.copy()
    d, gx, gy = field_and_normal(fn)
    water = d < 0
    t[water] = WATER
    t[water & (d > -4.5)] = C("water", 5)
    foam = water & (d > -1.6)
    t[foam] = C("water", 7)
    t[foam & ((XX.astype(int) + YY.astype(int)) % 3 == 0)] = C("water", 9)
    add_waves(t, d < -6, seed, water_marks)
    north = gy > 0.6 * np.abs(gx) if rim == "auto" else np.full(d.shape, rim == "sand")
    south = gy < -0.6 * np.abs(gx)
    # sand beach (water above)
    m = north & (d >= 0) & (d < beach)
    t[m & (d < 1.2)] = C("sand", 3)
    t[m & (d >= 1.2)] = C("sand", 6)
    for y, x in zip(*np.nonzero(m & (d >= 1.2))):
        hv = hash01(x, y, seed)
        if hv < 0.12:
            t[y, x] = C("sand", 8)
        elif hv < 0.2:
            t[y, x] = C("sand", 4)
    edge = north & (d >= beach) & (d < beach + 1.3)
    for y, x in zip(*np.nonzero(edge)):
        if hash01(x, y, seed + 3) < 0.5:
            t[y, x] = C("grass", 6)
    # earth bank / cliff face (water on the other sides)
    b = ~north & (d >= 0) & (d < bank)
    t[b] = C("earth", 4)
    t[b & (d < 1.3)] = C("earth", 2)
    t[b & south & (d >= 1.3) & (d < 3.2)] = C("earth", 3)
    t[b & ~south & (d >= bank - 1.5)] = C("earth", 6)
    t[b & south & (d >= bank - 1.3)] = C("earth", 5)
    for y, x in zip(*np.nonzero(b & (d >= 1.3))):
        if hash01(x, y // 2 if not south[y, x] else 0, seed) < 0.18:
            t[y, x] = C("earth", 3)
    lip = ~north & (d >= bank) & (d < bank + 1.2)
    t[lip] = C("grass", 3)
    return t


SEA_BAND = (8, 8, 8, 8)   # top, bottom, left, right widths of the water band


def sea_edge_tiles():
    g = GRASS
    out = {}
    sides = {80: "t", 81: "t", 76: "b", 77: "b", 74: "l", 75: "l", 78: "r", 79: "r"}
    for n, s in sides.items():
        out[n] = draw_shore(g, edge_field("side", s, SEA_BAND, 0), seed=n, water_marks=1)
    for n, c in {82: "tl", 83: "tr", 84: "bl", 85: "br"}.items():
        out[n] = draw_shore(g, edge_field("outer", c, SEA_BAND, 11), seed=n, water_marks=2)
    for n, c in {86: "br", 87: "bl", 88: "tr", 89: "tl"}.items():
        out[n] = draw_shore(g, edge_field("inner", c, SEA_BAND, 6), seed=n, water_marks=0)
    # paired variants: same profile, a different detail inside
    _pebbles(out[81], seed=81)
    _pebbles(out[77], seed=77)
    _pebbles(out[75], seed=75)
    _pebbles(out[79], seed=79)
    return out


def _pebbles(t, seed):
    r = rng(seed)
    for _ in range(2):
        x, y = r.randrange(10, 22), r.randrange(12, 22)
        px(t, x, y, C("grey", 11))
        px(t, x + 1, y, C("grey", 9))
        px(t, x + 1, y + 1, C("grey", 5))
        px(t, x, y + 1, C("grass", 3))


def boat_tile():
    """Tile 33: the hero's rowing boat moored in the cove."""
    t = water_tile(33, 1)
    hull = poly([(5, 12), (27, 12), (24, 23), (9, 23)])
    hull |= ellipse(6, 17, 3.5, 5.5) & (XX < 9)
    darken(t, shift(hull, 2, 2) & ~hull, 1)
    paint(t, hull, C("wood", 4))
    paint(t, hull & (YY < 14), C("wood", 7))
    paint(t, hull & (YY >= 20), C("wood", 3))
    inner = poly([(8, 14), (25, 14), (23, 20), (10, 20)])
    paint(t, inner, C("wood", 2))
    paint(t, rect(10, 16, 22, 17), C("wood", 6))  # thwart
    outline(t, hull, C("wood", 0))
    vline(t, 28, 8, 14, C("wood", 5))  # mooring post and rope
    px(t, 27, 13, C("sand", 6))
    px(t, 26, 14, C("sand", 6))
    hline(t, 5, 8, 25, C("water", 7))
    hline(t, 20, 25, 25, C("water", 7))
    return t


# --- pond ------------------------------------------------------------------------------------

POND_BAND = (13, 14, 10, 10)   # top: water starts 13 px down; bottom: 14 px of water at the top


def pond_tiles():
    g = GRASS
    out = {}
    # the pond's banks: the water is inside, so every piece is an inner corner or a side
    side = {32: "b", 26: "b", 27: "b", 21: "t", 19: "r", 18: "l"}
    band = (POND_BAND[1], T - POND_BAND[0], T - 10, T - 10)
    for n, s in side.items():
        out[n] = draw_shore(g, edge_field("side", s, band, 0), seed=n, water_marks=1 if s != "t" else 0)
    for n, c in {23: "br", 24: "bl", 28: "tr", 29: "tl"}.items():
        out[n] = draw_shore(g, edge_field("inner", c, band, 10), seed=n, water_marks=0)
    out[31] = water_tile(31, 2)
    _reeds(out[26], [(6, 14), (11, 15)], 26)
    _reeds(out[27], [(20, 14)], 27)
    _lily(out[27], 8, 21)
    _reeds(out[19], [(19, 8), (20, 22)], 19)
    _reeds(out[18], [(10, 18)], 18)
    _reeds(out[23], [(24, 15)], 23)
    _lily(out[31], 21, 9)
    _lily(out[28], 22, 6)
    return out


def _reeds(t, spots, seed):
    r = rng(seed)
    for x0, y0 in spots:
        for i in range(4):
            x = x0 + i * 2 - 3 + r.randrange(2)
            h = r.randrange(5, 9)
            vline(t, x, y0 - h, y0, C("olive", 5))
            px(t, x, y0 - h, C("olive", 8))
            px(t, x + 1, y0, C("water", 3))
        px(t, x0, y0 - 8, C("wood", 3))
        px(t, x0, y0 - 7, C("wood", 3))


def _lily(t, x, y):
    m = ellipse(x, y, 3.5, 2.5)
    paint(t, m, C("forest", 6))
    paint(t, m & (YY < y - 0.5), C("forest", 8))
    px(t, x + 2, y, C("water", 4))
    px(t, x, y - 1, C("rose", 8))


# --- dirt path on grass ------------------------------------------------------------------------

PATH_BAND = (6, 6, 5, 5)


def path_tiles():
    out = {}

    def draw(fn, seed):
        t = GRASS.copy()
        d = -fn(XX, YY)
        # the field is positive on the dirt ("land" side), so dirt where d < 0
        dirt = d < 0
        t[dirt] = DIRT[dirt]
        fringe = (d >= -1.5) & (d < 0)
        for y, x in zip(*np.nonzero(fringe)):
            t[y, x] = C("earth", 4) if hash01(x, y, 7) < 0.5 else C("grass", 3)
        tuft = (d >= 0) & (d < 1.5)
        for y, x in zip(*np.nonzero(tuft)):
            if hash01(x, y, 9) < 0.35:
                t[y, x] = C("grass", 6)
        return t

    # the field is positive on grass: grass bands lie on the outer sides of the path
    for n, s in {63: "t", 65: "b", 44: "l", 45: "r"}.items():
        out[n] = draw(edge_field("side", s, PATH_BAND, 0), n)
    for n, c in {40: "tl", 41: "tr", 42: "bl", 43: "br"}.items():
        out[n] = draw(edge_field("outer", c, PATH_BAND, 9), n)
    out[62] = DIRT.copy()
    r = rng(62)
    for _ in range(3):  # wheel ruts and footprints
        x, y = r.randrange(4, 28), r.randrange(2, 30)
        px(out[62], x, y, C("earth", 3))
        px(out[62], x + 1, y, C("earth", 3))
    return out


# --- ridge -------------------------------------------------------------------------------------

def ridge_tiles():
    """8-12 and 4: a low rocky ridge, two tiles high, drawn in one piece (left end, a
    repeatable middle, right end) and cut.  The middle is periodic so it repeats seamlessly."""
    big = canvas(3, 2, GRASS)
    xx, yy = cgrid(big)
    nx = periodic_noise(81, 4)[0]  # periodic 1-D profile along x
    boulders = [(5, 24, 11), (17, 17, 12), (27, 26, 10)]
    top = np.full(96, 40.0)
    for k in range(-1, 4):
        for bx, by, br in boulders:
            cx = bx + 32 * k
            for x in range(96):
                dx = x + 0.5 - cx
                if abs(dx) < br:
                    top[x] = min(top[x], by - (br * br - dx * dx) ** 0.5 * 0.85)
    bot = 54 + 2 * np.array([nx[(int(x) * 3) % T] for x in xx[0]])
    left_cap = 7.0
    right_cap = 96 - 7.0
    mask = np.zeros(big.shape, bool)
    for x in range(96):
        cx = x + 0.5
        t0, b0 = top[x], bot[x]
        if cx < left_cap + 14:  # rounded ends
            k = (left_cap + 14 - cx) / 14
            t0 = t0 + 26 * k * k
            b0 = b0 - 6 * k * k
        if cx > right_cap - 14:
            k = (cx - right_cap + 14) / 14
            t0 = t0 + 26 * k * k
            b0 = b0 - 6 * k * k
        if left_cap <= cx <= right_cap:
            mask[int(max(0, t0)):int(b0), x] = True
    face_top = np.zeros(big.shape, bool)
    for x in range(96):
        ft = 32 + 4 * (nx[(x * 2 + 7) % T] - 0.5)
        face_top[int(ft):, x] = True
    face = mask & face_top
    topm = mask & ~face_top
    # shadow on the grass, down-right
    darken(big, shift(mask, 2, 3) & ~mask, 1)
    # rock tops: rounded boulders (a periodic set of centres), light from the upper left
    centres = []
    for k in range(-1, 4):
        for (bx, by, br) in boulders:
            centres.append((bx + 32 * k, by, br))
    for y, x in zip(*np.nonzero(topm)):
        ds = sorted((((x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2) ** 0.5 / cr, cx, cy, cr)
                    for cx, cy, cr in centres)
        d0, cx, cy, cr = ds[0]
        if ds[1][0] - d0 < 0.09:
            big[y, x] = C("grey", 4)   # the crack between two boulders
            continue
        v = ((x + 0.5 - cx) * -0.6 + (y + 0.5 - cy) * -0.75) / cr - 0.5 * d0
        lvl = 9 + int(round(v * 2.5))
        if hash01(x % T, y, 85) < 0.07:
            lvl -= 1
        big[y, x] = C("grey", max(5, min(12, lvl)))
    # the rock face: irregular grey blocks, darker toward the foot
    for y, x in zip(*np.nonzero(face)):
        slab = hash01((x % T) // 4, (y + (x % T) // 4 * 3) // 9, 81)
        lvl = 6 + int(slab * 3) - (1 if y > 46 else 0) - (1 if y > 52 else 0)
        if (x % T) % 4 == 3 and hash01(x % T, y // 5, 82) < 0.6:
            lvl = 4   # vertical cracks
        big[y, x] = C("grey", lvl)
    hline_mask = face & ~shift(face, 0, 1)
    big[hline_mask] = C("grey", 12)  # lit ledge where the top meets the face
    # grass tufts on top
    r = rng(84)
    for _ in range(5):
        x, y = r.randrange(2, 30), r.randrange(14, 24)
        for cx in (x, x + 32, x + 64):
            if topm[y, cx] and topm[y + 2, cx]:
                px(big, cx, y, C("grass", 7))
                px(big, cx + 1, y - 1, C("grass", 6))
                px(big, cx - 1, y, C("grass", 5))
    outline_big(big, mask, C("grey", 2))
    return {8: cut(big, 0, 0), 10: cut(big, 1, 0), 9: cut(big, 2, 0),
            11: cut(big, 0, 1), 4: cut(big, 1, 1), 12: cut(big, 2, 1)}


def outline_big(big, mask, colour):
    ring = dilate(mask) & ~mask
    big[ring] = colour


# --- trees -------------------------------------------------------------------------------------

def leafy(t, mask, cx, cy, radius, ramp="forest", seed=0, levels=(1, 2, 3, 4, 5, 6, 7)):
    """Foliage: banded shading plus little leaf clumps (light crescents)."""
    shaded_blob(t, mask, ramp, list(levels), cx, cy, radius, seed=seed, speckle=0.25)
    r = rng(seed)
    h, w = t.shape
    for _ in range(int(mask.sum() / 28)):
        x, y = r.randrange(w), r.randrange(h)
        if mask[y, x] and y + 2 < h and x + 2 < w and mask[y + 2, x + 2]:
            lit = (x - cx) * -0.6 + (y - cy) * -0.7 > 0
            hi = C(ramp, levels[-1] if lit else levels[len(levels) // 2])
            lo = C(ramp, levels[1])
            t[y, x] = hi
            t[y, x + 1] = hi
            t[y + 1, x - 1 if x > 0 else x] = hi
            t[y + 2, x + 1] = lo
            t[y + 2, x + 2] = lo


def tree_tile():
    """Tile 6: a world-map tree, round canopy on a short trunk."""
    t = GRASS.copy()
    darken(t, ellipse(18, 26, 11, 4), 2)
    trunk = rect(14, 18, 18, 27)
    paint(t, trunk, C("wood", 3))
    vline(t, 14, 18, 27, C("wood", 5))
    vline(t, 18, 18, 27, C("wood", 1))
    hline(t, 13, 19, 27, C("wood", 2))
    crown = ellipse(16, 12.5, 12.5, 10.5) | ellipse(9, 15, 6, 5) | ellipse(23, 15, 6, 5)
    leafy(t, crown, 16, 12, 12, seed=6)
    outline(t, crown, C("forest", 0))
    return t


def tall_tree_tiles():
    """46-49: a dark cypress, four tiles high, drawn in one piece."""
    big = canvas(1, 4, GRASS)
    xx, yy = cgrid(big)
    # flame-shaped crown from y=4 to y=114
    crown = np.zeros(big.shape, bool)
    for y in range(128):
        if 4 <= y <= 114:
            f = (y - 4) / 110.0
            w = 11.5 * math.sin(math.pi * min(1.0, 0.12 + f * 0.95)) ** 0.8
            w = max(1.5, w)
            wob = 1.2 * math.sin(y * 0.55)
            crown[y, int(16 - w + wob * 0.3):int(16 + w + wob)] = True
    darken(big, ellipse(19, 121, 12, 4.5, (xx, yy)), 2)
    trunk = rect(14, 108, 18, 121, big.shape)
    big[trunk] = C("wood", 2)
    big[rect(14, 108, 14, 121, big.shape)] = C("wood", 4)
    big[rect(13, 121, 19, 121, big.shape)] = C("wood", 1)
    # foliage in drooping horizontal scallops
    for y, x in zip(*np.nonzero(crown)):
        band = (y + (x % 4)) % 9
        rel = (x - 16) / 12.0
        lvl = 3 - int(rel * 2.2) - (1 if band > 6 else 0) + (1 if band < 2 else 0)
        big[y, x] = C("forest", max(0, min(6, lvl)))
    big[dilate(crown) & ~crown] = C("forest", 0)
    for y in range(8, 110, 9):  # light tips of the scallops on the lit side
        for x in range(8, 16):
            if crown[y, x] and crown[y, x + 2]:
                big[y, x] = C("forest", 6)
                break
    return {46: cut(big, 0, 0), 47: cut(big, 0, 1), 48: cut(big, 0, 2), 49: cut(big, 0, 3)}


# --- world map icons -----------------------------------------------------------------------

def castle_icon_tiles():
    """34 over 35: a grey castle with two towers and a dark gate arch."""
    big = canvas(1, 2, GRASS)
    g = cgrid(big)
    darken(big, ellipse(18, 58, 15, 4, g), 2)
    wall = rect(5, 30, 26, 57, big.shape)
    for m, cx in ((rect(2, 14, 10, 57, big.shape), 6), (rect(21, 14, 29, 57, big.shape), 25)):
        big[m] = C("stone", 6)
        big[m & (g[0] > cx + 1)] = C("stone", 4)
        big[m & (g[0] < cx - 2)] = C("stone", 8)
    big[wall] = C("stone", 6)
    big[wall & (g[1] > 50)] = C("stone", 5)
    for x in range(11, 21, 3):  # crenels
        big[rect(x, 27, x + 1, 29, big.shape)] = C("stone", 7)
    keep = rect(11, 20, 20, 30, big.shape)
    big[keep] = C("stone", 7)
    big[rect(17, 20, 20, 30, big.shape)] = C("stone", 5)
    # roofs: blue cones
    for cx, top in ((6, 2), (25, 2), (15.5, 9)):
        cone = poly([(cx, top), (cx + 6, top + 13), (cx - 6, top + 13)], g)
        big[cone] = C("navy", 5)
        big[cone & (g[0] > cx + 0.5)] = C("navy", 3)
        big[dilate(cone) & ~cone & ~dilate(wall | keep)] = C("navy", 1)
        px(big, int(cx), top - 1, C("gold", 7))
    # windows
    for x, y in ((5, 22), (24, 22), (15, 23)):
        big[rect(x, y, x + 1, y + 3, big.shape)] = C("grey", 1)
    # gate arch
    arch = rect(12, 44, 19, 57, big.shape) | ellipse(15.5, 44, 4, 4, g)
    big[arch] = C("wood", 1)
    big[rect(13, 46, 18, 57, big.shape) & arch] = C("wood", 3)
    big[rect(15, 46, 16, 57, big.shape)] = C("wood", 1)
    castle = wall | keep | rect(2, 14, 10, 57, big.shape) | rect(21, 14, 29, 57, big.shape)
    for cx, top in ((6, 2), (25, 2), (15.5, 9)):
        castle |= poly([(cx, top), (cx + 6, top + 13), (cx - 6, top + 13)], g)
    big[dilate(castle) & ~castle] = C("stone", 1)
    return {34: cut(big, 0, 0), 35: cut(big, 0, 1)}


def village_icon_tile():
    """93: three little red-roofed houses."""
    t = GRASS.copy()
    for (x, y, w) in ((1, 4, 15), (16, 2, 15), (8, 15, 16)):
        darken(t, rect(x + 2, y + 9, x + w + 1, y + 13) & ~rect(x, y, x + w - 1, y + 11), 2)
        wall = rect(x + 1, y + 6, x + w - 2, y + 11)
        paint(t, wall, C("parchment", 7))
        paint(t, rect(x + w - 4, y + 6, x + w - 2, y + 11), C("parchment", 5))
        door = rect(x + w // 2 - 1, y + 8, x + w // 2, y + 11)
        paint(t, door, C("wood", 2))
        px(t, x + 3, y + 8, C("water", 3))
        roof = poly([(x - 0.5, y + 6.5), (x + w / 2, y - 0.5), (x + w + 0.5, y + 6.5)])
        paint(t, roof, C("roof", 6))
        paint(t, roof & (XX > x + w / 2), C("roof", 4))
        outline(t, roof | wall, C("roof", 0))
    return t


# --- battlefield props -------------------------------------------------------------------------

def body_tile(seed=94, flip=False):
    """94: a fallen soldier lying flat on the grass, muted and not gory."""
    t = GRASS.copy()
    cloak = poly([(8, 12), (24, 10), (27, 20), (10, 23)])
    darken(t, shift(cloak, 1, 2) & ~cloak, 1)
    paint(t, cloak, C("slate", 4))
    paint(t, cloak & (YY < 15), C("slate", 5))
    torso = ellipse(15, 16, 6, 4.5)
    paint(t, torso, C("steel", 5))
    paint(t, torso & (YY < 15), C("steel", 7))
    legs = rect(20, 14, 28, 15) | rect(20, 18, 27, 19)
    paint(t, legs, C("earth", 3))
    px(t, 28, 14, C("wood", 1))
    px(t, 27, 18, C("wood", 1))
    head = ellipse(7, 15, 3.2, 3.2)
    paint(t, head, C("skin", 4))
    paint(t, head & (XX < 6.5), C("earth", 3))  # hair
    arm = rect(9, 20, 15, 21)
    paint(t, arm, C("steel", 4))
    outline(t, cloak | torso | head | legs | arm, C("slate", 1))
    # a dropped sword and a small dark stain
    hline(t, 6, 20, 26, C("steel", 8))
    hline(t, 6, 20, 27, C("steel", 4))
    vline(t, 9, 24, 29, C("gold", 4))
    paint(t, ellipse(12, 9, 3, 1.5), C("red", 1))
    if flip:
        t = t[:, ::-1].copy()
    return t


def food_tile():
    """254: a basket of red apples and a golden loaf, bright so it reads as a pick-up."""
    t = GRASS.copy()
    darken(t, ellipse(18, 24, 12, 4), 2)
    basket = ellipse(16, 20, 11, 6) & (YY > 17)
    paint(t, basket, C("wood", 5))
    for y in range(18, 27, 2):
        hline(t, 5, 27, y, C("wood", 4))
    paint(t, basket & ~erode(basket), C("wood", 2))
    loaf = ellipse(11, 16, 6, 3.5)
    paint(t, loaf, C("gold", 6))
    paint(t, loaf & (YY < 15), C("gold", 8))
    for x in (9, 12):
        px(t, x, 15, C("gold", 4))
        px(t, x + 1, 16, C("gold", 4))
    outline(t, loaf, C("wood", 2))
    for cx, cy in ((19, 15), (24, 16), (21, 19)):
        a = ellipse(cx, cy, 3.2, 3)
        paint(t, a, C("red", 5))
        paint(t, a & (XX > cx + 0.5) & (YY > cy), C("red", 3))
        px(t, int(cx) - 1, int(cy) - 1, C("red", 9))
        outline(t, a, C("red", 1))
        px(t, int(cx), int(cy) - 3, C("wood", 2))
        px(t, int(cx) + 1, int(cy) - 4, C("forest", 6))
    outline(t, basket, C("wood", 1))
    return t


def boulder_tile():
    """253: a mossy boulder."""
    t = GRASS.copy()
    darken(t, ellipse(19, 24, 12, 5), 2)
    rock = ellipse(16, 17, 11, 9) | ellipse(10, 21, 6, 5)
    shaded_blob(t, rock, "grey", [4, 5, 6, 8, 9, 10, 11], 16, 17, 11, seed=253, speckle=0.2)
    paint(t, ellipse(12, 10, 5, 2.5) & rock, C("olive", 5))
    px(t, 18, 18, C("grey", 4))
    px(t, 19, 19, C("grey", 4))
    px(t, 20, 19, C("grey", 4))
    outline(t, rock, C("grey", 2))
    return t


def grave_tile():
    """255: a rough wooden cross over a fresh mound."""
    t = GRASS.copy()
    mound = ellipse(16, 25, 11, 4.5)
    paint(t, mound, C("earth", 4))
    paint(t, mound & (YY < 24), C("earth", 6))
    outline(t, mound, C("earth", 2))
    post = rect(14, 5, 17, 25)
    bar = rect(8, 10, 23, 12)
    darken(t, shift(post | bar, 2, 1) & ~(post | bar), 1)
    paint(t, post | bar, C("wood", 4))
    vline(t, 14, 5, 25, C("wood", 6))
    hline(t, 8, 23, 10, C("wood", 6))
    outline(t, post | bar, C("wood", 1))
    px(t, 15, 11, C("grey", 9))
    return t


def low_wall_tiles():
    """61 (left end) and 60 (right end): a low dry-stone wall, drawn in one piece."""
    big = canvas(2, 1, GRASS)
    g = cgrid(big)
    top = rect(4, 9, 59, 15, big.shape) | ellipse(5, 12, 3, 3, g) | ellipse(58, 12, 3, 3, g)
    face = rect(3, 15, 60, 25, big.shape)
    darken(big, shift(top | face, 2, 2) & ~(top | face), 1)
    stone_face(big, face, "grey", 61)
    big[top] = C("grey", 11)
    big[top & (g[1] > 13)] = C("grey", 9)
    for x in range(6, 58, 7):
        big[rect(x, 10, x, 14, big.shape) & top] = C("grey", 8)
    big[dilate(top | face) & ~(top | face)] = C("grey", 3)
    return {61: cut(big, 0, 0), 60: cut(big, 1, 0)}


def stone_face(big, mask, ramp, seed, h=5, base=(7, 8, 6), mortar=None):
    """Coursed stone blocks inside a mask; light top-left edge, dark mortar."""
    ys, xs = np.nonzero(mask)
    if len(ys) == 0:
        return
    y0 = ys.min()
    mortar = mortar if mortar is not None else (C(ramp, 4) if ramp == "grey" else C(ramp, 2))
    for y, x in zip(ys, xs):
        row = (y - y0) // h
        off = (row * 7 + seed) % 11
        col = (x + off) // 11
        lx = (x + off) % 11
        ly = (y - y0) % h
        tone = base[(row * 3 + col) % len(base)]
        if ly == h - 1 or lx == 10:
            c = mortar
        elif ly == 0 or lx == 0:
            c = C(ramp, tone + (2 if ramp == "grey" else 1))
        else:
            c = C(ramp, tone)
        big[y, x] = c


def dirt_on_grass(grass, dirt, fn, seed):
    """Dirt where the field is negative, frayed into the grass where it turns positive."""
    t = grass.copy()
    d = -fn(XX, YY)  # the field is positive on the dirt ("land" side of the edge)
    m = d < 0
    t[m] = dirt[m]
    for y, x in zip(*np.nonzero((d >= -1.5) & (d < 0))):
        t[y, x] = C("earth", 4) if hash01(x, y, seed) < 0.5 else grass[(y + 3) % T, x]
    for y, x in zip(*np.nonzero((d >= 0) & (d < 1.5))):
        if hash01(x, y, seed + 1) < 0.3:
            t[y, x] = C("earth", 5)
    return t
