"""The 16x16 icon strip (orb, sword, armour, crystal, coins, A and B buttons) and the three
frames of the magic sparks."""
import math
import random

import palette
from sprite_paint import Canvas, Mat, ellipse, rect, poly, line, blit, shade

OUT = shade("grey", 1)

LETTERS = {
    "A": ["..#..", ".#.#.", "#...#", "#####", "#...#", "#...#"],
    "B": ["####.", "#...#", "####.", "#...#", "#...#", "####."],
}


def _orb():
    c = Canvas(16, 16)
    c.add(ellipse(8, 8, 6.5, 6.5), Mat("grass", 2, 5, 7, out=OUT, hi=9), shading="ball")
    c.pxs({(5, 4), (6, 4), (4, 5), (4, 6)}, shade("grass", 9))
    c.px(5, 5, shade("grey", 15))
    c.pxs({(10, 12), (11, 11), (12, 10)}, shade("forest", 3))
    return c.render()


def _sword():
    c = Canvas(16, 16)
    blade = Mat("steel", 4, 7, 9, out=OUT)
    c.add(poly([(12.5, 1.5), (14.5, 1.5), (14.5, 3.5), (6.5, 11.5), (4.5, 9.5)]), blade, shading="cyl")
    c.add(line(2, 9, 7, 14) | line(3, 9, 7, 13), Mat("gold", 3, 6, 8, out=OUT), shading="flat")
    c.add(line(2, 13, 4, 11) | line(3, 13, 5, 11), Mat("wood", 2, 4, 5, out=OUT), shading="flat")
    c.add({(1, 14), (2, 14), (1, 15)}, Mat("gold", 3, 6, 8, out=OUT), shading="flat")
    c.pxs(line(12, 2, 6, 8), shade("steel", 9))
    return c.render()


def _armour():
    c = Canvas(16, 16)
    steel = Mat("steel", 3, 6, 8, out=OUT, hi=9)
    body = poly([(3.5, 2.5), (6, 2.5), (8, 4), (10, 2.5), (12.5, 2.5), (13.5, 5), (12, 7), (12, 14.5), (4, 14.5),
                 (4, 7), (2.5, 5)])
    c.add(body, steel, shading="cyl")
    c.add(ellipse(3.5, 4, 2, 2) | ellipse(12.5, 4, 2, 2), Mat("steel", 2, 5, 7, out=OUT), shading="ball")
    c.add(rect(4, 10, 11, 10), Mat("gold", 4, 6, 8, out=OUT), shading="flat")
    c.pxs({(8, 6), (8, 7), (8, 8)}, shade("steel", 3))
    c.pxs({(6, 6), (6, 7)}, shade("steel", 9))
    return c.render()


def _crystal():
    c = Canvas(16, 16)
    left = poly([(8, 0.5), (8, 15.5), (3, 8)])
    right = poly([(8, 0.5), (13, 8), (8, 15.5)])
    c.add(left, Mat("magic", 5, 6, 8, out=OUT, hi=9), shading="flat", line=False)
    c.add(right, Mat("water", 3, 4, 5, out=OUT), shading="flat", line=False)
    c.pxs({(5, 7), (6, 6), (6, 5), (7, 3), (7, 4)}, shade("magic", 9))
    c.pxs({(9, 12), (10, 10), (11, 9)}, shade("navy", 3))
    c.pxs({(x, 8) for x in range(4, 12)}, shade("magic", 3))
    return c.render()


def _coins():
    c = Canvas(16, 16)
    gold = Mat("gold", 3, 6, 8, out=shade("gold", 0), hi=9)
    for i, y in enumerate((12.5, 10, 7.5, 5)):
        c.add(ellipse(6.5 + (i % 2) * 0.5, y, 4.5, 2.2), gold, shading="top")
    c.add(ellipse(11.5, 10.5, 3.5, 3.5), gold, shading="ball")
    c.pxs({(11, 9), (11, 10), (11, 11), (12, 10)}, shade("gold", 3))
    c.pxs({(4, 4), (5, 4)}, shade("gold", 9))
    return c.render()


