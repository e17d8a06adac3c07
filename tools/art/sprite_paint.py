"""Small painting kit for our sprites: a layered canvas of shaded parts.

A picture is built from parts (a pixel mask + a material). Parts are stacked in the order they are
added; at render time each part is shaded from its own shape (light from the upper left), a dark
line is drawn where a part lies over an earlier one, and the whole silhouette gets a 1-px outline
in the dark shade of the material it touches. Small details (eyes, buttons...) are single fixed
pixels on top.

Run with /usr/bin/python3 (Debian's python3-pil).
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import palette  # noqa: E402
from palette import shade, TRANSPARENT  # noqa: E402


class Mat:
    """A material: shades taken from one palette ramp."""

    def __init__(self, ramp, dark, mid, light, out=None, line=None, hi=None):
        self.ramp = ramp
        self.dark = shade(ramp, dark)
        self.mid = shade(ramp, mid)
        self.light = shade(ramp, light)
        self.hi = shade(ramp, hi) if hi is not None else self.light
        self.out = out if out is not None else shade(ramp, 0)
        self.line = shade(ramp, line if line is not None else max(0, dark - 1))


# ---------------------------------------------------------------- masks (sets of (x, y))

def ellipse(cx, cy, rx, ry):
    out = set()
    for y in range(int(cy - ry) - 1, int(cy + ry) + 2):
        for x in range(int(cx - rx) - 1, int(cx + rx) + 2):
            dx = (x + 0.5 - cx) / rx
            dy = (y + 0.5 - cy) / ry
            if dx * dx + dy * dy <= 1.0:
                out.add((x, y))
    return out


def rect(x0, y0, x1, y1):
    """Inclusive pixel rectangle."""
    return {(x, y) for y in range(y0, y1 + 1) for x in range(x0, x1 + 1)}


def rows(spans):
    """Mask from a dict / list of (y, x0, x1) inclusive spans."""
    out = set()
    for y, x0, x1 in spans:
        for x in range(x0, x1 + 1):
            out.add((x, y))
    return out


def poly(points):
    """Filled polygon (pixel centres inside or on the edge)."""
    out = set()
    ys = [p[1] for p in points]
    n = len(points)
    for y in range(int(min(ys)) - 1, int(max(ys)) + 2):
        yc = y + 0.5
        xs = []
        for i in range(n):
            (x0, y0), (x1, y1) = points[i], points[(i + 1) % n]
            if (y0 <= yc < y1) or (y1 <= yc < y0):
                xs.append(x0 + (yc - y0) * (x1 - x0) / (y1 - y0))
        xs.sort()
        for a, b in zip(xs[0::2], xs[1::2]):
            for x in range(int(a - 0.5) - 1, int(b + 0.5) + 2):
                if a <= x + 0.5 <= b:
                    out.add((x, y))
    return out


def shift(mask, dx, dy):
    return {(x + dx, y + dy) for x, y in mask}


def mirror(mask, w=32):
    return {(w - 1 - x, y) for x, y in mask}


def below(mask, y0):
    return {(x, y) for x, y in mask if y >= y0}


def above(mask, y0):
    return {(x, y) for x, y in mask if y < y0}


def left_of(mask, x0):
    return {(x, y) for x, y in mask if x < x0}


def right_of(mask, x0):
    return {(x, y) for x, y in mask if x >= x0}


def line(x0, y0, x1, y1):
    out = set()
    n = max(abs(x1 - x0), abs(y1 - y0), 1)
    for i in range(n + 1):
        out.add((round(x0 + (x1 - x0) * i / n), round(y0 + (y1 - y0) * i / n)))
    return out


# ---------------------------------------------------------------- canvas

class Canvas:
    def __init__(self, w=32, h=32):
        self.w, self.h = w, h
        self.parts = []
        self.pid = [[-1] * w for _ in range(h)]
        self.fixed = {}

    def inside(self, x, y):
        return 0 <= x < self.w and 0 <= y < self.h

    def add(self, mask, mat, line=True, shading="cyl", outline=True):
        """Stacks a part. shading: 'cyl' (lit left, dark right), 'ball', 'flat', 'top'."""
        if not mask:
            return
        k = len(self.parts)
        self.parts.append((mask, mat, line, shading, outline))
        for x, y in mask:
            if self.inside(x, y):
                self.pid[y][x] = k
                self.fixed.pop((x, y), None)

    def px(self, x, y, idx):
        if self.inside(x, y):
            self.fixed[(x, y)] = idx

    def pxs(self, mask, idx):
        for x, y in mask:
            self.px(x, y, idx)

    def erase(self, mask):
        for x, y in mask:
            if self.inside(x, y):
                self.pid[y][x] = -1
                self.fixed.pop((x, y), None)

    def _shade_part(self, k):
        mask, mat, _line, shading, _o = self.parts[k]
        rmin, rmax, cmin, cmax = {}, {}, {}, {}
        for x, y in mask:
            rmin[y] = min(rmin.get(y, x), x)
            rmax[y] = max(rmax.get(y, x), x)
            cmin[x] = min(cmin.get(x, y), y)
            cmax[x] = max(cmax.get(x, y), y)
        out = {}
        for x, y in mask:
            if not self.inside(x, y) or self.pid[y][x] != k:
                continue
            wr = rmax[y] - rmin[y]
            hc = cmax[x] - cmin[x]
            tx = (x - rmin[y]) / wr if wr else 0.5
            ty = (y - cmin[x]) / hc if hc else 0.5
            c = mat.mid
            if shading == "flat":
                c = mat.mid
            elif shading == "cyl":
                if wr >= 2 and tx > 0.74:
                    c = mat.dark
                elif hc >= 4 and ty > 0.88:
                    c = mat.dark
                elif wr >= 2 and tx < 0.3:
                    c = mat.light
                    if wr >= 5 and tx < 0.12 and ty < 0.5:
                        c = mat.hi
            elif shading == "ball":
                if (wr >= 2 and tx > 0.78) or (hc >= 3 and ty > 0.82):
                    c = mat.dark
                elif tx < 0.45 and ty < 0.4:
                    c = mat.light
                    if tx < 0.3 and ty < 0.25 and wr >= 5:
                        c = mat.hi
            elif shading == "top":
                if hc >= 2 and ty > 0.7:
                    c = mat.dark
                elif ty < 0.3:
                    c = mat.light
            out[(x, y)] = c
        return out

    def render(self):
        img = [[TRANSPARENT] * self.w for _ in range(self.h)]
        for k in range(len(self.parts)):
            for (x, y), c in self._shade_part(k).items():
                img[y][x] = c
        # lines where a later part lies over an earlier one (drawn on the earlier part)
        lined = []
        for y in range(self.h):
            for x in range(self.w):
                a = self.pid[y][x]
                if a < 0:
                    continue
                for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                    qx, qy = x + dx, y + dy
                    if not self.inside(qx, qy):
                        continue
                    b = self.pid[qy][qx]
                    if b > a and self.parts[b][2]:
                        lined.append((x, y, self.parts[a][1].line))
                        break
        for x, y, c in lined:
            img[y][x] = c
        # outer outline
        for y in range(self.h):
            for x in range(self.w):
                if self.pid[y][x] >= 0 or (x, y) in self.fixed:
                    continue
                best = -1
                for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                    qx, qy = x + dx, y + dy
                    if self.inside(qx, qy) and self.pid[qy][qx] > best and self.parts[self.pid[qy][qx]][4]:
                        best = self.pid[qy][qx]
                if best >= 0:
                    img[y][x] = self.parts[best][1].out
        for (x, y), c in self.fixed.items():
            img[y][x] = c
        return img


def blit(img, cells, ox, oy, flip=False):
    """Copies a rendered cell (list of rows) into a PIL 'P' image at (ox, oy)."""
    h = len(cells)
    w = len(cells[0])
    for y in range(h):
        for x in range(w):
            c = cells[y][w - 1 - x] if flip else cells[y][x]
            img.putpixel((ox + x, oy + y), c)


__all__ = ["Mat", "Canvas", "ellipse", "rect", "rows", "poly", "shift", "mirror", "below", "above",
           "left_of", "right_of", "line", "blit", "palette", "shade", "TRANSPARENT"]
