// The handheld-style calls that draw: the game's pictures made from its 8-bit art, blits (plain
// and keyed, of surfaces and of raw arrays), rectangles and text.
#include "fct_gp.h"

#include "draw.h"

#include <cstdlib>

SDL_Surface* Screen = nullptr;
TTF_Font* police = nullptr;

namespace {

SDL_Surface* wrap565(void* pixels, int w, int h) {
  if (!pixels || w <= 0 || h <= 0) return nullptr;  // nothing to wrap: the callers draw nothing
  return SDL_CreateRGBSurfaceFrom(pixels, w, h, 16, w * 2, 0xF800, 0x07E0, 0x001F, 0);
}

// Whether our own drawing can serve a blit between these surfaces: 16-bit pixels of one layout
// that need no locking. A plain copy also leaves to SDL a source that carries a key or an alpha
// of its own (SDL would honour them); a keyed one sets its own key and leaves only the alpha.
bool ownBlit(const SDL_Surface* src, const SDL_Surface* dst, bool keyed) {
  if (!draw::sameFormat16(src, dst) || SDL_MUSTLOCK(src) || SDL_MUSTLOCK(dst)) return false;
  return !(src->flags & (keyed ? SDL_SRCALPHA : SDL_SRCCOLORKEY | SDL_SRCALPHA));
}

// SDL_Rect holds 16-bit fields: clamp what we are given into that range before handing it over,
// so that a far-off position clips instead of wrapping round onto the screen.
Sint16 clamp16(int v) {
  if (v < -32768) return -32768;
  if (v > 32767) return 32767;
  return static_cast<Sint16>(v);
}

// A blit of src (the part srcRect names, or all of it) to (dx, dy); keyed, every source pixel
// equal to key is left out. The game's own surfaces are drawn by draw.cpp, exactly as
// SDL_BlitSurface draws them; SDL still blits the others (other layouts, surfaces to lock).
// SDL 1.2's own copy streams every row past the cache with non-temporal stores, which makes the
// hundred small tile blits of a frame several times slower than the copy itself.
int blit(SDL_Surface* src, SDL_Rect* srcRect, SDL_Surface* dst, int dx, int dy, bool keyed = false,
         unsigned int key = 0) {
  if (!src || !dst) return 0;
  // A far-off position, once clamped to 16 bits, still lies far off the surface.
  dx = clamp16(dx);
  dy = clamp16(dy);
  if (ownBlit(src, dst, keyed)) {
    if (keyed)
      draw::copyKeyed(src, srcRect, dst, dx, dy, key);
    else
      draw::copy(src, srcRect, dst, dx, dy);
    return 0;
  }
  if (keyed) SDL_SetColorKey(src, SDL_SRCCOLORKEY, key);
  SDL_Rect d;
  d.x = static_cast<Sint16>(dx);
  d.y = static_cast<Sint16>(dy);
  d.w = 0;
  d.h = 0;
  return SDL_BlitSurface(src, srcRect, dst, &d);
}
Uint16 clampU16(int v) {
  if (v < 0) return 0;
  if (v > 65535) return 65535;
  return static_cast<Uint16>(v);
}

SDL_Rect rect(int x, int y, int w, int h) {
  SDL_Rect r;
  r.x = clamp16(x);
  r.y = clamp16(y);
  r.w = clampU16(w);
  r.h = clampU16(h);
  return r;
}

// Fills a rectangle of a 16-bit surface ourselves; SDL fills the others, once the rectangle is
// cut to the surface (SDL_FillRect takes unsigned sizes).
void fill(SDL_Surface* s, int x, int y, int w, int h, unsigned int colour) {
  if (!s || w <= 0 || h <= 0) return;
  if (s->format->BitsPerPixel == 16 && !SDL_MUSTLOCK(s)) {
    draw::fill(s, x, y, w, h, static_cast<uint16_t>(colour & 0xFFFF));
    return;
  }
  int x2 = x + w, y2 = y + h;
  if (x < 0) x = 0;
  if (y < 0) y = 0;
  if (x2 > s->w) x2 = s->w;
  if (y2 > s->h) y2 = s->h;
  if (x2 <= x || y2 <= y) return;
  SDL_Rect r = rect(x, y, x2 - x, y2 - y);
  SDL_FillRect(s, &r, colour & 0xFFFF);
}

}  // namespace

// ---- pictures ---------------------------------------------------------------------------------

SDL_Surface* LoadSurfaceFromGP8bitsImage(const unsigned char* image, const unsigned short* palette,
                                         int width, int height, bool flag) {
  if (!image || !palette || width <= 0 || height <= 0) return nullptr;
  auto* buf = static_cast<Uint16*>(
      std::malloc(sizeof(Uint16) * static_cast<size_t>(width) * static_cast<size_t>(height)));
  if (!buf) return nullptr;
  for (int y = 0; y < height; y++)
    for (int x = 0; x < width; x++)
      buf[y * width + x] = palette[image[x * height + (height - 1 - y)]];
  // A flagged picture's palette holds four bits of red (15-12) and four of blue (3-0). Not every
  // SDL 1.2 can make a surface of that layout, so it becomes RGB565 here, once: each channel
  // is widened as the classic library widens it when it blits such a picture, its low bit left 0
  // (red 0xF000 stays 0xF000, blue 0x000F becomes 0x001E); bits 11 and 4 belong to no channel.
  if (flag)
    for (size_t i = 0, n = static_cast<size_t>(width) * static_cast<size_t>(height); i < n; i++)
      buf[i] =
          static_cast<Uint16>((buf[i] & 0xF000) | (buf[i] & 0x07E0) | ((buf[i] & 0x000F) << 1));
  SDL_Surface* s = wrap565(buf, width, height);
  if (!s) std::free(buf);
  return s;
}

