// The embedded font and the two music modules, checked as the game uses them (SDL_ttf, SDL_mixer)
// and byte by byte against the ProTracker layout.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "assets.h"

namespace {

// ------------------------------------------------------------------ ProTracker layout

const int kPeriods[36] = {856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453,
                          428, 404, 381, 360, 339, 320, 302, 285, 269, 254, 240, 226,
                          214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113};

struct Sample {
  unsigned length = 0, loopStart = 0, loopLength = 0;  // in words
  unsigned volume = 0, finetune = 0;
};

struct Cell {
  unsigned sample, period, effect, param;
};

struct Module {
  const unsigned char* d;
  std::size_t size;
  Module(const unsigned char* data, std::size_t n) : d(data), size(n) {}
  unsigned word(std::size_t at) const { return d[at] << 8 | d[at + 1]; }
  Sample sample(int i) const {  // i = 0..30
    std::size_t h = 20 + 30 * i;
    Sample s;
    s.length = word(h + 22);
    s.finetune = d[h + 24];
    s.volume = d[h + 25];
    s.loopStart = word(h + 26);
    s.loopLength = word(h + 28);
    return s;
  }
  unsigned songLength() const { return d[950]; }
  unsigned order(int i) const { return d[952 + i]; }
  unsigned patterns() const {
    unsigned hi = 0;
    for (int i = 0; i < 128; i++) hi = std::max(hi, order(i));
    return hi + 1;
  }
  std::size_t sampleData(int i) const {  // offset of sample i's bytes
    std::size_t at = 1084 + std::size_t(patterns()) * 1024;
    for (int k = 0; k < i; k++) at += 2 * std::size_t(sample(k).length);
    return at;
  }
  Cell cell(unsigned pattern, int row, int ch) const {
    const unsigned char* c = d + 1084 + pattern * 1024 + row * 16 + ch * 4;
    return {unsigned((c[0] & 0xF0) | c[2] >> 4), unsigned((c[0] & 0x0F) << 8 | c[1]),
            unsigned(c[2] & 0x0F), c[3]};
  }
};

// Plays the song row by row as a tracker would (speed, tempo, jumps, breaks) until it ends or
// comes back to a row already played; returns the seconds of one pass.
struct Walk {
  double seconds = 0;
  int loopsTo = -1;  // position a jump goes back to, -1 if the song just ends
};

Walk walk(const Module& m) {
  Walk w;
  int speed = 6, bpm = 125;
  unsigned pos = 0;
  int row = 0;
  std::set<std::pair<unsigned, int>> seen;
  while (pos < m.songLength()) {
    if (!seen.insert({pos, row}).second) {
      w.loopsTo = int(pos);
      break;
    }
    int jumpPos = -1, breakRow = -1;
    for (int ch = 0; ch < 4; ch++) {
      Cell c = m.cell(m.order(pos), row, ch);
      if (c.effect == 0xF && c.param > 0) (c.param < 0x20 ? speed : bpm) = int(c.param);
      if (c.effect == 0xB) jumpPos = int(c.param);
      if (c.effect == 0xD) breakRow = int(c.param >> 4) * 10 + int(c.param & 15);
    }
    w.seconds += speed * 2.5 / bpm;
    if (jumpPos >= 0 || breakRow >= 0) {
      pos = jumpPos >= 0 ? unsigned(jumpPos) : pos + 1;
      row = breakRow >= 0 ? breakRow : 0;
    } else if (++row == 64) {
      row = 0;
      ++pos;
    }
  }
  return w;
}

struct Song {
  const char* name;
  const unsigned char* data;
  std::size_t size;
  unsigned positions;
};

const Song kSongs[] = {{"un", un, un_size, 8}, {"battle", battle, battle_size, 3}};

TEST(Music, ModuleHeadersMatchTheProTrackerLayout) {
  for (const Song& s : kSongs) {
    SCOPED_TRACE(s.name);
    ASSERT_GT(s.size, 1084u);
    Module m(s.data, s.size);
    EXPECT_EQ(0, std::memcmp(s.data + 1080, "M.K.", 4));
    EXPECT_NE(s.data[0], 0) << "the title is empty";
    EXPECT_EQ(m.songLength(), s.positions);
    for (int i = int(m.songLength()); i < 128; i++) EXPECT_EQ(m.order(i), 0u) << "order " << i;
    unsigned used = 0;
    for (unsigned i = 0; i < m.songLength(); i++) used = std::max(used, m.order(i) + 1);
    EXPECT_EQ(m.patterns(), used) << "patterns stored but never played";
    EXPECT_LE(m.patterns(), 64u);

    std::size_t sampleBytes = 0;
    for (int i = 0; i < 31; i++) {
      SCOPED_TRACE("sample " + std::to_string(i + 1));
      Sample smp = m.sample(i);
      EXPECT_LE(smp.volume, 64u);
      EXPECT_LE(smp.finetune, 15u);
      EXPECT_GE(smp.loopLength, 1u);
      if (smp.length == 0) continue;
      EXPECT_LE(smp.loopStart + smp.loopLength, smp.length);
      if (smp.loopLength == 1) {
        EXPECT_EQ(smp.loopStart, 0u);
        ASSERT_LE(m.sampleData(i) + 2, s.size);
        EXPECT_EQ(s.data[m.sampleData(i)], 0) << "a one-shot starts with a zero word";
        EXPECT_EQ(s.data[m.sampleData(i) + 1], 0);
      }
      sampleBytes += 2 * std::size_t(smp.length);
    }
    EXPECT_EQ(s.size, 1084 + m.patterns() * 1024u + sampleBytes);
  }
}

TEST(Music, PatternsUseDefinedSamplesAndTableNotes) {
  for (const Song& s : kSongs) {
    SCOPED_TRACE(s.name);
    Module m(s.data, s.size);
    for (unsigned p = 0; p < m.patterns(); p++)
      for (int r = 0; r < 64; r++)
        for (int ch = 0; ch < 4; ch++) {
          Cell c = m.cell(p, r, ch);
          SCOPED_TRACE("pattern " + std::to_string(p) + " row " + std::to_string(r));
          if (c.period) {
            EXPECT_NE(std::find(kPeriods, kPeriods + 36, int(c.period)), kPeriods + 36)
                << "period " << c.period;
          }
          if (c.sample) {
            ASSERT_LE(c.sample, 31u);
            EXPECT_GT(m.sample(int(c.sample) - 1).length, 0u) << "empty sample " << c.sample;
          }
          if (c.effect == 0xC) {
            EXPECT_LE(c.param, 64u);
          }
        }
  }
}

TEST(Music, SongsLastAboutAMinuteAndAFewSecondsAndJumpBackToTheStart) {
  Walk explore = walk(Module(un, un_size));
  Walk fight = walk(Module(battle, battle_size));
  EXPECT_GE(explore.seconds, 60.0);
  EXPECT_LE(explore.seconds, 72.0);
  EXPECT_GE(fight.seconds, 10.0);
  EXPECT_LT(fight.seconds, explore.seconds);
  // the player jumps back by itself: no gap while SDL_mixer restarts the song
  EXPECT_EQ(explore.loopsTo, 0);
  EXPECT_EQ(fight.loopsTo, 0);
}

// ------------------------------------------------------------------ SDL_mixer

struct Capture {
  std::mutex lock;
  std::vector<Sint16> frames;  // interleaved left, right
};

void capture(void* udata, Uint8* stream, int len) {
  auto* c = static_cast<Capture*>(udata);
  std::lock_guard<std::mutex> g(c->lock);
  const auto* s = reinterpret_cast<const Sint16*>(stream);
  c->frames.insert(c->frames.end(), s, s + len / 2);
}

class Mixer : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
    ASSERT_EQ(Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024), 0) << Mix_GetError();
  }
  void TearDown() override {
    Mix_SetPostMix(nullptr, nullptr);
    Mix_CloseAudio();
    SDL_Quit();
  }
};

