"""Village tiles (grass 141, plaza 140, the 3x3 house, props) and the castle approach's
boundary wall and outer gateway."""
import numpy as np

from tiles_common import (T, XX, YY, C, tile, rng, ellipse, rect, poly, shift, dilate,
                          paint, outline, darken, shaded_blob, hline, vline, px,
                          canvas, cut, cgrid)
from tiles_nature import (GRASS, VGRASS, PLAZA, DIRT, edge_field, draw_shore, dirt_on_grass,
                          leafy, stone_face, hash01, water_tile, periodic_noise)


# --- plaza border (165-172): earth fraying into the village grass ---------------------------

PLAZA_BAND = (12, 12, 11, 11)


def plaza_tiles():
    out = {140: PLAZA.copy()}
    for n, s in {168: "t", 169: "b", 166: "l", 171: "r"}.items():
        out[n] = dirt_on_grass(VGRASS, PLAZA, edge_field("side", s, PLAZA_BAND, 0), n)
    for n, c in {165: "tl", 170: "tr", 167: "bl", 172: "br"}.items():
        out[n] = dirt_on_grass(VGRASS, PLAZA, edge_field("outer", c, PLAZA_BAND, 10), n)
    return out


# --- the village house, 3x3, numbered column by column --------------------------------------

def house_tiles():
    big = canvas(3, 3, colour=C("roof", 5))
    xx, yy = cgrid(big)
    # roof: terracotta rows, upper slope (away from the light) above a ridge at y=18
    ridge = 17
    for y in range(0, 66):
        for x in range(96):
            if y < ridge:
                row = y // 4
                lx = (x + (row % 2) * 3) % 6
                c = C("roof", 4) if y % 4 == 3 else C("roof", 5)
                if lx == 0:
                    c = C("roof", 3)
            elif y < ridge + 4:
                c = C("roof", 2) if y in (ridge, ridge + 3) else C("roof", 7)
                if (x // 6) % 2 == 0 and y == ridge + 1:
                    c = C("roof", 8)
            else:
                row = (y - ridge - 4) // 5
                ly = (y - ridge - 4) % 5
                lx = (x + (row % 2) * 3) % 6
                c = C("roof", 7)
                if ly == 0:
                    c = C("roof", 8)
                if ly >= 3:
                    c = C("roof", 5)
                if ly == 4:
                    c = C("roof", 3)
                if lx == 0 and ly < 4:
                    c = C("roof", 4)
            big[y, x] = c
    # roof edges: dark outline on the top and at the gable ends, eaves board at the bottom
    big[0, :] = C("roof", 1)
    big[:66, 0] = C("roof", 1)
    big[:66, 95] = C("roof", 1)
    big[:66, 1] = C("roof", 6)
    big[:66, 94] = C("roof", 3)
    big[62:64, :] = C("wood", 2)
    big[64:66, :] = C("wood", 1)
    # chimney on the ridge, left
    ch = rect(14, 4, 21, 16, big.shape)
    big[ch] = C("parchment", 5)
    big[rect(14, 4, 21, 6, big.shape)] = C("grey", 5)
    big[rect(19, 7, 21, 16, big.shape)] = C("parchment", 3)
    big[dilate(ch) & ~ch] = C("roof", 1)
    # front wall: cream plaster and dark timber, 66..95
    wall = rect(0, 66, 95, 95, big.shape)
    big[wall] = C("parchment", 8)
    for y in range(66, 96):
        for x in range(96):
            if hash01(x, y, 234) < 0.06:
                big[y, x] = C("parchment", 7)
    big[rect(0, 66, 95, 68, big.shape)] = C("parchment", 5)  # shade under the eaves
    for x0 in (0, 30, 62, 92):
        big[rect(x0, 66, x0 + 3, 91, big.shape)] = C("wood", 2)
        big[rect(x0, 66, x0, 91, big.shape)] = C("wood", 4)
    big[rect(0, 78, 95, 79, big.shape)] = C("wood", 2)
    # stone plinth
    stone_face(big, rect(0, 91, 95, 95, big.shape), "grey", 3, h=5, base=(8, 9, 7))
    # windows with green shutters
    for wx in (10, 72):
        win = rect(wx, 71, wx + 11, 84, big.shape)
        big[win] = C("water", 2)
        big[rect(wx + 1, 72, wx + 10, 76, big.shape)] = C("water", 5)
        big[rect(wx + 1, 72, wx + 3, 74, big.shape)] = C("water", 8)
        big[rect(wx + 5, 71, wx + 6, 84, big.shape)] = C("wood", 2)
        big[rect(wx, 77, wx + 11, 77, big.shape)] = C("wood", 2)
        for sx in (wx - 5, wx + 12):
            sh = rect(sx, 70, sx + 4, 85, big.shape)
            big[sh] = C("teal", 4)
            for y in range(72, 85, 3):
                big[y, sx + 1:sx + 4] = C("teal", 2)
            big[rect(sx, 70, sx, 85, big.shape)] = C("teal", 6)
            big[dilate(sh) & ~sh & ~win] = C("wood", 1)
        big[rect(wx - 1, 85, wx + 12, 86, big.shape)] = C("wood", 5)  # sill
        big[dilate(win) & ~win & (yy < 85)] = C("wood", 1)
        big[rect(wx + 1, 87, wx + 10, 89, big.shape)] = C("rose", 5)  # flower box
        for fx in range(wx + 1, wx + 11, 2):
            big[87, fx] = C("gold", 8) if fx % 4 else C("red", 6)
    # door: plank door with iron handle under a small lintel
    door = rect(39, 70, 56, 93, big.shape) | ellipse(47.5, 71, 8.5, 4, (xx, yy))
    big[door] = C("wood", 4)
    for x in range(40, 56, 4):
        big[rect(x, 68, x, 93, big.shape) & door] = C("wood", 2)
    big[rect(39, 70, 40, 93, big.shape) & door] = C("wood", 6)
    big[rect(40, 78, 55, 78, big.shape)] = C("grey", 3)
    big[rect(40, 87, 55, 87, big.shape)] = C("grey", 3)
    big[rect(52, 81, 53, 83, big.shape)] = C("gold", 6)
    big[dilate(door) & ~door] = C("wood", 0)
    big[rect(35, 93, 60, 95, big.shape)] = C("grey", 10)  # door step
    big[rect(35, 95, 60, 95, big.shape)] = C("grey", 6)
    big[rect(37, 66, 58, 67, big.shape)] = C("wood", 3)
    out = {}
    for col in range(3):
        for row in range(3):
            out[234 + col * 3 + row] = cut(big, col, row)
    return out


# --- village props --------------------------------------------------------------------------

def bush_tile(seed=143):
    t = VGRASS.copy()
    darken(t, ellipse(18, 25, 13, 5), 2)
    b = ellipse(16, 16, 13, 11) | ellipse(9, 20, 7, 6) | ellipse(23, 20, 7, 6)
    leafy(t, b, 16, 15, 13, seed=seed, levels=(1, 2, 3, 4, 5, 6))
    outline(t, b, C("forest", 0))
    for x, y in ((10, 12), (20, 17), (14, 22)):
        px(t, x, y, C("red", 6))
        px(t, x + 1, y + 1, C("red", 3))
    return t


def flowers_tile():
    t = VGRASS.copy()
    r = rng(144)
    cols = [C("gold", 8), C("grey", 15), C("red", 6), C("rose", 7), C("gold", 8), C("grey", 15)]
    for i in range(11):
        x, y = 2 + (i * 11 + r.randrange(5)) % 28, 2 + (i * 7 + r.randrange(4)) % 27
        c = cols[i % len(cols)]
        px(t, x, y + 2, C("grass", 2))
        px(t, x, y - 1, c)
        px(t, x - 1, y, c)
        px(t, x + 1, y, c)
        px(t, x, y + 1, c)
        px(t, x, y, C("gold", 5) if c != cols[0] else C("orange", 4))
    return t


def hedge_tile():
    """145: a clipped hedge block that joins itself across and down."""
    t = tile(C("forest", 4))
    n = periodic_noise(145, 8)
    t[n > 0.6] = C("forest", 5)
    t[n < 0.35] = C("forest", 3)
    r = rng(145)
    for _ in range(30):
        x, y = r.randrange(T), r.randrange(T)
        t[y, x] = C("forest", 6)
        t[(y + 1) % T, (x + 1) % T] = C("forest", 2)
    t[26:32, :] = np.where(t[26:32, :] == C("forest", 5), C("forest", 3), C("forest", 2))
    t[25, :] = C("forest", 6)
    return t


def veg_tile():
    """152: tilled rows with cabbages, repeats in every direction."""
    t = tile(C("earth", 4))
    for y in range(T):
        if y % 8 in (0, 1):
            t[y, :] = C("earth", 3)
        elif y % 8 == 2:
            t[y, :] = C("earth", 5)
    for row in range(4):
        for col in range(4):
            cx, cy = col * 8 + 4 + (row % 2) * 4, row * 8 + 5
            m = ellipse(cx % T, cy, 3, 2.5)
            paint(t, m, C("grass", 6))
            paint(t, m & (YY > cy), C("grass", 4))
            px(t, cx % T, cy - 1, C("grass", 8))
    return t


def bench_tile():
    """147: a bench segment; two side by side make one long bench."""
    t = VGRASS.copy()
    darken(t, rect(0, 20, 31, 22), 2)
    for x in (4, 26):
        paint(t, rect(x, 15, x + 2, 22), C("wood", 2))
    seat = rect(0, 11, 31, 17)
    paint(t, seat, C("wood", 6))
    hline(t, 0, 31, 11, C("wood", 8))
    hline(t, 0, 31, 14, C("wood", 4))
    hline(t, 0, 31, 17, C("wood", 2))
    back = rect(0, 5, 31, 8)
    paint(t, back, C("wood", 5))
    hline(t, 0, 31, 5, C("wood", 7))
    hline(t, 0, 31, 9, C("wood", 1))
    hline(t, 0, 31, 4, C("wood", 1))
    hline(t, 0, 31, 18, C("wood", 1))
    for x in (5, 27):
        vline(t, x, 9, 10, C("wood", 2))
    return t


def well_tile():
    """149: a small stone well with a wooden roof."""
    t = VGRASS.copy()
    darken(t, ellipse(19, 26, 12, 4), 2)
    ring = ellipse(16, 21, 11, 7)
    paint(t, ring, C("grey", 9))
    stone_face(t, ring & (YY > 21), "grey", 5, h=4, base=(8, 9, 7))
    inner = ellipse(16, 19, 7, 4)
    paint(t, inner, C("water", 1))
    paint(t, ellipse(15, 20, 4, 2), C("water", 3))
    outline(t, ring, C("grey", 3))
    for x in (6, 25):
        paint(t, rect(x, 5, x + 1, 20), C("wood", 3))
    roof = poly([(3, 8), (16, 1), (29, 8), (29, 10), (3, 10)])
    paint(t, roof, C("roof", 6))
    paint(t, roof & (YY > 7), C("roof", 4))
    outline(t, roof, C("roof", 1))
    hline(t, 15, 17, 13, C("grey", 2))
    vline(t, 16, 10, 16, C("wood", 6))
    return t


def keg(t, ground_dark, seed):
    """The rest object: an upright barrel of cider with a tap and a mug on top."""
    darken(t, ellipse(19, 27, 11, 4), 2)
    body = rect(7, 6, 24, 27) | ellipse(15.5, 27, 8.5, 2.5) | ellipse(15.5, 16, 9.5, 11) & rect(6, 6, 25, 27)
    paint(t, body, C("wood", 5))
    paint(t, body & (XX < 11), C("wood", 7))
    paint(t, body & (XX > 20), C("wood", 3))
    for y in (9, 24):
        paint(t, body & (YY >= y) & (YY < y + 2), C("grey", 6))
        paint(t, body & (YY >= y) & (YY < y + 1) & (XX < 14), C("grey", 10))
    top = ellipse(15.5, 6, 8.5, 3)
    paint(t, top, C("wood", 6))
    paint(t, ellipse(15.5, 6.5, 6, 1.8), C("wood", 4))
    outline(t, body | top, C("wood", 0))
    # tap
    paint(t, rect(14, 17, 17, 18), C("gold", 5))
    paint(t, rect(16, 19, 17, 20), C("gold", 3))
    # mug on the lid
    mug = rect(18, 1, 22, 6)
    paint(t, mug, C("grey", 13))
    paint(t, rect(18, 1, 22, 2), C("sand", 9))
    px(t, 23, 3, C("grey", 10))
    px(t, 23, 4, C("grey", 10))
    outline(t, mug, C("grey", 5))
    return t


def signpost_tile():
    """146: the path leaving the village, with a signpost pointing south."""
    t = dirt_on_grass(VGRASS, PLAZA, lambda x, y: np.minimum(8 - np.abs(x - 16), y - 14), 146)
    post = rect(23, 4, 25, 24)
    darken(t, shift(post, 2, 1) & ~post, 1)
    paint(t, post, C("wood", 4))
    board = poly([(17, 5), (29, 5), (29, 11), (17, 11), (14, 8)])
    paint(t, board, C("wood", 6))
    hline(t, 18, 27, 7, C("wood", 3))
    hline(t, 18, 25, 9, C("wood", 3))
    outline(t, board | post, C("wood", 1))
    return t


def reeds_tile():
    """151: cattails at the pond's edge."""
    t = VGRASS.copy()
    r = rng(151)
    for i in range(6):
        x = 6 + i * 4 + r.randrange(2)
        h = r.randrange(12, 20)
        vline(t, x, 27 - h, 27, C("olive", 5))
        vline(t, x + 1, 27 - h + 3, 27, C("olive", 3))
        if i % 2 == 0:
            paint(t, rect(x, 27 - h, x + 1, 27 - h + 4), C("wood", 2))
            px(t, x, 27 - h, C("wood", 4))
    darken(t, rect(5, 28, 28, 29), 1)
    return t


def rock_flowers_tile():
    """155: two stones with a clump of flowers."""
    t = VGRASS.copy()
    for cx, cy, rx in ((12, 18, 7), (22, 22, 5)):
        m = ellipse(cx, cy, rx, rx * 0.75)
        darken(t, shift(m, 2, 2) & ~m, 1)
        shaded_blob(t, m, "grey", [5, 7, 8, 10, 11], cx, cy, rx, seed=cx)
        outline(t, m, C("grey", 3))
    for x, y in ((6, 9), (20, 11), (25, 14)):
        for dx, dy in ((0, -1), (-1, 0), (1, 0), (0, 1)):
            px(t, x + dx, y + dy, C("purple", 8))
        px(t, x, y, C("gold", 8))
    return t


def pot_tile():
    """175: a flower pot on the plaza."""
    t = PLAZA.copy()
    darken(t, ellipse(18, 26, 9, 3), 1)
    pot = poly([(9, 14), (23, 14), (21, 27), (11, 27)])
    paint(t, pot, C("orange", 4))
    paint(t, pot & (XX < 13), C("orange", 6))
    paint(t, rect(8, 13, 24, 15), C("orange", 5))
    outline(t, pot | rect(8, 13, 24, 15), C("roof", 1))
    leaves = ellipse(16, 9, 8, 5)
    leafy(t, leaves, 16, 9, 8, seed=175, levels=(2, 3, 4, 5, 6))
    for x, y in ((12, 7), (18, 5), (20, 10), (14, 11)):
        px(t, x, y, C("red", 6))
        px(t, x + 1, y, C("red", 8))
    outline(t, leaves, C("forest", 0))
    return t


def crate_tile():
    """176: a wooden crate of turnips on the plaza."""
    t = PLAZA.copy()
    darken(t, rect(9, 12, 28, 29), 1)
    top = rect(6, 8, 25, 13)
    front = rect(6, 14, 25, 26)
    paint(t, front, C("wood", 4))
    for y in (17, 21):
        hline(t, 6, 25, y, C("wood", 2))
    paint(t, top, C("wood", 2))
    for x in range(8, 24, 4):
        m = ellipse(x + 1, 10, 2.2, 2)
        paint(t, m, C("rose", 8))
        px(t, x + 1, 8, C("grass", 6))
    vline(t, 6, 14, 26, C("wood", 6))
    outline(t, top | front, C("wood", 0))
    return t


def village_pond_tiles():
    """156-164: a small walled pond on the village grass, higher banks all round."""
    band = (11, 11, 11, 11)
    out = {}
    for n, s in {159: "b", 161: "t", 157: "r", 163: "l"}.items():
        out[n] = draw_shore(VGRASS, edge_field("side", s, band, 0), seed=n, rim="bank", bank=6)
    for n, c in {156: "br", 162: "bl", 158: "tr", 164: "tl"}.items():
        out[n] = draw_shore(VGRASS, edge_field("inner", c, band, 9), seed=n, rim="bank", bank=6)
    out[160] = water_tile(160, 2)
    from tiles_nature import _lily, _reeds
    _lily(out[160], 10, 22)
    _lily(out[160], 22, 12)
    _reeds(out[157], [(27, 18)], 157)
    _reeds(out[163], [(6, 14)], 163)
    _lily(out[159], 20, 25)
    return out


# --- castle approach: boundary wall, outer gateway ------------------------------------------

def boundary_tiles():
    """58/59 (boundary wall, two variants), 36-39 gate posts and 64/66 the opening."""
    out = {}
    for n, seed in ((58, 3), (59, 8)):
        t = GRASS.copy()
        top = rect(0, 5, 31, 10)
        face = rect(0, 11, 31, 31)
        darken(t, rect(0, 3, 31, 4), 1)
        stone_face(t, face, "grey", seed, h=6, base=(6, 7, 5))
        paint(t, top, C("grey", 10))
        hline(t, 0, 31, 10, C("grey", 8))
        hline(t, 0, 31, 5, C("grey", 12))
        for x in range(seed % 8, 32, 8):
            vline(t, x, 6, 9, C("grey", 8))
        hline(t, 0, 31, 4, C("grey", 3))
        out[n] = t
    # the opening: the path goes south through the gap
    def opening(lower):
        t = dirt_on_grass(GRASS, DIRT, lambda x, y: 10 - np.abs(x - 16) + 0 * y, 64)
        if not lower:
            # a wooden arch beam between the posts
            paint(t, rect(0, 2, 31, 6), C("wood", 4))
            hline(t, 0, 31, 2, C("wood", 7))
            hline(t, 0, 31, 6, C("wood", 1))
            darken(t, rect(0, 7, 31, 9), 1)
        else:
            darken(t, rect(0, 0, 3, 31) | rect(28, 0, 31, 31), 1)
        return t
    out[64] = opening(False)
    out[66] = opening(True)

    def post(lower, right):
        if lower:
            t = out[58].copy()
        else:
            # the low wall 61/60 runs into the post: continue its inner part
            from tiles_nature import low_wall_tiles
            t = low_wall_tiles()[61 if right else 60].copy()
        p = rect(6, 0 if lower else 5, 27, 31)
        paint(t, p, C("grey", 8))
        stone_face(t, p, "grey", 5 if lower else 2, h=7, base=(8, 9, 7))
        paint(t, rect(6, 0 if lower else 5, 8, 31), C("grey", 11))
        paint(t, rect(24, 0 if lower else 5, 27, 31), C("grey", 5))
        if not lower:
            cap = rect(4, 2, 29, 8)
            paint(t, cap, C("grey", 12))
            hline(t, 4, 29, 8, C("grey", 7))
            paint(t, ellipse(16.5, 2, 5, 2.5) & (YY < 3), C("grey", 10))
            outline(t, cap, C("grey", 2))
        vline(t, 5, 0 if lower else 5, 31, C("grey", 2))
        vline(t, 28, 0 if lower else 5, 31, C("grey", 2))
        return t
    out[36] = post(False, False)
    out[37] = post(False, True)
    out[38] = post(True, False)
    out[39] = post(True, True)
    return out
