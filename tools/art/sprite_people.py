"""The people of Talmyr: one body builder that composes every character sheet from shared parts
(head, hair styles, hats, torso, dress, cape, arms, legs, held items), each with its own colours.

A character is a dict (see CHARACTERS in gen_sprites.py); `person(spec, facing, frame)` paints one
32x32 cell. Facings: 0 up (back), 1 right, 2 down (front), 3 left (mirror of right).
"""
from sprite_paint import Canvas, ellipse, rect, rows, poly, shift, above, shade

EYE = shade("grey", 1)
WHITE = shade("grey", 15)

BUILDS = {
    # cx, cy, rx, ry: head ellipse; t0..t1 torso rows; thw torso half width (front); aw arm width;
    # a0..a1 sleeve rows (hands below); belt row; l0 first leg row; s0 first shoe row; fy foot row
    "adult": dict(cx=16, cy=9.5, rx=7, ry=6, t0=15, t1=23, thw=6, aw=3, a0=16, a1=21, belt=22,
                  l0=24, s0=29, fy=30, shw=4),
    "big": dict(cx=16, cy=9.5, rx=7, ry=6, t0=15, t1=23, thw=7, aw=3, a0=16, a1=21, belt=22,
                l0=24, s0=29, fy=30, shw=5),
    "child": dict(cx=16, cy=14.5, rx=6.5, ry=5.5, t0=19, t1=25, thw=5, aw=2, a0=20, a1=23, belt=24,
                  l0=26, s0=29, fy=30, shw=3),
}


# ------------------------------------------------------------------ heads

def head_mask(g, facing):
    if facing == 1:
        return ellipse(g["cx"] + 0.5, g["cy"], g["rx"] - 0.5, g["ry"])
    return ellipse(g["cx"], g["cy"], g["rx"], g["ry"])


def hair_front(g, style):
    cx, cy, rx, ry = g["cx"], g["cy"], g["rx"], g["ry"]
    top = int(cy - ry)
    cap = ellipse(cx, cy - 0.5, rx + 0.6, ry + 0.6)
    m = above(cap, int(cy) - 2)
    fr = int(cy) - 2  # fringe row
    if style == "bald":
        side = {(x, y) for x, y in cap if (x <= cx - rx + 1 or x >= cx + rx - 2) and fr - 1 <= y <= cy + 1}
        return side
    if style in ("spiky", "short", "boy"):
        for x in range(int(cx - rx), int(cx + rx)):
            if (x + (1 if style == "spiky" else 0)) % 3 != 0:
                m.add((x, fr))
        m |= {(x, y) for x, y in cap if (x <= cx - rx + 1 or x >= cx + rx - 2) and y <= cy + 1}
        if style == "spiky":
            for x, h in ((cx - 5, 2), (cx - 2, 3), (cx + 1, 3), (cx + 4, 2)):
                m |= {(x, top - i) for i in range(h)} | {(x - 1, top - i) for i in range(h - 1)}
    elif style in ("long", "bun", "twin", "curly"):
        for x in range(int(cx - rx), int(cx + rx)):
            if x not in (int(cx) - 1, int(cx)):
                m.add((x, fr))
            if x <= cx - 3 or x >= cx + 2:
                m.add((x, fr + 1))
        side = {(x, y) for x, y in cap if (x <= cx - rx + 1 or x >= cx + rx - 2)}
        m |= side
        if style == "long":
            m |= rect(int(cx - rx) - 1, int(cy), int(cx - rx) + 1, int(cy) + 6)
            m |= rect(int(cx + rx) - 2, int(cy), int(cx + rx), int(cy) + 6)
        if style == "curly":
            m |= rect(int(cx - rx) - 1, int(cy) - 2, int(cx - rx) + 1, int(cy) + 3)
            m |= rect(int(cx + rx) - 2, int(cy) - 2, int(cx + rx), int(cy) + 3)
    elif style == "messy":
        for x in range(int(cx - rx), int(cx + rx)):
            if x % 2 == 0:
                m.add((x, fr))
            if x % 4 == 1:
                m.add((x, fr + 1))
        m |= {(x, y) for x, y in cap if (x <= cx - rx + 1 or x >= cx + rx - 2) and y <= cy + 2}
        m |= {(cx - 6, top), (cx + 5, top), (cx - 1, top - 1)}
    return m