TEST_F(Mixer, LoadsBothModulesAndPlaysThemInBothEars) {
  for (const Song& s : kSongs) {
    SCOPED_TRACE(s.name);
    SDL_RWops* rw = SDL_RWFromConstMem(s.data, int(s.size));
    Mix_Music* music = Mix_LoadMUS_RW(rw);
    SDL_FreeRW(rw);
    ASSERT_NE(music, nullptr) << Mix_GetError();
    EXPECT_EQ(Mix_GetMusicType(music), MUS_MOD);

    Capture cap;
    Mix_SetPostMix(capture, &cap);
    ASSERT_EQ(Mix_PlayMusic(music, -1), 0) << Mix_GetError();
    // A second and a half of sound, however long a busy machine takes to mix it.
    constexpr std::size_t wanted = 22050 * 2 * 3 / 2;
    for (int waited = 0; waited < 60000; waited += 10) {
      {
        std::lock_guard<std::mutex> g(cap.lock);
        if (cap.frames.size() >= wanted) break;
      }
      SDL_Delay(10);
    }
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    Mix_HaltMusic();
    Mix_SetPostMix(nullptr, nullptr);
    Mix_FreeMusic(music);

    std::lock_guard<std::mutex> g(cap.lock);
    ASSERT_GE(cap.frames.size(), wanted) << "the mixer produced less than 1.5 s in a minute";
    double sum[2] = {0, 0};
    int peak = 0;
    for (std::size_t i = 0; i < cap.frames.size(); i++) {
      sum[i & 1] += double(cap.frames[i]) * cap.frames[i];
      peak = std::max(peak, std::abs(int(cap.frames[i])));
    }
    double rms[2] = {std::sqrt(sum[0] * 2 / cap.frames.size()), std::sqrt(sum[1] * 2 / cap.frames.size())};
    EXPECT_GT(rms[0], 500.0) << "left ear silent";
    EXPECT_GT(rms[1], 500.0) << "right ear silent";
    EXPECT_LT(rms[0] / rms[1], 2.5);
    EXPECT_LT(rms[1] / rms[0], 2.5);
    EXPECT_LT(peak, 30000) << "too loud: close to clipping";
  }
}

