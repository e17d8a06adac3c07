"""Draws the program's icons from the game's own art: the hero, facing the player, scaled up with
nearest neighbour onto a framed patch of the island's grass.

usage: make_icons.py ART_DIR OUT_DIR SIZE...   (writes OUT_DIR/SIZE.png for every SIZE; a size
written maskable-SIZE gives OUT_DIR/maskable-SIZE.png, the icon inside the round safe zone of a
full square, for launchers that cut icons to their own shape)
Run with /usr/bin/python3 (Debian's python3-pil).
"""
import os
import sys

from PIL import Image, ImageDraw

TRANSPARENT = 135          # palette index of the colour key in every sprite sheet
HERO_CELL = (0, 64, 32, 96)  # frame 0, facing down
GRASS_TILE = 1             # tile numbers start at 1; tile n is the strip's rows 32(n-1)..32n
BUST_ROWS = 22              # head and shoulders of the hero
FRAME_DARK = (58, 36, 22, 255)
FRAME_GOLD = (214, 170, 72, 255)


def cell(art, name, box):
    """A piece of an indexed picture as RGBA, the colour key made transparent."""
    img = Image.open(os.path.join(art, name + ".png"))
    if img.mode != "P":
        raise SystemExit("%s: not palette-indexed" % name)
    part = img.crop(box)
    rgba = part.convert("RGBA")
    px = rgba.load()
    idx = part.load()
    for y in range(part.height):
        for x in range(part.width):
            if idx[x, y] == TRANSPARENT:
                px[x, y] = (0, 0, 0, 0)
    return rgba


def rounded_mask(size, radius):
    mask = Image.new("L", (size, size), 0)
    ImageDraw.Draw(mask).rounded_rectangle((0, 0, size - 1, size - 1), radius, fill=255)
    return mask


def icon(art, size):
    hero = cell(art, "sprite_perso", HERO_CELL)
    hero = hero.crop(hero.getbbox())
    grass = cell(art, "tiles_decor", (0, 32 * (GRASS_TILE - 1), 32, 32 * GRASS_TILE))
    # The grass is darkened so that the hero's green tunic stands out from it.
    grass = Image.eval(grass.convert("RGB"), lambda v: v * 55 // 100).convert("RGBA")

    border = max(1, size // 16)
    inner = size - 2 * border
    if size < 128:  # small icons show the head and shoulders, large ones the whole hero
        hero = hero.crop((0, 0, hero.width, BUST_ROWS))
        scale = max(1, inner // BUST_ROWS)
    else:
        scale = max(1, (inner - 2 * border) // hero.height)
    # The grass keeps its pixels square: the tile is repeated at the scale of the hero.
    tile = grass.resize((32 * scale, 32 * scale), Image.NEAREST)
    back = Image.new("RGBA", (size, size))
    for y in range(0, size, tile.height):
        for x in range(0, size, tile.width):
            back.paste(tile, (x, y))

    big = hero.resize((hero.width * scale, hero.height * scale), Image.NEAREST)
    x = (size - big.width) // 2
    if size < 128:
        y = size - border - big.height  # a bust rests on the frame
    else:
        y = size - 2 * border - big.height  # standing a little above the frame
    back.alpha_composite(big, (x, max(0, y)))

    pic = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    radius = max(2, size // 8)
    pic.paste(back, (0, 0), rounded_mask(size, radius))
    draw = ImageDraw.Draw(pic)
    draw.rounded_rectangle((0, 0, size - 1, size - 1), radius, outline=FRAME_DARK, width=border)
    if size >= 64:  # a thin gold line inside the frame, where there is room for it
        gold = max(1, border // 2)
        draw.rounded_rectangle((border, border, size - 1 - border, size - 1 - border),
                               max(1, radius - border), outline=FRAME_GOLD, width=gold)
    return pic


def maskable(art, size):
    """The icon within the middle 80 % circle a launcher may keep, on a square that fills the rest
    with the frame's dark brown."""
    inner = size * 7 // 10
    pic = Image.new("RGBA", (size, size), FRAME_DARK)
    pic.alpha_composite(icon(art, inner), ((size - inner) // 2, (size - inner) // 2))
    return pic


def main(argv):
    if len(argv) < 4:
        raise SystemExit(__doc__)
    art, out = argv[1], argv[2]
    os.makedirs(out, exist_ok=True)
    for s in argv[3:]:
        if s.startswith("maskable-"):
            maskable(art, int(s[9:])).save(os.path.join(out, s + ".png"))
        else:
            icon(art, int(s)).save(os.path.join(out, "%d.png" % int(s)))


if __name__ == "__main__":
    main(sys.argv)
