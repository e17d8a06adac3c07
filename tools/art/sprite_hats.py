"""Headwear for the people sheets: helmets, crowns, tiara, hood, bandana, kerchief, cap."""
from sprite_paint import ellipse, rect, rows, poly, shift, above, shade


def draw_hat(c, spec, g, f, bob):
    kind = spec["hat"]
    cx, cy, rx, ry = g["cx"], g["cy"], g["rx"], g["ry"]
    if f == 1:
        cx += 0.5
        rx -= 0.5
    top = int(cy - ry)
    M = spec.get("hat_mat")

    def add(m, mat, **kw):
        c.add(shift(m, 0, -bob), mat, **kw)

    if kind == "helmet":
        dome = above(ellipse(cx, cy - 0.5, rx + 1, ry + 0.8), int(cy) - 1)
        rim = rect(int(cx - rx) - 1, int(cy) - 2, int(cx + rx), int(cy) - 2) if f != 1 else \
            rect(int(cx - rx) - 1, int(cy) - 2, int(cx + rx) + 1, int(cy) - 2)
        if f == 2:
            cheeks = rect(int(cx - rx) - 1, int(cy) - 1, int(cx - rx) + 1, int(cy) + 3) | \
                rect(int(cx + rx) - 2, int(cy) - 1, int(cx + rx), int(cy) + 3)
            add(cheeks, M, shading="cyl")
        elif f == 0:
            add(rows([(y, int(cx - rx) - 1, int(cx + rx)) for y in range(int(cy) - 1, int(cy) + 4)]), M, shading="cyl")
        else:
            add(rows([(y, int(cx - rx) - 1, int(cx) - 1) for y in range(int(cy) - 1, int(cy) + 4)]), M, shading="cyl")
        add(dome, M, shading="ball")
        add(rim, spec.get("rim", M), shading="flat")
        if f == 2:
            add(rect(int(cx) - 1, int(cy) - 1, int(cx), int(cy) + 1), M, shading="flat", line=False)
        if spec.get("plume") is not None:
            pl = spec["plume"]
            if f == 2 or f == 0:
                add(poly([(cx - 1.5, top - 1), (cx + 1.5, top - 1), (cx + 1.5, top + 1), (cx - 1.5, top + 1)]) |
                    ellipse(cx, top - 0.5, 2, 2), pl, shading="ball")
            else:
                add(poly([(cx - 7, top - 1.5), (cx - 1, top - 1.8), (cx + 1, top + 1), (cx - 3, top + 1.5), (cx - 8, top + 1)]),
                    pl, shading="ball")
    elif kind in ("crown", "tiara"):
        gold = M
        if kind == "crown":
            y0 = top - 1
            if f in (0, 2):
                band = rect(int(cx) - 5, y0 + 1, int(cx) + 4, y0 + 2)
                pts = set()
                for px in (int(cx) - 5, int(cx) - 1, int(cx), int(cx) + 4):
                    pts |= {(px, y0), (px, y0 - 1)}
                for px in (int(cx) - 3, int(cx) + 2):
                    pts |= {(px, y0)}
            else:
                band = rect(int(cx) - 4, y0 + 1, int(cx) + 3, y0 + 2)
                pts = {(int(cx) - 4, y0), (int(cx) - 4, y0 - 1), (int(cx), y0), (int(cx), y0 - 1),
                       (int(cx) + 3, y0), (int(cx) + 3, y0 - 1), (int(cx) - 2, y0), (int(cx) + 2, y0)}
            add(band | pts, gold, shading="top")
            if f == 2:
                c.px(int(cx) - 1, y0 + 1 - bob, spec.get("jewel", shade("red", 5)))
                c.px(int(cx), y0 + 1 - bob, spec.get("jewel", shade("red", 5)))
                c.px(int(cx) - 4, y0 + 2 - bob, shade("navy", 6))
                c.px(int(cx) + 3, y0 + 2 - bob, shade("navy", 6))
            elif f == 1:
                c.px(int(cx) + 1, y0 + 1 - bob, spec.get("jewel", shade("red", 5)))
        else:
            y0 = top
            if f == 2:
                band = rect(int(cx) - 4, y0 + 1, int(cx) + 3, y0 + 1) | {(int(cx) - 1, y0), (int(cx), y0),
                                                                          (int(cx) - 3, y0), (int(cx) + 2, y0)}
                add(band | {(int(cx) - 1, y0 - 1), (int(cx), y0 - 1)}, gold, shading="top")
                c.px(int(cx) - 1, y0 - bob, spec.get("jewel", shade("rose", 6)))
                c.px(int(cx), y0 - bob, spec.get("jewel", shade("rose", 6)))
            elif f == 1:
                add(rect(int(cx) - 2, y0, int(cx) + 3, y0) | {(int(cx) + 1, y0 - 1)}, gold, shading="top")
            else:
                add(rect(int(cx) - 3, y0 + 1, int(cx) + 2, y0 + 1), gold, shading="top")
    elif kind == "hood":
        outer = ellipse(cx, cy - 0.5, rx + 1.2, ry + 1.2)
        if f == 2:
            hood = outer | rect(int(cx - rx) - 1, int(cy), int(cx + rx), int(cy) + 5)
            add(hood, M, shading="ball")
            hole = ellipse(cx, cy + 2, rx - 2, ry - 1.5)
            add(hole, spec["hood_inner"], shading="flat", line=False)
            ey = int(cy) + 2
            for ex in (int(cx) - 3, int(cx) + 2):
                c.px(ex, ey - bob, spec["eye"])
                c.px(ex + (1 if ex < cx else -1) * 0, ey - bob, spec["eye"])
            c.px(int(cx) - 4, ey - 1 - bob, spec["eye"])
            c.px(int(cx) + 3, ey - 1 - bob, spec["eye"])
        elif f == 0:
            hood = outer | rect(int(cx - rx) - 1, int(cy), int(cx + rx), int(cy) + 5)
            add(hood | poly([(cx - 2, cy + 4), (cx + 2, cy + 4), (cx, cy + 8)]), M, shading="ball")
        else:
            hood = outer | rect(int(cx - rx) - 1, int(cy), int(cx) + 2, int(cy) + 5)
            add(hood, M, shading="ball")
            hole = ellipse(cx + 4.5, cy + 2, 3.2, ry - 2) & outer
            add(hole, spec["hood_inner"], shading="flat", line=False)
            ex = int(cx + rx) - 2
            c.px(ex, int(cy) + 2 - bob, spec["eye"])
            c.px(ex - 1, int(cy) + 1 - bob, spec["eye"])
        if spec.get("horns") is not None:
            h = spec["horns"]
            if f in (0, 2):
                for sd in (-1, 1):
                    bx = cx + sd * (rx - 1)
                    m = poly([(bx - sd * 1.5, cy - 3), (bx + sd * 2.5, cy - 4.5), (bx + sd * 4.5, top - 1.8), (bx + sd * 3.5, top - 2.4),
                              (bx + sd * 2, top - 1), (bx - sd * 1, cy - 5.5)])
                    add(m, h, shading="cyl")
            else:
                add(poly([(cx - 3, cy - 4), (cx + 1, cy - 5.5), (cx - 3, top - 2.2), (cx - 5, top - 3.4), (cx - 5.5, top)]), h,
                    shading="cyl")
    elif kind == "bandana":
        band = {(x, y) for x, y in ellipse(cx, cy - 0.5, rx + 0.8, ry + 0.8) if int(cy) - 5 <= y <= int(cy) - 3}
        if f == 2:
            add(band, M, shading="top")
        elif f == 0:
            add(band | {(int(cx), int(cy) - 2), (int(cx) - 1, int(cy) - 2), (int(cx) - 2, int(cy) - 1),
                        (int(cx) + 1, int(cy) - 1), (int(cx) - 2, int(cy)), (int(cx) + 2, int(cy))}, M, shading="top")
        else:
            add(band | {(int(cx - rx) - 1, int(cy) - 2), (int(cx - rx) - 2, int(cy) - 1), (int(cx - rx) - 2, int(cy)),
                        (int(cx - rx) - 1, int(cy) - 1)}, M, shading="top")
    elif kind == "kerchief":
        cap = ellipse(cx, cy - 0.5, rx + 0.8, ry + 0.8)
        if f == 2:
            m = {(x, y) for x, y in cap if y <= int(cy) - 3}
            m |= {(x, y) for x, y in cap if (x <= cx - rx + 1 or x >= cx + rx - 2) and y <= cy + 2}
            add(m, M, shading="ball")
            add(rect(int(cx) - 1, int(cy) + 5, int(cx), int(cy) + 6), M, shading="flat")
        elif f == 0:
            m = {(x, y) for x, y in cap if y <= cy + 3} | poly([(cx - 4, cy + 2), (cx + 4, cy + 2), (cx, cy + 7)])
            add(m, M, shading="ball")
        else:
            m = {(x, y) for x, y in cap if y <= int(cy) - 3 or x <= cx - 1}
            m |= poly([(cx - rx - 1, cy), (cx - 2, cy + 1), (cx - rx + 1, cy + 6)])
            m -= {(int(cx) - 1, int(cy) + 1), (int(cx) - 1, int(cy) + 2)}
            add(m, M, shading="ball")
        if spec.get("dots") is not None:
            for x, y in list(m):
                if (x * 3 + y * 5) % 7 == 0:
                    c.px(x, y - bob, spec["dots"])
    elif kind == "cap":
        cap = above(ellipse(cx, cy - 0.5, rx + 0.8, ry + 0.8), int(cy) - 2)
        if f == 2:
            add(cap, M, shading="ball")
            add(rect(int(cx) - 4, int(cy) - 2, int(cx) + 3, int(cy) - 2), spec.get("rim", M), shading="flat")
        elif f == 0:
            add(cap, M, shading="ball")
        else:
            add(cap | rect(int(cx), int(cy) - 2, int(cx + rx) + 2, int(cy) - 2), M, shading="ball")