// ------------------------------------------------------------------ font

class Font : public ::testing::Test {
 protected:
  TTF_Font* font = nullptr;
  void SetUp() override {
    ASSERT_EQ(SDL_Init(0), 0);
    ASSERT_EQ(TTF_Init(), 0);
    font = TTF_OpenFontRW(SDL_RWFromConstMem(gamefont, int(gamefont_size)), 1, 10);
    ASSERT_NE(font, nullptr) << TTF_GetError();
  }
  void TearDown() override {
    if (font) TTF_CloseFont(font);
    TTF_Quit();
    SDL_Quit();
  }

  // Alpha of each pixel of a blended rendering, row by row; w and h receive the size.
  static std::vector<Uint8> alpha(SDL_Surface* s, int* w = nullptr, int* h = nullptr) {
    std::vector<Uint8> a;
    if (!s) return a;
    SDL_LockSurface(s);
    for (int y = 0; y < s->h; y++)
      for (int x = 0; x < s->w; x++) {
        Uint32 p = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(s->pixels) + y * s->pitch)[x];
        a.push_back(Uint8((p & s->format->Amask) >> s->format->Ashift));
      }
    SDL_UnlockSurface(s);
    if (w) *w = s->w;
    if (h) *h = s->h;
    SDL_FreeSurface(s);
    return a;
  }
  std::vector<Uint8> glyph(Uint16 ch) {
    SDL_Color white = {255, 255, 255, 0};
    return alpha(TTF_RenderGlyph_Blended(font, ch, white));
  }
  int advance(Uint16 ch) {
    int minx, maxx, miny, maxy, adv;
    TTF_GlyphMetrics(font, ch, &minx, &maxx, &miny, &maxy, &adv);
    return adv;
  }
};

