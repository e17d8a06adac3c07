"""The shared palette `npal` of every sprite, icon, portrait, the tile strip and the battle
background, and small helpers for the generator scripts that paint our pictures.

Index 135 is the transparent colour (0xE021 once converted to RGB565). It is never a visible
colour, and no other entry converts to 0xE021.

Run with /usr/bin/python3 (Debian's python3-pil).
"""
from PIL import Image

TRANSPARENT = 135
TRANSPARENT_RGB = (224, 4, 8)  # converts to 0xE021


def rgb565(c):
    r, g, b = c[:3]
    return ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3) | 1


def _lerp(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def _ramp(dark, mid, light, n=10):
    out = []
    for i in range(n):
        t = i / (n - 1)
        out.append(_lerp(dark, mid, t * 2) if t <= 0.5 else _lerp(mid, light, (t - 0.5) * 2))
    return out


# name -> (dark, mid, light); each ramp has 10 shades, dark to light
RAMPS = [
    ("grass", (20, 40, 16), (72, 140, 48), (176, 226, 112)),
    ("forest", (8, 28, 22), (28, 92, 52), (112, 176, 96)),
    ("earth", (40, 24, 12), (124, 80, 42), (224, 186, 126)),
    ("wood", (48, 22, 10), (150, 84, 40), (234, 176, 104)),
    ("sand", (92, 72, 40), (204, 174, 112), (252, 238, 196)),
    ("stone", (28, 32, 42), (112, 118, 132), (214, 218, 226)),
    ("water", (8, 22, 60), (36, 100, 184), (156, 214, 252)),
    ("skin", (84, 42, 30), (206, 144, 104), (255, 224, 196)),
    ("red", (60, 8, 14), (184, 34, 40), (252, 146, 136)),
    ("gold", (80, 50, 0), (224, 172, 32), (255, 246, 168)),
    ("purple", (30, 10, 42), (112, 52, 144), (214, 176, 234)),
    ("orange", (72, 26, 6), (222, 112, 32), (255, 204, 144)),
    ("rose", (70, 20, 42), (204, 92, 132), (255, 204, 222)),
    ("teal", (6, 40, 42), (40, 142, 140), (172, 236, 226)),
    ("roof", (52, 16, 12), (144, 52, 32), (224, 124, 92)),
    ("navy", (10, 12, 42), (44, 54, 144), (144, 164, 242)),
    ("olive", (40, 40, 10), (122, 122, 42), (212, 212, 134)),
    ("slate", (30, 26, 38), (98, 90, 114), (192, 186, 208)),
    ("sky", (60, 110, 180), (120, 176, 230), (230, 244, 255)),
    ("steel", (36, 40, 48), (132, 140, 156), (236, 240, 248)),
    ("parchment", (110, 80, 44), (214, 184, 128), (250, 240, 212)),
    ("lava", (80, 10, 0), (240, 90, 10), (255, 240, 120)),
    ("magic", (20, 20, 80), (90, 120, 255), (220, 240, 255)),
]

COLORS = [(round(255 * i / 15),) * 3 for i in range(16)]  # greys 0..15, black to white
RAMP_START = {}
for name, d, m, l in RAMPS:
    RAMP_START[name] = len(COLORS)
    COLORS.extend(_ramp(d, m, l))
# 16 + 23 * 10 = 246 entries; the transparent colour goes in at 135
COLORS.insert(TRANSPARENT, TRANSPARENT_RGB)
while len(COLORS) < 256:
    COLORS.append((0, 0, 0))

assert len(COLORS) == 256
assert rgb565(COLORS[TRANSPARENT]) == 0xE021
assert all(rgb565(c) != 0xE021 for i, c in enumerate(COLORS) if i != TRANSPARENT)


def shade(ramp, level):
    """Palette index of shade `level` (0 darkest .. 9 lightest) of a ramp; 'grey' has 0..15."""
    if ramp == "grey":
        return max(0, min(15, level))
    i = RAMP_START[ramp] + max(0, min(9, level))
    return i + 1 if i >= TRANSPARENT else i  # the ramps step over the transparent entry


def flat_palette():
    out = []
    for c in COLORS:
        out.extend(c)
    return out


def new_image(w, h, fill=TRANSPARENT):
    img = Image.new("P", (w, h), fill)
    img.putpalette(flat_palette())
    return img


def nearest(rgb):
    """Closest visible palette index to an RGB colour (never the transparent one)."""
    best, bi = None, 0
    for i, c in enumerate(COLORS):
        if i == TRANSPARENT:
            continue
        d = (c[0] - rgb[0]) ** 2 * 3 + (c[1] - rgb[1]) ** 2 * 4 + (c[2] - rgb[2]) ** 2 * 2
        if best is None or d < best:
            best, bi = d, i
    return bi


def save(img, path):
    """Saves an indexed picture with the shared palette (full 256 entries)."""
    img.putpalette(flat_palette())
    img.save(path, optimize=False)
