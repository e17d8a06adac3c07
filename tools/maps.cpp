// Developer tool: every map drawn whole with its inhabitants at their set-up places, a contact
// sheet of every picture, and a numbered sheet of every tile, from the real converted surfaces.
// usage: maps OUTDIR
#include "harness.h"

#include <cstdio>
#include <string>
#include <utility>

namespace {

const std::pair<const char*, smap*> maps[] = {
    {"ile", &ile},         {"village", &village}, {"maison1", &maison1}, {"maison2", &maison2},
    {"maison3", &maison3}, {"entree", &entree},   {"chateau", &chateau}};

SDL_Surface* canvas(int w, int h) {
  return SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 16, 0xF800, 0x07E0, 0x001F, 0);
}

void blit(SDL_Surface* src, int sx, int sy, int w, int h, SDL_Surface* dst, int dx, int dy,
          bool keyed) {
  if (keyed) SDL_SetColorKey(src, SDL_SRCCOLORKEY, TRANSPARENT_KEY);
  SDL_Rect s = {static_cast<Sint16>(sx), static_cast<Sint16>(sy), static_cast<Uint16>(w),
                static_cast<Uint16>(h)};
  SDL_Rect d = {static_cast<Sint16>(dx), static_cast<Sint16>(dy), 0, 0};
  SDL_BlitSurface(src, &s, dst, &d);
}

void drawMap(const std::string& dir, const char* name, smap* m) {
  SDL_Surface* out = canvas(32 * m->w, 32 * m->h);
  for (int y = 0; y < m->h; y++)
    for (int x = 0; x < m->w; x++)
      blit(pSurf_tiles_decor, 0, 32 * (m->tiles[y * m->w + x] - 1), 32, 32, out, 32 * x, 32 * y,
           false);
  for (int i = 0; i < nbsprites; i++) {
    const chara* c = sprites[i];
    if (c->map == m) blit(c->sprite, 32 * c->frame, 32 * c->dir, 32, 32, out, c->px, c->py, true);
  }
  if (m == &ile) blit(perso.sprite, 0, 32 * 3, 32, 32, out, 32 * m->startX, 32 * m->startY, true);
  const std::string path = dir + "/" + name + ".png";
  harness::saveScreen(path, out);
  SDL_FreeSurface(out);
  std::printf("%s\n", path.c_str());
}

void contactSheet(const std::string& dir) {
  SDL_Surface* sheets[] = {pSurf_sprite_perso,     pSurf_sprite_vagabond, pSurf_sprite_gmere,
                           pSurf_sprite_gmere2,    pSurf_sprite_gpere,    pSurf_sprite_femme1,
                           pSurf_sprite_femme2,    pSurf_sprite_pgarcon,  pSurf_sprite_pfille,
                           pSurf_sprite_poule,     pSurf_sprite_garde1,   pSurf_sprite_garde2,
                           pSurf_sprite_garde3,    pSurf_sprite_roi,      pSurf_sprite_reine,
                           pSurf_sprite_princesse, pSurf_sprite_boss};
  SDL_Surface* pictures[] = {pSurf_img_intro, pSurf_img_parch2, pSurf_img_battlebg, pSurf_img_bravo,
                             pSurf_img_gameover};
  SDL_Surface* out = canvas(17 * 68, 640);
  SDL_FillRect(out, nullptr, 0x4208);
  for (int i = 0; i < 17; i++) blit(sheets[i], 0, 0, 64, 128, out, 4 + 68 * i, 4, true);
  blit(pSurf_icons_faceset, 0, 0, 24, 360, out, 4, 140, true);
  blit(pSurf_sprite_icones, 0, 0, 16, 128, out, 40, 140, true);
  blit(pSurf_sprite_attaq1, 0, 0, 32, 96, out, 68, 140, true);
  for (int i = 0; i < 5; i++)
    blit(pictures[i], 0, 0, 320, 240, out, 110 + 324 * (i % 3), 140 + 250 * (i / 3) - (i / 3) * 0,
         false);
  const std::string path = dir + "/sheets.png";
  harness::saveScreen(path, out);
  SDL_FreeSurface(out);
  std::printf("%s\n", path.c_str());
}

// Every tile of the strip in rows of 16, its number under it: a green frame round the walkable
// ones (marche[]), a grey number for those no map uses.
void tileSheet(const std::string& dir) {
  constexpr int cols = 16, count = 255, cellW = 44, cellH = 52, top = 22;
  constexpr int rows = (count + cols - 1) / cols;
  constexpr uint16_t back = 0x2104, grid = 0x6B4D, walk = 0x07E0, used = 0xFFFF, unused = 0x8410;
  bool inMaps[256] = {};
  for (auto [name, m] : maps)
    for (int i = 0; i < m->w * m->h; i++) inMaps[m->tiles[i] & 0xFF] = true;

  SDL_Surface* out = canvas(cols * cellW + 1, top + rows * cellH + 1);
  SDL_FillRect(out, nullptr, back);
  GpTextOut(out, 4, 4, "Tiles 1-255.  Green frame: walkable (marche[]).  Grey number: in no map.",
            used);
  for (int r = 0; r <= rows; r++) {
    SDL_Rect line = {0, static_cast<Sint16>(top + r * cellH), static_cast<Uint16>(out->w), 1};
    SDL_FillRect(out, &line, grid);
  }
  for (int c = 0; c <= cols; c++) {
    SDL_Rect line = {static_cast<Sint16>(c * cellW), top, 1, static_cast<Uint16>(rows * cellH)};
    SDL_FillRect(out, &line, grid);
  }
  for (int t = 1; t <= count; t++) {
    const int x = (t - 1) % cols * cellW, y = top + (t - 1) / cols * cellH;
    if (marche[t] == 1) {
      SDL_Rect frame = {static_cast<Sint16>(x + 4), static_cast<Sint16>(y + 3), 36, 36};
      SDL_FillRect(out, &frame, walk);
    }
    blit(pSurf_tiles_decor, 0, 32 * (t - 1), 32, 32, out, x + 6, y + 5, false);
    const std::string n = std::to_string(t);
    GpTextOut(out, x + (cellW - GpTextWidth(n.c_str())) / 2, y + 39, n.c_str(),
              inMaps[t] ? used : unused);
  }
  const std::string path = dir + "/tiles.png";
  harness::saveScreen(path, out);
  SDL_FreeSurface(out);
  std::printf("%s\n", path.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const std::string dir = argc > 1 ? argv[1] : ".";
  if (!harness::start()) return 1;
  for (auto [name, m] : maps) drawMap(dir, name, m);
  contactSheet(dir);
  tileSheet(dir);
  harness::stop();
  return 0;
}
