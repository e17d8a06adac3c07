#!/usr/bin/python3
"""Paints the battle background data/art/img_battlebg.png (320x240, shared palette): a forest
clearing under a pale sky, a light spot for each fighter, the white menu panel and the white
message band the game writes into.

Fixed places the game draws over (keep them in sync with the battle screen code):
  opponent sprite 32x32 at (32,32), hero at (256,32); life bars x 10..111 and 208..309,
  y 10..22; magic line y 25..40; "VS" at (150,41) in black; the menu panel (white inside
  x 107..212, y 110..175); the yellow caption at y 184..195 (needs a dark picture behind it);
  the message band (white inside x 13..306, y 203..226).

Run with /usr/bin/python3 tools/art/gen_battlebg.py [output.png]
"""
import math
import os
import sys

import numpy as np
from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import palette  # noqa: E402
from palette import shade as C  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
OUT = os.path.join(ROOT, "data", "art", "img_battlebg.png")
W, H = 320, 240
MENU = (107, 110, 212, 175)      # white inside, inclusive
BAND = (13, 203, 306, 226)
FIGHTERS = ((32, 32), (256, 32))  # top-left corners of the 32x32 sprites


def hash01(x, y, seed=0):
    h = (x * 374761393 + y * 668265263 + seed * 2147483647) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    return (h ^ (h >> 16)) / 0xFFFFFFFF


def grid():
    yy, xx = np.mgrid[0:H, 0:W].astype(float) + 0.5
    return xx, yy


