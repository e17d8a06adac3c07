// The game's font, and the glyph atlas the game draws it from: every line measured and drawn
// exactly as SDL_ttf does (what the game drew before the atlas; the page has no SDL_ttf), in every
// colour, on plain and patterned backgrounds, inside the screen and across its edges.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "assets.h"
#include "draw.h"
#include "harness.h"
#include "support_record.h"

namespace {

constexpr size_t kPixels = 320 * 240;  // 5-6-5 surfaces of the screen's size: rows unpadded
int differing(const SDL_Surface* a, const SDL_Surface* b) {
  const auto *pa = static_cast<const Uint16*>(a->pixels),
             *pb = static_cast<const Uint16*>(b->pixels);
  int n = 0;
  if (std::memcmp(pa, pb, kPixels * 2) != 0)
    for (size_t i = 0; i < kPixels; i++) n += pa[i] != pb[i];
  return n;
}
Sint16 cut16(int v) { return static_cast<Sint16>(std::clamp(v, -32768, 32767)); }

enum Background { White, Black, Pattern };  // as behind the game's boxes and pages, and every value

class Atlas : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(harness::start());  // the game's font, opened as the game opens it
    ASSERT_NE(police, nullptr);
    for (SDL_Surface** s : {&mine, &theirs, &bg[0], &bg[1], &bg[2]})
      *s = SDL_CreateRGBSurface(SDL_SWSURFACE, 320, 240, 16, 0xF800, 0x07E0, 0x001F, 0);
    for (size_t i = 0; i < kPixels; i++)
      for (int b : {White, Black, Pattern})
        static_cast<Uint16*>(bg[b]->pixels)[i] =
            b == White   ? 0xFFFF
            : b == Black ? 0
                         : static_cast<Uint16>((i % 320 * 2654435761u) ^ (i / 320 * 40503u));
  }
  void TearDown() override {
    for (SDL_Surface* s : {mine, theirs, bg[0], bg[1], bg[2]}) SDL_FreeSurface(s);
    harness::stop();
  }
  // The line drawn by the game, and as GpTextOut drew it before the atlas (SDL_ttf's line in the
  // colour read back from the 5-6-5 value, blitted at the position cut to 16 bits): pixels apart.
  int compare(const std::string& text, int x, int y, Uint16 colour, Background b) {
    std::memcpy(mine->pixels, bg[b]->pixels, kPixels * 2);
    std::memcpy(theirs->pixels, bg[b]->pixels, kPixels * 2);
    GpTextOut(mine, x, y, text.c_str(), colour);
    SDL_Color c{};
    SDL_GetRGB(colour, theirs->format, &c.r, &c.g, &c.b);
    SDL_Surface* t = TTF_RenderText_Blended(police, text.c_str(), c);
    SDL_Rect d{cut16(x), cut16(y), 0, 0};
    if (t) SDL_BlitSurface(t, nullptr, theirs, &d);
    SDL_FreeSurface(t);
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
    for (const auto& p : {std::pair{0, 50},
                          {20, 50},
                          {50, 50},
                          {1, 1},
                          {9, 10},
                          {100, 100},
                          {185, 999},
                          {-5, 20},
                          {7, 0},
                          {12345, 99999},
                          {38, 40},
                          {4, 4}}) {
      char buf[128];
      std::snprintf(buf, sizeof buf, f.c_str(), p.first,
                    p.second);  // one %i leaves the second unused
      lines.emplace_back(buf);
    }
  long inked = 0;  // pixels SDL_ttf's lines changed on white: the comparison saw text
  for (size_t i = 0; i < lines.size(); i++) {
    const std::string& l = lines[i];
    int w = 0, h = 0, ow = 0, oh = 0;
    ASSERT_EQ(TTF_SizeText(police, l.c_str(), &w, &h), 0);
    draw::textSize(fontAtlas, l.c_str(), &ow, &oh);
    EXPECT_TRUE(GpTextWidth(l.c_str()) == w && ow == w && oh == h)
        << record::utf8(l) << ": " << GpTextWidth(l.c_str()) << ", " << ow << "x" << oh << " for "
        << w << "x" << h;
    const int x = 2 + static_cast<int>(i % 13), y = 3 + static_cast<int>(i * 11 % 220);
    for (Uint16 colour :
         {0x0000, 0xFFFF, 0x2321, 0xF801, 0xFFC1, 0x0401, 0x8001, 0x0001})  // the game's
      for (Background b : {White, Black, Pattern}) {
        ASSERT_EQ(compare(l, x, y, colour, b), 0)
            << "\"" << record::utf8(l) << "\" in " << std::hex << colour << " on " << b << std::dec
            << " at " << x << "," << y;
        if (colour == 0x0000 && b == White) inked += differing(theirs, bg[White]);
      }
  }
  EXPECT_GT(inked, 20000) << "SDL_ttf drew (almost) nothing: the comparison proves nothing";
  // and cut at the screen's edges, as the intro scrolls its lines across the top and the bottom
  for (const std::string l :
       {"Vous \xEAtes vaincu ! Fuite impossible !", "\xC9t\xE9 : \xE9 \xE8 \xEA pqgjy",
        "PV          185/999",  // and "\xE9" "f" apart, or the escape takes the f in:
        "Je pr\xE9"
        "f\xE8re largement ma tunique, \xE0 \xE7 \xF4 \xFB \xF9 \xEE \xEF"}) {
    const int w = GpTextWidth(l.c_str());
    ASSERT_GT(w, 20);
    for (int x : {-w - 1, -w, -w + 1, -w / 2, -1, 0, 320 - w, 320 - w / 2, 318, 319, 320, 32767,
                  -32768, 70000, -70000})
      for (int y : {-14, -13, -12, -7, -1, 0, 228, 232, 239, 240, 32767, -70000})
        ASSERT_EQ(compare(l, x, y, 0xFFC1, Pattern), 0)
            << record::utf8(l) << " at " << x << "," << y;
  }
}

