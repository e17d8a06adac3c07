// The platform's own drawing of 16-bit surfaces must put exactly the pixels SDL would: plain and
// keyed copies for every source rectangle, destination position and clipping rectangle, inside or
// across the edges, every picture the game draws keyed, and filled rectangles.
#include <gtest/gtest.h>

#include "draw.h"
#include "fct_gp.h"
#include "globals.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

SDL_Surface* surface565(int w, int h, unsigned seed) {
  SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 16, 0xF800, 0x07E0, 0x001F, 0);
  srand(seed);
  for (int y = 0; y < h; y++) {
    auto* row = reinterpret_cast<Uint16*>(static_cast<Uint8*>(s->pixels) + y * s->pitch);
    for (int x = 0; x < w; x++) row[x] = static_cast<Uint16>(rand());
  }
  return s;
}

bool samePixels(SDL_Surface* a, SDL_Surface* b) {
  for (int y = 0; y < a->h; y++)
    if (std::memcmp(static_cast<Uint8*>(a->pixels) + y * a->pitch,
                    static_cast<Uint8*>(b->pixels) + y * b->pitch, a->w * 2) != 0)
      return false;
  return true;
}

class BlitCopy : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(SDL_Init(0), 0); }
  void TearDown() override { SDL_Quit(); }
};

TEST_F(BlitCopy, MatchesSdlForRectanglesAcrossEveryEdgeAndClip) {
  SDL_Surface* src = surface565(64, 96, 1);
  SDL_Surface* mine = surface565(80, 60, 2);
  SDL_Surface* sdls = surface565(80, 60, 2);
  srand(3);
  int drawn = 0;
  for (int n = 0; n < 4000; n++) {
    const int sx = rand() % 100 - 20, sy = rand() % 130 - 20;
    const int w = rand() % 90, h = rand() % 120;
    const int dx = rand() % 140 - 40, dy = rand() % 110 - 30;
    SDL_Rect clip;
    clip.x = static_cast<Sint16>(rand() % 20);
    clip.y = static_cast<Sint16>(rand() % 20);
    clip.w = static_cast<Uint16>(rand() % 80);
    clip.h = static_cast<Uint16>(rand() % 60);
    SDL_Rect* c = n % 3 ? &clip : nullptr;  // a third with the whole surface as the clip
    SDL_SetClipRect(mine, c);
    SDL_SetClipRect(sdls, c);

    GpBitBlt(mine, dx, dy, w, h, src, sx, sy, 64, 96);
    SDL_Rect r, d;
    r.x = static_cast<Sint16>(sx);
    r.y = static_cast<Sint16>(sy);
    r.w = static_cast<Uint16>(w);
    r.h = static_cast<Uint16>(h);
    d.x = static_cast<Sint16>(dx);
    d.y = static_cast<Sint16>(dy);
    d.w = d.h = 0;
    SDL_BlitSurface(src, &r, sdls, &d);
    ASSERT_TRUE(samePixels(mine, sdls))
        << "rect " << sx << "," << sy << " " << w << "x" << h << " at " << dx << "," << dy;
    if (n % 50 == 0) {  // whole-surface form too
      GpBitBlt(mine, dx, dy, 64, 96, src);
      d.x = static_cast<Sint16>(dx);  // SDL wrote the clipped rectangle back into d
      d.y = static_cast<Sint16>(dy);
      SDL_BlitSurface(src, nullptr, sdls, &d);
      ASSERT_TRUE(samePixels(mine, sdls)) << "whole at " << dx << "," << dy;
    }
    drawn++;
  }
  EXPECT_EQ(drawn, 4000);
  SDL_FreeSurface(src);
  SDL_FreeSurface(mine);
  SDL_FreeSurface(sdls);
}

// SDL's keyed blit of the same pixels: a second surface over the picture's buffer carries the key,
// so that the picture itself is left as the game leaves it.
int sdlKeyed(SDL_Surface* src, const SDL_Rect* r, SDL_Surface* dst, int dx, int dy, Uint32 key) {
  SDL_Surface* twin = SDL_CreateRGBSurfaceFrom(src->pixels, src->w, src->h, 16, src->pitch, 0xF800,
                                               0x07E0, 0x001F, 0);
  SDL_SetColorKey(twin, SDL_SRCCOLORKEY, key);
  SDL_Rect sr, d;
  if (r) sr = *r;
  d.x = static_cast<Sint16>(dx);
  d.y = static_cast<Sint16>(dy);
  d.w = d.h = 0;
  const int res = SDL_BlitSurface(twin, r ? &sr : nullptr, dst, &d);
  SDL_FreeSurface(twin);
  return res;
}

