// The game's font, and the glyph atlas the game draws it from: every line measured and drawn
// exactly as SDL_ttf does (what the game drew before the atlas; the page has no SDL_ttf), in every
// colour, on plain and patterned backgrounds, inside the screen and across its edges.
#include <gtest/gtest.h>

#include "assets.h"
#include "draw.h"
#include "harness.h"
#include "support_record.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// What GpTextOut drew before the atlas: SDL_ttf's line in the colour read back from the 5-6-5
// value, blitted by SDL at the position cut to 16 bits.
void sdlText(SDL_Surface* dst, int x, int y, const std::string& text, Uint16 colour) {
  SDL_Color c{};
  SDL_GetRGB(colour, dst->format, &c.r, &c.g, &c.b);
  SDL_Surface* t = TTF_RenderText_Blended(police, text.c_str(), c);
  SDL_Rect d{static_cast<Sint16>(std::clamp(x, -32768, 32767)), static_cast<Sint16>(std::clamp(y, -32768, 32767)),
             0, 0};
  if (t) SDL_BlitSurface(t, nullptr, dst, &d);
  SDL_FreeSurface(t);
}

constexpr size_t kPixels = 320 * 240;  // 5-6-5 surfaces of the screen's size: rows unpadded
int differing(const SDL_Surface* a, const SDL_Surface* b) {
  const auto *pa = static_cast<const Uint16*>(a->pixels), *pb = static_cast<const Uint16*>(b->pixels);
  int n = 0;
  if (std::memcmp(pa, pb, kPixels * 2) != 0)
    for (size_t i = 0; i < kPixels; i++) n += pa[i] != pb[i];
  return n;
}

// Plain white and black as behind the game's boxes and pages, and a pattern of every value.
enum Background { White, Black, Pattern };

class Atlas : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(harness::start());  // the game's font, opened as the game opens it
    ASSERT_NE(police, nullptr);
    for (SDL_Surface** s : {&mine, &theirs, &bg[0], &bg[1], &bg[2]})
      *s = SDL_CreateRGBSurface(SDL_SWSURFACE, 320, 240, 16, 0xF800, 0x07E0, 0x001F, 0);
    for (size_t i = 0; i < kPixels; i++) {
      static_cast<Uint16*>(bg[White]->pixels)[i] = 0xFFFF;
      static_cast<Uint16*>(bg[Black]->pixels)[i] = 0x0000;
      static_cast<Uint16*>(bg[Pattern]->pixels)[i] =
          static_cast<Uint16>((i % 320 * 2654435761u) ^ (i / 320 * 40503u));
    }
  }
  void TearDown() override {
    for (SDL_Surface* s : {mine, theirs, bg[0], bg[1], bg[2]}) SDL_FreeSurface(s);
    harness::stop();
  }
  // Both surfaces painted, the line drawn on each: how many pixels differ.
  int compare(const std::string& text, int x, int y, Uint16 colour, Background b) {
    std::memcpy(mine->pixels, bg[b]->pixels, kPixels * 2);
    std::memcpy(theirs->pixels, bg[b]->pixels, kPixels * 2);
    GpTextOut(mine, x, y, text.c_str(), colour);
    sdlText(theirs, x, y, text, colour);
    return differing(mine, theirs);
  }
  SDL_Surface *mine = nullptr, *theirs = nullptr, *bg[3] = {};  // bg by Background
};