// Each byte alone is measured and drawn as SDL_ttf does, inked inside its advance and the line
// (accents on capitals and descenders are not clipped); accents are told apart; digits line up in
// menus.
TEST_F(Atlas, EveryByteIsAsSdlTtfHasItAndTheFontSuitsFrenchLines) {
  for (int b = 1; b < 256; b++) {
    const char text[2] = {static_cast<char>(b), 0};
    int w = 0, h = 0, minx = 0, maxx = 0, miny = 0, maxy = 0, adv = 0;
    ASSERT_EQ(TTF_SizeText(police, text, &w, &h), 0);
    EXPECT_EQ(GpTextWidth(text), w) << "byte " << b;
    // control codes take the font's empty box, which SDL_ttf draws with grey edges the atlas leaves
    // out
    if (!TTF_GlyphIsProvided(police, static_cast<Uint16>(b))) {
      EXPECT_TRUE(b < 0x20 || (b >= 0x7F && b < 0xA0)) << "no glyph for printable byte " << b;
      continue;
    }
    EXPECT_EQ(compare(text, 100, 100, 0xF801, Pattern) + compare(text, 100, 100, 0x0000, Pattern) +
                  compare(text, 100, 100, 0x0000, White),
              0)
        << "byte " << b;
    ASSERT_EQ(TTF_GlyphMetrics(police, static_cast<Uint16>(b), &minx, &maxx, &miny, &maxy, &adv),
              0);
    const bool inside = minx >= 0 && maxx <= adv && maxy <= TTF_FontAscent(police) &&
                        miny >= TTF_FontDescent(police);
    EXPECT_TRUE(adv > 0 && (b == 0x20 || b == 0xA0 || (differing(theirs, bg[White]) > 0 && inside)))
        << "byte " << b << ": no ink, or ink " << minx << ".." << maxx << " x " << miny << ".."
        << maxy << "/" << adv;
  }
  EXPECT_EQ(GpTextWidth(nullptr) + GpTextWidth(""), 0);
  EXPECT_TRUE(TTF_FontHeight(police) >= 11 && TTF_FontHeight(police) <= 15 &&
              TTF_FontLineSkip(police) <= 15)
      << "lines 15 pixels apart";
  for (const char* g :
       {"e\xe9\xe8\xea\xeb", "a\xe0\xe2\xe4", "i\xee\xef", "o\xf4\xf6", "u\xf9\xfb\xfc", "c\xe7",
        "E\xc9\xc8\xca\xcb", "A\xc0\xc2", "C\xc7"}) {  // from each other and the base letter
    std::vector<std::vector<uint16_t>> seen;
    for (const char* p = g; *p; p++) {
      compare(std::string(1, *p), 0, 0, 0x0000, White);
      EXPECT_EQ(std::count(seen.begin(), seen.end(), harness::screenPixels(theirs)), 0)
          << g << " at " << (p - g);
      seen.push_back(harness::screenPixels(theirs));
    }
  }
  auto adv = [](char c) { return fontAtlas.glyphs[static_cast<unsigned char>(c)].advance; };
  EXPECT_TRUE(adv('i') < adv('m') && adv('l') < adv('w') && adv('!') < adv('o') &&
              adv('n') < adv('m'));
  for (char d = '1'; d <= '9'; d++) EXPECT_EQ(adv(d), adv('0')) << d;
}

}  // namespace
