#!/usr/bin/python3
"""Paints the four full-screen pictures of the game into data/art/ (320x240, indexed, each with its
own palette): the title (img_intro), the parchment (img_parch2), the victory picture (img_bravo)
and the game over (img_gameover).

    /usr/bin/python3 tools/art/gen_pictures.py [--preview DIR]

Everything is painted in RGB with a retro touch (colour bands with ordered dithering, hard-edged
text), then turned into a palette picture.
"""
import argparse
import math
import os
import random

from PIL import Image, ImageDraw, ImageFilter, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
ART = os.path.normpath(os.path.join(HERE, "..", "..", "data", "art"))
FONTS = "/usr/share/fonts/truetype/dejavu"
W, H = 320, 240

BAYER4 = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


# ------------------------------------------------------------------ helpers

def lerp(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def ramp_color(stops, t):
    """Colour at t (0..1) along a list of (t, rgb) stops."""
    t = max(0.0, min(1.0, t))
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            return lerp(c0, c1, (t - t0) / (t1 - t0) if t1 > t0 else 0)
    return stops[-1][1]


def banded(stops, t, x, y, bands):
    """Colour t quantised to `bands` steps with 4x4 ordered dithering between steps."""
    v = max(0.0, min(1.0, t)) * (bands - 1)
    lo = int(v)
    frac = v - lo
    if frac * 16 > BAYER4[y % 4][x % 4] + 0.5:
        lo += 1
    return ramp_color(stops, min(lo, bands - 1) / (bands - 1))


def font(name, size):
    return ImageFont.truetype(os.path.join(FONTS, name), size)


def text_mask(txt, fnt, spacing=0):
    """Hard-edged (no antialias) mask of a text line, tightly cropped."""
    w = int(fnt.getlength(txt)) + 8 + spacing * len(txt)
    asc, desc = fnt.getmetrics()
    m = Image.new("L", (w, asc + desc + 8), 0)
    d = ImageDraw.Draw(m)
    d.fontmode = "1"
    if spacing:
        x = 4
        for ch in txt:
            d.text((x, 4), ch, font=fnt, fill=255)
            x += fnt.getlength(ch) + spacing
    else:
        d.text((4, 4), txt, font=fnt, fill=255)
    box = m.getbbox()
    return m.crop(box)


def grow(mask, r):
    """Dilates a mask by r pixels (square)."""
    return mask.filter(ImageFilter.MaxFilter(2 * r + 1)) if r > 0 else mask


def pad(mask, p):
    out = Image.new("L", (mask.width + 2 * p, mask.height + 2 * p), 0)
    out.paste(mask, (p, p))
    return out


def fill_vertical(img, mask, pos, stops):
    """Pastes a vertical gradient through a mask at pos."""
    g = Image.new("RGB", mask.size)
    px = g.load()
    for y in range(mask.height):
        c = ramp_color(stops, y / max(1, mask.height - 1))
        for x in range(mask.width):
            px[x, y] = c
    img.paste(g, pos, mask)


def fancy_text(img, txt, fnt, center_x, top, stops, outline, outline_w=2, shadow=None, shadow_off=(2, 2),
               glow=None, spacing=0):
    """Draws text with a gradient face, an outline, a drop shadow and an optional glow."""
    m = text_mask(txt, fnt, spacing)
    p = outline_w + max(abs(shadow_off[0]), abs(shadow_off[1])) + (6 if glow else 0)
    m = pad(m, p)
    x = int(center_x - m.width / 2)
    if glow:
        for r, col in glow:
            img.paste(col, (x, top - p), grow(m, outline_w + r))
    if shadow:
        img.paste(shadow, (x + shadow_off[0], top - p + shadow_off[1]), grow(m, outline_w))
    img.paste(outline, (x, top - p), grow(m, outline_w))
    face = Image.new("L", m.size, 0)
    face.paste(m, (0, 0))
    fill_vertical(img, face.crop(face.getbbox()), (x + face.getbbox()[0], top - p + face.getbbox()[1]), stops)
    return x, top - p, m


def to_p(img, colors=256):
    """RGB -> palette picture; exact when the picture has at most 256 colours."""
    cols = img.getcolors(256)
    if cols is not None:
        pal = [c for _, c in cols]
        index = {c: i for i, c in enumerate(pal)}
        out = Image.new("P", img.size)
        flat = []
        for c in pal:
            flat.extend(c)
        out.putpalette(flat + [0] * (768 - len(flat)))
        out.putdata([index[c] for c in img.getdata()])
        return out
    return img.quantize(colors=colors, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)


def posterise_444(img):
    """Keeps 4 bits of red and blue and 6 of green: what the title picture becomes in the game."""
    return img.point(lambda v: v).convert("RGB").point(
        [v & 0xF0 for v in range(256)] + [v & 0xFC for v in range(256)] + [v & 0xF0 for v in range(256)])


# ------------------------------------------------------------------ scenery pieces

def castle_silhouette(d, x0, base, scale, color, window=None):
    """A small castle: keep, towers with battlements and pointed roofs, a flag."""
    s = scale

    def tower(x, w, h, roof=True):
        d.rectangle([x, base - h, x + w, base], fill=color)
        for k in range(0, w + 1, max(2, int(3 * s))):
            d.rectangle([x + k, base - h - int(2 * s), x + k + max(1, int(1.5 * s)) - 1, base - h], fill=color)
        if roof:
            d.polygon([(x - 1, base - h - int(2 * s)), (x + w + 1, base - h - int(2 * s)),
                       (x + w / 2, base - h - int(9 * s))], fill=color)
            d.line([(x + w / 2, base - h - int(9 * s)), (x + w / 2, base - h - int(14 * s))], fill=color)
            d.polygon([(x + w / 2, base - h - int(14 * s)), (x + w / 2 + int(5 * s), base - h - int(12.5 * s)),
                       (x + w / 2, base - h - int(11 * s))], fill=color)
        if window:
            d.rectangle([x + w // 2 - 1, base - h + int(5 * s), x + w // 2, base - h + int(8 * s)], fill=window)

    d.rectangle([x0, base - int(14 * s), x0 + int(60 * s), base], fill=color)
    for k in range(0, int(60 * s), max(2, int(4 * s))):
        d.rectangle([x0 + k, base - int(16 * s), x0 + k + max(1, int(2 * s)) - 1, base - int(14 * s)], fill=color)
    tower(x0 - int(4 * s), int(10 * s), int(24 * s))
    tower(x0 + int(54 * s), int(10 * s), int(24 * s))
    tower(x0 + int(22 * s), int(16 * s), int(34 * s))
    tower(x0 + int(12 * s), int(7 * s), int(20 * s), roof=True)
    tower(x0 + int(42 * s), int(7 * s), int(20 * s), roof=True)
    if window:
        d.rectangle([x0 + int(27 * s), base - int(9 * s), x0 + int(32 * s), base], fill=window)


def paste_sprite(img, who, x, y):
    """Pastes a character of the game (facing the viewer, standing) at (x, y)."""
    import sys
    sys.path.insert(0, HERE)
    import palette
    from sprite_people import person
    from sprite_cast import CHARACTERS
    spec = dict(CHARACTERS[who], lift=0)
    cell = person(spec, 2, 0)
    px = img.load()
    for yy, row in enumerate(cell):
        for xx, c in enumerate(row):
            if c != palette.TRANSPARENT:
                px[x + xx, y + yy] = palette.COLORS[c]


# ------------------------------------------------------------------ the pictures

def intro():
    rnd = random.Random(2)
    img = Image.new("RGB", (W, H))
    px = img.load()
    horizon = 128
    sky = [(0.0, (24, 20, 72)), (0.35, (88, 44, 120)), (0.65, (192, 72, 112)), (0.85, (240, 112, 72)),
           (1.0, (252, 164, 72))]
    for y in range(horizon):
        for x in range(W):
            px[x, y] = banded(sky, y / (horizon - 1), x, y, 14)
    sun_x, sun_r = 262, 26
    sea = [(0.0, (40, 60, 128)), (0.5, (24, 36, 92)), (1.0, (12, 16, 52))]
    for y in range(horizon, H):
        for x in range(W):
            px[x, y] = banded(sea, (y - horizon) / (H - horizon - 1), x, y, 8)
    d = ImageDraw.Draw(img)
    # stars
    for _ in range(40):
        x, y = rnd.randrange(W), rnd.randrange(0, 45)
        px[x, y] = (255, 240, 200) if rnd.random() < 0.5 else (180, 170, 230)
    # sun with stripes
    for y in range(horizon - sun_r, horizon):
        for x in range(sun_x - sun_r, sun_x + sun_r + 1):
            if (x - sun_x) ** 2 + (y - horizon) ** 2 <= sun_r * sun_r:
                dy = horizon - y
                gap = dy < 14 and (dy % 4 == 1 or (dy < 7 and dy % 2 == 1))
                if not gap:
                    px[x, y] = ramp_color([(0, (255, 252, 220)), (0.6, (255, 232, 128)), (1, (255, 196, 64))],
                                          1 - dy / sun_r)
    # clouds
    for cx, cy, w in ((60, 70, 46), (140, 92, 60), (290, 60, 40), (20, 104, 30)):
        for k in range(3):
            d.ellipse([cx - w // 2 + k * w // 4, cy - 4 - (k % 2) * 3, cx + k * w // 4, cy + 3], fill=(150, 72, 120))
        d.rectangle([cx - w // 2, cy + 2, cx + w // 2 + 10, cy + 3], fill=(236, 120, 104))
    # a few gulls far away
    for bx, by in ((292, 86), (303, 79), (284, 77), (24, 52), (34, 46)):
        d.line([(bx - 3, by - 1), (bx - 1, by), (bx, by + 1)], fill=(60, 24, 64))
        d.line([(bx, by + 1), (bx + 1, by), (bx + 3, by - 1)], fill=(60, 24, 64))
    # island and castle silhouette
    isl = (36, 18, 56)
    d.polygon([(0, horizon), (0, horizon - 10), (20, horizon - 18), (50, horizon - 22), (80, horizon - 16),
               (110, horizon - 6), (128, horizon)], fill=isl)
    castle_silhouette(d, 28, horizon - 18, 1.0, isl, window=(255, 200, 90))
    d.polygon([(262, horizon), (280, horizon - 7), (300, horizon - 9), (320, horizon - 5), (320, horizon)], fill=isl)
    # sun glitter on the sea
    for y in range(horizon + 1, H, 3):
        spread = 10 + (y - horizon) * 0.55
        n = 3 + (y - horizon) // 12
        for _ in range(n):
            x = int(sun_x + rnd.uniform(-spread, spread))
            ln = rnd.randint(3, 10)
            bright = max(0.0, 1 - (y - horizon) / 120)
            col = lerp((60, 80, 150), (255, 200, 120), bright)
            d.line([(x, y), (x + ln, y)], fill=col)
    for y in range(horizon + 4, H, 7):
        for _ in range(5):
            x = rnd.randrange(W)
            d.line([(x, y), (x + rnd.randint(4, 12), y)], fill=(64, 88, 160))
    d.line([(0, horizon), (W, horizon)], fill=(255, 190, 110))
    # the menu band: a soft light panel where white and dark green both read
    band = (150, 196)
    for y in range(band[0], band[1]):
        for x in range(W):
            r, g, b = px[x, y]
            edge = min(y - band[0], band[1] - 1 - y)
            k = 0.9 if edge > 1 else 0.7
            px[x, y] = lerp((r, g, b), (140, 162, 186), k)
    d.line([(0, band[0]), (W, band[0])], fill=(208, 220, 236))
    d.line([(0, band[1] - 1), (W, band[1] - 1)], fill=(80, 96, 140))
    # logo
    big = font("DejaVuSerif-Bold.ttf", 60)
    fancy_text(img, "Talmyr", big, W // 2, 24, [(0, (255, 248, 180)), (0.45, (252, 200, 64)), (1, (196, 96, 16))],
               outline=(56, 20, 8), outline_w=2, shadow=(20, 8, 40), shadow_off=(3, 3),
               glow=[(3, (120, 52, 96))], spacing=1)
    small = font("DejaVuSerif-BoldItalic.ttf", 20)
    fancy_text(img, "demo 2'", small, W // 2 + 60, 96, [(0, (255, 255, 255)), (1, (200, 220, 255))],
               outline=(32, 24, 72), outline_w=1, shadow=(20, 8, 40), shadow_off=(2, 2))
    return posterise_444(img)


def parch2():
    rnd = random.Random(7)
    img = Image.new("RGB", (W, H), (20, 12, 8))
    px = img.load()
    # dark wood-like background with vignette
    for y in range(H):
        for x in range(W):
            v = 0.5 + 0.5 * math.sin(x * 0.07 + math.sin(y * 0.05) * 2.0)
            dist = math.hypot((x - W / 2) / W, (y - H / 2) / H)
            k = max(0.0, 1 - dist * 1.6)
            base = lerp((14, 8, 6), (62, 36, 20), k * (0.7 + 0.3 * v))
            px[x, y] = base
    # the sheet
    x0, x1, y0, y1 = 26, 294, 34, 210
    noise = {}
    for y in range(y0 - 12, y1 + 13):
        for x in range(x0 - 4, x1 + 5):
            noise[(x, y)] = rnd.random()
    paper = [(0.0, (250, 236, 196)), (0.55, (236, 212, 160)), (0.8, (204, 160, 96)), (0.93, (140, 86, 40)),
             (1.0, (72, 36, 16))]
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            # distance to the nearest edge, made ragged
            e = min(x - x0, x1 - x, (y - y0) * 1.6, (y1 - y) * 1.6)
            wob = 3 * math.sin(x * 0.31 + y * 0.07) + 2 * math.sin(y * 0.23 - x * 0.11)
            e += wob
            if e < 0:
                continue
            t = max(0.0, 1 - e / 26)
            t = t ** 1.6
            inner = 50 <= x <= 270 and 70 <= y <= 194
            jitter = (noise[(x, y)] - 0.5) * (0.04 if inner else 0.16)
            c = banded(paper, t + jitter, x, y, 12)
            px[x, y] = c
    # stains away from the text
    for cx, cy, r in ((44, 50, 9), (280, 200, 11), (276, 52, 6)):
        for y in range(cy - r, cy + r + 1):
            for x in range(cx - r, cx + r + 1):
                dd = math.hypot(x - cx, y - cy)
                if dd <= r and (x, y) in noise and px[x, y] != (20, 12, 8):
                    if abs(dd - r) < 1.2:
                        px[x, y] = lerp(px[x, y], (150, 100, 50), 0.5)
                    else:
                        px[x, y] = lerp(px[x, y], (214, 180, 120), 0.3)
    # rolled ends
    d = ImageDraw.Draw(img)
    roll = [(0.0, (110, 64, 28)), (0.3, (236, 208, 150)), (0.5, (252, 238, 200)), (0.8, (190, 140, 80)),
            (1.0, (70, 36, 14))]
    for ry in (y0 - 8, y1 - 6):
        for y in range(ry, ry + 16):
            for x in range(x0 - 6, x1 + 7):
                t = (y - ry) / 15
                c = banded(roll, t, x, y, 10)
                # the end caps
                if x < x0 - 2 or x > x1 + 2:
                    c = lerp(c, (60, 30, 12), 0.45)
                px[x, y] = c
        d.line([(x0 - 6, ry), (x1 + 6, ry)], fill=(50, 24, 10))
        d.line([(x0 - 6, ry + 15), (x1 + 6, ry + 15)], fill=(40, 18, 8))
        d.rectangle([x0 - 7, ry, x0 - 7, ry + 15], fill=(40, 18, 8))
        d.rectangle([x1 + 7, ry, x1 + 7, ry + 15], fill=(40, 18, 8))
        for ex in (x0 - 6, x1 + 6):
            d.ellipse([ex - 3, ry + 5, ex + 3, ry + 10], fill=(92, 52, 22), outline=(40, 18, 8))
    # shadow of the lower roll on the sheet
    for x in range(x0, x1 + 1):
        y = y1 - 7
        px[x, y] = lerp(px[x, y], (120, 80, 40), 0.5)
    return img


# The victory picture's painted words, in each language of the game: the banner, and the two
# lines of the caption.
BRAVO_WORDS = {
    "fr": ("Félicitations !", "Vous avez libéré", "la famille royale !"),
    "en": ("Well done!", "You have freed", "the royal family!"),
}


def bravo(lang="fr"):
    banner, line1, line2 = BRAVO_WORDS[lang]
    rnd = random.Random(11)
    img = Image.new("RGB", (W, H))
    px = img.load()
    sky = [(0.0, (40, 112, 216)), (0.6, (112, 180, 244)), (1.0, (208, 236, 255))]
    horizon = 150
    for y in range(horizon):
        for x in range(W):
            px[x, y] = banded(sky, y / horizon, x, y, 10)
    d = ImageDraw.Draw(img)
    # the sun and its rays
    sx, sy = 276, 74
    for y in range(0, horizon):
        for x in range(150, W):
            a = math.atan2(y - sy, x - sx)
            if math.cos(a * 6 * 2) > 0.55 and math.hypot(x - sx, y - sy) < 110:
                r, g, b = px[x, y]
                px[x, y] = lerp((r, g, b), (255, 250, 210), 0.22)
    d.ellipse([sx - 20, sy - 20, sx + 20, sy + 20], fill=(255, 236, 120))
    d.ellipse([sx - 16, sy - 16, sx + 16, sy + 16], fill=(255, 250, 196))
    # clouds
    for cx, cy, w in ((40, 40, 50), (150, 26, 40), (100, 90, 36), (300, 100, 40)):
        for k in range(4):
            d.ellipse([cx - w // 2 + k * w // 4 - 8, cy - 8 - (k % 2) * 5, cx - w // 2 + k * w // 4 + 12, cy + 6],
                      fill=(255, 255, 255))
        d.rectangle([cx - w // 2 - 4, cy + 2, cx + w // 2 + 6, cy + 6], fill=(214, 232, 250))
    # far hills and the field
    d.polygon([(0, horizon - 20), (60, horizon - 34), (130, horizon - 22), (210, horizon - 36), (320, horizon - 18),
               (320, horizon), (0, horizon)], fill=(96, 168, 120))
    for y in range(horizon - 6, H):
        for x in range(W):
            px[x, y] = banded([(0, (96, 184, 72)), (1, (32, 104, 32))], (y - horizon + 6) / (H - horizon + 6), x, y, 7)
    # the castle
    stone, stone_d, stone_l = (184, 184, 196), (112, 112, 132), (228, 228, 236)
    roof, roof_l = (196, 48, 40), (240, 104, 80)
    base = horizon + 8
    d.rectangle([92, base - 42, 228, base], fill=stone)
    d.rectangle([92, base - 42, 96, base], fill=stone_l)
    d.rectangle([222, base - 42, 228, base], fill=stone_d)
    for k in range(92, 229, 8):
        d.rectangle([k, base - 48, k + 4, base - 42], fill=stone)
    for row in range(base - 38, base, 6):
        off = 0 if (row // 6) % 2 else 5
        for k in range(94 + off, 226, 10):
            d.line([(k, row), (k + 6, row)], fill=(160, 160, 176))

    def tower(x, w, h, flag):
        top = base - h
        d.rectangle([x, top, x + w, base], fill=stone)
        d.rectangle([x, top, x + 2, base], fill=stone_l)
        d.rectangle([x + w - 3, top, x + w, base], fill=stone_d)
        d.polygon([(x - 4, top), (x + w + 4, top), (x + w // 2, top - w - 6)], fill=roof)
        d.polygon([(x - 4, top), (x + w // 2, top), (x + w // 2, top - w - 6)], fill=roof_l)
        d.line([(x - 4, top), (x + w + 4, top)], fill=(110, 24, 20), width=2)
        px0 = x + w // 2
        d.line([(px0, top - w - 6), (px0, top - w - 22)], fill=(70, 50, 30))
        d.polygon([(px0 + 1, top - w - 22), (px0 + 16, top - w - 18), (px0 + 1, top - w - 13)], fill=flag)
        d.rectangle([x + w // 2 - 2, top + 10, x + w // 2 + 1, top + 17], fill=(48, 36, 60))
        d.rectangle([x + w // 2 - 2, top + 10, x + w // 2 + 1, top + 10], fill=(90, 70, 100))

    tower(80, 24, 70, (240, 200, 40))
    tower(216, 24, 70, (240, 200, 40))
    tower(146, 28, 92, (60, 90, 220))
    d.rectangle([150, base - 24, 169, base], fill=(70, 44, 24))
    d.pieslice([150, base - 34, 169, base - 14], 180, 360, fill=(70, 44, 24))
    for k in range(152, 169, 4):
        d.line([(k, base - 28), (k, base)], fill=(40, 24, 12))
    d.line([(92, base), (228, base)], fill=stone_d)
    # path and flowers
    d.polygon([(150, base), (169, base), (200, H), (120, H)], fill=(216, 188, 120))
    for _ in range(120):
        x, y = rnd.randrange(W), rnd.randrange(base + 4, H)
        if 110 < x < 210 and y > base:
            continue
        d.point((x, y), fill=rnd.choice([(255, 255, 255), (255, 220, 60), (240, 90, 120)]))
    # the hero and the freed royal family in front of the gate
    for who, x in (("roi", 104), ("reine", 128), ("princesse", 160), ("perso", 186)):
        paste_sprite(img, who, x, 142)
    # caption on a light banner
    for y in range(176, 236):
        for x in range(10, 310):
            px[x, y] = lerp(px[x, y], (255, 250, 236), 0.72)
    d.rectangle([10, 176, 309, 235], outline=(140, 96, 40))
    d.rectangle([12, 178, 307, 233], outline=(230, 190, 100))
    f_big = font("DejaVuSerif-Bold.ttf", 34)
    fancy_text(img, banner, f_big, W // 2, 8, [(0, (255, 250, 190)), (0.5, (255, 210, 60)), (1, (220, 120, 20))],
               outline=(80, 30, 10), outline_w=2, shadow=(30, 40, 90), shadow_off=(2, 3))
    f_small = font("DejaVuSans-Bold.ttf", 14)
    fancy_text(img, line1, f_small, W // 2, 184, [(0, (60, 40, 140)), (1, (30, 20, 90))],
               outline=(255, 255, 255), outline_w=1)
    fancy_text(img, line2, f_small, W // 2, 206, [(0, (60, 40, 140)), (1, (30, 20, 90))],
               outline=(255, 255, 255), outline_w=1)
    return img


def gameover():
    img = Image.new("RGB", (W, H), (0, 0, 0))
    px = img.load()
    # a faint red haze behind the eyes
    for y in range(H):
        for x in range(W):
            dd = math.hypot((x - 160) / 1.7, (y - 82) * 1.0)
            v = max(0.0, 1 - dd / 100)
            px[x, y] = banded([(0, (0, 0, 0)), (1, (60, 4, 8))], v * v, x, y, 6)
    # the eyes: almond shapes slanted inwards, with a slit pupil and a glow around
    eye_ramp = [(0, (120, 0, 0)), (0.4, (230, 30, 12)), (0.8, (255, 150, 40)), (1, (255, 248, 200))]
    for ex, slant in ((112, 1), (208, -1)):
        ey = 82
        for y in range(ey - 40, ey + 41):
            for x in range(ex - 70, ex + 71):
                dx, dy = x - ex, y - ey
                dyt = dy - slant * dx * 0.22  # inner corners lower: an angry look
                r = (dx / 36) ** 2 + (dyt / (12 - abs(dx) * 0.12 if abs(dx) < 36 else 1)) ** 2
                if abs(dx) < 36 and r <= 1:
                    c = ramp_color(eye_ramp, 1 - r)
                    if abs(dx) <= (2 if abs(dyt) < 4 else 1) and r < 0.97:
                        c = (24, 0, 0)
                    px[x, y] = c
                else:
                    gd = math.sqrt((dx / 62) ** 2 + (dyt / 30) ** 2)
                    if gd < 1:
                        r0, g0, b0 = px[x, y]
                        px[x, y] = banded([(0, (r0, g0, b0)), (1, (190, 16, 8))], (1 - gd) ** 2 * 0.85, x, y, 6)
    # GAME OVER
    f = font("DejaVuSerif-Bold.ttf", 40)
    x, y, m = fancy_text(img, "GAME OVER", f, W // 2, 150, [(0, (255, 140, 90)), (0.5, (224, 20, 16)), (1, (100, 0, 0))],
                         outline=(20, 0, 0), outline_w=2, shadow=(80, 0, 0), shadow_off=(0, 4),
                         glow=[(5, (36, 0, 0)), (3, (64, 4, 4))], spacing=1)
    # drips under some letters
    rnd = random.Random(5)
    d = ImageDraw.Draw(img)
    mm = m.load()
    bottoms = {}
    for cx in range(m.width):
        ys = [cy for cy in range(m.height) if mm[cx, cy]]
        if ys and max(ys) >= m.getbbox()[3] - 3:
            bottoms[cx] = max(ys)
    for cx in rnd.sample(sorted(bottoms), min(10, len(bottoms))):
        ln = rnd.randint(3, 12)
        d.line([(x + cx, y + bottoms[cx]), (x + cx, y + bottoms[cx] + ln)], fill=(150, 0, 0))
        d.point((x + cx, y + bottoms[cx] + ln + 1), fill=(100, 0, 0))
        d.point((x + cx + 1, y + bottoms[cx] + ln), fill=(110, 0, 0))
    return img


PICTURES = {"img_intro": intro, "img_parch2": parch2, "img_bravo": bravo, "img_gameover": gameover,
            "img_bravo_en": lambda: bravo("en")}


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--preview", help="also write 2x previews into this folder")
    ap.add_argument("--only", nargs="*")
    a = ap.parse_args()
    os.makedirs(ART, exist_ok=True)
    for name, fn in PICTURES.items():
        if a.only and name not in a.only:
            continue
        rgb = fn()
        p = to_p(rgb)
        p.save(os.path.join(ART, name + ".png"), optimize=False)
        if a.preview:
            os.makedirs(a.preview, exist_ok=True)
            p.convert("RGB").resize((W * 2, H * 2), Image.NEAREST).save(os.path.join(a.preview, name + ".png"))


if __name__ == "__main__":
    main()
