"""Who is who: colours, clothes and features of every character of the game.

Each entry drives both the walking sheet (sprite_people.person) and the dialogue portrait
(sprite_faces.portrait), so the two always match.
"""
from sprite_paint import Mat, shade

# common materials
SKIN = Mat("skin", 4, 6, 8, line=3)
SKIN_TAN = Mat("skin", 3, 5, 7, line=2)
SKIN_PALE = Mat("skin", 5, 7, 9, line=4)
WHITE = Mat("steel", 6, 8, 9, out=shade("steel", 2), line=5)
IVORY = Mat("parchment", 5, 7, 9, line=4)
BOOTS = Mat("wood", 1, 2, 4)
DARK_SHOES = Mat("slate", 1, 2, 4)
LEATHER = Mat("wood", 2, 4, 5)
GOLD = Mat("gold", 4, 6, 8, out=shade("gold", 1), hi=9)
STEEL = Mat("steel", 3, 5, 7, out=shade("steel", 0), hi=9)
WOOD = Mat("wood", 2, 4, 5)

CHARACTERS = {
    "perso": dict(  # the hero
        skin=SKIN, hair=Mat("wood", 3, 5, 7), hair_style="spiky",
        top=Mat("grass", 3, 5, 6), sleeve=Mat("grass", 3, 5, 6), dress="short",
        legs=Mat("earth", 3, 5, 6), shoes=BOOTS, belt=LEATHER, buckle=shade("gold", 7),
        scarf=Mat("red", 3, 5, 6), mouth=None, portrait_bg="sky",
    ),
    "vagabond": dict(
        skin=SKIN_TAN, hair=Mat("earth", 1, 2, 4), hair_style="messy",
        hat="bandana", hat_mat=Mat("red", 2, 4, 5),
        top=Mat("olive", 2, 4, 5), dress="short", ragged=True, patches=Mat("earth", 3, 4, 5),
        legs=Mat("slate", 2, 3, 5), shoes=BOOTS, belt=Mat("earth", 1, 2, 3),
        stubble=shade("skin", 3), portrait_bg="earth",
    ),
    "gmere": dict(
        skin=SKIN, hair=Mat("steel", 5, 7, 8), hair_style="bun",
        top=Mat("purple", 3, 5, 6), dress="long", apron=IVORY,
        shoes=DARK_SHOES, blush=True, closed_eyes=True, portrait_bg="rose",
    ),
    "gmere2": dict(
        skin=SKIN, hair=Mat("steel", 5, 7, 8), hair_style="short",
        hat="kerchief", hat_mat=Mat("red", 3, 5, 6), dots=shade("steel", 9),
        top=Mat("navy", 3, 5, 7), dress="long", apron=Mat("sand", 5, 7, 8),
        shoes=DARK_SHOES, blush=True, portrait_bg="teal",
    ),
    "gpere": dict(
        skin=SKIN, hair=Mat("steel", 5, 7, 8), hair_style="bald", beard=WHITE, mustache=True,
        top=Mat("earth", 3, 5, 6), dress="short", legs=Mat("olive", 2, 4, 5), shoes=BOOTS,
        belt=Mat("wood", 1, 2, 3), item="cane", cane=WOOD, closed_eyes=False, portrait_bg="olive",
    ),
    "femme1": dict(
        skin=SKIN, hair=Mat("wood", 2, 4, 5), hair_style="long",
        top=Mat("rose", 3, 5, 6), dress="long", apron=IVORY, shoes=BOOTS, blush=True,
        portrait_bg="sand",
    ),
    "femme2": dict(
        skin=SKIN, hair=Mat("gold", 4, 6, 7), hair_style="bun",
        top=Mat("teal", 3, 5, 6), dress="long", skirt=Mat("teal", 2, 4, 5), belt=Mat("teal", 1, 2, 3),
        shoes=BOOTS, blush=True, portrait_bg="sky",
    ),
    "pgarcon": dict(
        build="child", skin=SKIN, hair=Mat("earth", 2, 3, 5), hair_style="boy",
        top=Mat("navy", 4, 6, 7), dress=None, legs=Mat("earth", 3, 5, 6), shoes=BOOTS,
        belt=LEATHER, portrait_bg="sky",
    ),
    "pfille": dict(
        build="child", skin=SKIN, hair=Mat("orange", 3, 5, 6), hair_style="twin", ribbon=Mat("red", 4, 5, 7),
        top=Mat("gold", 4, 6, 7), dress="long", skirt=Mat("orange", 4, 6, 7), shoes=Mat("red", 2, 3, 5),
        blush=True, portrait_bg="grass",
    ),
    "poule": dict(kind="hen", feather=Mat("steel", 6, 8, 9, out=shade("steel", 2), line=5),
                  wing=Mat("steel", 5, 7, 8, out=shade("steel", 2), line=4),
                  tail=Mat("sand", 5, 6, 8, line=3),
                  comb=Mat("red", 4, 5, 6), beak=Mat("gold", 5, 6, 7), leg=Mat("orange", 4, 5, 6)),
    "garde1": dict(
        skin=SKIN, hair=Mat("earth", 2, 3, 5), hair_style="short",
        hat="helmet", hat_mat=STEEL,
        top=Mat("steel", 3, 4, 6), sleeve=Mat("steel", 3, 4, 6), chest=Mat("navy", 3, 5, 6),
        dress="short", skirt=Mat("navy", 2, 4, 5), legs=Mat("slate", 2, 3, 5), shoes=DARK_SHOES,
        belt=LEATHER, buckle=shade("gold", 7), item="spear", shaft=WOOD, blade=STEEL, portrait_bg="navy",
    ),
    "garde2": dict(
        skin=SKIN_TAN, hair=Mat("wood", 1, 2, 4), hair_style="short",
        hat="helmet", hat_mat=Mat("gold", 3, 5, 7, out=shade("gold", 0)), rim=Mat("gold", 2, 3, 5),
        top=Mat("slate", 3, 4, 6), sleeve=Mat("slate", 3, 4, 6), chest=Mat("red", 3, 5, 6),
        dress="short", skirt=Mat("red", 2, 4, 5), legs=Mat("earth", 2, 3, 5), shoes=BOOTS,
        belt=Mat("wood", 1, 2, 3), buckle=shade("steel", 8), item="spear", shaft=WOOD, blade=STEEL,
        portrait_bg="roof",
    ),
    "garde3": dict(
        build="big", skin=SKIN_TAN, hair=Mat("earth", 1, 2, 3), hair_style="short", mustache=True,
        hat="helmet", hat_mat=Mat("steel", 2, 4, 6, out=shade("steel", 0), hi=8), rim=GOLD, plume=Mat("red", 3, 5, 7),
        top=Mat("steel", 2, 4, 6), sleeve=Mat("steel", 2, 4, 6), chest=Mat("purple", 2, 4, 5),
        dress="short", skirt=Mat("purple", 2, 3, 5), legs=Mat("slate", 1, 2, 4), shoes=DARK_SHOES,
        belt=GOLD, buckle=shade("red", 6), cape=Mat("navy", 2, 3, 5), gloves=Mat("wood", 2, 3, 5),
        pauldrons=Mat("gold", 3, 5, 7, out=shade("gold", 0)),
        item="spear", shaft=Mat("wood", 1, 3, 4), blade=STEEL, portrait_bg="purple",
    ),
    "roi": dict(
        skin=SKIN, hair=Mat("wood", 3, 5, 6), hair_style="short", beard=Mat("wood", 3, 5, 6), mustache=True,
        hat="crown", hat_mat=GOLD,
        top=Mat("gold", 4, 6, 7), dress="long", skirt=Mat("purple", 3, 5, 6), belt=Mat("purple", 1, 2, 3),
        cape=Mat("red", 3, 5, 6), collar=WHITE, shoes=DARK_SHOES, sleeve=Mat("red", 3, 5, 6), cuff=WHITE,
        portrait_bg="red",
    ),
    "reine": dict(
        skin=SKIN_PALE, hair=Mat("gold", 4, 6, 7), hair_style="long",
        hat="crown", hat_mat=GOLD, jewel=shade("teal", 6),
        top=Mat("purple", 3, 5, 7), dress="long", skirt=Mat("purple", 3, 5, 7), hem=GOLD,
        cape=Mat("navy", 3, 5, 6), collar=WHITE, shoes=DARK_SHOES, blush=True, portrait_bg="purple",
    ),
    "princesse": dict(
        skin=SKIN_PALE, hair=Mat("gold", 5, 7, 8), hair_style="long",
        hat="tiara", hat_mat=GOLD,
        top=Mat("rose", 4, 6, 7), dress="long", skirt=Mat("rose", 4, 6, 7), hem=GOLD, belt=GOLD,
        sleeve=Mat("rose", 5, 7, 8), shoes=Mat("rose", 2, 3, 5), blush=True, portrait_bg="rose",
    ),
    "boss": dict(
        build="big", skin=Mat("slate", 2, 3, 4), hair=None, hat="hood", hood=True,
        hat_mat=Mat("purple", 1, 2, 4, out=shade("purple", 0)), hood_inner=Mat("grey", 1, 1, 2, out=0),
        eye=shade("lava", 7), horns=Mat("steel", 2, 4, 6, hi=8), pauldrons=Mat("slate", 1, 3, 5),
        spikes=Mat("steel", 3, 5, 7),
        top=Mat("slate", 1, 2, 4), chest=Mat("purple", 1, 3, 4), dress="long", skirt=Mat("purple", 1, 2, 3),
        sleeve=Mat("slate", 1, 2, 4), gloves=Mat("grey", 2, 3, 5), belt=Mat("red", 2, 3, 4), buckle=shade("lava", 7),
        cape=Mat("red", 1, 2, 3), shoes=DARK_SHOES, item="staff", shaft=Mat("slate", 1, 2, 3),
        orb=Mat("lava", 3, 6, 8), portrait_bg="lava",
    ),
}
