"""24x24 dialogue portraits, drawn from the same character entries as the walking sheets."""
from sprite_paint import Canvas, ellipse, rect, poly, shade, TRANSPARENT
from sprite_people import hair_front
from sprite_hats import draw_hat

G = dict(cx=12, cy=11.5, rx=7.5, ry=7.5)
EYE = shade("grey", 1)
WHITE = shade("grey", 15)


def _frame(img, ramp):
    """Rounded frame with a soft vertical gradient behind the face."""
    border = shade(ramp, 1) if ramp != "grey" else 3
    for y in range(24):
        for x in range(24):
            corner = (x in (0, 23) and y in (0, 23))
            if corner:
                img[y][x] = TRANSPARENT
                continue
            edge = x in (0, 23) or y in (0, 23)
            if edge:
                img[y][x] = border
            elif img[y][x] == TRANSPARENT:
                lvl = 8 if y < 8 else (7 if y < 16 else 6)
                if (x + y) % 2 == 0 and y in (8, 16):
                    lvl += 1
                img[y][x] = shade(ramp, lvl)


def portrait(who, spec):
    if spec.get("kind") == "hen":
        raise ValueError("no portrait for the hen")
    c = Canvas(24, 24)
    g = dict(G)
    cx, cy, rx, ry = g["cx"], g["cy"], g["rx"], g["ry"]
    skin, top = spec["skin"], spec["top"]
    style = spec.get("hair_style", "short")
    hair = spec.get("hair")
    # long hair behind the shoulders
    if hair is not None and style == "long" and not spec.get("hood"):
        c.add(poly([(cx - rx - 1.5, cy - 2), (cx + rx + 1.5, cy - 2), (cx + rx + 2.5, 23.5), (cx - rx - 2.5, 23.5)]),
              hair, shading="cyl")
    if spec.get("cape") is not None:
        c.add(poly([(3, 19.5), (21, 19.5), (24, 24), (0, 24)]), spec["cape"], shading="cyl")
    # shoulders
    c.add(poly([(5, 18.5), (19, 18.5), (22.5, 24), (1.5, 24)]), spec.get("sleeve", top), shading="cyl")
    if spec.get("chest") is not None:
        c.add(poly([(8, 18.5), (16, 18.5), (17, 24), (7, 24)]), spec["chest"], shading="cyl")
    elif spec.get("sleeve") is not None and spec.get("sleeve") is not top:
        c.add(poly([(8, 18.5), (16, 18.5), (17, 24), (7, 24)]), top, shading="cyl")
    c.add(rect(10, 17, 13, 19), skin, shading="cyl")  # neck
    if spec.get("collar") is not None:
        c.add(poly([(4.5, 19), (19.5, 19), (21, 21.5), (3, 21.5)]) - rect(10, 19, 13, 20), spec["collar"],
              shading="top")
    if spec.get("scarf") is not None:
        c.add(rect(8, 18, 15, 19) | rect(13, 20, 14, 23), spec["scarf"], shading="cyl")
    if spec.get("apron") is not None and spec.get("build") != "child":
        c.add(rect(10, 21, 13, 23), spec["apron"], shading="flat")
    # head
    c.add(ellipse(cx, cy + 0.5, rx, ry), skin, shading="ball")
    c.add({(int(cx - rx) - 1, int(cy) + 1), (int(cx - rx) - 1, int(cy) + 2),
           (int(cx + rx), int(cy) + 1), (int(cx + rx), int(cy) + 2)}, skin, shading="flat")  # ears
    _face(c, spec, g)
    if hair is not None and not spec.get("hood"):
        c.add(hair_front(g, style), hair, shading="ball")
        if style in ("bun", "long", "curly"):
            for y in range(int(cy - ry) + 1, int(cy) - 1):
                c.px(int(cx) - 1, y, hair.line)
            c.px(int(cx) - 2, int(cy) - 2, hair.line)
            c.px(int(cx), int(cy) - 2, hair.line)
        if style == "bun":
            c.add(ellipse(cx, cy - ry - 0.5, 3.5, 2.5), hair, shading="ball")
        if style == "twin":
            c.add(ellipse(cx - rx - 1.5, cy + 3, 2.5, 4.5), hair, shading="ball")
            c.add(ellipse(cx + rx + 1.5, cy + 3, 2.5, 4.5), hair, shading="ball")
            if spec.get("ribbon") is not None:
                c.add(rect(1, 7, 3, 8), spec["ribbon"], shading="flat")
                c.add(rect(20, 7, 22, 8), spec["ribbon"], shading="flat")
    if spec.get("beard") is not None:
        b = spec["beard"]
        m = poly([(cx - rx + 0.5, cy + 1), (cx + rx - 0.5, cy + 1), (cx + 4, cy + 9), (cx, cy + 11), (cx - 4, cy + 9)])
        m -= rect(int(cx) - 5, int(cy) + 1, int(cx) + 4, int(cy) + 3)
        m -= rect(int(cx) - 2, int(cy) + 6, int(cx) + 1, int(cy) + 6)
        c.add(m, b, shading="cyl")
        c.add(rect(int(cx) - 4, int(cy) + 4, int(cx) + 3, int(cy) + 5) - rect(int(cx) - 1, int(cy) + 4, int(cx), int(cy) + 4),
              b, shading="top")
    elif spec.get("mustache"):
        c.add(rect(int(cx) - 3, int(cy) + 5, int(cx) + 2, int(cy) + 5) - {(int(cx) - 1, int(cy) + 5), (int(cx), int(cy) + 5)}
              | {(int(cx) - 1, int(cy) + 4), (int(cx), int(cy) + 4)}, spec["hair"], shading="flat", line=False)
    if spec.get("stubble") is not None:
        for x, y in ellipse(cx, cy + 0.5, rx, ry):
            if y >= cy + 4 and (x + y) % 2 == 0 and abs(x + 0.5 - cx) < rx - 1:
                c.px(x, y, spec["stubble"])
    if spec.get("hat"):
        draw_hat(c, spec, g, 2, 0)
    img = c.render()
    _frame(img, spec.get("portrait_bg", "sky"))
    return img