void FreeGPSurface(SDL_Surface* s) {
  if (!s) return;
  void* buf = s->pixels;
  SDL_FreeSurface(s);  // SDL does not own a buffer it was given
  std::free(buf);
}

SDL_Surface* Make_surface(void* pixels, int width, int height) {
  return wrap565(pixels, width, height);
}

SDL_Surface* Make_rotated_surface(void* pixels, int width, int height) {
  return wrap565(pixels, width, height);
}

// ---- blits ------------------------------------------------------------------------------------

int GpBitBlt(SDL_Surface* dst, int dx, int dy, int /*w*/, int /*h*/, SDL_Surface* src) {
  return blit(src, nullptr, dst, dx, dy);
}

int GpBitBlt(SDL_Surface* dst, int dx, int dy, int w, int h, SDL_Surface* src, int sx, int sy,
             int /*imgw*/, int /*imgh*/) {
  SDL_Rect r = rect(sx, sy, w, h);
  return blit(src, &r, dst, dx, dy);
}

int GpBitBlt(SDL_Surface* dst, int dx, int dy, int w, int h, unsigned char* src) {
  SDL_Surface* s = Make_surface(src, w, h);
  int res = blit(s, nullptr, dst, dx, dy);
  SDL_FreeSurface(s);
  return res;
}

int GpBitBlt(SDL_Surface* dst, int dx, int dy, int w, int h, unsigned char* src, int sx, int sy,
             int imgw, int imgh) {
  SDL_Surface* s = Make_surface(src, imgw, imgh);
  SDL_Rect r = rect(sx, sy, w, h);
  int res = blit(s, &r, dst, dx, dy);
  SDL_FreeSurface(s);
  return res;
}

// The keyed forms: the key belongs to the call, not to the picture; a later plain blit of the
// same picture draws every pixel.
int GpTransBlt(SDL_Surface* dst, int dx, int dy, int /*w*/, int /*h*/, SDL_Surface* src,
               unsigned int colourKey) {
  return blit(src, nullptr, dst, dx, dy, true, colourKey);
}

int GpTransBlt(SDL_Surface* dst, int dx, int dy, int w, int h, SDL_Surface* src, int sx, int sy,
               int /*imgw*/, int /*imgh*/, unsigned int colourKey) {
  SDL_Rect r = rect(sx, sy, w, h);
  return blit(src, &r, dst, dx, dy, true, colourKey);
}

int GpTransBlt(SDL_Surface* dst, int dx, int dy, int w, int h, unsigned char* src,
               unsigned int colourKey, int sx, int sy, int imgw, int imgh) {
  SDL_Surface* s = Make_rotated_surface(src, imgw, imgh);
  if (!s) return 0;
  SDL_Rect r = rect(sx, sy, w, h);
  int res = blit(s, &r, dst, dx, dy, true, colourKey);
  SDL_FreeSurface(s);
  return res;
}

// The array form without a rectangle: the whole w x h array, keyed, like its surface sibling.
int GpTransBlt(SDL_Surface* dst, int dx, int dy, int w, int h, unsigned char* src,
               unsigned int colourKey) {
  SDL_Surface* s = Make_rotated_surface(src, w, h);
  if (!s) return 0;
  int res = blit(s, nullptr, dst, dx, dy, true, colourKey);
  SDL_FreeSurface(s);
  return res;
}

// The rectangle calls always draw on Screen, whatever surface they are given.
void GpRectFill(SDL_Surface* /*dst*/, int x, int y, int w, int h, unsigned int colour) {
  fill(Screen, x, y, w, h, colour);
}

void GpRectDraw(SDL_Surface* /*dst*/, int x1, int y1, int x2, int y2, unsigned int colour) {
  fill(Screen, x1, y1, x2 - x1 + 1, 1, colour);
  fill(Screen, x1, y2, x2 - x1 + 1, 1, colour);
  fill(Screen, x1, y1, 1, y2 - y1 + 1, colour);
  fill(Screen, x2, y1, 1, y2 - y1 + 1, colour);
}

// Text comes from the glyph atlas that SDL_ttf rendered from the game's font at build time: the
// same pixels as SDL_ttf's own line, without the font. The font stays open for the game (police)
// but is no longer needed to draw.
void GpTextOut(SDL_Surface* dst, int x, int y, const char* text, unsigned short colour) {
  if (!dst || !text || !*text) return;
  if (hal_textHook) hal_textHook(text, x, y, colour);
  // The game's surfaces are all 5-6-5, the layout its colours are written in; draw::text leaves
  // any other alone.
  draw::text(dst, fontAtlas, clamp16(x), clamp16(y), text, colour);
}

int GpTextWidth(const char* text) { return draw::textWidth(fontAtlas, text); }