def hair_back(g, style):
    cx, cy, rx, ry = g["cx"], g["cy"], g["rx"], g["ry"]
    cap = ellipse(cx, cy - 0.5, rx + 0.6, ry + 0.6)
    if style == "bald":
        return {(x, y) for x, y in cap if (x <= cx - rx + 1 or x >= cx + rx - 2) and cy - 3 <= y <= cy + 2} | \
            {(x, y) for x, y in cap if cy + 1 <= y <= cy + 3 and abs(x + 0.5 - cx) < rx - 1}
    m = {(x, y) for x, y in cap if y <= cy + 3}
    if style == "spiky":
        top = int(cy - ry)
        for x, h in ((cx - 5, 2), (cx - 2, 3), (cx + 1, 3), (cx + 4, 2)):
            m |= {(x, top - i) for i in range(h)} | {(x - 1, top - i) for i in range(h - 1)}
    if style == "long":
        m |= poly([(cx - rx - 0.5, cy), (cx + rx + 0.5, cy), (cx + rx - 0.5, cy + 9), (cx - rx + 0.5, cy + 9)])
    if style == "curly":
        m |= ellipse(cx, cy + 2, rx + 1, ry - 1)
    if style == "messy":
        m |= {(cx - 6, int(cy - ry)), (cx + 5, int(cy - ry)), (cx - 3, int(cy + 4)), (cx + 2, int(cy + 4))}
    return m


def hair_side(g, style):
    cx, cy, rx, ry = g["cx"] + 0.5, g["cy"], g["rx"] - 0.5, g["ry"]
    cap = ellipse(cx - 0.5, cy - 0.5, rx + 0.8, ry + 0.6)
    fr = int(cy) - 2
    if style == "bald":
        return {(x, y) for x, y in cap if x <= cx - 3 and cy - 2 <= y <= cy + 2} | {(int(cx) - 2, int(cy) + 2)}
    m = {(x, y) for x, y in cap if y < fr or x < cx - 1 or (y <= cy + 2 and x < cx + 0)}
    if style in ("spiky", "short", "boy", "messy"):
        m |= {(x, fr) for x in range(int(cx), int(cx + rx)) if x % 2 == 0}
    else:
        m |= {(x, fr) for x in range(int(cx), int(cx + rx) + 1)}
        m |= {(x, fr + 1) for x in range(int(cx) + 2, int(cx + rx) + 1) if x % 2 == 1}
    m -= {(int(cx) - 1, int(cy) + 1), (int(cx) - 1, int(cy) + 2)}  # ear
    if style == "spiky":
        top = int(cy - ry)
        m |= {(int(cx) - 4, top), (int(cx) - 5, top + 1), (int(cx) - 1, top - 1), (int(cx) - 2, top - 1),
              (int(cx) + 2, top - 1), (int(cx) - 7, top + 3), (int(cx) - 8, top + 4)}
    if style == "long":
        m |= poly([(cx - rx - 1, cy - 1), (cx - 1, cy - 1), (cx - 1.5, cy + 10), (cx - rx - 0.5, cy + 10)])
    if style == "curly":
        m |= ellipse(cx - 3, cy + 2, 4.5, 4)
    if style == "messy":
        m |= {(int(cx) - 8, int(cy)), (int(cx) - 7, int(cy) + 3), (int(cx) - 2, int(cy - ry) - 1)}
    return m


# ------------------------------------------------------------------ the body