def _face(c, spec, g):
    cx, cy = g["cx"], g["cy"]
    ey = int(cy) + 1
    eye = spec.get("eye", EYE)
    if spec.get("hood"):
        return
    lx, rx_ = int(cx) - 4, int(cx) + 2
    if spec.get("closed_eyes"):
        for x0 in (lx, rx_):
            c.px(x0, ey + 1, eye)
            c.px(x0 + 1, ey + 1, eye)
            c.px(x0 - 1 if x0 == lx else x0 + 2, ey, eye)
    else:
        for x0 in (lx, rx_):
            c.px(x0, ey, WHITE)
            c.px(x0 + 1, ey, eye)
            c.px(x0, ey + 1, eye)
            c.px(x0 + 1, ey + 1, eye)
            if spec.get("build") == "child" or spec.get("blush"):
                c.px(x0, ey + 2, eye)
                c.px(x0 + 1, ey + 2, shade("navy", 5))
    brow = spec.get("hair")
    if brow is not None and spec.get("hat") != "helmet":
        bc = brow.dark
        c.px(lx, ey - 2, bc)
        c.px(lx + 1, ey - 2, bc)
        c.px(rx_, ey - 2, bc)
        c.px(rx_ + 1, ey - 2, bc)
    c.px(int(cx) - 1, ey + 3, spec["skin"].dark)  # nose
    mouth = shade("red", 4) if spec.get("blush") else spec["skin"].line
    c.px(int(cx) - 2, ey + 5, mouth)
    c.px(int(cx) - 1, ey + 5, mouth)
    c.px(int(cx), ey + 5, mouth)
    if spec.get("blush"):
        c.px(int(cx) - 6, ey + 3, shade("rose", 6))
        c.px(int(cx) - 5, ey + 3, shade("rose", 6))
        c.px(int(cx) + 4, ey + 3, shade("rose", 6))
        c.px(int(cx) + 5, ey + 3, shade("rose", 6))