// Every line the game draws: the catalogue's French texts and their translations, and the lines
// with numbers (the information page, the life, magic and gold lines) filled with every length.
TEST_F(Atlas, EveryLineTheGameDrawsIsMeasuredAndDrawnAsSdlTtfDoes) {
  std::vector<std::string> lines, formats = {"%i/%i", "%i"};  // the status display's own
  for (int c = 0; c < catalogCount; c++)
    for (int i = 0; i < catalogs[c].count; i++)
      lines.insert(lines.end(), {catalogs[c].entries[i].french, catalogs[c].entries[i].text});
  ASSERT_GT(lines.size(), 300u);
  for (const std::string& l : lines)
    if (l.find("%i") != std::string::npos) formats.push_back(l);
  EXPECT_GE(formats.size(), 10u) << "the information page's lines in both languages";
  for (const std::string& f : formats)
    for (const auto& p : {std::pair{0, 50}, {20, 50}, {50, 50}, {1, 1}, {9, 10}, {100, 100}, {185, 999}, {-5, 20},
                          {7, 0}, {12345, 99999}, {38, 40}, {4, 4}}) {
      char buf[128];
      std::snprintf(buf, sizeof buf, f.c_str(), p.first, p.second);  // one %i leaves the second unused
      lines.emplace_back(buf);
    }
  long inked = 0;  // pixels SDL_ttf's lines changed on white: the comparison saw text
  for (size_t i = 0; i < lines.size(); i++) {
    const std::string& l = lines[i];
    int w = 0, h = 0, ow = 0, oh = 0;
    ASSERT_EQ(TTF_SizeText(police, l.c_str(), &w, &h), 0);
    draw::textSize(fontAtlas, l.c_str(), &ow, &oh);
    EXPECT_TRUE(GpTextWidth(l.c_str()) == w && ow == w && oh == h)
        << record::utf8(l) << ": " << GpTextWidth(l.c_str()) << ", " << ow << "x" << oh << " for " << w << "x"
        << h;
    const int x = 2 + static_cast<int>(i % 13), y = 3 + static_cast<int>(i * 11 % 220);
    for (Uint16 colour : {0x0000, 0xFFFF, 0x2321, 0xF801, 0xFFC1, 0x0401, 0x8001, 0x0001})  // the game's
      for (Background b : {White, Black, Pattern}) {
        ASSERT_EQ(compare(l, x, y, colour, b), 0) << "\"" << record::utf8(l) << "\" in " << std::hex << colour
                                                  << " on " << b << std::dec << " at " << x << "," << y;
        if (colour == 0x0000 && b == White) inked += differing(theirs, bg[White]);
      }
  }
  EXPECT_GT(inked, 20000) << "SDL_ttf drew (almost) nothing: the comparison proves nothing";
}

