// Text drawn from the glyph atlas against SDL_ttf's own: every line of the catalogue in both
// languages and the lines with numbers the game formats, in the game's colours, on plain and
// patterned backgrounds, measured and drawn, inside the screen and across its edges.
// The reference is what the game drew before the atlas: TTF_RenderText_Blended with the game's
// font, blitted by SDL onto a 5-6-5 surface.
#include <gtest/gtest.h>

#include "draw.h"
#include "harness.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

// ---- the catalogue ----------------------------------------------------------------------------

std::string unquote(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); i++) {
    if (s[i] != '\\' || i + 1 == s.size()) {
      out += s[i];
      continue;
    }
    const char c = s[++i];
    out += c == 'n' ? '\n' : c == 't' ? '\t' : c;
  }
  return out;
}

// UTF-8 to the Latin-1 bytes the game draws; a character beyond Latin-1 fails the test.
std::string latin1(const std::string& utf8) {
  std::string out;
  for (size_t i = 0; i < utf8.size(); i++) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size() && c <= 0xC3) {
      out += static_cast<char>(((c & 0x1F) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F));
    } else {
      ADD_FAILURE() << "not Latin-1: " << utf8;
      return out;
    }
  }
  return out;
}

// The msgids or the msgstrs of a gettext file, the header left out.
std::vector<std::string> readPo(const std::string& path, const std::string& field) {
  std::ifstream f(path);
  EXPECT_TRUE(f) << path;
  std::vector<std::string> texts;
  std::string line, current, reading, msgid;
  auto flush = [&] {
    if (reading == "msgid") msgid = current;
    if (reading == field && !current.empty() && !msgid.empty()) texts.push_back(latin1(current));
    reading.clear();
    current.clear();
  };
  while (std::getline(f, line)) {
    if (line.rfind("msgid \"", 0) == 0 || line.rfind("msgstr \"", 0) == 0) {
      flush();
      reading = line.substr(0, line.find(' '));
      current = unquote(line.substr(reading.size() + 2, line.size() - reading.size() - 3));
    } else if (!line.empty() && line[0] == '"' && !reading.empty()) {
      current += unquote(line.substr(1, line.size() - 2));
    } else {
      flush();
    }
  }
  flush();
  return texts;
}

// Every line the game can draw: the French texts, their English translations, and the formats
// with numbers in them (the information page in both languages, the life, magic and gold lines)
// filled with numbers of every length.
std::vector<std::string> everyLine() {
  const std::string po = std::string(TALMYR_SOURCE_DIR) + "/data/po/";
  std::vector<std::string> lines = readPo(po + "talmyr.pot", "msgid");
  const std::vector<std::string> english = readPo(po + "en.po", "msgstr");
  EXPECT_GT(lines.size(), 150u);
  EXPECT_GT(english.size(), 150u);
  lines.insert(lines.end(), english.begin(), english.end());
  std::vector<std::string> formats = {"%i/%i", "%i"};  // the status display's own
  for (const std::string& l : lines)
    if (l.find("%i") != std::string::npos) formats.push_back(l);
  EXPECT_GE(formats.size(), 10u) << "the information page's lines in both languages";
  const int pairs[][2] = {{0, 50}, {20, 50}, {50, 50}, {1, 1},     {9, 10},      {100, 100},
                          {185, 999}, {-5, 20}, {7, 0}, {12345, 99999}, {38, 40}, {4, 4}};
  for (const std::string& f : formats) {
    const bool two = f.find("%i") != f.rfind("%i");
    for (const auto& p : pairs) {
      char buf[128];
      if (two)
        std::snprintf(buf, sizeof buf, f.c_str(), p[0], p[1]);
      else
        std::snprintf(buf, sizeof buf, f.c_str(), p[0]);
      lines.emplace_back(buf);
    }
  }
  return lines;
}

// ---- drawing ----------------------------------------------------------------------------------

Sint16 cut(int v) { return static_cast<Sint16>(std::min(std::max(v, -32768), 32767)); }

// What GpTextOut drew before the atlas: SDL_ttf's line in the colour read back from the 5-6-5
// value, blitted by SDL at the position cut to 16 bits.
void sdlText(TTF_Font* font, SDL_Surface* dst, int x, int y, const std::string& text, Uint16 colour) {
  SDL_Color c;
  std::memset(&c, 0, sizeof c);
  SDL_GetRGB(colour, dst->format, &c.r, &c.g, &c.b);
  SDL_Surface* t = TTF_RenderText_Blended(font, text.c_str(), c);
  if (!t) return;
  SDL_Rect d;
  d.x = cut(x);
  d.y = cut(y);
  d.w = d.h = 0;
  SDL_BlitSurface(t, nullptr, dst, &d);
  SDL_FreeSurface(t);
}

