"""House interiors: houses 1 and 3 (plaster and wood, plank floor 100) and house 2 (grey stone,
terracotta floor 56), with their furniture.  Back walls are two tiles high: the upper tile is
wall, the lower one keeps 8 px of floor at its foot so a character can stand in front of it."""
import numpy as np

from tiles_common import (T, XX, YY, C, tile, rng, ellipse, rect, poly, shift, dilate,
                          paint, outline, darken, hline, vline, px,
                          cgrid)
from tiles_nature import PLANKS, TERRACOTTA, stone_face, hash01
from tiles_village import keg

FOOT = 24  # first floor row in a lower back-wall tile


# --- houses 1 and 3: shell ------------------------------------------------------------------

def plaster(seed=0):
    t = tile(C("parchment", 8))
    for y in range(T):
        for x in range(T):
            h = hash01(x, y, seed + 98)
            if h < 0.05:
                t[y, x] = C("parchment", 7)
            elif h > 0.97:
                t[y, x] = C("parchment", 9)
    t[0:4, :] = C("wood", 2)      # beam along the top
    t[1, :] = C("wood", 4)
    t[4, :] = C("parchment", 5)   # its shadow
    return t


def panel(floor):
    """Lower back wall: wood panelling over a strip of floor."""
    t = floor.copy()
    t[0:FOOT, :] = C("wood", 4)
    for x in range(0, T, 8):
        t[3:FOOT - 2, x] = C("wood", 2)
        t[3:FOOT - 2, x + 1] = C("wood", 5)
    t[0:3, :] = C("wood", 6)
    t[0, :] = C("wood", 7)
    t[3, :] = C("wood", 2)
    t[FOOT - 2:FOOT, :] = C("wood", 2)
    t[FOOT - 2, :] = C("wood", 3)
    darken(t, rect(0, FOOT, 31, FOOT + 1), 1)  # shadow of the wall on the floor
    return t


WALL98 = plaster()
WALL99 = panel(PLANKS)


def side_cap(t, left, y0=0, y1=31):
    """The thick side wall seen from above: a timber-capped top, 10 px wide."""
    x0, x1 = (0, 9) if left else (22, 31)
    paint(t, rect(x0, y0, x1, y1), C("wood", 5))
    vline(t, x0 + 2, y0, y1, C("wood", 6))
    vline(t, x1 - 2, y0, y1, C("wood", 4))
    for y in range(y0 + 4, y1 + 1, 12):
        hline(t, x0 + 1, x1 - 1, y, C("wood", 3))
    vline(t, x0, y0, y1, C("wood", 7) if left else C("wood", 1))
    vline(t, x1, y0, y1, C("wood", 1))
    if left:
        vline(t, x0, y0, y1, C("wood", 1))
        vline(t, x0 + 1, y0, y1, C("wood", 7))
    return t