def person(spec, facing, frame):
    """Paints one cell; facing 3 is painted as facing 1 and mirrored by the caller."""
    if spec.get("kind") == "hen":
        from sprite_hen import hen
        return hen(spec, facing, frame)
    g = dict(BUILDS[spec.get("build", "adult")])
    bob = spec.get("bob", 0) if frame == 1 else 0
    c = Canvas()
    f = 1 if facing == 3 else facing
    sign = 1 if frame == 0 else -1
    cx, cy = g["cx"], g["cy"]
    skin = spec["skin"]
    top = spec["top"]
    sleeve = spec.get("sleeve", top)
    legs = spec.get("legs", top)
    shoes = spec["shoes"]
    dress = spec.get("dress")  # None, 'short' (tunic flare), 'long' (to the feet)
    cape = spec.get("cape")
    item = spec.get("item")
    t0, t1, thw, aw = g["t0"], g["t1"], g["thw"], g["aw"]

    def body_y(m):
        return shift(m, 0, -bob) if bob else m

    # --- behind everything: cape (front & side), long hair (front view)
    if cape is not None and f == 2:
        c.add(poly([(cx - thw + 0.5, t0 + 1), (cx + thw - 0.5, t0 + 1), (cx + thw + 3, g["fy"] - 1),
                    (cx - thw - 3, g["fy"] - 1)]), cape, shading="cyl")
    if cape is not None and f == 1:
        c.add(poly([(cx - 4, t0 + 0.5), (cx + 1, t0 + 0.5), (cx - 1, g["fy"] - 0.5), (cx - 8, g["fy"] - 0.5)]),
              cape, shading="cyl")
    if f == 2 and spec.get("hair_style") == "long":
        c.add(poly([(cx - g["rx"] - 0.5, cy), (cx + g["rx"] + 0.5, cy), (cx + g["rx"] - 0.5, cy + 9),
                    (cx - g["rx"] + 0.5, cy + 9)]), spec["hair"], shading="cyl")
    if item == "spear" and f == 0:
        _spear(c, spec, cx + thw + 1, g)
    if item == "staff" and f == 0:
        _staff(c, spec, cx - thw - 2, g)

    # --- legs & shoes
    fy, s0, l0 = g["fy"], g["s0"], g["l0"]
    if f in (0, 2):
        for side, (x0, x1) in ((-1, (cx - 4, cx - 1)), (1, (cx, cx + 3))):
            lift = spec.get("lift", 1 if dress == "long" else 2) if (side == -1) == (frame == 0) else 0
            if dress != "long":
                c.add(rect(x0, l0 - 1, x1, s0 - 1 - lift), legs, shading="cyl")
            sx0, sx1 = (x0 - 1, x1) if side == -1 else (x0, x1 + 1)
            c.add(rect(sx0, s0 - lift, sx1, fy - lift), shoes, shading="top")
    else:
        if frame == 0:  # stride
            back = poly([(cx - 2.5, l0 - 1), (cx + 0.5, l0 - 1), (cx - 2, s0), (cx - 5, s0)])
            front = poly([(cx - 0.5, l0 - 1), (cx + 2.5, l0 - 1), (cx + 5, s0), (cx + 2, s0)])
            if dress != "long":
                c.add(back, legs, shading="cyl")
            c.add(rect(cx - 6, s0, cx - 2, fy), shoes, shading="top")
            if dress != "long":
                c.add(front, legs, shading="cyl")
            c.add(rect(cx + 2, s0, cx + 6, fy), shoes, shading="top")
        else:  # passing
            if dress != "long":
                c.add(rect(cx - 2, l0 - 1, cx + 1, s0 - 1), legs, shading="cyl")
            c.add(rect(cx - 2, s0, cx + 3, fy), shoes, shading="top")

    # --- torso
    if f in (0, 2):
        tor = rows([(t0, cx - thw + 1, cx + thw - 2)] + [(y, cx - thw, cx + thw - 1) for y in range(t0 + 1, t1 + 1)])
    else:
        shw = g["shw"]
        tor = rows([(t0, cx - shw + 1, cx + shw - 1)] + [(y, cx - shw, cx + shw) for y in range(t0 + 1, t1 + 1)])
    tor = body_y(tor)
    if dress == "long":
        w0 = g["belt"]
        sway = sign if f in (0, 2) else 0
        wide = 1 if (f == 1 and frame == 0) else 0
        if f in (0, 2):
            sk = poly([(cx - thw, w0), (cx + thw, w0), (cx + thw + 2.5 + sway, fy), (cx - thw - 2.5 + sway, fy)])
        else:
            sk = poly([(cx - g["shw"], w0), (cx + g["shw"] + 1, w0), (cx + g["shw"] + 3 + wide, fy),
                       (cx - g["shw"] - 2 - wide, fy)])
        sk = {(x, y) for x, y in sk if y <= fy - 2}
        c.add(body_y(sk), spec.get("skirt", top), shading="cyl")
        if spec.get("hem"):
            c.add({(x, y) for x, y in body_y(sk) if y == fy - 2 - bob}, spec["hem"], shading="flat", line=False)
    c.add(tor, top, shading="cyl")
    if dress == "short":
        w0 = g["belt"]
        if f in (0, 2):
            sk = poly([(cx - thw, w0), (cx + thw, w0), (cx + thw + 1, l0 + 2), (cx - thw - 1, l0 + 2)])
        else:
            sk = poly([(cx - g["shw"], w0), (cx + g["shw"] + 1, w0), (cx + g["shw"] + 2, l0 + 2), (cx - g["shw"] - 1, l0 + 2)])
        if spec.get("ragged"):
            sk -= {(x, y) for x, y in sk if y == l0 + 1 and x % 3 == 0}
        c.add(body_y(sk), spec.get("skirt", top), shading="cyl", line=False)
    if spec.get("apron") is not None:
        if f == 2:
            c.add(body_y(poly([(cx - 3.5, g["belt"]), (cx + 3.5, g["belt"]), (cx + 4.5, fy - 2), (cx - 4.5, fy - 2)])),
                  spec["apron"], shading="cyl")
        elif f == 1:
            c.add(body_y(poly([(cx + g["shw"] - 1, g["belt"]), (cx + g["shw"] + 1, g["belt"]), (cx + g["shw"] + 3, fy - 3),
                               (cx + g["shw"], fy - 3)])), spec["apron"], shading="cyl")
    if spec.get("chest") is not None and f in (0, 2) and not (f == 0 and spec.get("chest_front_only")):
        chest = spec["chest"]
        c.add(body_y(rows([(y, cx - thw + 2, cx + thw - 3) for y in range(t0 + 1, g["belt"])])), chest, shading="cyl")
    if spec.get("chest") is not None and f == 1 and not spec.get("chest_front_only"):
        c.add(body_y(rows([(y, cx - 1, cx + g["shw"] - 1) for y in range(t0 + 1, g["belt"])])), spec["chest"],
              shading="cyl")
    belt = spec.get("belt")
    if belt is not None:
        if f in (0, 2):
            bw = thw + (1 if dress == "short" else 0)
            c.add(body_y(rect(cx - bw, g["belt"], cx + bw - 1, g["belt"])), belt, shading="flat")
            if f == 2 and spec.get("buckle") is not None:
                c.px(cx - 1, g["belt"] - bob, spec["buckle"])
                c.px(cx, g["belt"] - bob, spec["buckle"])
        else:
            c.add(body_y(rect(cx - g["shw"], g["belt"], cx + g["shw"] + (1 if dress == "short" else 0), g["belt"])),
                  belt, shading="flat")
    if spec.get("patches") and f in (0, 2):
        p = spec["patches"]
        c.add(body_y(rect(cx - 4, t0 + 3, cx - 3, t0 + 4)), p, shading="flat", line=False)
        c.add(body_y(rect(cx + 2, t0 + 5, cx + 3, t0 + 5)), p, shading="flat", line=False)
    if spec.get("collar") is not None:
        col = spec["collar"]
        if f in (0, 2):
            c.add(body_y(rows([(t0, cx - thw + 1, cx + thw - 2), (t0 + 1, cx - thw, cx + thw - 1)])), col, shading="top")
        else:
            c.add(body_y(rows([(t0, cx - g["shw"], cx + g["shw"]), (t0 + 1, cx - g["shw"], cx + g["shw"])])), col,
                  shading="top")
    if spec.get("scarf") is not None:
        sc = spec["scarf"]
        if f == 2:
            c.add(body_y(rect(cx - 4, t0, cx + 3, t0 + 1) | rect(cx + 1, t0 + 2, cx + 2, t0 + 4)), sc, shading="flat")
        elif f == 0:
            c.add(body_y(rect(cx - 4, t0, cx + 3, t0 + 1) | rect(cx - 3, t0 + 2, cx - 2, t0 + 4)), sc, shading="flat")
        else:
            c.add(body_y(rect(cx - 3, t0, cx + 3, t0 + 1) | {(cx - 4, t0 + 2), (cx - 5, t0 + 3 - frame),
                                                             (cx - 6, t0 + 3 - frame)}), sc, shading="flat")

    # --- arms
    late = []
    hands_hold = item in ("spear", "cane", "staff")
    if f in (0, 2):
        for side in (-1, 1):
            if side == -1:
                ax0 = cx - thw - aw
            else:
                ax0 = cx + thw
            hs = 1 if item == "staff" else -1  # the hand holding the item, seen from the front
            holding = hands_hold and ((f == 2 and side == hs) or (f == 0 and side == -hs))
            dy = 0 if holding else (sign if side == -1 else -sign)
            if spec.get("arms_still"):
                dy = 0
            if holding and f == 2:
                _held_front(c, spec, ax0, g)
            sl = rows([(g["a0"] + dy, ax0 + (1 if side == -1 else 0), ax0 + aw - (1 if side == 1 else 0) - 1)] +
                      [(y, ax0, ax0 + aw - 1) for y in range(g["a0"] + 1 + dy, g["a1"] + 1 + dy)])
            c.add(body_y(sl), sleeve, shading="cyl")
            if spec.get("cuff") is not None:
                c.add(body_y(rect(ax0, g["a1"] + dy, ax0 + aw - 1, g["a1"] + dy)), spec["cuff"], shading="flat")
            hand = rect(ax0, g["a1"] + 1 + dy, ax0 + aw - 1, g["a1"] + 2 + dy)
            c.add(body_y(hand), spec.get("gloves", skin), shading="ball")
    else:
        if hands_hold:
            hx = cx + 6 if item != "cane" else cx + 4
            ay = g["a1"] - 2
            sl = poly([(cx - 1.5, g["a0"] - 0.5), (cx + 1.5, g["a0"] - 0.5), (hx - 0.5, ay - 1), (hx - 0.5, ay + 1.5),
                       (cx - 1.5, g["a0"] + 3)])
            c.add(body_y(sl), sleeve, shading="cyl")

            def held(hx=hx):
                if item == "spear":
                    _spear(c, spec, hx, g)
                elif item == "staff":
                    _staff(c, spec, hx, g)
                else:
                    c.add(rect(hx + 1, ay, hx + 1, fy), spec["cane"], shading="flat")
                    c.add(rect(hx - 1, ay - 1, hx + 1, ay - 1), spec["cane"], shading="flat")
                c.add(body_y(rect(hx - 1, ay, hx + 1, ay + 1)), spec.get("gloves", skin), shading="ball")
            late.append(held)
        else:
            hx = cx + 2 if frame == 0 else cx - 2
            if spec.get("arms_still"):
                hx = cx
            sl = poly([(cx - 1.5, g["a0"] - 0.5), (cx + 1.5, g["a0"] - 0.5), (hx + 1.5, g["a1"] + 0.5), (hx - 1.5, g["a1"] + 0.5)])
            c.add(body_y(sl), sleeve, shading="cyl")
            if spec.get("cuff") is not None:
                c.add(body_y(rect(hx - 1, g["a1"], hx + 1, g["a1"])), spec["cuff"], shading="flat")
            c.add(body_y(rect(hx - 1, g["a1"] + 1, hx + 1, g["a1"] + 2)), spec.get("gloves", skin), shading="ball")

    # --- back view: cape over the body, long hair, spear in front
    if cape is not None and f == 0:
        c.add(body_y(poly([(cx - thw + 0.5, t0 - 0.5), (cx + thw - 0.5, t0 - 0.5), (cx + thw + 2.5, fy - 0.5),
                           (cx - thw - 2.5, fy - 0.5)])), cape, shading="cyl")
        if spec.get("collar") is not None:
            c.add(body_y(rows([(t0, cx - thw + 1, cx + thw - 2), (t0 + 1, cx - thw, cx + thw - 1)])), spec["collar"],
                  shading="top")

    # --- head
    hm = body_y(head_mask(g, f))
    c.add(hm, skin, shading="ball")
    style = spec.get("hair_style", "short")
    hair = spec.get("hair")
    hat = spec.get("hat")
    if f == 2:
        _face_front(c, spec, g, bob)
    elif f == 1:
        _face_side(c, spec, g, bob)
    if hair is not None and not spec.get("hood"):
        hmask = {"0": hair_back, "1": hair_side, "2": hair_front}[str(f)](g, style)
        c.add(body_y(hmask), hair, shading="ball")
        if style in ("bun", "long", "curly") and f == 2:
            for y in range(int(cy - g["ry"]) + 1, int(cy) - 2):
                c.px(cx - 1, y - bob, hair.line)
        if style == "bun":
            if f == 2:
                c.add(body_y(ellipse(cx, cy - g["ry"] - 0.5, 3, 2.5)), hair, shading="ball")
            elif f == 0:
                c.add(body_y(ellipse(cx, cy - 1.5, 3, 2.5)), hair, shading="ball")
            else:
                c.add(body_y(ellipse(cx - 4, cy - g["ry"] + 0.5, 3, 2.5)), hair, shading="ball")
        if style == "twin":
            if f in (0, 2):
                c.add(body_y(ellipse(cx - g["rx"] - 1.5, cy + 1, 2, 3.5)), hair, shading="ball")
                c.add(body_y(ellipse(cx + g["rx"] + 1.5, cy + 1, 2, 3.5)), hair, shading="ball")
            else:
                c.add(body_y(ellipse(cx - g["rx"] + 0.5, cy + 1.5, 2, 3.5)), hair, shading="ball")
            if spec.get("ribbon") is not None:
                rb = spec["ribbon"]
                if f in (0, 2):
                    c.add(body_y(rect(int(cx - g["rx"] - 2), int(cy - 3), int(cx - g["rx"] - 1), int(cy - 2))), rb, shading="flat")
                    c.add(body_y(rect(int(cx + g["rx"]), int(cy - 3), int(cx + g["rx"] + 1), int(cy - 2))), rb, shading="flat")
                else:
                    c.add(body_y(rect(int(cx - g["rx"]), int(cy - 2), int(cx - g["rx"] + 1), int(cy - 1))), rb, shading="flat")
    if spec.get("beard") is not None:
        _beard(c, spec, g, f, bob)
    if hat:
        from sprite_hats import draw_hat
        draw_hat(c, spec, g, f, bob)
    if spec.get("pauldrons") is not None:
        _pauldrons(c, spec, g, f, bob)
    for fn in late:
        fn()
    return c.render()