SDL_Rect rectOf(int x, int y, int w, int h) {
  SDL_Rect r;
  r.x = static_cast<Sint16>(x);
  r.y = static_cast<Sint16>(y);
  r.w = static_cast<Uint16>(w);
  r.h = static_cast<Uint16>(h);
  return r;
}

TEST_F(BlitCopy, KeyedBlitsMatchSdlForRectanglesAcrossEveryEdgeAndClip) {
  // A source with runs of the key among other pixels; keys of every kind.
  SDL_Surface* src = surface565(64, 96, 11);
  const Uint16 keys[] = {static_cast<Uint16>(TRANSPARENT_KEY), 0x0000, 0xFFFF, 0x1234};
  srand(12);
  for (int i = 0; i < 64 * 96; i++)
    if (rand() % 3 == 0) static_cast<Uint16*>(src->pixels)[i] = keys[rand() % 4];
  SDL_Surface* mine = surface565(80, 60, 13);
  SDL_Surface* sdls = surface565(80, 60, 13);
  for (int n = 0; n < 4000; n++) {
    const Uint16 key = keys[n % 4];
    const int sx = rand() % 100 - 20, sy = rand() % 130 - 20;
    const int w = rand() % 90, h = rand() % 120;
    const int dx = rand() % 140 - 40, dy = rand() % 110 - 30;
    SDL_Rect clip = rectOf(rand() % 20, rand() % 20, rand() % 80, rand() % 60);
    SDL_Rect* c = n % 3 ? &clip : nullptr;
    SDL_SetClipRect(mine, c);
    SDL_SetClipRect(sdls, c);
    GpTransBlt(mine, dx, dy, w, h, src, sx, sy, 64, 96, key);
    SDL_Rect r = rectOf(sx, sy, w, h);
    sdlKeyed(src, &r, sdls, dx, dy, key);
    ASSERT_TRUE(samePixels(mine, sdls)) << "key " << key << " rect " << sx << "," << sy << " " << w
                                        << "x" << h << " at " << dx << "," << dy;
    if (n % 50 == 0) {  // the whole-surface form
      GpTransBlt(mine, dx, dy, 64, 96, src, key);
      sdlKeyed(src, nullptr, sdls, dx, dy, key);
      ASSERT_TRUE(samePixels(mine, sdls)) << "whole at " << dx << "," << dy;
    }
  }
  // far-off positions: whatever the game asks for lands where SDL puts it once cut to 16 bits
  SDL_SetClipRect(mine, nullptr);
  SDL_SetClipRect(sdls, nullptr);
  auto cut = [](int v) { return std::min(std::max(v, -32768), 32767); };
  const int far[] = {-70000, -32768, -32767, -100, 5, 32767, 40000, 65536 + 10, 70000};
  for (int dx : far)
    for (int dy : {-70000, -65536 + 10, -5, 10, 32767, 70000}) {
      GpTransBlt(mine, dx, dy, 32, 32, src, 0, 0, 64, 96, TRANSPARENT_KEY);
      SDL_Rect r = rectOf(0, 0, 32, 32);
      sdlKeyed(src, &r, sdls, cut(dx), cut(dy), TRANSPARENT_KEY);
      GpTransBlt(mine, dx, dy, 64, 96, src, TRANSPARENT_KEY);
      sdlKeyed(src, nullptr, sdls, cut(dx), cut(dy), TRANSPARENT_KEY);
      ASSERT_TRUE(samePixels(mine, sdls)) << "far off at " << dx << "," << dy;
    }
  SDL_FreeSurface(src);
  SDL_FreeSurface(mine);
  SDL_FreeSurface(sdls);
}

