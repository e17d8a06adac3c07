// Renders the game's font into the glyph atlas the game draws its text from (platform/draw.h).
//
// usage: atlas FONT.ttf OUT.cpp
//
// The font is opened from memory at point size 10, exactly as the game opens it, and every glyph
// is drawn by SDL_ttf itself (TTF_RenderText_Blended, one byte at a time): its covered pixels
// and its metrics go into the atlas. The build stops when a printable Latin-1 byte (0x20-0x7E,
// 0xA0-0xFF) has no glyph, when a glyph has a partly covered pixel (the atlas keeps none), or
// when a line of two glyphs, or of every glyph, laid out and drawn from the atlas differs from
// SDL_ttf's own (kerning, for one: the game's font has none, so the atlas applies none).
// The bytes the font has no glyph for (control codes, never text) take the font's empty-box glyph,
// which SDL_ttf draws with grey edges: the atlas keeps its metrics and its fully covered pixels.
#include "draw.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

bool printable(int b) { return (b >= 0x20 && b <= 0x7E) || b >= 0xA0; }

std::string byteName(int b) {
  char s[32];
  std::snprintf(s, sizeof s, "0x%02X", b);
  return s;
}

Uint8 alphaAt(const SDL_Surface* s, int x, int y) {
  const auto* row =
      reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(s->pixels) + y * s->pitch);
  return static_cast<Uint8>(row[x] >> 24);  // SDL_ttf's lines are ARGB, alpha in the top byte
}

struct Atlas {
  draw::Font font{};
  std::vector<uint32_t> rows;
};

// One byte's glyph, from SDL_ttf's own line of that byte alone. Empty string: done.
std::string addGlyph(TTF_Font* ttf, int b, Atlas& atlas) {
  const bool provided = TTF_GlyphIsProvided(ttf, static_cast<Uint16>(b)) != 0;
  if (printable(b) && !provided) return "the font has no glyph for byte " + byteName(b);
  int minx = 0, maxx = 0, miny = 0, maxy = 0, advance = 0;
  if (TTF_GlyphMetrics(ttf, static_cast<Uint16>(b), &minx, &maxx, &miny, &maxy, &advance) != 0)
    return "no metrics for byte " + byteName(b) + ": " + TTF_GetError();
  draw::Glyph& g = atlas.font.glyphs[b];
  g.minx = static_cast<int16_t>(minx);
  g.maxx = static_cast<int16_t>(maxx);
  g.miny = static_cast<int16_t>(miny);
  g.advance = static_cast<int16_t>(advance);
  g.firstRow = static_cast<uint32_t>(atlas.rows.size());

  const char text[2] = {static_cast<char>(b), 0};
  int w = 0, h = 0;
  if (TTF_SizeText(ttf, text, &w, &h) != 0) return "cannot measure byte " + byteName(b);
  if (w == 0) return "";  // SDL_ttf draws nothing for it
  SDL_Color white;
  white.r = white.g = white.b = 255;
  white.unused = 0;
  SDL_Surface* line = TTF_RenderText_Blended(ttf, text, white);
  if (!line) return "cannot render byte " + byteName(b) + ": " + TTF_GetError();
  std::string error;
  if (line->w != w || line->h != h)
    error = "byte " + byteName(b) + " renders otherwise than it measures";
  // SDL_ttf draws a line's first glyph pushed right by as much as it starts left of its pen.
  const int pen = minx < 0 ? -minx : 0;
  int x0 = line->w, x1 = -1, y0 = line->h, y1 = -1;
  for (int y = 0; y < line->h && error.empty(); y++)
    for (int x = 0; x < line->w; x++) {
      const Uint8 a = alphaAt(line, x, y);
      if (a != 0 && a != 255 && provided) {
        error =
            "byte " + byteName(b) + " has a partly covered pixel (alpha " + std::to_string(a) + ")";
        break;
      }
      if (a != 255) continue;
      x0 = std::min(x0, x);
      x1 = std::max(x1, x);
      y0 = std::min(y0, y);
      y1 = std::max(y1, y);
    }
  if (error.empty() && x1 - x0 + 1 > 32) error = "byte " + byteName(b) + " is wider than 32 pixels";
  if (error.empty() && x1 >= 0) {
    g.inkX = static_cast<int16_t>(x0 - pen);
    g.inkY = static_cast<int16_t>(y0);
    g.inkW = static_cast<uint16_t>(x1 - x0 + 1);
    g.inkH = static_cast<uint16_t>(y1 - y0 + 1);
    std::vector<uint32_t> rows;
    for (int y = y0; y <= y1; y++) {
      uint32_t bits = 0;
      for (int x = x0; x <= x1; x++)
        if (alphaAt(line, x, y) == 255) bits |= 1u << (x - x0);
      rows.push_back(bits);
    }
    // glyphs of the same pixels share them (the empty box stands for every control code)
    const auto same = std::search(atlas.rows.begin(), atlas.rows.end(), rows.begin(), rows.end());
    g.firstRow = static_cast<uint32_t>(same - atlas.rows.begin());
    if (same == atlas.rows.end()) atlas.rows.insert(atlas.rows.end(), rows.begin(), rows.end());
  }
  SDL_FreeSurface(line);
  return error;
}