SDL_Surface* surface565() {
  return SDL_CreateRGBSurface(SDL_SWSURFACE, 320, 240, 16, 0xF800, 0x07E0, 0x001F, 0);
}

// Backgrounds: plain white and black as behind the game's boxes and pages, and a pattern of
// every value, the text's own colour among them.
enum Background { White, Black, Pattern };
SDL_Surface* background(Background b) {
  SDL_Surface* s = surface565();
  for (int y = 0; y < s->h; y++) {
    auto* row = reinterpret_cast<Uint16*>(static_cast<Uint8*>(s->pixels) + y * s->pitch);
    for (int x = 0; x < s->w; x++)
      row[x] = b == White ? 0xFFFF : b == Black ? 0x0000
                                                : static_cast<Uint16>((x * 2654435761u) ^ (y * 40503u));
  }
  return s;
}

size_t bytesOf(const SDL_Surface* s) { return static_cast<size_t>(s->pitch) * static_cast<size_t>(s->h); }

int differing(const SDL_Surface* a, const SDL_Surface* b) {
  if (std::memcmp(a->pixels, b->pixels, bytesOf(a)) == 0) return 0;
  int n = 0;
  for (int y = 0; y < a->h; y++) {
    const auto* ra = reinterpret_cast<const Uint16*>(static_cast<const Uint8*>(a->pixels) + y * a->pitch);
    const auto* rb = reinterpret_cast<const Uint16*>(static_cast<const Uint8*>(b->pixels) + y * b->pitch);
    for (int x = 0; x < a->w; x++) n += ra[x] != rb[x];
  }
  return n;
}

std::string shown(const std::string& latin) {
  std::string s;
  for (unsigned char c : latin) {
    if (c < 0x80) {
      s += static_cast<char>(c);
    } else {
      s += static_cast<char>(0xC0 | (c >> 6));
      s += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return s;
}

// Every colour the game draws text in.
const Uint16 colours[] = {0x0000, 0xFFFF, 0x2321, 0xF801, 0xFFC1, 0x0401, 0x8001, 0x0001};

class Atlas : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(harness::start());  // the game's font, opened as the game opens it
    ASSERT_NE(police, nullptr);
    mine = surface565();
    theirs = surface565();
    for (Background b : {White, Black, Pattern}) backgrounds[b] = background(b);
  }
  void TearDown() override {
    SDL_FreeSurface(mine);
    SDL_FreeSurface(theirs);
    for (SDL_Surface* s : backgrounds) SDL_FreeSurface(s);
    harness::stop();
  }
  void paint(SDL_Surface* s, Background b) {
    std::memcpy(s->pixels, backgrounds[b]->pixels, bytesOf(s));
  }
  // Both surfaces painted, the line drawn on each: how many pixels differ.
  int compare(const std::string& text, int x, int y, Uint16 colour, Background b) {
    paint(mine, b);
    paint(theirs, b);
    GpTextOut(mine, x, y, text.c_str(), colour);
    sdlText(police, theirs, x, y, text, colour);
    return differing(mine, theirs);
  }
  SDL_Surface* mine = nullptr;
  SDL_Surface* theirs = nullptr;
  SDL_Surface* backgrounds[3] = {};
};

TEST_F(Atlas, EveryLineOfTheCatalogueIsDrawnAndMeasuredAsSdlTtfDoes) {
  const std::vector<std::string> lines = everyLine();
  long inked = 0;  // pixels SDL_ttf's lines changed on white: the comparison saw text
  for (size_t i = 0; i < lines.size(); i++) {
    const std::string& l = lines[i];
    int w = 0, h = 0, ow = 0, oh = 0;
    ASSERT_EQ(TTF_SizeText(police, l.c_str(), &w, &h), 0);
    draw::textSize(fontAtlas, l.c_str(), &ow, &oh);
    EXPECT_EQ(GpTextWidth(l.c_str()), w) << shown(l);
    EXPECT_EQ(ow, w) << shown(l);
    EXPECT_EQ(oh, h) << shown(l);
    const int x = 2 + static_cast<int>(i % 13), y = 3 + static_cast<int>(i * 11 % 220);
    for (Uint16 colour : colours)
      for (Background b : {White, Black, Pattern}) {
        ASSERT_EQ(compare(l, x, y, colour, b), 0)
            << "\"" << shown(l) << "\" in " << std::hex << colour << " on background " << b
            << " at " << std::dec << x << "," << y;
        if (colour == 0x0000 && b == White) inked += differing(theirs, backgrounds[White]);
      }
  }
  EXPECT_GT(inked, 20000) << "SDL_ttf drew (almost) nothing: the comparison proves nothing";
}