// Every picture the game draws keyed, with its key: each cell it is cut into, at every edge of the
// screen and well inside, through the surface forms and the raw-array forms.
TEST_F(BlitCopy, EveryKeyedPictureOfTheGameMatchesSdl) {
  load_rsc();
  struct Keyed {
    const char* name;
    SDL_Surface* picture;
    int cell;  // the side of the squares the game cuts it into
  };
  const Keyed pictures[] = {
      {"icons_faceset", pSurf_icons_faceset, 24},
      {"sprite_icones", pSurf_sprite_icones, 16},
      {"sprite_attaq1", pSurf_sprite_attaq1, 32},
      {"sprite_boss", pSurf_sprite_boss, 32},
      {"sprite_femme1", pSurf_sprite_femme1, 32},
      {"sprite_femme2", pSurf_sprite_femme2, 32},
      {"sprite_garde1", pSurf_sprite_garde1, 32},
      {"sprite_garde2", pSurf_sprite_garde2, 32},
      {"sprite_garde3", pSurf_sprite_garde3, 32},
      {"sprite_gmere", pSurf_sprite_gmere, 32},
      {"sprite_gmere2", pSurf_sprite_gmere2, 32},
      {"sprite_gpere", pSurf_sprite_gpere, 32},
      {"sprite_perso", pSurf_sprite_perso, 32},
      {"sprite_pfille", pSurf_sprite_pfille, 32},
      {"sprite_pgarcon", pSurf_sprite_pgarcon, 32},
      {"sprite_poule", pSurf_sprite_poule, 32},
      {"sprite_princesse", pSurf_sprite_princesse, 32},
      {"sprite_reine", pSurf_sprite_reine, 32},
      {"sprite_roi", pSurf_sprite_roi, 32},
      {"sprite_vagabond", pSurf_sprite_vagabond, 32},
  };
  SDL_Surface* mine = surface565(320, 240, 21);
  SDL_Surface* sdls = surface565(320, 240, 21);
  int keyedPixels = 0;
  for (const Keyed& p : pictures) {
    SCOPED_TRACE(p.name);
    ASSERT_NE(p.picture, nullptr);
    const int pw = p.picture->w, ph = p.picture->h, c = p.cell;
    for (int i = 0; i < pw * ph; i++)
      keyedPixels += static_cast<const Uint16*>(p.picture->pixels)[i] == TRANSPARENT_KEY;
    const int xs[] = {-c - 1, -c + 1, -c / 2, -1, 0, 7, 150, 320 - c, 320 - c / 2, 319, 320};
    const int ys[] = {-c - 1, -c + 1, -c / 2, -1, 0, 5, 100, 240 - c, 240 - c / 2, 239, 240};
    for (int sy = 0; sy < ph; sy += c)
      for (int sx = 0; sx < pw; sx += c)
        for (int k = 0; k < 11; k++) {
          const int dx = xs[k], dy = ys[(k * 7 + sy / c + sx / c) % 11];
          GpTransBlt(mine, dx, dy, c, c, p.picture, sx, sy, pw, ph, TRANSPARENT_KEY);
          SDL_Rect r = rectOf(sx, sy, c, c);
          sdlKeyed(p.picture, &r, sdls, dx, dy, TRANSPARENT_KEY);
          ASSERT_TRUE(samePixels(mine, sdls))
              << "cell " << sx << "," << sy << " at " << dx << "," << dy;
        }
    // the whole picture, and the raw-array forms over its pixels
    auto* raw = static_cast<unsigned char*>(p.picture->pixels);
    for (int k = 0; k < 11; k++) {
      const int dx = xs[k] * 2 - 40, dy = ys[10 - k] - 30;
      GpTransBlt(mine, dx, dy, pw, ph, p.picture, TRANSPARENT_KEY);
      sdlKeyed(p.picture, nullptr, sdls, dx, dy, TRANSPARENT_KEY);
      GpTransBlt(mine, dy, dx, pw, ph, raw, TRANSPARENT_KEY);
      sdlKeyed(p.picture, nullptr, sdls, dy, dx, TRANSPARENT_KEY);
      GpTransBlt(mine, dx + 3, dy, c, c, raw, TRANSPARENT_KEY, k, c + k, pw, ph);
      SDL_Rect r = rectOf(k, c + k, c, c);
      sdlKeyed(p.picture, &r, sdls, dx + 3, dy, TRANSPARENT_KEY);
      ASSERT_TRUE(samePixels(mine, sdls)) << "whole or raw at " << dx << "," << dy;
    }
    // drawn keyed, the picture keeps no key: a plain blit afterwards draws every pixel
    EXPECT_FALSE(p.picture->flags & SDL_SRCCOLORKEY);
  }
  EXPECT_GT(keyedPixels, 1000) << "the pictures hold no transparent pixels: nothing was checked";
  free_rsc();
  SDL_FreeSurface(mine);
  SDL_FreeSurface(sdls);
}

// SDL_FillRect on the surface cut as the platform always cut it, against the platform's own fill.
void sdlFill(SDL_Surface* s, int x, int y, int w, int h, unsigned colour) {
  if (w <= 0 || h <= 0) return;
  int x2 = x + w, y2 = y + h;
  x = std::max(x, 0);
  y = std::max(y, 0);
  x2 = std::min(x2, s->w);
  y2 = std::min(y2, s->h);
  if (x2 <= x || y2 <= y) return;
  SDL_Rect r = rectOf(x, y, x2 - x, y2 - y);
  SDL_FillRect(s, &r, colour & 0xFFFF);
}