def _button(letter, mat):
    c = Canvas(16, 16)
    c.add(ellipse(8, 8, 7, 7), mat, shading="ball")
    c.add(ellipse(8, 8, 5.5, 5.5), Mat(mat.ramp, 4, 5, 7, out=OUT), shading="ball")
    pix = {(x, y) for y, r in enumerate(LETTERS[letter]) for x, ch in enumerate(r) if ch == "#"}
    ox, oy = 5, 5
    for x, y in pix:
        if (x + 1, y + 1) not in pix:
            c.px(ox + x + 1, oy + y + 1, shade(mat.ramp, 1))
    for x, y in pix:
        c.px(ox + x, oy + y, shade("grey", 15))
    return c.render()


def icons():
    img = palette.new_image(16, 128)
    cells = [_orb(), _sword(), _armour(), _crystal(), _coins(),
             _button("A", Mat("red", 2, 4, 6, out=OUT)), _button("B", Mat("gold", 2, 4, 6, out=OUT))]
    for n, cell in enumerate(cells):
        blit(img, cell, 0, 16 * n)
    return img


def _star(c, x, y, arm, mat, core=True):
    """A four-pointed sparkle as an outlined part."""
    m = {(x, y)}
    for i in range(1, arm + 1):
        m |= {(x + i, y), (x - i, y), (x, y + i), (x, y - i)}
    if arm >= 3:
        m |= {(x + 1, y + 1), (x + 1, y - 1), (x - 1, y + 1), (x - 1, y - 1)}
    c.add(m, mat, shading="flat", line=False)
    if core:
        c.px(x, y, shade("grey", 15))
        if arm >= 3:
            c.pxs({(x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)}, mat.hi)


def sparks():
    img = palette.new_image(32, 96)
    rnd = random.Random(1789)
    blue = Mat("magic", 5, 6, 8, out=shade("magic", 1), hi=9)
    cyan = Mat("sky", 5, 7, 9, out=shade("navy", 1), hi=9)
    gold = Mat("gold", 5, 7, 8, out=shade("gold", 1), hi=9)
    frames = (
        # burst radius, sparkles, glow radius, ray length
        (7, 4, 2.5, 0),
        (11, 8, 4.0, 9),
        (14, 14, 6.0, 14),
    )
    for n, (radius, count, glow, ray) in enumerate(frames):
        c = Canvas(32, 32)
        if ray:
            rays = set()
            for k in range(8):
                a = k * math.pi / 4 + math.pi / 8 * (n - 1)
                ln = ray if k % 2 == 0 else ray * 0.65
                for t in range(int(glow), int(ln) + 1):
                    rays.add((round(15.5 + math.cos(a) * t), round(15.5 + math.sin(a) * t)))
            c.add(rays, Mat("magic", 6, 7, 9, out=shade("magic", 2)), shading="flat", line=False)
        c.add(ellipse(16, 16, glow + 1, glow + 1), Mat("magic", 5, 6, 8, out=shade("magic", 2)), shading="flat",
              line=False)
        c.add(ellipse(16, 16, glow, glow), Mat("magic", 7, 8, 9, out=shade("magic", 2)), shading="flat", line=False)
        c.add(ellipse(16, 16, max(1.2, glow * 0.6), max(1.2, glow * 0.6)), Mat("grey", 15, 15, 15, out=shade("magic", 8)),
              shading="flat", line=False)
        placed = []
        tries = 0
        while len(placed) < count and tries < 500:
            tries += 1
            a = (len(placed) + rnd.uniform(-0.3, 0.3)) * 2 * math.pi / count + n
            d = rnd.uniform(glow + 2, radius) if tries < 300 else rnd.uniform(glow + 1, radius + 2)
            x = int(round(15.5 + math.cos(a) * d))
            y = int(round(15.5 + math.sin(a) * d))
            arm = rnd.choice((1, 2, 2, 3)) if n else rnd.choice((1, 2))
            if not (arm + 1 <= x <= 30 - arm and arm + 1 <= y <= 30 - arm):
                continue
            if any(abs(x - px) + abs(y - py) < arm + pa + 2 for px, py, pa in placed):
                continue
            placed.append((x, y, arm))
        for i, (x, y, arm) in enumerate(placed):
            _star(c, x, y, arm, (blue, cyan, gold)[i % 3])
        blit(img, c.render(), 0, 32 * n)
    return img
