// Every embedded asset: pictures (8-bit column format), palettes (RGB565), map grids, font, music.
// The pictures, palettes, font and music are generated at build time from the sources in data/.
#pragma once

#include <cstddef>
#include <cstdint>

// pictures: width x height palette indices, column by column from the left, each column bottom-up
extern const unsigned char icons_faceset[24 * 360];
extern const unsigned char img_battlebg[320 * 240];
extern const unsigned char img_bravo[320 * 240];
extern const unsigned char img_bravo_en[320 * 240];
extern const unsigned char img_gameover[320 * 240];
extern const unsigned char img_intro[320 * 240];
extern const unsigned char img_parch2[320 * 240];
extern const unsigned char sprite_attaq1[32 * 96];
extern const unsigned char sprite_boss[64 * 128];
extern const unsigned char sprite_femme1[64 * 128];
extern const unsigned char sprite_femme2[64 * 128];
extern const unsigned char sprite_garde1[64 * 128];
extern const unsigned char sprite_garde2[64 * 128];
extern const unsigned char sprite_garde3[64 * 128];
extern const unsigned char sprite_gmere[64 * 128];
extern const unsigned char sprite_gmere2[64 * 128];
extern const unsigned char sprite_gpere[64 * 128];
extern const unsigned char sprite_icones[16 * 128];
extern const unsigned char sprite_perso[64 * 128];
extern const unsigned char sprite_pfille[64 * 128];
extern const unsigned char sprite_pgarcon[64 * 128];
extern const unsigned char sprite_poule[64 * 128];
extern const unsigned char sprite_princesse[64 * 128];
extern const unsigned char sprite_reine[64 * 128];
extern const unsigned char sprite_roi[64 * 128];
extern const unsigned char sprite_vagabond[64 * 128];
extern const unsigned char tiles_decor[32 * 8160];

// palettes: 256 RGB565 entries, bit 0 set in each; npal[135] == 0xE021 (transparent)
extern const unsigned short npal[256];
extern const unsigned short img_bravo_Pal[256];
extern const unsigned short img_bravo_en_Pal[256];
extern const unsigned short img_gameover_Pal[256];
extern const unsigned short img_intro_Pal[256];
extern const unsigned short img_parch2_Pal[256];

// map grids (writable: the story changes single tiles for the rest of the run)
extern int16_t map_ile[20 * 16];
extern int16_t map_village[20 * 16];
extern int16_t map_entree[20 * 16];
extern int16_t map_chateau[20 * 16];
extern int16_t map_maison1[10 * 9];
extern int16_t map_maison2[10 * 9];
extern int16_t map_maison3[10 * 9];

// TrueType font and the two ProTracker modules
extern const unsigned char gamefont[];
extern const std::size_t gamefont_size;
extern const unsigned char un[];
extern const std::size_t un_size;
extern const unsigned char battle[];
extern const std::size_t battle_size;

// translations, compiled from data/po: each language's French texts and their translations
// (ISO-8859-1), sorted by the French text
struct Translation {
  const char* french;
  const char* text;
};
struct Catalog {
  const char* language;  // "en"
  const Translation* entries;
  int count;
};
extern const Catalog catalogs[];
extern const int catalogCount;