// A line drawn from the atlas against SDL_ttf's own: the same box, and a pixel covered exactly
// where SDL_ttf's is (white text on black). Empty string: the same.
std::string compareLine(TTF_Font* ttf, const draw::Font& font, const std::string& text,
                        SDL_Surface* canvas) {
  int w = 0, h = 0, ow = 0, oh = 0;
  if (TTF_SizeText(ttf, text.c_str(), &w, &h) != 0) return "cannot measure";
  draw::textSize(font, text.c_str(), &ow, &oh);
  if (ow != w || oh != h)
    return "box " + std::to_string(ow) + "x" + std::to_string(oh) + " instead of " +
           std::to_string(w) + "x" + std::to_string(h);
  if (w > canvas->w || h > canvas->h) return "too long to check";
  SDL_FillRect(canvas, nullptr, 0);
  draw::text(canvas, font, 0, 0, text.c_str(), 0xFFFF);
  SDL_Color white;
  white.r = white.g = white.b = 255;
  white.unused = 0;
  SDL_Surface* line = w ? TTF_RenderText_Blended(ttf, text.c_str(), white) : nullptr;
  std::string error;
  // The atlas draws only inside the line's box: a margin beyond it is looked at too.
  const int right = std::min(canvas->w, w + 16);
  for (int y = 0; y < canvas->h && error.empty(); y++)
    for (int x = 0; x < right; x++) {
      const bool ours = reinterpret_cast<const Uint16*>(static_cast<const Uint8*>(canvas->pixels) +
                                                        y * canvas->pitch)[x] != 0;
      const bool theirs = line && x < line->w && y < line->h && alphaAt(line, x, y) == 255;
      if (ours != theirs) {
        error = "pixel " + std::to_string(x) + "," + std::to_string(y) + " differs";
        break;
      }
    }
  if (line) SDL_FreeSurface(line);
  return error;
}

std::string lineName(const std::string& text) {
  std::string s;
  for (unsigned char c : text) s += byteName(c) + " ";
  return s;
}

