"""Drawing helpers shared by the tile generators: a 32x32 tile is a numpy array of palette
indices (uint8). Textures are drawn with wrap-around so that a ground tile joins itself on
every side; shapes are boolean masks; objects get a dark outline of their own colour family.

Light comes from the upper left; shadows fall to the lower right in a darker shade of the
ground they fall on.
"""
import random

import numpy as np

from palette import shade, TRANSPARENT

T = 32
YY, XX = np.mgrid[0:T, 0:T].astype(float) + 0.5  # pixel centres


def C(ramp, level):
    return shade(ramp, level)


def tile(colour):
    return np.full((T, T), colour, np.uint8)


def rng(seed):
    return random.Random(seed)


# --- masks ---------------------------------------------------------------------------------

def ellipse(cx, cy, rx, ry, g=None):
    xx, yy = g if g is not None else (XX, YY)
    return ((xx - cx) / rx) ** 2 + ((yy - cy) / ry) ** 2 <= 1.0


def rect(x0, y0, x1, y1, shape=(T, T)):
    """Inclusive pixel rectangle."""
    m = np.zeros(shape, bool)
    m[max(0, y0):max(0, y1 + 1), max(0, x0):max(0, x1 + 1)] = True
    return m


def poly(points, g=None):
    """Filled polygon (even-odd test on pixel centres)."""
    XX_, YY_ = g if g is not None else (XX, YY)
    m = np.zeros(XX_.shape, bool)
    n = len(points)
    for i in range(n):
        x1, y1 = points[i]
        x2, y2 = points[(i + 1) % n]
        if y1 == y2:
            continue
        cond = ((YY_ >= min(y1, y2)) & (YY_ < max(y1, y2)))
        xint = x1 + (YY_ - y1) * (x2 - x1) / (y2 - y1)
        m ^= cond & (XX_ < xint)
    return m


def shift(mask, dx, dy):
    out = np.zeros_like(mask)
    h, w = mask.shape
    ys0, ys1 = max(0, -dy), min(h, h - dy)
    xs0, xs1 = max(0, -dx), min(w, w - dx)
    out[ys0 + dy:ys1 + dy, xs0 + dx:xs1 + dx] = mask[ys0:ys1, xs0:xs1]
    return out


def dilate(mask, diag=False):
    out = mask.copy()
    for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
        out |= shift(mask, dx, dy)
    if diag:
        for dx, dy in ((1, 1), (-1, 1), (1, -1), (-1, -1)):
            out |= shift(mask, dx, dy)
    return out


def erode(mask):
    return ~dilate(~mask)


def border(mask):
    """Pixels just outside the mask (4-neighbourhood)."""
    return dilate(mask) & ~mask


def inner_edge(mask):
    return mask & ~erode(mask)


# --- painting ------------------------------------------------------------------------------

def paint(t, mask, colour):
    t[mask] = colour
    return t


def outline(t, mask, colour, diag=False):
    t[dilate(mask, diag) & ~mask] = colour
    return t


def shadow(t, mask, amount=1, dx=2, dy=2, ground_darken=None):
    """Darkens the ground just below/right of an object (mask) by one step of its own ramp."""
    sh = shift(mask, dx, dy) & ~mask
    darker = ground_darken or _darken_one
    for y, x in zip(*np.nonzero(sh)):
        t[y, x] = darker(t[y, x], amount)
    return t


_RAMP_OF = {}


def _build_ramp_lookup():
    import palette
    for name, *_ in palette.RAMPS:
        for lv in range(10):
            _RAMP_OF[shade(name, lv)] = (name, lv)
    for g in range(16):
        _RAMP_OF.setdefault(g, ("grey", g))


_build_ramp_lookup()


def _darken_one(c, amount=1):
    name, lv = _RAMP_OF.get(int(c), ("grey", int(c)))
    return shade(name, lv - (2 * amount if name == "grey" else amount))


def darken(t, mask, amount=1):
    for y, x in zip(*np.nonzero(mask)):
        t[y, x] = _darken_one(t[y, x], amount)
    return t


def lighten(t, mask, amount=1):
    return darken(t, mask, -amount)


def shaded_blob(t, mask, ramp, levels, cx, cy, radius, light=(-0.6, -0.7), seed=0, speckle=0.0):
    """Fills a round-ish mask with banded shading: levels go dark..light, lit from upper left."""
    r = rng(seed)
    XX, YY = cgrid(t)
    lx, ly = light
    d = ((XX - cx) * lx + (YY - cy) * ly) / max(radius, 1)  # -1 (shadow side) .. 1 (lit side)
    dist = np.sqrt((XX - cx) ** 2 + (YY - cy) ** 2) / max(radius, 1)
    v = 0.55 * d - 0.45 * (dist - 0.5)
    n = len(levels)
    for y, x in zip(*np.nonzero(mask)):
        f = v[y, x] + (r.random() - 0.5) * speckle
        i = int(round((f + 0.6) / 1.2 * (n - 1)))
        t[y, x] = shade(ramp, levels[max(0, min(n - 1, i))])
    return t


def hline(t, x0, x1, y, colour):
    if 0 <= y < t.shape[0]:
        t[y, max(0, x0):min(t.shape[1], x1 + 1)] = colour


def vline(t, x, y0, y1, colour):
    if 0 <= x < t.shape[1]:
        t[max(0, y0):min(t.shape[0], y1 + 1), x] = colour


def px(t, x, y, colour):
    if 0 <= x < t.shape[1] and 0 <= y < t.shape[0]:
        t[y, x] = colour


def check(t):
    assert t.shape == (T, T)
    assert not (t == TRANSPARENT).any(), "transparent index in a tile"
    return t


# --- big canvases (multi-tile objects drawn in one piece, then cut) -------------------------

def canvas(w_tiles, h_tiles, base_tile=None, colour=0):
    if base_tile is not None:
        return np.tile(base_tile, (h_tiles, w_tiles)).astype(np.uint8)
    return np.full((h_tiles * T, w_tiles * T), colour, np.uint8)


def cut(big, col, row):
    return big[row * T:(row + 1) * T, col * T:(col + 1) * T].copy()


def cgrid(big):
    h, w = big.shape
    yy, xx = np.mgrid[0:h, 0:w].astype(float) + 0.5
    return xx, yy