def shell_13():
    out = {98: WALL98.copy(), 99: WALL99.copy(), 100: PLANKS.copy()}
    # corner posts and side walls
    out[119] = side_cap(WALL98.copy(), True)
    out[123] = side_cap(WALL98.copy(), False)
    out[121] = side_cap(WALL99.copy(), True)
    out[127] = side_cap(WALL99.copy(), False)
    t = PLANKS.copy()
    darken(t, rect(10, 0, 12, 31), 1)
    out[125] = side_cap(t, True)
    t = PLANKS.copy()
    out[126] = side_cap(t, False)
    # front wall, seen from outside: plaster and timber like the village houses
    def front(lower, left_end=False, right_end=False):
        t = tile(C("parchment", 8))
        for y in range(T):
            for x in range(T):
                if hash01(x, y, 129 + lower) < 0.05:
                    t[y, x] = C("parchment", 7)
        if not lower:
            t[0:6, :] = C("wood", 3)   # the wall's top, seen from above
            t[0, :] = C("wood", 1)
            t[1, :] = C("wood", 5)
            t[6:8, :] = C("parchment", 5)
            t[20:23, :] = C("wood", 2)
            t[20, :] = C("wood", 4)
        else:
            stone_face(t, rect(0, 22, 31, 31), "grey", 4, h=5, base=(8, 9, 7))
            t[0:2, :] = C("wood", 2)
        for x0 in (14,):
            t[6 if not lower else 0:22 if lower else 32, x0:x0 + 3] = C("wood", 2)
            t[6 if not lower else 0:22 if lower else 32, x0] = C("wood", 4)
        if left_end:
            t[:, 0:5] = C("wood", 2)
            t[:, 1] = C("wood", 4)
            if not lower:
                t[0:6, 0:10] = C("wood", 5)
                t[0:6, 0] = C("wood", 1)
        if right_end:
            t[:, 27:32] = C("wood", 2)
            t[:, 28] = C("wood", 4)
            if not lower:
                t[0:6, 22:32] = C("wood", 5)
                t[0:6, 31] = C("wood", 1)
        return t
    out[129] = front(0)
    out[132] = front(1)
    out[128] = front(0, left_end=True)
    out[131] = front(1, left_end=True)
    out[130] = front(0, right_end=True)
    out[133] = front(1, right_end=True)
    # the front door, two tiles high
    big = np.vstack([front(0), front(1)])
    g = cgrid(big)
    door = rect(7, 12, 24, 59, big.shape) | ellipse(15.5, 13, 8.5, 6, g)
    big[rect(5, 8, 26, 59, big.shape) & (ellipse(15.5, 13, 10.5, 7, g) | rect(5, 13, 26, 59, big.shape))] = C("wood", 1)
    big[door] = C("wood", 4)
    for x in range(8, 24, 4):
        big[rect(x, 6, x, 59, big.shape) & door] = C("wood", 2)
    big[rect(8, 7, 9, 59, big.shape) & door] = C("wood", 6)
    big[rect(8, 24, 23, 25, big.shape)] = C("grey", 3)
    big[rect(8, 46, 23, 47, big.shape)] = C("grey", 3)
    big[rect(20, 34, 21, 37, big.shape)] = C("gold", 6)
    big[rect(3, 60, 28, 63, big.shape)] = C("grey", 10)
    big[rect(3, 63, 28, 63, big.shape)] = C("grey", 6)
    out[138] = big[0:32].copy()
    out[139] = big[32:64].copy()
    return out


# --- houses 1 and 3: furniture --------------------------------------------------------------

def window(upper_bg, lower_bg):
    """96 over 97: a small window with curtains, the sill on the lower tile."""
    up = upper_bg.copy()
    glass = rect(8, 9, 23, 31)
    paint(up, rect(6, 7, 25, 31), C("wood", 2))
    paint(up, glass, C("water", 6))
    paint(up, rect(9, 10, 22, 18), C("sky", 6))
    for x, y in ((10, 11), (11, 11), (10, 12)):
        px(up, x, y, C("sky", 9))
    paint(up, rect(15, 9, 16, 31), C("wood", 3))
    paint(up, rect(8, 20, 23, 21), C("wood", 3))
    for x0 in (5, 22):
        cur = rect(x0, 6, x0 + 4, 30)
        paint(up, cur, C("rose", 5))
        vline(up, x0 + 1, 6, 30, C("rose", 7))
        vline(up, x0 + 3, 6, 30, C("rose", 3))
    hline(up, 3, 28, 5, C("wood", 1))
    hline(up, 3, 28, 6, C("wood", 5))
    lo = lower_bg.copy()
    paint(lo, rect(4, 0, 27, 3), C("wood", 7))
    hline(lo, 4, 27, 3, C("wood", 2))
    hline(lo, 4, 27, 4, C("wood", 2))
    for x, c in ((9, C("red", 6)), (20, C("gold", 7))):  # two pots on the sill
        paint(lo, rect(x, 0, x + 3, 2), C("orange", 5))
        px(lo, x + 1, 0, c)
    return up, lo


