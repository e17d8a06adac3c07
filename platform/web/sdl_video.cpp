// The page: the few SDL video calls the game makes, over plain memory.
//
// The browser's SDL keeps every surface in a canvas of its own, always 32 bits a pixel, and its
// blits go through the canvas. The game draws everything itself into 5-6-5 memory (see draw.h),
// so all it needs of these calls is a surface structure over its own pixels; defining them here
// keeps the browser's versions out of the program.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// A surface and its format in one allocation; `owned` pixels are freed with it.
struct Block {
  SDL_Surface surface;
  SDL_PixelFormat format;
  bool owned;
};

Uint8 shiftOf(Uint32 mask) {
  Uint8 s = 0;
  while (mask && !(mask & 1)) {
    mask >>= 1;
    s++;
  }
  return s;
}

Uint8 lossOf(Uint32 mask) {
  Uint8 bits = 0;
  for (; mask; mask >>= 1) bits += mask & 1;
  return static_cast<Uint8>(8 - (bits > 8 ? 8 : bits));
}

SDL_Surface* make(void* pixels, int w, int h, int depth, int pitch, Uint32 r, Uint32 g, Uint32 b,
                  Uint32 a) {
  if (w <= 0 || h <= 0 || (depth != 16 && depth != 32)) return nullptr;
  auto* blk = static_cast<Block*>(std::calloc(1, sizeof(Block)));
  if (!blk) return nullptr;
  if (!pixels) {
    pitch = w * depth / 8;
    pixels = std::calloc(static_cast<size_t>(pitch) * static_cast<size_t>(h), 1);
    if (!pixels) {
      std::free(blk);
      return nullptr;
    }
    blk->owned = true;
  }
  SDL_PixelFormat& f = blk->format;
  f.BitsPerPixel = static_cast<Uint8>(depth);
  f.BytesPerPixel = static_cast<Uint8>(depth / 8);
  f.Rmask = r;
  f.Gmask = g;
  f.Bmask = b;
  f.Amask = a;
  f.Rshift = shiftOf(r);
  f.Gshift = shiftOf(g);
  f.Bshift = shiftOf(b);
  f.Ashift = shiftOf(a);
  f.Rloss = lossOf(r);
  f.Gloss = lossOf(g);
  f.Bloss = lossOf(b);
  f.Aloss = lossOf(a);
  f.refcount = 1;
  SDL_Surface& s = blk->surface;
  s.format = &f;
  s.w = w;
  s.h = h;
  s.pitch = pitch;
  s.pixels = pixels;
  s.clip_rect.x = 0;
  s.clip_rect.y = 0;
  s.clip_rect.w = w;
  s.clip_rect.h = h;
  s.refcount = 1;
  return &s;
}

Uint32 channel(Uint8 v, Uint32 mask, Uint8 shift, Uint8 loss) {
  return (static_cast<Uint32>(v >> loss) << shift) & mask;
}

// As SDL widens a channel to 8 bits: its high bits repeated below it.
Uint8 widen(Uint32 pixel, Uint32 mask, Uint8 shift, Uint8 loss) {
  const unsigned v = (pixel & mask) >> shift;
  return static_cast<Uint8>((v << loss) + (v >> (8 - (loss << 1))));
}

}  // namespace

extern "C" {

SDL_Surface* SDL_CreateRGBSurfaceFrom(void* pixels, int width, int height, int depth, int pitch,
                                      Uint32 Rmask, Uint32 Gmask, Uint32 Bmask, Uint32 Amask) {
  if (!pixels) return nullptr;
  return make(pixels, width, height, depth, pitch, Rmask, Gmask, Bmask, Amask);
}

SDL_Surface* SDL_CreateRGBSurface(Uint32 /*flags*/, int width, int height, int depth, Uint32 Rmask,
                                  Uint32 Gmask, Uint32 Bmask, Uint32 Amask) {
  return make(nullptr, width, height, depth, 0, Rmask, Gmask, Bmask, Amask);
}

void SDL_FreeSurface(SDL_Surface* surface) {
  if (!surface) return;
  auto* blk = reinterpret_cast<Block*>(surface);
  if (blk->owned) std::free(surface->pixels);
  std::free(blk);
}

Uint32 SDL_MapRGB(const SDL_PixelFormat* f, Uint8 r, Uint8 g, Uint8 b) {
  return channel(r, f->Rmask, f->Rshift, f->Rloss) | channel(g, f->Gmask, f->Gshift, f->Gloss) |
         channel(b, f->Bmask, f->Bshift, f->Bloss) | f->Amask;
}

void SDL_GetRGB(Uint32 pixel, const SDL_PixelFormat* f, Uint8* r, Uint8* g, Uint8* b) {
  *r = widen(pixel, f->Rmask, f->Rshift, f->Rloss);
  *g = widen(pixel, f->Gmask, f->Gshift, f->Gloss);
  *b = widen(pixel, f->Bmask, f->Bshift, f->Bloss);
}

int SDL_FillRect(SDL_Surface* dst, const SDL_Rect* rect, Uint32 colour) {
  if (!dst) return -1;
  int x0 = dst->clip_rect.x, y0 = dst->clip_rect.y;
  int x1 = x0 + dst->clip_rect.w, y1 = y0 + dst->clip_rect.h;
  if (rect) {
    if (rect->x > x0) x0 = rect->x;
    if (rect->y > y0) y0 = rect->y;
    if (rect->x + rect->w < x1) x1 = rect->x + rect->w;
    if (rect->y + rect->h < y1) y1 = rect->y + rect->h;
  }
  for (int y = y0; y < y1; y++) {
    Uint8* row = static_cast<Uint8*>(dst->pixels) + y * dst->pitch;
    for (int x = x0; x < x1; x++) {
      if (dst->format->BytesPerPixel == 2)
        reinterpret_cast<Uint16*>(row)[x] = static_cast<Uint16>(colour);
      else
        reinterpret_cast<Uint32*>(row)[x] = colour;
    }
  }
  return 0;
}

// Only the game's own drawing reaches the screen in the page: a blit that comes here found no
// way of ours to draw, and draws nothing rather than something else.
int SDL_UpperBlit(SDL_Surface*, const SDL_Rect*, SDL_Surface*, SDL_Rect*) {
  static bool said = false;
  if (!said) std::fprintf(stderr, "talmyr: a picture the page cannot draw was skipped\n");
  said = true;
  return -1;
}

int SDL_SetColorKey(SDL_Surface*, int, Uint32) { return 0; }

}  // extern "C"