def _face_front(c, spec, g, bob):
    cx, cy = g["cx"], g["cy"]
    ey = int(cy) + 1 - bob
    eye = spec.get("eye", EYE)
    if spec.get("closed_eyes"):
        c.px(cx - 4, ey + 1, eye)
        c.px(cx - 3, ey + 1, eye)
        c.px(cx + 2, ey + 1, eye)
        c.px(cx + 3, ey + 1, eye)
    else:
        for ex in (cx - 4, cx + 3):
            c.px(ex, ey, eye)
            c.px(ex, ey + 1, eye)
    if spec.get("blush"):
        c.px(cx - 5, ey + 2, shade("rose", 6))
        c.px(cx + 4, ey + 2, shade("rose", 6))
    if spec.get("mouth"):
        c.px(cx - 1, ey + 3, spec["mouth"])
        c.px(cx, ey + 3, spec["mouth"])


def _face_side(c, spec, g, bob):
    cx, cy = g["cx"] + 0.5, g["cy"]
    ey = int(cy) + 1 - bob
    eye = spec.get("eye", EYE)
    ex = int(cx + g["rx"] - 3.5)
    if spec.get("closed_eyes"):
        c.px(ex, ey + 1, eye)
        c.px(ex + 1, ey + 1, eye)
    else:
        c.px(ex, ey, eye)
        c.px(ex, ey + 1, eye)
    if spec.get("blush"):
        c.px(ex - 1, ey + 2, shade("rose", 6))
    if spec.get("mouth"):
        c.px(ex + 1, ey + 3, spec["mouth"])


