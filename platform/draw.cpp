// The game's own pixel drawing (see draw.h): no SDL function is called here.
#include "draw.h"

#include <algorithm>
#include <cstring>

namespace draw {

namespace {

// Positions are worked out in 64 bits: a caller's far-off coordinates never overflow.
using Wide = long long;

Uint16* pixelAt(SDL_Surface* s, Wide x, Wide y) {
  return reinterpret_cast<Uint16*>(static_cast<Uint8*>(s->pixels) + y * s->pitch) + x;
}
const Uint16* pixelAt(const SDL_Surface* s, Wide x, Wide y) {
  return reinterpret_cast<const Uint16*>(static_cast<const Uint8*>(s->pixels) + y * s->pitch) + x;
}

bool usable(const SDL_Surface* s) {
  return s && s->pixels && s->format && s->format->BitsPerPixel == 16;
}

}  // namespace

bool sameFormat16(const SDL_Surface* src, const SDL_Surface* dst) {
  if (!usable(src) || !usable(dst)) return false;
  const SDL_PixelFormat* sf = src->format;
  const SDL_PixelFormat* df = dst->format;
  return sf->Rmask == df->Rmask && sf->Gmask == df->Gmask && sf->Bmask == df->Bmask;
}

bool is565(const SDL_Surface* s) {
  return usable(s) && s->format->Rmask == 0xF800 && s->format->Gmask == 0x07E0 &&
         s->format->Bmask == 0x001F;
}

// SDL_BlitSurface's order: a source rectangle starting before the source moves the destination
// by as much; the rectangle is cut to the source; then the destination's clipping rectangle cuts
// both sides.
Span clip(const SDL_Surface* src, const SDL_Rect* srcRect, const SDL_Surface* dst, int dx, int dy) {
  Wide sx = 0, sy = 0, w = src->w, h = src->h, x = dx, y = dy;
  if (srcRect) {
    sx = srcRect->x;
    sy = srcRect->y;
    w = srcRect->w;
    h = srcRect->h;
    if (sx < 0) {
      w += sx;
      x -= sx;
      sx = 0;
    }
    if (sy < 0) {
      h += sy;
      y -= sy;
      sy = 0;
    }
    w = std::min<Wide>(w, src->w - sx);
    h = std::min<Wide>(h, src->h - sy);
  }
  const SDL_Rect& c = dst->clip_rect;
  if (x < c.x) {
    w -= c.x - x;
    sx += c.x - x;
    x = c.x;
  }
  if (y < c.y) {
    h -= c.y - y;
    sy += c.y - y;
    y = c.y;
  }
  w = std::min<Wide>(w, Wide{c.x} + c.w - x);
  h = std::min<Wide>(h, Wide{c.y} + c.h - y);
  if (w <= 0 || h <= 0) return Span{0, 0, 0, 0, 0, 0};
  // Within both surfaces now: every figure fits an int.
  return Span{static_cast<int>(sx), static_cast<int>(sy), static_cast<int>(x),
              static_cast<int>(y),  static_cast<int>(w),  static_cast<int>(h)};
}

void copy(const SDL_Surface* src, const SDL_Rect* srcRect, SDL_Surface* dst, int dx, int dy) {
  if (!sameFormat16(src, dst)) return;
  const Span s = clip(src, srcRect, dst, dx, dy);
  if (s.w <= 0 || s.h <= 0) return;
  // the rows' addresses worked out once: memcpy could, for all the compiler knows, change the
  // surfaces' own fields
  const auto* from = reinterpret_cast<const Uint8*>(pixelAt(src, s.sx, s.sy));
  auto* to = reinterpret_cast<Uint8*>(pixelAt(dst, s.dx, s.dy));
  const int fromPitch = src->pitch, toPitch = dst->pitch;
  for (int row = 0; row < s.h; row++, from += fromPitch, to += toPitch)
    std::memcpy(to, from, static_cast<size_t>(s.w) * 2);
}

void copyKeyed(const SDL_Surface* src, const SDL_Rect* srcRect, SDL_Surface* dst, int dx, int dy,
               uint32_t key) {
  if (!sameFormat16(src, dst)) return;
  if (key > 0xFFFF) {  // no 16-bit pixel equals it
    copy(src, srcRect, dst, dx, dy);
    return;
  }
  const Span s = clip(src, srcRect, dst, dx, dy);
  if (s.w <= 0 || s.h <= 0) return;
  const auto k = static_cast<Uint16>(key);
  const auto* fromRow = reinterpret_cast<const Uint8*>(pixelAt(src, s.sx, s.sy));
  auto* toRow = reinterpret_cast<Uint8*>(pixelAt(dst, s.dx, s.dy));
  const int fromPitch = src->pitch, toPitch = dst->pitch;
  for (int row = 0; row < s.h; row++, fromRow += fromPitch, toRow += toPitch) {
    const auto* from = reinterpret_cast<const Uint16*>(fromRow);
    auto* to = reinterpret_cast<Uint16*>(toRow);
    // Every pixel is written, a key pixel with what was there, through a mask rather than a
    // branch: the compiler then does eight pixels at a time, and a sprite's edges cost nothing.
    for (int i = 0; i < s.w; i++) {
      const Uint16 f = from[i];
      const auto keep = static_cast<Uint16>(-static_cast<int>(f == k));  // all ones on the key
      to[i] = static_cast<Uint16>((f & ~keep) | (to[i] & keep));
    }
  }
}

void fill(SDL_Surface* dst, int x, int y, int w, int h, uint16_t colour) {
  if (!usable(dst) || w <= 0 || h <= 0) return;
  const SDL_Rect& c = dst->clip_rect;
  Wide x0 = x, y0 = y, x1 = x0 + w, y1 = y0 + h;
  x0 = std::max<Wide>(x0, c.x);
  y0 = std::max<Wide>(y0, c.y);
  x1 = std::min<Wide>(x1, c.x + Wide{c.w});
  y1 = std::min<Wide>(y1, c.y + Wide{c.h});
  if (x1 <= x0 || y1 <= y0) return;
  for (Wide row = y0; row < y1; row++)
    std::fill(pixelAt(dst, x0, row), pixelAt(dst, x1, row), colour);
}

// ---- text -------------------------------------------------------------------------------------

namespace {

// SDL_ttf's line: the pen starts at 0 and moves by each glyph's advance; the line reaches from
// the leftmost glyph edge (0 at most) to the rightmost of each pen position plus the larger of
// the glyph's advance and right edge. Its height is the font's, or more for glyphs reaching
// lower. A first glyph that starts left of its pen pushes the whole line right by as much.
// The game's font has no kerning (the atlas tool makes sure of it), so none is applied.
struct Line {
  Wide w = 0, h = 0;
  Wide shift = 0;  // where the pen starts in the line's box
};

Line layout(const Font& font, const unsigned char* text) {
  Line line;
  Wide x = 0, minx = 0, maxx = 0, miny = 0;
  for (const unsigned char* p = text; *p; p++) {
    const Glyph& g = font.glyphs[*p];
    if (p == text && g.minx < 0) line.shift = -g.minx;
    minx = std::min(minx, x + g.minx);
    maxx = std::max(maxx, x + std::max(g.advance, g.maxx));
    miny = std::min<Wide>(miny, g.miny);
    x += g.advance;
  }
  line.w = maxx - minx;
  line.h = std::max<Wide>(font.height, font.ascent - miny);
  return line;
}

}  // namespace

void textSize(const Font& font, const char* text, int* w, int* h) {
  Line line;
  if (text) line = layout(font, reinterpret_cast<const unsigned char*>(text));
  if (w) *w = static_cast<int>(line.w);
  if (h) *h = static_cast<int>(line.h);
}

int textWidth(const Font& font, const char* text) {
  int w = 0;
  textSize(font, text, &w, nullptr);
  return w;
}

void text(SDL_Surface* dst, const Font& font, int x, int y, const char* text, uint16_t colour) {
  if (!is565(dst) || !text) return;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  const Line line = layout(font, bytes);
  if (line.w <= 0) return;  // SDL_ttf renders no line at all
  const SDL_Rect& c = dst->clip_rect;
  // What of the line's box the clipping rectangle lets through, in the box's own coordinates.
  const Wide left = std::max<Wide>(0, c.x - Wide{x}), right = std::min(line.w, c.x + Wide{c.w} - x);
  const Wide top = std::max<Wide>(0, c.y - Wide{y}), bottom = std::min(line.h, c.y + Wide{c.h} - y);
  if (right <= left || bottom <= top) return;
  Wide pen = line.shift;
  for (const unsigned char* p = bytes; *p; p++) {
    const Glyph& g = font.glyphs[*p];
    for (int r = 0; r < g.inkH; r++) {
      const Wide row = Wide{g.inkY} + r;
      if (row < top || row >= bottom) continue;
      Uint16* out = pixelAt(dst, 0, y + row);  // the surface's row: the line's row lies on it
      for (uint32_t bits = font.rows[g.firstRow + r]; bits; bits &= bits - 1) {
        const Wide col = pen + g.inkX + __builtin_ctz(bits);
        if (col >= left && col < right) out[x + col] = colour;
      }
    }
    pen += g.advance;
  }
}

}  // namespace draw
