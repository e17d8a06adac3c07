// The game's own pixel drawing: plain and keyed copies and filled rectangles, onto 16-bit
// surfaces. Every picture of the game is drawn here, so that it comes
// out the same wherever the game runs. Only SDL's surface and rectangle records are used here,
// never an SDL function: the calls that need SDL itself stay in fct_gp.
#pragma once

#include <SDL_video.h>

#include <cstdint>

namespace draw {

// True when both surfaces hold 16-bit pixels of one layout, which a copy moves as they are.
bool sameFormat16(const SDL_Surface* src, const SDL_Surface* dst);
// True for a 16-bit surface of the game's layout (red 0xF800, green 0x07E0, blue 0x001F).
bool is565(const SDL_Surface* s);

// The part of a blit that lands on the destination, cut as SDL_BlitSurface cuts it: the source
// rectangle (the whole source when null) against the source, then against the destination's
// clipping rectangle. Empty (w or h <= 0) when nothing lands.
struct Span {
  int sx, sy;  // first source pixel
  int dx, dy;  // where it lands
  int w, h;
};
Span clip(const SDL_Surface* src, const SDL_Rect* srcRect, const SDL_Surface* dst, int dx, int dy);

// A copy of the source rectangle to (dx, dy), between surfaces of one 16-bit layout.
void copy(const SDL_Surface* src, const SDL_Rect* srcRect, SDL_Surface* dst, int dx, int dy);
// The same, leaving out every source pixel equal to key (a key above 0xFFFF leaves none out).
void copyKeyed(const SDL_Surface* src, const SDL_Rect* srcRect, SDL_Surface* dst, int dx, int dy,
               uint32_t key);
// Fills a rectangle of a 16-bit surface with one pixel value, within its clipping rectangle.
void fill(SDL_Surface* dst, int x, int y, int w, int h, uint16_t colour);

}  // namespace draw
