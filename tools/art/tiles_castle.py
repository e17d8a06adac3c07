"""Castle tiles: the facade and north wall (two tiles high), the gate, the one-tile-thick
interior walls, the throne room, columns and furnishings on flagstones 192."""
import numpy as np

from tiles_common import (T, XX, YY, C, tile, rng, ellipse, rect, poly, shift, dilate,
                          paint, outline, darken, shaded_blob, hline, vline, px,
                          cut, cgrid)
from tiles_nature import GRASS, FLAGSTONES, hash01

FOOT = 24


def masonry(t, mask, seed=0, h=8, w=16, base=(5, 6, 4, 5)):
    """Big grey-blue blocks, staggered, light top-left edges and dark mortar."""
    for y, x in zip(*np.nonzero(mask)):
        row = y // h
        off = (row % 2) * (w // 2)
        col = (x + off) // w
        lx, ly = (x + off) % w, y % h
        tone = base[(row * 3 + col + seed) % len(base)]
        if ly == h - 1 or lx == w - 1:
            c = C("stone", 2)
        elif ly == 0 or lx == 0:
            c = C("stone", tone + 2)
        else:
            c = C("stone", tone)
            if hash01(x, y, 189 + seed) < 0.06:
                c = C("stone", tone - 1)
        t[y, x] = c
    return t


def upper_wall():
    return masonry(tile(0), np.ones((T, T), bool))


def lower_wall(foot):
    t = foot.copy()
    masonry(t, rect(0, 0, 31, FOOT - 1))
    paint(t, rect(0, FOOT - 4, 31, FOOT - 1), C("stone", 3))   # base course
    hline(t, 0, 31, FOOT - 4, C("stone", 6))
    darken(t, rect(0, FOOT, 31, FOOT + 1), 1)
    return t


W189 = upper_wall()
W187 = lower_wall(GRASS)
W203 = lower_wall(FLAGSTONES)


def end_pier(t, left, y1=31):
    x0, x1 = (0, 7) if left else (24, 31)
    paint(t, rect(x0, 0, x1, y1), C("stone", 6))
    for y in range(0, y1 + 1, 8):
        hline(t, x0, x1, y, C("stone", 8))
        hline(t, x0, x1, min(y1, y + 7), C("stone", 3))
    vline(t, x0, 0, y1, C("stone", 8) if left else C("stone", 2))
    vline(t, x1, 0, y1, C("stone", 2))
    vline(t, x0 + (1 if left else 0), 0, y1, C("stone", 8))
    return t


def barred_window():
    up = W189.copy()
    frame = rect(9, 10, 22, 31) | ellipse(15.5, 10, 6.5, 6.5)
    glass = rect(11, 11, 20, 31) | ellipse(15.5, 11, 4.5, 4.5)
    paint(up, frame, C("stone", 8))
    paint(up, glass, C("navy", 1))
    paint(up, glass & (YY < 16) & (XX < 15), C("navy", 3))
    for x in (13, 15, 18):
        vline(up, x, 7, 31, C("steel", 6))
        vline(up, x + 1, 7, 31, C("steel", 3))
    hline(up, 11, 20, 20, C("steel", 5))
    outline(up, frame, C("stone", 1))
    lo = W187.copy()
    paint(lo, rect(8, 0, 23, 3), C("stone", 8))
    hline(lo, 8, 23, 0, C("stone", 9))
    hline(lo, 8, 23, 4, C("stone", 1))
    return up, lo


def gate():
    """180 182 184 / 181 183 185: two towers and a heavy arched gate."""
    top = np.hstack([W189] * 3)
    bot = np.hstack([W187] * 3)
    big = np.vstack([top, bot])
    g = cgrid(big)
    xx, yy = g
    for x0 in (0, 64):  # towers stand out: lighter, with a rim and a shadowed side
        tw = rect(x0 + 2, 0, x0 + 29, 55, big.shape)
        masonry(big, tw, seed=3, h=7, w=9, base=(6, 7, 6, 5))
        big[rect(x0 + 2, 0, x0 + 29, 3, big.shape)] = C("stone", 8)
        big[rect(x0 + 2, 50, x0 + 29, 55, big.shape)] = C("stone", 4)
        big[rect(x0 + 26, 4, x0 + 29, 55, big.shape)] = C("stone", 3)
        big[rect(x0 + 12, 14, x0 + 16, 26, big.shape)] = C("navy", 1)    # arrow slit
        big[rect(x0 + 12, 14, x0 + 12, 26, big.shape)] = C("stone", 2)
        big[dilate(tw) & ~tw & (yy < 56)] = C("stone", 1)
    # the arch
    arch = ellipse(48, 22, 16, 14, g) | rect(32, 22, 63, 55, big.shape)
    big[arch] = C("stone", 8)
    for a in range(0, 180, 18):  # voussoirs
        import math
        r0, r1 = 12, 16
        c, s = math.cos(math.radians(a)), math.sin(math.radians(a))
        for rr in range(r0, r1 + 1):
            x, y = int(48 + c * rr), int(22 - s * rr * 0.9)
            if 0 <= y < 64 and 32 <= x < 64:
                big[y, x] = C("stone", 4)
    door = ellipse(48, 24, 12.5, 11, g) | rect(35, 24, 60, 55, big.shape)
    big[door] = C("wood", 3)
    for x in range(36, 61, 4):
        big[rect(x, 10, x, 55, big.shape) & door] = C("wood", 1)
        big[rect(x + 1, 10, x + 1, 55, big.shape) & door] = C("wood", 5)
    for y in (26, 44):  # iron bands with studs
        big[rect(35, y, 60, y + 2, big.shape) & door] = C("steel", 3)
        for x in range(37, 60, 5):
            big[y + 1, x] = C("steel", 8)
    big[rect(47, 14, 48, 55, big.shape) & door] = C("wood", 0)
    big[rect(44, 33, 45, 36, big.shape)] = C("gold", 6)
    big[rect(50, 33, 51, 36, big.shape)] = C("gold", 6)
    big[dilate(door) & ~door] = C("wood", 0)
    big[dilate(arch) & ~arch & (yy < 56)] = C("stone", 1)
    # threshold step onto the grass
    big[rect(30, 56, 65, 59, big.shape)] = C("stone", 9)
    big[rect(30, 59, 65, 59, big.shape)] = C("stone", 4)
    out = {}
    for i, n in enumerate((180, 182, 184)):
        out[n] = cut(big, i, 0)
        out[n + 1] = cut(big, i, 1)
    return out


# --- interior walls, one tile thick ---------------------------------------------------------

VX0, VX1 = 9, 22   # vertical wall top, x range
HY0, HY1 = 4, 15   # horizontal wall top, y range
FACE = 9           # height of a horizontal wall's front face


def wall_piece(up=False, down=False, left=False, right=False, cap=False, base=None):
    t = (base if base is not None else FLAGSTONES).copy()
    topm = rect(VX0, HY0, VX1, HY1)
    if up:
        topm |= rect(VX0, 0, VX1, HY1)
    if down:
        topm |= rect(VX0, HY0, VX1, 31)
    if left:
        topm |= rect(0, HY0, VX1, HY1)
    if right:
        topm |= rect(VX0, HY0, 31, HY1)
    if cap:
        topm |= rect(VX0 - 2, HY0 - 2, VX1 + 2, HY1 + 1)
    # the front face shows below the parts of the top that have nothing below them
    face = np.zeros((T, T), bool)
    for x in range(T):
        col = np.nonzero(topm[:, x])[0]
        if len(col) and col.max() < 31:
            y0 = col.max() + 1
            face[y0:min(T, y0 + FACE), x] = True
    face &= ~topm
    darken(t, shift(topm | face, 2, 2) & ~(topm | face), 1)
    masonry(t, face, seed=7, h=5, w=10, base=(4, 5, 4, 3))
    hline_face = face & ~shift(face, 0, 1)
    t[hline_face] = C("stone", 6)
    paint(t, topm, C("stone", 7))
    # the lit top: a light rim on the upper-left, a shaded lower-right rim
    edge_ul = topm & ~(shift(topm, 1, 0) & shift(topm, 0, 1))
    edge_dr = topm & ~(shift(topm, -1, 0) & shift(topm, 0, -1))
    t[edge_dr] = C("stone", 5)
    t[edge_ul] = C("stone", 9)
    for y, x in zip(*np.nonzero(topm)):
        if hash01(x, y, 223) < 0.07:
            t[y, x] = C("stone", 6)
    if cap:  # a square pier: a cross-hatched capstone
        paint(t, rect(VX0, HY0, VX1, HY1 - 1), C("stone", 8))
        hline(t, VX0, VX1, HY0, C("stone", 9))
        hline(t, VX0, VX1, HY1 - 1, C("stone", 6))
    outline(t, topm | face, C("stone", 1))
    return t


def interior_walls():
    return {
        222: wall_piece(down=True, cap=True),
        223: wall_piece(up=True, down=True),
        224: wall_piece(up=True, cap=True),
        225: wall_piece(right=True, down=True),
        226: wall_piece(up=True, right=True),
        227: wall_piece(right=True, cap=True),
        228: wall_piece(left=True, down=True),
        229: wall_piece(left=True, up=True),
        230: wall_piece(left=True, right=True),
        231: wall_piece(left=True, cap=True),
    }


# --- throne room ----------------------------------------------------------------------------

def throne_room():
    """204-217: a raised dais (rows 2-3) with two thrones and a runner between them, the red
    carpet with a gold border below (rows 4-5).  Drawn as one 5x4 piece, periodic in the middle."""
    big = np.zeros((128, 160), np.uint8)
    g = cgrid(big)
    xx, yy = g
    # dais: pale polished stone squares
    for y in range(64):
        for x in range(160):
            lx, ly = x % 16, y % 16
            c = C("stone", 8 if ((x // 16) + (y // 16)) % 2 == 0 else 7)
            if lx == 15 or ly == 15:
                c = C("stone", 5)
            big[y, x] = c
    big[56:60, :] = C("stone", 9)   # the step
    big[60:64, :] = C("stone", 4)
    big[63, :] = C("stone", 2)
    # carpet
    big[64:128, :] = C("red", 3)
    for y in range(64, 128):
        for x in range(160):
            lx, ly = x % 32, y % 32
            if abs(lx - 16) + abs(ly - 16) == 9:
                big[y, x] = C("gold", 4)
            elif abs(lx - 16) + abs(ly - 16) < 3:
                big[y, x] = C("gold", 5)
            elif (lx + ly) % 2 == 0 and abs(lx - 16) + abs(ly - 16) < 9:
                big[y, x] = C("red", 4)
    border = (xx < 6) | (xx > 154) | (yy > 121)
    inner_b = (xx < 3) | (xx > 157) | (yy > 124)
    carpet = yy >= 64
    big[carpet & border] = C("gold", 6)
    big[carpet & ((xx >= 4) & (xx < 5) | (xx >= 155) & (xx < 156) | (yy >= 122) & (yy < 123))] = C("gold", 3)
    big[carpet & inner_b] = C("red", 2)
    # runner up the dais, in the middle column
    run = (xx >= 70) & (xx < 90) & (yy < 64)
    big[run] = C("red", 4)
    big[run & ((xx < 72) | (xx >= 88))] = C("gold", 6)
    big[run & (yy >= 56) & (yy < 60)] = C("red", 5)
    big[run & (yy >= 60)] = C("red", 2)
    # thrones at columns 1 and 3, identical
    for x0 in (32, 96):
        back = rect(x0 + 7, 2, x0 + 24, 30, big.shape) | ellipse(x0 + 15.5, 4, 8.5, 4, g)
        seat = rect(x0 + 5, 28, x0 + 26, 46, big.shape)
        legs = rect(x0 + 6, 46, x0 + 9, 52, big.shape) | rect(x0 + 22, 46, x0 + 25, 52, big.shape)
        darken(big, shift(back | seat | legs, 3, 3) & ~(back | seat | legs), 1)
        big[back] = C("gold", 5)
        big[rect(x0 + 10, 6, x0 + 21, 28, big.shape)] = C("red", 4)
        big[rect(x0 + 10, 6, x0 + 11, 28, big.shape)] = C("red", 6)
        big[ellipse(x0 + 15.5, 3, 2, 2, g)] = C("red", 6)
        big[seat] = C("gold", 5)
        big[rect(x0 + 8, 30, x0 + 23, 40, big.shape)] = C("red", 5)
        big[rect(x0 + 5, 41, x0 + 26, 46, big.shape)] = C("gold", 4)
        big[legs] = C("gold", 3)
        big[rect(x0 + 7, 2, x0 + 8, 30, big.shape)] = C("gold", 8)
        big[rect(x0 + 5, 28, x0 + 6, 46, big.shape)] = C("gold", 7)
        big[dilate(back | seat | legs) & ~(back | seat | legs)] = C("gold", 1)
    out = {}
    nums = [[204, 216, 208, 216, 212], [205, 217, 209, 217, 213],
            [206, 210, 210, 210, 214], [207, 211, 211, 211, 215]]
    for r in range(4):
        for c in range(5):
            out.setdefault(nums[r][c], cut(big, c, r))
    return out


# --- furnishings ----------------------------------------------------------------------------

def column():
    big = np.vstack([FLAGSTONES] * 3)
    g = cgrid(big)
    xx, yy = g
    shaft = rect(9, 10, 22, 72, big.shape)
    base = rect(5, 70, 26, 78, big.shape)
    capital = rect(5, 4, 26, 12, big.shape)
    allm = shaft | base | capital
    darken(big, shift(allm, 3, 2) & ~allm, 1)
    big[shaft] = C("stone", 7)
    for x0, c in ((9, 9), (10, 8), (18, 6), (20, 5), (22, 4)):
        big[rect(x0, 10, x0, 72, big.shape)] = C("stone", c)
    for x in (13, 16):
        big[rect(x, 13, x, 70, big.shape)] = C("stone", 6)
    for m in (base, capital):
        big[m] = C("stone", 8)
        ys = np.nonzero(m.any(axis=1))[0]
        big[rect(5, ys[0], 26, ys[0], big.shape)] = C("stone", 9)
        big[rect(5, ys[-1] - 1, 26, ys[-1], big.shape)] = C("stone", 5)
    big[rect(7, 2, 24, 4, big.shape)] = C("stone", 9)
    big[dilate(allm | rect(7, 2, 24, 4, big.shape)) & ~(allm | rect(7, 2, 24, 4, big.shape))] = C("stone", 1)
    return {198: cut(big, 0, 0), 199: cut(big, 0, 1), 200: cut(big, 0, 2)}


def bookcase():
    big = np.vstack([np.hstack([W189, W189]), np.hstack([W203, W203])])
    body = rect(2, 4, 61, 57, big.shape)
    darken(big, shift(body, 2, 2) & ~body, 1)
    big[body] = C("wood", 2)
    big[rect(2, 4, 61, 7, big.shape)] = C("wood", 4)
    r = rng(194)
    spines = [("red", 4), ("navy", 5), ("forest", 5), ("gold", 5), ("purple", 5), ("teal", 4),
              ("orange", 4), ("parchment", 6)]
    for sy in (9, 22, 35):
        big[rect(5, sy, 58, sy + 11, big.shape)] = C("wood", 0)
        x = 5
        while x < 57:
            w = r.choice([2, 3, 3, 4])
            h = r.choice([9, 10, 11, 8])
            ramp, lv = r.choice(spines)
            big[rect(x, sy + 11 - h + 1, min(57, x + w - 1), sy + 11, big.shape)] = C(ramp, lv)
            big[rect(x, sy + 11 - h + 1, x, sy + 11, big.shape)] = C(ramp, lv + 2)
            big[sy + 11 - h + 4, x:min(58, x + w)] = C("gold", 7)
            x += w + (1 if r.random() < 0.2 else 0)
        big[rect(2, sy + 12, 61, sy + 12, big.shape)] = C("wood", 5)
    big[rect(2, 48, 61, 57, big.shape)] = C("wood", 3)
    big[rect(5, 50, 29, 55, big.shape)] = C("wood", 4)
    big[rect(34, 50, 58, 55, big.shape)] = C("wood", 4)
    big[rect(2, 4, 3, 57, big.shape)] = C("wood", 5)
    big[dilate(body) & ~body] = C("wood", 0)
    return {194: cut(big, 0, 0), 196: cut(big, 1, 0), 195: cut(big, 0, 1), 197: cut(big, 1, 1)}


def weapons():
    t = W189.copy()
    for (x0, y0, x1, y1) in ((5, 5, 26, 26), (26, 5, 5, 26)):
        n = 30
        for i in range(n):
            x = round(x0 + (x1 - x0) * i / n)
            y = round(y0 + (y1 - y0) * i / n)
            px(t, x, y, C("steel", 9))
            px(t, x + 1, y, C("steel", 5))
        px(t, x0 + (2 if x1 > x0 else -2), y0 + 2, C("gold", 6))
    for (x, y) in ((23, 23), (8, 23)):
        paint(t, rect(x - 1, y - 1, x + 2, y + 2), C("wood", 3))
        px(t, x, y + 3, C("gold", 6))
    shield = ellipse(15.5, 15, 7, 8) & (YY < 20) | poly([(8.5, 15), (22.5, 15), (15.5, 26)])
    paint(t, shield, C("navy", 4))
    paint(t, shield & (XX < 15.5), C("navy", 5))
    paint(t, rect(14, 9, 17, 23) & shield, C("gold", 6))
    paint(t, rect(10, 14, 21, 16) & shield, C("gold", 6))
    outline(t, shield, C("grey", 1))
    return t


def banner():
    t = W189.copy()
    paint(t, rect(4, 2, 27, 3), C("wood", 3))
    px(t, 3, 2, C("gold", 7))
    px(t, 28, 2, C("gold", 7))
    cloth = poly([(7, 4), (25, 4), (25, 31), (16, 26), (7, 31)])
    darken(t, shift(cloth, 2, 1) & ~cloth, 1)
    paint(t, cloth, C("red", 4))
    paint(t, cloth & (XX < 10), C("red", 6))
    paint(t, cloth & (XX > 22), C("red", 2))
    paint(t, rect(9, 6, 23, 7), C("gold", 6))
    crown = poly([(11, 17), (11, 11), (13.5, 14), (16, 10), (18.5, 14), (21, 11), (21, 17)])
    paint(t, crown, C("gold", 6))
    paint(t, rect(11, 16, 21, 17), C("gold", 4))
    px(t, 16, 13, C("red", 8))
    outline(t, cloth, C("red", 0))
    return t


def armour():
    top = W189.copy()
    bot = W203.copy()
    big = np.vstack([top, bot])
    g = cgrid(big)
    helm = ellipse(16, 12, 5.5, 6, g)
    plume = poly([(15, 2), (20, 0), (23, 6), (17, 7)], g)
    chest = poly([(8, 19), (24, 19), (22, 36), (10, 36)], g)
    shoulders = ellipse(8.5, 21, 4, 3, g) | ellipse(23.5, 21, 4, 3, g)
    legs = rect(11, 37, 14, 50, big.shape) | rect(18, 37, 21, 50, big.shape)
    stand = rect(7, 51, 25, 54, big.shape)
    allm = helm | chest | shoulders | legs | stand | plume
    darken(big, shift(allm, 2, 2) & ~allm, 1)
    for m in (helm, chest, shoulders, legs):
        shaded_blob(big, m, "steel", [3, 4, 5, 6, 7, 8, 9], 15, 24, 14, seed=220)
    big[plume] = C("red", 5)
    big[rect(12, 11, 20, 12, big.shape)] = C("steel", 1)    # visor slit
    big[rect(10, 36, 22, 37, big.shape)] = C("wood", 2)     # belt
    big[stand] = C("wood", 3)
    big[rect(7, 51, 25, 51, big.shape)] = C("wood", 5)
    big[dilate(allm) & ~allm] = C("grey", 1)
    return big[0:32].copy(), big[32:64].copy()


def castle_tiles():
    out = {189: W189.copy(), 187: W187.copy(), 203: W203.copy(), 192: FLAGSTONES.copy()}
    out[190], out[191] = barred_window()
    out[201] = end_pier(W189.copy(), True)
    out[202] = end_pier(W189.copy(), False)
    out[186] = end_pier(W187.copy(), True, FOOT - 1)
    out[188] = end_pier(W187.copy(), False, FOOT - 1)
    out[218] = end_pier(W203.copy(), True, FOOT - 1)
    out[219] = end_pier(W203.copy(), False, FOOT - 1)
    out.update(gate())
    out.update(interior_walls())
    # 233: a wall leaves the lower north wall downward
    t = W203.copy()
    stub = wall_piece(up=True, down=True, base=W203)
    t[:, VX0 - 1:VX1 + 2] = stub[:, VX0 - 1:VX1 + 2]
    t[:FOOT - 4, VX0 - 1:VX1 + 2] = W203[:FOOT - 4, VX0 - 1:VX1 + 2]
    paint(t, rect(VX0 - 1, FOOT - 6, VX1 + 1, FOOT - 5), C("stone", 9))
    out[233] = t
    out.update(throne_room())
    out.update(column())
    out.update(bookcase())
    out[193] = weapons()
    out[232] = banner()
    out[220], out[221] = armour()
    return out