def fireplace():
    up = WALL98.copy()
    hood = rect(3, 5, 28, 31)
    stone_face(up, hood, "grey", 7, h=5, base=(8, 9, 7))
    paint(up, rect(1, 5, 30, 8), C("grey", 11))
    hline(up, 1, 30, 8, C("grey", 5))
    mouth = rect(7, 14, 24, 31) | ellipse(15.5, 15, 8.5, 5)
    paint(up, mouth, C("grey", 1))
    # the fire
    fire = poly([(8, 31), (11, 20), (13, 25), (16, 15), (19, 24), (21, 19), (24, 31)])
    paint(up, fire, C("lava", 5))
    paint(up, poly([(11, 31), (13, 24), (16, 19), (19, 26), (21, 31)]), C("lava", 7))
    paint(up, poly([(13, 31), (16, 24), (19, 31)]), C("lava", 9))
    outline(up, hood, C("grey", 3))
    lo = WALL99.copy()
    hearth = rect(2, 0, 29, 27)
    stone_face(lo, hearth, "grey", 8, h=5, base=(9, 10, 8))
    logs = rect(8, 0, 23, 4)
    paint(lo, logs, C("wood", 3))
    for x in (10, 15, 20):
        px(lo, x, 2, C("lava", 7))
    hline(lo, 8, 23, 4, C("wood", 1))
    paint(lo, rect(7, 5, 24, 6), C("grey", 3))
    outline(lo, hearth, C("grey", 4))
    return up, lo


def firewood():
    t = WALL98.copy()
    rack = rect(5, 12, 26, 31)
    paint(t, rack, C("wood", 2))
    for row in range(4):
        for col in range(4):
            cx, cy = 8 + col * 5 + (row % 2) * 2, 15 + row * 5
            m = ellipse(cx, cy, 2.6, 2.4)
            paint(t, m, C("wood", 6))
            px(t, int(cx), int(cy), C("wood", 4))
    vline(t, 4, 10, 31, C("wood", 1))
    vline(t, 27, 10, 31, C("wood", 1))
    # pokers on a hook
    vline(t, 29, 6, 26, C("grey", 4))
    px(t, 28, 6, C("grey", 6))
    return t


def shelf(bg):
    t = bg.copy()
    for y in (14, 26):
        paint(t, rect(3, y, 28, y + 1), C("wood", 5))
        hline(t, 3, 28, y + 2, C("wood", 2))
        darken(t, rect(4, y + 3, 29, y + 4), 1)
    jars = [(5, C("teal", 5)), (10, C("orange", 5)), (15, C("gold", 6)), (21, C("rose", 5))]
    for x, c in jars:
        j = rect(x, 8, x + 3, 13)
        paint(t, j, c)
        vline(t, x, 8, 13, C("grey", 14))
        paint(t, rect(x, 7, x + 3, 7), C("wood", 3))
    for x, c in ((6, C("red", 4)), (11, C("navy", 5)), (15, C("forest", 5)), (19, C("purple", 5))):
        paint(t, rect(x, 19, x + 3, 25), c)  # books
        vline(t, x, 19, 25, C("grey", 13))
    paint(t, ellipse(25, 23, 3, 3), C("grey", 12))
    return t


def kitchen():
    up = shelf(WALL98.copy())
    # hanging pans instead of the lower books
    up[17:27, 3:29] = WALL98[17:27, 3:29]
    hline(up, 3, 28, 17, C("grey", 4))
    for x in (7, 16, 24):
        vline(up, x, 17, 20, C("grey", 4))
        pan = ellipse(x, 24, 4, 3.5)
        paint(up, pan, C("orange", 3))
        paint(up, pan & (XX < x - 1) & (YY < 24), C("orange", 6))
        outline(up, pan, C("grey", 2))
    lo = WALL99.copy()
    stove = rect(2, 0, 29, 30)
    paint(lo, stove, C("grey", 4))
    paint(lo, rect(2, 0, 29, 5), C("grey", 7))
    hline(lo, 2, 29, 0, C("grey", 9))
    paint(lo, rect(6, 12, 25, 26), C("grey", 2))
    paint(lo, rect(9, 18, 22, 25), C("lava", 4))
    paint(lo, rect(11, 20, 20, 25), C("lava", 6))
    for x in range(8, 25, 3):
        vline(lo, x, 12, 17, C("grey", 5))
    outline(lo, stove, C("grey", 1))
    pot = ellipse(15.5, 3, 8, 5) & (YY > 0)
    paint(lo, pot, C("grey", 2))
    paint(lo, ellipse(15.5, 1.5, 6, 1.5), C("olive", 5))
    px(lo, 12, 1, C("olive", 8))
    outline(lo, pot, C("grey", 0))
    return up, lo