def _beard(c, spec, g, f, bob):
    cx, cy, rx = g["cx"], g["cy"], g["rx"]
    b = spec["beard"]
    if f == 2:
        m = poly([(cx - rx + 1, cy + 1), (cx + rx - 1, cy + 1), (cx + 3, cy + 9), (cx, cy + 10.5), (cx - 3, cy + 9)])
        m -= rect(cx - 4, int(cy) + 1, cx + 3, int(cy) + 2)
        m -= rect(cx - 1, int(cy) + 3, cx, int(cy) + 3)
        c.add(shift(m, 0, -bob), b, shading="cyl")
        if spec.get("mustache"):
            c.add(shift(rect(cx - 3, int(cy) + 3, cx + 2, int(cy) + 3) - rect(cx - 1, int(cy) + 3, cx, int(cy) + 3), 0, -bob),
                  b, shading="flat", line=False)
    elif f == 1:
        m = poly([(cx + 0.5, cy + 2.5), (cx + rx, cy + 3), (cx + 4, cy + 9), (cx + 1, cy + 7.5)])
        c.add(shift(m, 0, -bob), b, shading="cyl")


def _pauldrons(c, spec, g, f, bob):
    p = spec["pauldrons"]
    cx, t0, thw = g["cx"], g["t0"], g["thw"]
    spikes = spec.get("spikes")
    if f in (0, 2):
        for side in (-1, 1):
            px_ = cx - thw - 0.5 if side == -1 else cx + thw + 0.5
            m = ellipse(px_, t0 + 1.5, 3, 2.2)
            c.add(shift(m, 0, -bob), p, shading="ball")
            if spikes is not None:
                sx = int(px_) + (-1 if side == -1 else 0)
                c.add(shift({(sx, t0 - 1), (sx, t0 - 2), (sx + side, t0 - 3)}, 0, -bob), spikes, shading="flat")
    else:
        m = ellipse(cx + 0.5, t0 + 2, 3.5, 2.5)
        c.add(shift(m, 0, -bob), p, shading="ball")
        if spikes is not None:
            c.add(shift({(cx, t0 - 1), (cx, t0 - 2), (cx - 1, t0 - 3)}, 0, -bob), spikes, shading="flat")


def _spear(c, spec, x, g, front=False):
    wood, steel = spec["shaft"], spec["blade"]
    c.add(rect(x, 4, x, g["fy"]), wood, shading="flat")
    c.add(poly([(x + 0.5, 0.6), (x + 2.5, 3.5), (x + 0.5, 6), (x - 1.5, 3.5)]), steel, shading="cyl")


def _staff(c, spec, x, g):
    c.add(rect(x, 9, x, g["fy"]), spec["shaft"], shading="flat")
    c.add({(x - 1, 9), (x + 1, 9), (x - 2, 8), (x + 2, 8)}, spec["shaft"], shading="flat")
    c.add(ellipse(x + 0.5, 6.5, 2.5, 2.5), spec["orb"], shading="ball")


def _held_front(c, spec, ax0, g):
    item = spec["item"]
    x = ax0 + 1
    if item == "spear":
        _spear(c, spec, x, g)
    elif item == "staff":
        _staff(c, spec, ax0 + g["aw"] - 1, g)
    elif item == "cane":
        c.add(rect(x, g["a1"] + 1, x, g["fy"]), spec["cane"], shading="flat")