std::vector<Uint16> printable() {
  std::vector<Uint16> v;
  for (Uint16 c = 0x20; c <= 0x7E; c++) v.push_back(c);
  for (Uint16 c = 0xA0; c <= 0xFF; c++) v.push_back(c);
  return v;
}

TEST_F(Font, LineHeightFitsFifteenPixelLines) {
  EXPECT_LE(TTF_FontHeight(font), 15);
  EXPECT_GE(TTF_FontHeight(font), 11);
  EXPECT_LE(TTF_FontLineSkip(font), 15);
}

TEST_F(Font, CoversAsciiAndLatin1WithInkInsideTheLine) {
  for (Uint16 c : printable()) {
    SCOPED_TRACE(c);
    EXPECT_TRUE(TTF_GlyphIsProvided(font, c));
    int minx, maxx, miny, maxy, adv;
    ASSERT_EQ(TTF_GlyphMetrics(font, c, &minx, &maxx, &miny, &maxy, &adv), 0);
    EXPECT_GT(adv, 0);
    if (c == 0x20 || c == 0xA0) continue;
    // accents on capitals and descenders stay within the font's line: nothing is clipped
    EXPECT_LE(maxy, TTF_FontAscent(font));
    EXPECT_GE(miny, TTF_FontDescent(font));
    EXPECT_GE(minx, 0);
    EXPECT_LE(maxx, adv);
    std::vector<Uint8> a = glyph(c);
    EXPECT_TRUE(std::count(a.begin(), a.end(), 255) > 0) << "no ink";
    EXPECT_TRUE(std::all_of(a.begin(), a.end(), [](Uint8 v) { return v == 0 || v == 255; }));
  }
}

TEST_F(Font, RendersFrenchTextPixelExact) {
  const char* text = "Caf\xe9 \xe8l\xe8ve \xe0 gar\xe7on h\xf4tel ABCxyz 0123 !?%";
  SDL_Color black = {0, 0, 0, 0};
  int w = 0, h = 0, tw = 0, th = 0;
  std::vector<Uint8> a = alpha(TTF_RenderText_Blended(font, text, black), &w, &h);
  ASSERT_FALSE(a.empty());
  ASSERT_EQ(TTF_SizeText(font, text, &tw, &th), 0);
  EXPECT_EQ(w, tw);
  EXPECT_EQ(h, TTF_FontHeight(font));
  std::size_t solid = std::count(a.begin(), a.end(), 255), clear = std::count(a.begin(), a.end(), 0);
  EXPECT_EQ(solid + clear, a.size()) << "grey edge pixels: the font is not pixel-exact at 10 points";
  EXPECT_GT(solid, 300u);
}

TEST_F(Font, AccentsAndWidthsAreTellable) {
  // every French accented letter differs from the others and from its base letter
  const char* groups[] = {"e\xe9\xe8\xea\xeb", "a\xe0\xe2\xe4", "i\xee\xef", "o\xf4\xf6", "u\xf9\xfb\xfc",
                          "c\xe7", "E\xc9\xc8\xca\xcb", "A\xc0\xc2", "C\xc7"};
  for (const char* g : groups) {
    std::vector<std::vector<Uint8>> seen;
    for (const char* p = g; *p; p++) {
      std::vector<Uint8> a = glyph(static_cast<unsigned char>(*p));
      for (const auto& other : seen) EXPECT_NE(a, other) << "in group " << g << " at " << (p - g);
      seen.push_back(a);
    }
  }
  // proportional letters, fixed-width digits (numbers line up in menus)
  EXPECT_LT(advance('i'), advance('m'));
  EXPECT_LT(advance('l'), advance('w'));
  EXPECT_LT(advance('!'), advance('o'));
  EXPECT_GT(advance('m'), advance('n'));
  for (Uint16 d = '1'; d <= '9'; d++) EXPECT_EQ(advance(d), advance('0')) << char(d);
}

}  // namespace