def wardrobe():
    """110 111 / 112 113: a tall dark wardrobe against the back wall (row by row)."""
    top = np.hstack([WALL98, WALL98])
    bot = np.hstack([WALL99, WALL99])
    big = np.vstack([top, bot])
    body = rect(3, 6, 60, 57, big.shape)
    big[body] = C("wood", 3)
    big[rect(3, 6, 60, 10, big.shape)] = C("wood", 5)      # cornice
    big[rect(3, 6, 60, 6, big.shape)] = C("wood", 7)
    big[rect(6, 13, 30, 50, big.shape)] = C("wood", 4)     # doors
    big[rect(33, 13, 57, 50, big.shape)] = C("wood", 4)
    for x0 in (6, 33):
        big[rect(x0 + 3, 16, x0 + 21, 30, big.shape)] = C("wood", 5)
        big[rect(x0 + 3, 34, x0 + 21, 47, big.shape)] = C("wood", 5)
        big[rect(x0 + 3, 16, x0 + 3, 47, big.shape)] = C("wood", 7)
    big[rect(28, 30, 29, 33, big.shape)] = C("gold", 6)
    big[rect(34, 30, 35, 33, big.shape)] = C("gold", 6)
    big[rect(3, 52, 60, 57, big.shape)] = C("wood", 2)     # plinth and feet
    big[rect(31, 10, 32, 52, big.shape)] = C("wood", 1)
    big[dilate(body) & ~body] = C("wood", 0)
    darken(big, shift(body, 3, 0) & ~dilate(body) & rect(61, 8, 63, 57, big.shape), 1)
    return {110: big[0:32, 0:32].copy(), 111: big[0:32, 32:64].copy(),
            112: big[32:64, 0:32].copy(), 113: big[32:64, 32:64].copy()}


def bed():
    """102 (headboard and pillow, against the back wall) over 103 (blanket)."""
    big = np.vstack([PLANKS, PLANKS])
    frame = rect(5, 0, 26, 56, big.shape)
    darken(big, shift(frame, 2, 2) & ~frame, 1)
    big[frame] = C("wood", 3)
    big[rect(5, 0, 26, 7, big.shape)] = C("wood", 4)
    big[rect(5, 0, 26, 1, big.shape)] = C("wood", 6)
    big[rect(7, 8, 24, 54, big.shape)] = C("grey", 14)              # sheet
    pil = rect(9, 10, 22, 18, big.shape)
    big[pil] = C("grey", 15)
    big[rect(9, 17, 22, 18, big.shape)] = C("grey", 12)
    blanket = rect(7, 22, 24, 54, big.shape)
    big[blanket] = C("navy", 5)
    big[rect(7, 22, 24, 25, big.shape)] = C("grey", 15)              # folded sheet
    for y in range(28, 54, 6):
        big[rect(7, y, 24, y, big.shape)] = C("navy", 4)
    for (x, y) in ((12, 33), (13, 34), (18, 41), (19, 42), (11, 47)):  # creases
        big[y, x] = C("navy", 7)
    big[rect(7, 22, 8, 54, big.shape)] = C("navy", 7)
    big[rect(5, 54, 26, 56, big.shape)] = C("wood", 4)
    big[dilate(frame) & ~frame] = C("wood", 0)
    return big[0:32].copy(), big[32:64].copy()


def table():
    t = PLANKS.copy()
    top = rect(3, 6, 28, 20)
    darken(t, shift(top, 2, 3) & ~top, 1)
    for x in (5, 25):
        paint(t, rect(x, 20, x + 1, 28), C("wood", 2))
    paint(t, top, C("wood", 4))
    paint(t, rect(3, 17, 28, 20), C("wood", 3))
    hline(t, 3, 28, 6, C("wood", 6))
    outline(t, top, C("wood", 0))
    cloth = rect(10, 8, 21, 16)
    paint(t, cloth, C("grey", 14))
    paint(t, ellipse(13, 11, 2.5, 2), C("sand", 7))   # bread
    paint(t, rect(18, 10, 19, 13), C("teal", 5))       # jug
    return t


