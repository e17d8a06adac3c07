// The game's pictures: every embedded image made a surface at start-up, in one table, and the
// variants that paint words in another language.
#include "assets.h"
#include "globals.h"

#include <cstring>

SDL_Surface *pSurf_icons_faceset, *pSurf_img_battlebg, *pSurf_img_bravo, *pSurf_img_gameover,
    *pSurf_img_intro, *pSurf_img_parch2, *pSurf_sprite_attaq1, *pSurf_sprite_boss,
    *pSurf_sprite_femme1, *pSurf_sprite_femme2, *pSurf_sprite_garde1, *pSurf_sprite_garde2,
    *pSurf_sprite_garde3, *pSurf_sprite_gmere, *pSurf_sprite_gmere2, *pSurf_sprite_gpere,
    *pSurf_sprite_icones, *pSurf_sprite_perso, *pSurf_sprite_pfille, *pSurf_sprite_pgarcon,
    *pSurf_sprite_poule, *pSurf_sprite_princesse, *pSurf_sprite_reine, *pSurf_sprite_roi,
    *pSurf_sprite_vagabond, *pSurf_tiles_decor;
SDL_Surface* pSurf_img_bravo_en;

namespace {

struct Picture {
  SDL_Surface** surface;
  const unsigned char* image;
  const unsigned short* palette;
  int w, h;
  bool flag;
};

// In the order they are converted.
const Picture pictures[] = {
    {&pSurf_icons_faceset, icons_faceset, npal, 24, 360, false},
    {&pSurf_img_battlebg, img_battlebg, npal, 320, 240, false},
    {&pSurf_img_bravo, img_bravo, img_bravo_Pal, 320, 240, false},
    {&pSurf_img_gameover, img_gameover, img_gameover_Pal, 320, 240, false},
    {&pSurf_img_intro, img_intro, img_intro_Pal, 320, 240, true},
    {&pSurf_img_parch2, img_parch2, img_parch2_Pal, 320, 240, false},
    {&pSurf_sprite_attaq1, sprite_attaq1, npal, 32, 96, false},
    {&pSurf_sprite_boss, sprite_boss, npal, 64, 128, false},
    {&pSurf_sprite_femme1, sprite_femme1, npal, 64, 128, false},
    {&pSurf_sprite_femme2, sprite_femme2, npal, 64, 128, false},
    {&pSurf_sprite_garde1, sprite_garde1, npal, 64, 128, false},
    {&pSurf_sprite_garde2, sprite_garde2, npal, 64, 128, false},
    {&pSurf_sprite_garde3, sprite_garde3, npal, 64, 128, false},
    {&pSurf_sprite_gmere, sprite_gmere, npal, 64, 128, false},
    {&pSurf_sprite_gmere2, sprite_gmere2, npal, 64, 128, false},
    {&pSurf_sprite_gpere, sprite_gpere, npal, 64, 128, false},
    {&pSurf_sprite_icones, sprite_icones, npal, 16, 128, false},
    {&pSurf_sprite_perso, sprite_perso, npal, 64, 128, false},
    {&pSurf_sprite_pfille, sprite_pfille, npal, 64, 128, false},
    {&pSurf_sprite_pgarcon, sprite_pgarcon, npal, 64, 128, false},
    {&pSurf_sprite_poule, sprite_poule, npal, 64, 128, false},
    {&pSurf_sprite_princesse, sprite_princesse, npal, 64, 128, false},
    {&pSurf_sprite_reine, sprite_reine, npal, 64, 128, false},
    {&pSurf_sprite_roi, sprite_roi, npal, 64, 128, false},
    {&pSurf_sprite_vagabond, sprite_vagabond, npal, 64, 128, false},
    {&pSurf_tiles_decor, tiles_decor, npal, 32, 8160, false},
    // the words painted in other languages
    {&pSurf_img_bravo_en, img_bravo_en, img_bravo_en_Pal, 320, 240, false},
};

// Which picture paints words, and its variant in each language.
struct PictureVariant {
  const char* language;
  SDL_Surface* const* french;
  SDL_Surface* const* variant;
};
const PictureVariant variants[] = {
    {"en", &pSurf_img_bravo, &pSurf_img_bravo_en},
};

}  // namespace

SDL_Surface* translatedPicture(SDL_Surface* french) {
  for (const PictureVariant& v : variants)
    if (*v.french == french && std::strcmp(v.language, language()) == 0 && *v.variant)
      return *v.variant;
  return french;
}

void load_rsc() {
  for (const Picture& p : pictures)
    *p.surface = LoadSurfaceFromGP8bitsImage(p.image, p.palette, p.w, p.h, p.flag);
}

void free_rsc() {
  for (const Picture& p : pictures) {
    FreeGPSurface(*p.surface);
    *p.surface = nullptr;
  }
}