// Every line of two printable glyphs, and the line of them all.
std::string checkLines(TTF_Font* ttf, const draw::Font& font) {
  std::vector<int> bytes;
  for (int b = 1; b < 256; b++)
    if (printable(b)) bytes.push_back(b);
  SDL_Surface* canvas =
      SDL_CreateRGBSurface(SDL_SWSURFACE, 2048, 32, 16, 0xF800, 0x07E0, 0x001F, 0);
  if (!canvas) return "no surface to draw on";
  std::string error;
  std::string all;
  for (int a : bytes) {
    all += static_cast<char>(a);
    for (int b : bytes) {
      const std::string pair{static_cast<char>(a), static_cast<char>(b)};
      const std::string why = compareLine(ttf, font, pair, canvas);
      if (!why.empty()) {
        error = "the line ";
        error += lineName(pair);
        error += "differs from SDL_ttf's: ";
        error += why;
        break;
      }
    }
    if (!error.empty()) break;
  }
  if (error.empty()) {
    error = compareLine(ttf, font, all, canvas);
    if (!error.empty()) error = "the line of every glyph differs from SDL_ttf's: " + error;
  }
  SDL_FreeSurface(canvas);
  return error;
}

std::string cppFile(const Atlas& atlas, const std::string& from) {
  std::string out =
      "// Generated by tools/atlas.cpp from " + from + " at point size 10: do not edit.\n";
  out += "#include \"draw.h\"\n\nnamespace {\n\nconst uint32_t rows[] = {";
  for (size_t i = 0; i < atlas.rows.size(); i++) {
    char word[16];
    std::snprintf(word, sizeof word, "0x%X,", static_cast<unsigned>(atlas.rows[i]));
    out += (i % 10 ? " " : "\n    ") + std::string(word);
  }
  if (atlas.rows.empty()) out += "0";
  out += "\n};\n\n}  // namespace\n\n";
  const draw::Font& f = atlas.font;
  out += "const draw::Font fontAtlas = {\n    " + std::to_string(f.height) + ", " +
         std::to_string(f.ascent) + ",\n    {\n";
  for (int b = 0; b < 256; b++) {
    const draw::Glyph& g = f.glyphs[b];
    char line[160];
    std::snprintf(line, sizeof line, "        {%d, %d, %d, %d, %d, %d, %u, %u, %u},  // %s\n",
                  g.minx, g.maxx, g.miny, g.advance, g.inkX, g.inkY, static_cast<unsigned>(g.inkW),
                  static_cast<unsigned>(g.inkH), static_cast<unsigned>(g.firstRow),
                  byteName(b).c_str());
    out += line;
  }
  out += "    },\n    rows,\n};\n";
  return out;
}

int fail(const std::string& why) {
  std::fprintf(stderr, "atlas: %s\n", why.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return fail("usage: atlas FONT.ttf OUT.cpp");
  std::ifstream in(argv[1], std::ios::binary);
  const std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)),
                                        std::istreambuf_iterator<char>());
  if (data.empty()) return fail(std::string("cannot read ") + argv[1]);
  if (SDL_Init(0) < 0 || TTF_Init() < 0) return fail("cannot start SDL_ttf");
  SDL_RWops* rw = SDL_RWFromConstMem(data.data(), static_cast<int>(data.size()));
  TTF_Font* ttf = rw ? TTF_OpenFontRW(rw, 1, 10) : nullptr;
  std::string error;
  auto atlas = std::make_unique<Atlas>();
  if (!ttf) error = std::string("cannot open ") + argv[1] + ": " + TTF_GetError();
  if (error.empty()) {
    atlas->font.height = static_cast<int16_t>(TTF_FontHeight(ttf));
    atlas->font.ascent = static_cast<int16_t>(TTF_FontAscent(ttf));
    for (int b = 1; b < 256 && error.empty(); b++) error = addGlyph(ttf, b, *atlas);
  }
  if (error.empty()) {
    atlas->font.rows = atlas->rows.data();
    error = checkLines(ttf, atlas->font);
  }
  if (ttf) TTF_CloseFont(ttf);
  TTF_Quit();
  SDL_Quit();
  if (!error.empty()) return fail(error);
  const std::string name = std::string(argv[1]).substr(std::string(argv[1]).find_last_of('/') + 1);
  std::ofstream out(argv[2], std::ios::binary);
  out << cppFile(*atlas, name);
  out.close();
  if (!out) return fail(std::string("cannot write ") + argv[2]);
  return 0;
}