// Each byte alone is measured as SDL_ttf does; each glyph is drawn so, inked, inside its advance
// and inside the line (accents on capitals and descenders are not clipped); the font suits French.
TEST_F(Atlas, EveryByteAndGlyphIsAsSdlTtfHasThemAndTheFontSuitsFrenchLines) {
  for (int b = 1; b < 256; b++) {
    const char text[2] = {static_cast<char>(b), 0};
    int w = 0, h = 0, minx = 0, maxx = 0, miny = 0, maxy = 0, adv = 0;
    ASSERT_EQ(TTF_SizeText(police, text, &w, &h), 0);
    EXPECT_EQ(GpTextWidth(text), w) << "byte " << b;
    // control codes take the font's empty box, which SDL_ttf draws with grey edges the atlas leaves out
    if (!TTF_GlyphIsProvided(police, static_cast<Uint16>(b))) {
      EXPECT_TRUE(b < 0x20 || (b >= 0x7F && b < 0xA0)) << "no glyph for printable byte " << b;
      continue;
    }
    EXPECT_EQ(compare(text, 100, 100, 0xF801, Pattern) + compare(text, 100, 100, 0x0000, Pattern) +
                  compare(text, 100, 100, 0x0000, White), 0) << "byte " << b;
    ASSERT_EQ(TTF_GlyphMetrics(police, static_cast<Uint16>(b), &minx, &maxx, &miny, &maxy, &adv), 0);
    EXPECT_GT(adv, 0) << "byte " << b;
    EXPECT_TRUE(b == 0x20 || b == 0xA0 || (differing(theirs, bg[White]) > 0 && maxy <= TTF_FontAscent(police) &&
                                           miny >= TTF_FontDescent(police) && minx >= 0 && maxx <= adv))
        << "byte " << b << ": no ink, or ink " << minx << ".." << maxx << " x " << miny << ".." << maxy;
  }
  EXPECT_EQ(GpTextWidth(nullptr) + GpTextWidth(""), 0);
  EXPECT_TRUE(TTF_FontHeight(police) >= 11 && TTF_FontHeight(police) <= 15 && TTF_FontLineSkip(police) <= 15)
      << "lines 15 pixels apart";
  // every French accented letter differs from the others and from its base letter
  for (const char* g : {"e\xe9\xe8\xea\xeb", "a\xe0\xe2\xe4", "i\xee\xef", "o\xf4\xf6", "u\xf9\xfb\xfc", "c\xe7",
                        "E\xc9\xc8\xca\xcb", "A\xc0\xc2", "C\xc7"}) {
    std::vector<std::vector<uint16_t>> seen;
    for (const char* p = g; *p; p++) {
      compare(std::string(1, *p), 0, 0, 0x0000, White);
      for (const auto& o : seen) EXPECT_TRUE(harness::screenPixels(theirs) != o) << g << " at " << (p - g);
      seen.push_back(harness::screenPixels(theirs));
    }
  }
  // proportional letters, digits all as wide (numbers line up in menus)
  auto adv = [](char c) { return fontAtlas.glyphs[static_cast<unsigned char>(c)].advance; };
  EXPECT_TRUE(adv('i') < adv('m') && adv('l') < adv('w') && adv('!') < adv('o') && adv('n') < adv('m'));
  for (char d = '1'; d <= '9'; d++) EXPECT_EQ(adv(d), adv('0')) << d;
  // a surface of another layout than the game's 5-6-5 gets no text
  SDL_Surface* other = SDL_CreateRGBSurface(SDL_SWSURFACE, 64, 16, 32, 0xFF0000, 0xFF00, 0xFF, 0);
  SDL_FillRect(other, nullptr, 0x123456);
  GpTextOut(other, 0, 0, "Attaque du dragon !", 0x0000);
  const auto* p = static_cast<const Uint32*>(other->pixels);
  EXPECT_EQ(std::count(p, p + 64 * 16, 0x123456u), 64 * 16);
  SDL_FreeSurface(other);
}

TEST_F(Atlas, LinesAreCutAtTheScreensEdgesAndAtTheClippingRectangle) {
  for (const std::string l : {"Vous \xEAtes vaincu ! Fuite impossible !", "\xC9t\xE9 : \xE9 \xE8 \xEA pqgjy",
                              "PV          185/999",  // and "\xE9" "f" apart, or the escape takes the f in:
                              "Je pr\xE9" "f\xE8re largement ma tunique, \xE0 \xE7 \xF4 \xFB \xF9 \xEE \xEF"}) {
    const int w = GpTextWidth(l.c_str());
    ASSERT_GT(w, 20);
    for (int x : {-w - 1, -w, -w + 1, -w / 2, -1, 0, 320 - w, 320 - w / 2, 318, 319, 320, 32767, -32768, 70000,
                  -70000})
      for (int y : {-14, -13, -12, -7, -1, 0, 228, 232, 239, 240, 32767, -70000})
        ASSERT_EQ(compare(l, x, y, 0xFFC1, Pattern), 0) << record::utf8(l) << " at " << x << "," << y;
    SDL_Rect clip{40, 100, 120, 6};  // a clipping rectangle of the surface cuts the line too
    SDL_SetClipRect(mine, &clip);
    SDL_SetClipRect(theirs, &clip);
    for (int x : {-w / 2, 0, 35, 41, 100, 159, 160})
      for (int y : {90, 95, 97, 100, 104, 105, 106})
        ASSERT_EQ(compare(l, x, y, 0x0001, Pattern), 0) << record::utf8(l) << " clipped, at " << x << "," << y;
    SDL_SetClipRect(mine, nullptr);
    SDL_SetClipRect(theirs, nullptr);
  }
}

}  // namespace