def stool():
    t = PLANKS.copy()
    seat = ellipse(15.5, 13, 8, 5)
    darken(t, shift(seat, 2, 4) & ~seat, 1)
    for x in (10, 20):
        paint(t, rect(x, 14, x + 1, 24), C("wood", 2))
    paint(t, rect(14, 17, 17, 25), C("wood", 3))
    paint(t, seat, C("wood", 5))
    paint(t, seat & (YY < 12), C("wood", 7))
    outline(t, seat, C("wood", 0))
    return t


# --- house 2: grey stone and terracotta -----------------------------------------------------

def stone_wall(floor=None):
    t = tile(C("stone", 5))
    stone_face(t, rect(0, 0, 31, 31), "stone", 52, h=8, base=(5, 6, 4))
    if floor is not None:
        t[0:4, :] = C("stone", 3)     # a plain plinth band, the wall goes on from above
        stone_face(t, rect(0, 0, 31, 19), "stone", 53, h=8, base=(5, 6, 4))
        paint(t, rect(0, 20, 31, FOOT - 1), C("wood", 3))
        hline(t, 0, 31, 20, C("wood", 5))
        t[FOOT:, :] = floor[FOOT:, :]
        darken(t, rect(0, FOOT, 31, FOOT + 1), 1)
    else:
        paint(t, rect(0, 0, 31, 2), C("stone", 2))
        hline(t, 0, 31, 1, C("stone", 4))
    return t


WALL52 = stone_wall()
WALL53 = stone_wall(TERRACOTTA)


def pier(t, left, foot=False):
    x0, x1 = (0, 6) if left else (25, 31)
    y1 = FOOT - 1 if foot else 31
    paint(t, rect(x0, 0, x1, y1), C("stone", 6))
    vline(t, x0 + (1 if left else 0), 0, y1, C("stone", 8))
    vline(t, x1 - (0 if left else 0), 0, y1, C("stone", 2) if left else C("stone", 3))
    vline(t, x0 if left else x0, 0, y1, C("stone", 2) if not left else C("stone", 8))
    for y in range(6, y1, 8):
        hline(t, x0, x1, y, C("stone", 3))
    return t


