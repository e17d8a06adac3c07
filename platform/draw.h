// The game's own pixel drawing: plain and keyed copies, filled rectangles and lines of text from
// the glyph atlas, onto 16-bit surfaces. Every picture of the game is drawn here, so that it comes
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

// ---- text -------------------------------------------------------------------------------------
// A font rendered once, glyph by glyph, with what SDL_ttf's line layout needs of each glyph.
// Glyph pixels are either covered or not: the game's font has no partly covered pixels.
struct Glyph {
  int16_t minx, maxx;  // left and right edges of the glyph's box from the pen, in pixels
  int16_t miny;        // lowest row of the box from the baseline (negative below it)
  int16_t advance;     // how far the pen moves
  int16_t inkX, inkY;  // the covered pixels' box: from the pen, and from the top of the line
  uint16_t inkW, inkH;
  uint32_t firstRow;  // the box's first row in Font::rows; bit c of a row is column inkX + c
};
struct Font {
  int16_t height;        // the font's line height
  int16_t ascent;        // from the top of the line to the baseline
  Glyph glyphs[256];     // by Latin-1 byte; byte 0 ends a line
  const uint32_t* rows;  // every glyph's covered pixels, a row a word
};

// The box of a line, as SDL_ttf's TTF_SizeText gives it: w 0 for a line that draws nothing.
void textSize(const Font& font, const char* text, int* w, int* h);
int textWidth(const Font& font, const char* text);
// Draws a line of Latin-1 text with its top left corner at (x, y), in a 5-6-5 colour, as
// TTF_RenderText_Blended's line blitted onto a 5-6-5 surface shows it: the colour wherever a
// glyph covers a pixel, the surface untouched elsewhere, cut by the clipping rectangle.
void text(SDL_Surface* dst, const Font& font, int x, int y, const char* text, uint16_t colour);

}  // namespace draw

// The game's font at point size 10, rendered at build time (generated atlas.cpp).
extern const draw::Font fontAtlas;