TEST_F(Atlas, EveryByteAloneIsMeasuredAsSdlTtfDoesAndEveryGlyphDrawnSo) {
  for (int b = 1; b < 256; b++) {
    const char text[2] = {static_cast<char>(b), 0};
    int w = 0, h = 0;
    ASSERT_EQ(TTF_SizeText(police, text, &w, &h), 0);
    EXPECT_EQ(GpTextWidth(text), w) << "byte " << b;
    // the bytes the font has a glyph for: every glyph there is, drawn (control codes take the
    // font's empty box, which SDL_ttf draws with grey edges the atlas leaves out)
    if (TTF_GlyphIsProvided(police, static_cast<Uint16>(b))) {
      for (Uint16 colour : {0x0000, 0xF801})
        EXPECT_EQ(compare(text, 100, 100, colour, Pattern), 0) << "byte " << b;
    }
  }
  EXPECT_EQ(GpTextWidth(nullptr), 0);
  EXPECT_EQ(GpTextWidth(""), 0);
}

TEST_F(Atlas, LinesAreCutAtTheScreensEdgesAndAtTheClippingRectangle) {
  // ("\xE9" "f": apart, or the escape would take the f in)
  const std::string lines[] = {
      "Vous \xEAtes vaincu ! Fuite impossible !",
      "\xC9t\xE9 : \xE9 \xE8 \xEA pqgjy",
      "PV          185/999",
      "Je pr\xE9" "f\xE8re largement ma tunique, \xE0 \xE7 \xF4 \xFB \xF9 \xEE \xEF",
  };
  int checked = 0;
  for (const std::string& l : lines) {
    const int w = GpTextWidth(l.c_str());
    ASSERT_GT(w, 20);
    const int xs[] = {-w - 1, -w, -w + 1, -w / 2, -1, 0, 320 - w, 320 - w / 2, 318, 319, 320,
                      32767, -32768, 70000, -70000};
    const int ys[] = {-14, -13, -12, -7, -1, 0, 228, 232, 239, 240, 32767, -70000};
    for (int x : xs)
      for (int y : ys) {
        ASSERT_EQ(compare(l, x, y, 0xFFC1, Pattern), 0) << shown(l) << " at " << x << "," << y;
        checked++;
      }
    // a clipping rectangle of the surface cuts the line too
    SDL_Rect clip;
    clip.x = 40;
    clip.y = 100;
    clip.w = 120;
    clip.h = 6;
    SDL_SetClipRect(mine, &clip);
    SDL_SetClipRect(theirs, &clip);
    for (int x : {-w / 2, 0, 35, 41, 100, 159, 160})
      for (int y : {90, 95, 97, 100, 104, 105, 106})
        ASSERT_EQ(compare(l, x, y, 0x0001, Pattern), 0) << shown(l) << " clipped, at " << x << "," << y;
    SDL_SetClipRect(mine, nullptr);
    SDL_SetClipRect(theirs, nullptr);
  }
  EXPECT_EQ(checked, 4 * 15 * 12);
}

TEST_F(Atlas, TextNeedsNoFontAndLeavesOtherLayoutsAlone) {
  TTF_Font* const font = police;
  police = nullptr;  // as with a font that did not open
  const std::string line = "Attaque du dragon !";
  paint(mine, White);
  paint(theirs, White);
  GpTextOut(mine, 10, 10, line.c_str(), 0xF801);
  int w = 0, h = 0;
  TTF_SizeText(font, line.c_str(), &w, &h);
  EXPECT_EQ(GpTextWidth(line.c_str()), w);
  sdlText(font, theirs, 10, 10, line, 0xF801);
  police = font;
  EXPECT_EQ(differing(mine, theirs), 0);
  paint(theirs, White);
  EXPECT_GT(differing(mine, theirs), 50);

  // the game's colours are 5-6-5 values: a surface of another layout gets no text
  SDL_Surface* other = SDL_CreateRGBSurface(SDL_SWSURFACE, 64, 16, 32, 0xFF0000, 0xFF00, 0xFF, 0);
  SDL_FillRect(other, nullptr, 0x123456);
  GpTextOut(other, 0, 0, line.c_str(), 0x0000);
  for (int y = 0; y < 16; y++)
    for (int x = 0; x < 64; x++)
      ASSERT_EQ(reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(other->pixels) +
                                                y * other->pitch)[x],
                0x123456u);
  SDL_FreeSurface(other);
}

}  // namespace