def house2():
    out = {52: WALL52.copy(), 53: WALL53.copy(), 56: TERRACOTTA.copy()}
    out[50] = pier(WALL52.copy(), True)
    out[54] = pier(WALL52.copy(), False)
    out[51] = pier(WALL53.copy(), True, foot=True)
    out[55] = pier(WALL53.copy(), False, foot=True)
    # the painting: water lilies in soft blue-green dabs
    t = WALL52.copy()
    frame = rect(3, 6, 28, 27)
    paint(t, frame, C("gold", 4))
    paint(t, rect(5, 8, 26, 25), C("teal", 5))
    r = rng(57)
    for _ in range(60):
        x, y = r.randrange(5, 27), r.randrange(8, 26)
        t[y, x] = r.choice([C("teal", 7), C("water", 6), C("forest", 6), C("teal", 4), C("magic", 7)])
    for x, y in ((9, 13), (18, 19), (22, 11), (12, 21)):
        paint(t, ellipse(x, y, 2.5, 1.5), C("forest", 7))
        px(t, x, y - 1, C("rose", 8))
    hline(t, 3, 28, 6, C("gold", 7))
    vline(t, 3, 6, 27, C("gold", 7))
    outline(t, frame, C("wood", 1))
    hline(t, 14, 17, 4, C("grey", 3))
    out[57] = t
    # 71/72: the grandfather's old battle-axe hanging crooked on a loose nail
    big = np.vstack([WALL52, WALL53])
    g = cgrid(big)
    haft = poly([(13, 8), (16, 7), (22, 40), (19, 41)], g)
    big[haft] = C("wood", 4)
    big[haft & (g[0] < 16 + (g[1] - 8) * 0.19)] = C("wood", 6)
    blade = poly([(7, 4), (16, 8), (17, 14), (9, 22), (5, 14)], g)
    big[blade] = C("steel", 6)
    big[blade & (g[0] < 9)] = C("steel", 8)
    big[poly([(5, 14), (7, 4), (8, 5), (7, 15)], g)] = C("steel", 9)
    big[dilate(blade | haft) & ~(blade | haft)] = C("grey", 1)
    big[rect(15, 6, 16, 7, big.shape)] = C("grey", 3)   # the nail
    for x, y in ((24, 10), (25, 12), (23, 14)):        # crack in the plaster
        big[y, x] = C("stone", 1)
    out[71] = big[0:32].copy()
    out[72] = big[32:64].copy()
    # 67 69 / 68 70: a dresser with plates (numbered column by column)
    big = np.vstack([np.hstack([WALL52, WALL52]), np.hstack([WALL53, WALL53])])
    g = cgrid(big)
    body = rect(3, 4, 60, 57, big.shape)
    darken(big, shift(body, 3, 2) & ~body, 1)
    big[body] = C("wood", 3)
    big[rect(3, 4, 60, 7, big.shape)] = C("wood", 5)
    big[rect(7, 10, 56, 32, big.shape)] = C("wood", 1)      # open shelves
    for y in (20, 32):
        big[rect(7, y, 56, y + 1, big.shape)] = C("wood", 5)
    for i, x in enumerate(range(10, 55, 9)):
        plate = ellipse(x + 3, 15.5, 3.5, 4, g)
        big[plate] = C("grey", 14)
        big[ellipse(x + 3, 15.5, 2, 2.3, g)] = C("navy", 6) if i % 2 else C("red", 6)
        cup = rect(x + 1, 26, x + 5, 31, big.shape)
        big[cup] = C("grey", 13) if i % 2 else C("teal", 6)
    big[rect(3, 34, 60, 36, big.shape)] = C("wood", 6)     # counter top
    for x0 in (6, 33):
        big[rect(x0, 39, x0 + 24, 53, big.shape)] = C("wood", 4)
        big[rect(x0, 39, x0 + 24, 39, big.shape)] = C("wood", 6)
        big[rect(x0 + 11, 45, x0 + 13, 46, big.shape)] = C("gold", 6)
    big[rect(3, 54, 60, 57, big.shape)] = C("wood", 2)
    big[dilate(body) & ~body] = C("wood", 0)
    out[67] = big[0:32, 0:32].copy()
    out[68] = big[32:64, 0:32].copy()
    out[69] = big[0:32, 32:64].copy()
    out[70] = big[32:64, 32:64].copy()
    # 13 15 / 14 16: the double bed, 17 the rug in front of it
    big = np.vstack([np.hstack([TERRACOTTA, TERRACOTTA])] * 2)
    frame = rect(2, 0, 61, 60, big.shape)
    darken(big, shift(frame, 2, 2) & ~frame, 1)
    big[frame] = C("wood", 3)
    big[rect(2, 0, 61, 7, big.shape)] = C("wood", 5)
    big[rect(2, 0, 61, 1, big.shape)] = C("wood", 7)
    big[rect(5, 9, 58, 58, big.shape)] = C("grey", 14)
    for x0 in (8, 34):
        big[rect(x0, 11, x0 + 21, 20, big.shape)] = C("grey", 15)
        big[rect(x0, 19, x0 + 21, 20, big.shape)] = C("grey", 12)
    quilt = rect(5, 25, 58, 58, big.shape)
    big[quilt] = C("red", 4)
    for y in range(25, 59):
        for x in range(5, 59):
            if (x // 6 + y // 6) % 2 == 0:
                big[y, x] = C("red", 5)
    big[rect(5, 25, 58, 28, big.shape)] = C("grey", 15)
    big[rect(5, 56, 58, 60, big.shape)] = C("wood", 4)
    big[dilate(frame) & ~frame] = C("wood", 0)
    out[13] = big[0:32, 0:32].copy()
    out[15] = big[0:32, 32:64].copy()
    out[14] = big[32:64, 0:32].copy()
    out[16] = big[32:64, 32:64].copy()
    rug = TERRACOTTA.copy()
    paint(rug, rect(0, 4, 31, 26), C("teal", 4))
    paint(rug, rect(0, 7, 31, 23), C("teal", 5))
    for x in range(0, 32, 8):
        paint(rug, poly([(x + 4, 10), (x + 8, 15), (x + 4, 20), (x, 15)]), C("gold", 6))
    hline(rug, 0, 31, 4, C("teal", 2))
    hline(rug, 0, 31, 26, C("teal", 2))
    for x in range(1, 32, 2):
        px(rug, x, 3, C("sand", 8))
        px(rug, x, 27, C("sand", 8))
    out[17] = rug
    out[73] = keg(TERRACOTTA.copy(), None, 73)
    # 243 over 244: a tall-case clock at the right edge
    big = np.vstack([TERRACOTTA, TERRACOTTA])
    g = cgrid(big)
    case = rect(9, 2, 24, 43, big.shape)
    darken(big, shift(case, 3, 2) & ~case, 1)
    big[case] = C("wood", 3)
    big[rect(9, 2, 24, 6, big.shape)] = C("wood", 5)
    face = ellipse(16.5, 13, 6, 6, g)
    big[face] = C("parchment", 9)
    big[rect(16, 9, 16, 13, big.shape)] = C("grey", 1)
    big[rect(16, 13, 19, 13, big.shape)] = C("grey", 1)
    big[dilate(face) & ~face] = C("gold", 5)
    big[rect(13, 22, 20, 38, big.shape)] = C("wood", 1)
    big[rect(16, 22, 16, 33, big.shape)] = C("gold", 6)
    big[ellipse(16.5, 34, 2.5, 2.5, g)] = C("gold", 7)
    big[rect(8, 40, 25, 43, big.shape)] = C("wood", 2)
    big[dilate(case) & ~case] = C("wood", 0)
    out[243] = big[0:32].copy()
    out[244] = big[32:64].copy()
    # front wall 245-252: stone, seen from outside, with an arched door
    def front(lower, left=False, right=False):
        t = tile(C("stone", 5))
        stone_face(t, rect(0, 0, 31, 31), "stone", 247 + lower, h=8, base=(6, 5, 7))
        if not lower:
            paint(t, rect(0, 0, 31, 5), C("stone", 8))
            hline(t, 0, 31, 0, C("stone", 2))
            hline(t, 0, 31, 5, C("stone", 3))
        if left:
            pier(t, True)
        if right:
            pier(t, False)
        return t
    out[247] = front(0)
    out[248] = front(1)
    out[245] = front(0, left=True)
    out[246] = front(1, left=True)
    out[249] = front(0, right=True)
    out[250] = front(1, right=True)
    big = np.vstack([front(0), front(1)])
    g = cgrid(big)
    arch = ellipse(15.5, 18, 11, 10, g) | rect(5, 18, 26, 63, big.shape)
    big[arch] = C("stone", 8)
    door = ellipse(15.5, 19, 8, 8, g) | rect(8, 19, 23, 63, big.shape)
    big[door] = C("wood", 4)
    for x in range(9, 24, 4):
        big[rect(x, 10, x, 63, big.shape) & door] = C("wood", 2)
    big[rect(8, 30, 23, 31, big.shape) & door] = C("grey", 3)
    big[rect(8, 50, 23, 51, big.shape) & door] = C("grey", 3)
    big[rect(19, 39, 21, 41, big.shape)] = C("gold", 6)
    big[dilate(door) & ~door & arch] = C("wood", 0)
    big[dilate(arch) & ~arch] = C("stone", 2)
    out[251] = big[0:32].copy()
    out[252] = big[32:64].copy()
    return out


def interior_tiles():
    out = shell_13()
    out[96], out[97] = window(WALL98, WALL99)
    out[116], out[117] = fireplace()
    out[114] = firewood()
    out[115] = shelf(WALL98)
    out[106], out[107] = kitchen()
    out.update(wardrobe())
    out[102], out[103] = bed()
    out[104] = table()
    out[105] = stool()
    out[101] = keg(PLANKS.copy(), None, 101)
    out.update(house2())
    return out