def sky_and_treeline(img, xx, yy):
    # pale sky, lighter toward the horizon, in flat bands (no smooth gradient)
    for y in range(H):
        lvl = 6 + min(3, y // 12)
        img[y, :] = C("sky", lvl)
    for cx, cy, w in ((70, 9, 26), (205, 14, 32), (300, 6, 18)):  # soft clouds
        m = ((xx - cx) / w) ** 2 + ((yy - cy) / 5) ** 2 <= 1
        m |= ((xx - cx - w * 0.4) / (w * 0.6)) ** 2 + ((yy - cy + 3) / 5) ** 2 <= 1
        img[m] = C("sky", 9)
        img[m & (yy > cy + 2)] = C("sky", 8)
    # distant hills, pale, behind the gap in the trees where "VS" is written
    hill = yy > 44 + 6 * np.sin(xx / 23.0) + 3 * np.sin(xx / 7.0)
    img[hill] = C("forest", 8)
    img[hill & (yy > 52)] = C("forest", 7)
    # the forest edge: two rows of round crowns, dark; lower in the middle to open the view
    for row, (base, lv) in enumerate(((30, 3), (46, 2))):
        for i in range(-1, 24):
            cx = i * 15 + (7 if row else 0) + 4 * math.sin(i * 1.7)
            gap = max(0.0, 1 - abs(cx - 160) / 62.0)
            cy = base + 34 * gap + 3 * math.sin(i * 2.3)
            r = 13 + 3 * math.sin(i * 1.3 + row)
            m = ((xx - cx) ** 2 + (yy - cy) ** 2 <= r * r) | ((abs(xx - cx) <= r) & (yy > cy))
            if gap > 0.55:
                continue
            shade = np.clip(((xx - cx) * -0.6 + (yy - cy) * -0.7) / r, -1, 1)
            lvmap = np.where(shade > 0.35, lv + 2, np.where(shade > -0.2, lv + 1, lv))
            for l in range(lv, lv + 3):
                img[m & (lvmap == l)] = C("forest", l)
            # leaf clumps
            for k in range(int(r)):
                px_ = int(cx + (hash01(i, k, row) - 0.5) * r * 1.4)
                py_ = int(cy + (hash01(k, i, row + 5) - 0.6) * r * 1.2)
                if 0 <= px_ < W - 2 and 0 <= py_ < H - 2 and m[py_, px_]:
                    img[py_, px_:px_ + 2] = C("forest", lv + 3)
                    img[py_ + 1, px_ + 1:px_ + 3] = C("forest", lv)


def meadow(img, xx, yy):
    top = 64 + 8 * np.maximum(0, 1 - np.abs(xx - 160) / 70)
    g = yy >= top
    img[g] = C("grass", 5)
    n = np.sin(xx / 17.0 + yy / 11.0) + np.sin(xx / 29.0 - yy / 7.0)
    img[g & (n > 0.9)] = C("grass", 6)
    img[g & (n < -1.0)] = C("grass", 4)
    # tree shadow along the forest edge
    img[(yy >= top) & (yy < top + 5)] = C("grass", 3)
    for y in range(int(top.min()), H):
        for x in range(W):
            if g[y, x]:
                h = hash01(x, y, 7)
                if h < 0.03:
                    img[y, x] = C("grass", 7)
                    if y + 1 < H:
                        img[y + 1, x] = C("grass", 3)
                elif h < 0.036 and y > 90:
                    img[y, x] = C("gold", 8) if h < 0.033 else C("grey", 15)
    # a trodden earth clearing in the middle, around the menu
    cl = ((xx - 160) / 125) ** 2 + ((yy - 150) / 55) ** 2 <= 1
    img[cl] = C("grass", 6)
    cl2 = ((xx - 160) / 100) ** 2 + ((yy - 152) / 40) ** 2 <= 1
    img[cl2] = C("earth", 7)
    img[cl2 & (np.sin(xx / 5.0) * np.sin(yy / 3.0) > 0.6)] = C("earth", 6)


def fighter_spots(img, xx, yy):
    for (x, y) in FIGHTERS:
        cx, cy = x + 16, y + 30
        pale = ((xx - cx) / 26) ** 2 + ((yy - cy) / 9) ** 2 <= 1
        img[pale] = C("grass", 7)
        img[pale & (yy < cy - 4)] = C("grass", 8)
        sh = ((xx - cx - 1) / 13) ** 2 + ((yy - cy - 1) / 4) ** 2 <= 1
        img[sh] = C("grass", 3)


def vs_spot(img, xx, yy):
    # keep the text "VS" on something light
    m = ((xx - 160) / 22) ** 2 + ((yy - 46) / 9) ** 2 <= 1
    img[m & (img != C("sky", 9))] = C("sky", 9)


def caption_strip(img, xx, yy):
    # a dark shady strip between the panel and the band so the yellow caption reads
    m = (yy >= 180) & (yy <= 199)
    img[m] = C("forest", 1)
    img[m & ((yy == 180) | (yy == 199))] = C("forest", 3)
    for x in range(0, W, 7):
        img[181, x] = C("forest", 3)


def framed_box(img, box, inner_white=True):
    x0, y0, x1, y1 = box
    # frame: 3 px, dark outline, a lighter rim, dark again
    img[y0 - 3:y1 + 4, x0 - 3:x1 + 4] = C("navy", 1)
    img[y0 - 2:y1 + 3, x0 - 2:x1 + 3] = C("navy", 5)
    img[y0 - 1:y1 + 2, x0 - 1:x1 + 2] = C("navy", 2)
    img[y0:y1 + 1, x0:x1 + 1] = C("grey", 15)
    # a soft shadow below right of the frame
    img[y1 + 4:y1 + 6, x0 - 1:x1 + 6] = np.where(img[y1 + 4:y1 + 6, x0 - 1:x1 + 6] == C("grey", 15),
                                                 C("grey", 15), C("grass", 2))


def build():
    img = np.zeros((H, W), np.uint8)
    xx, yy = grid()
    sky_and_treeline(img, xx, yy)
    meadow(img, xx, yy)
    fighter_spots(img, xx, yy)
    vs_spot(img, xx, yy)
    caption_strip(img, xx, yy)
    framed_box(img, MENU)
    framed_box(img, BAND)
    assert not (img == palette.TRANSPARENT).any()
    return img


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else OUT
    im = Image.fromarray(build(), "P")
    palette.save(im, out)
    print("wrote", out)


if __name__ == "__main__":
    main()
