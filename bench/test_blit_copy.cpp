// The platform's own copy of same-format 16-bit blits must put exactly the pixels SDL's blit would:
// every source rectangle, destination position and clipping rectangle, inside or across the edges.
#include <gtest/gtest.h>

#include "fct_gp.h"

#include <cstdlib>
#include <cstring>
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
    ASSERT_TRUE(samePixels(mine, sdls)) << "rect " << sx << "," << sy << " " << w << "x" << h
                                        << " at " << dx << "," << dy;
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

TEST_F(BlitCopy, KeyedAndOtherFormatsStillGoThroughSdl) {
  // A keyed sprite leaves its key colour out; a 32-bit picture is converted, not copied raw.
  SDL_Surface* dst = surface565(32, 32, 5);
  std::vector<Uint16> keyed(32 * 32, static_cast<Uint16>(TRANSPARENT_KEY));
  keyed[0] = 0x1234;
  SDL_Surface* sprite = Make_surface(keyed.data(), 32, 32);
  const Uint16 before = static_cast<Uint16*>(dst->pixels)[1];
  GpTransBlt(dst, 0, 0, 32, 32, sprite, 0, 0, 32, 32, TRANSPARENT_KEY);
  EXPECT_EQ(static_cast<Uint16*>(dst->pixels)[0], 0x1234);
  EXPECT_EQ(static_cast<Uint16*>(dst->pixels)[1], before);
  // and once its key is set, even the plain blit keeps it
  GpBitBlt(dst, 0, 0, 32, 32, sprite);
  EXPECT_EQ(static_cast<Uint16*>(dst->pixels)[1], before);

  std::vector<Uint32> own(4, 0x00FF0000);  // full red, 32 bits a pixel (as rendered text is)
  SDL_Surface* other =
      SDL_CreateRGBSurfaceFrom(own.data(), 2, 2, 32, 8, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
  GpBitBlt(dst, 4, 4, 2, 2, other);
  Uint8 r, g, b;
  SDL_GetRGB(static_cast<Uint16*>(dst->pixels)[4 * 32 + 4], dst->format, &r, &g, &b);
  EXPECT_GE(r, 0xF0);
  EXPECT_EQ(g, 0);
  EXPECT_EQ(b, 0);
  SDL_FreeSurface(other);
  SDL_FreeSurface(sprite);
  SDL_FreeSurface(dst);
}

}  // namespace