TEST_F(BlitCopy, FilledRectanglesMatchSdl) {
  SDL_Surface* mine = surface565(320, 240, 31);
  SDL_Surface* sdls = surface565(320, 240, 31);
  SDL_Surface* const screen = Screen;
  Screen = mine;  // the rectangle calls draw on Screen
  srand(32);
  for (int n = 0; n < 3000; n++) {
    const int x = rand() % 800 - 400, y = rand() % 600 - 300;
    const int w = rand() % 520 - 20, h = rand() % 400 - 20;
    const unsigned colour = static_cast<unsigned>(rand()) * 2654435761u;  // 32 bits, cut to 16
    SDL_Rect clip = rectOf(rand() % 200, rand() % 150, rand() % 320, rand() % 240);
    SDL_Rect* c = n % 4 ? nullptr : &clip;  // the game never sets one; the fill keeps to it anyway
    SDL_SetClipRect(mine, c);
    SDL_SetClipRect(sdls, c);
    if (n % 2) {
      GpRectFill(Screen, x, y, w, h, colour);
      sdlFill(sdls, x, y, w, h, colour);
    } else {  // the outline: four one-pixel rectangles
      GpRectDraw(Screen, x, y, x + w, y + h, colour);
      sdlFill(sdls, x, y, w + 1, 1, colour);
      sdlFill(sdls, x, y + h, w + 1, 1, colour);
      sdlFill(sdls, x, y, 1, h + 1, colour);
      sdlFill(sdls, x + w, y, 1, h + 1, colour);
    }
    ASSERT_TRUE(samePixels(mine, sdls))
        << (n % 2 ? "fill " : "outline ") << x << "," << y << " " << w << "x" << h;
  }
  // and far off, where 16-bit rectangles would wrap round
  SDL_SetClipRect(mine, nullptr);
  SDL_Surface* before = surface565(320, 240, 31);
  std::memcpy(before->pixels, mine->pixels, static_cast<size_t>(mine->pitch) * 240);
  GpRectFill(Screen, 65536 + 10, 10, 20, 20, 0xFFFF);
  GpRectFill(Screen, -65536 + 10, 10, 20, 20, 0xFFFF);
  GpRectFill(Screen, 10, 10, 2000000000, -5, 0xFFFF);
  draw::fill(mine, 2147483000, 0, 2000, 10, 0xFFFF);
  EXPECT_TRUE(samePixels(mine, before));
  Screen = screen;
  SDL_FreeSurface(before);
  SDL_FreeSurface(mine);
  SDL_FreeSurface(sdls);
}

TEST_F(BlitCopy, OtherLayoutsStillGoThroughSdl) {
  SDL_Surface* dst = surface565(32, 32, 5);
  std::vector<Uint16> keyed(32 * 32, static_cast<Uint16>(TRANSPARENT_KEY));
  keyed[0] = 0x1234;
  SDL_Surface* sprite = Make_surface(keyed.data(), 32, 32);
  const Uint16 before = static_cast<Uint16*>(dst->pixels)[1];
  GpTransBlt(dst, 0, 0, 32, 32, sprite, 0, 0, 32, 32, TRANSPARENT_KEY);
  EXPECT_EQ(static_cast<Uint16*>(dst->pixels)[0], 0x1234);
  EXPECT_EQ(static_cast<Uint16*>(dst->pixels)[1], before);
  // the key belongs to the keyed call: a plain blit of the same picture draws every pixel
  GpBitBlt(dst, 0, 0, 32, 32, sprite);
  EXPECT_EQ(static_cast<Uint16*>(dst->pixels)[1], TRANSPARENT_KEY);

  // A 32-bit picture is converted, not copied raw, and keyed in its own layout.
  std::vector<Uint32> own(4, 0x00FF0000);  // full red, 32 bits a pixel
  own[3] = 0x0000FF00;                     // and a green key pixel
  SDL_Surface* other =
      SDL_CreateRGBSurfaceFrom(own.data(), 2, 2, 32, 8, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
  GpBitBlt(dst, 4, 4, 2, 2, other);
  Uint8 r, g, b;
  SDL_GetRGB(static_cast<Uint16*>(dst->pixels)[4 * 32 + 4], dst->format, &r, &g, &b);
  EXPECT_GE(r, 0xF0);
  EXPECT_EQ(g, 0);
  EXPECT_EQ(b, 0);
  const Uint16 under = static_cast<Uint16*>(dst->pixels)[11 * 32 + 11];
  GpTransBlt(dst, 10, 10, 2, 2, other, 0x0000FF00);
  EXPECT_EQ(static_cast<Uint16*>(dst->pixels)[10 * 32 + 10], 0xF800);
  EXPECT_EQ(static_cast<Uint16*>(dst->pixels)[11 * 32 + 11], under);
  SDL_FreeSurface(other);
  SDL_FreeSurface(sprite);
  SDL_FreeSurface(dst);
}

}  // namespace
