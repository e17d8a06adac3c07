// The two music modules: ProTracker files SDL_mixer reads whole; songs of the right length
// that jump back to their start by themselves; played by SDL_mixer in both ears, short of clipping.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include "assets.h"

namespace {

struct Song {
  const char* name;
  const unsigned char* d;
  size_t size;
  unsigned positions;
  double minSeconds, maxSeconds;  // one pass
};
const Song kSongs[] = {{"un", un, un_size, 8, 60, 72}, {"battle", battle, battle_size, 3, 10, 72}};

unsigned word(const unsigned char* p) { return p[0] << 8 | p[1]; }

TEST(Music, ModulesAreWholeProTrackerSongsThatJumpBackToTheirStart) {
  double seconds[2] = {0, 0};
  for (int n = 0; n < 2; n++) {
    const Song& s = kSongs[n];
    SCOPED_TRACE(s.name);
    ASSERT_GT(s.size, 1084u);
    const unsigned char *order = s.d + 952, *cells = s.d + 1084;
    const unsigned patterns = *std::max_element(order, order + 128) + 1u;
    EXPECT_EQ(0, std::memcmp(s.d + 1080, "M.K.", 4));
    ASSERT_EQ(s.d[950], s.positions);
    EXPECT_LE(patterns, 64u);
    size_t at = 1084 + patterns * 1024;  // then the samples' bytes, one after the other
    for (int i = 0; i < 31; i++) at += 2 * size_t(word(s.d + 42 + 30 * i));
    EXPECT_EQ(s.size, at);
    // one pass as a tracker plays it (speed, tempo, jumps, breaks), until a row comes back
    int speed = 6, bpm = 125;
    unsigned pos = 0, row = 0;
    std::set<std::pair<unsigned, unsigned>> seen;
    while (pos < s.positions && seen.insert({pos, row}).second) {
      int jump = -1, cut = -1;
      for (const unsigned char *p = cells + order[pos] * 1024 + row * 16, *e = p + 16; p < e;
           p += 4) {
        if ((p[2] & 0x0F) == 0xF && p[3]) (p[3] < 0x20 ? speed : bpm) = p[3];
        if ((p[2] & 0x0F) == 0xB) jump = p[3];
        if ((p[2] & 0x0F) == 0xD) cut = (p[3] >> 4) * 10 + (p[3] & 15);
      }
      seconds[n] += speed * 2.5 / bpm;
      const bool next = jump >= 0 || cut >= 0 || row == 63;  // the row after is another position's
      pos = jump >= 0 ? unsigned(jump) : pos + next;
      row = cut >= 0 ? unsigned(cut) : next ? 0 : row + 1;
    }
    EXPECT_EQ(pos, 0u)
        << "the song must jump back to its start by itself: no gap while SDL_mixer restarts it";
    EXPECT_TRUE(seconds[n] >= s.minSeconds && seconds[n] <= s.maxSeconds) << seconds[n] << " s";
  }
  EXPECT_LT(seconds[1], seconds[0]) << "the duel's song is the shorter";
}

std::vector<Sint16> heard;  // what the mixer played, interleaved left, right

TEST(Music, SdlMixerPlaysBothModulesInBothEarsShortOfClipping) {
  ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
  ASSERT_EQ(Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024), 0) << Mix_GetError();
  for (const Song& s : kSongs) {
    SCOPED_TRACE(s.name);
    SDL_RWops* rw = SDL_RWFromConstMem(s.d, int(s.size));
    Mix_Music* music = Mix_LoadMUS_RW(rw);
    SDL_FreeRW(rw);
    ASSERT_NE(music, nullptr) << Mix_GetError();
    EXPECT_EQ(Mix_GetMusicType(music), MUS_MOD);
    heard.clear();
    Mix_SetPostMix(
        [](void*, Uint8* p, int len) {
          heard.insert(heard.end(), reinterpret_cast<Sint16*>(p),
                       reinterpret_cast<Sint16*>(p + len));
        },
        nullptr);
    ASSERT_EQ(Mix_PlayMusic(music, -1), 0) << Mix_GetError();
    constexpr size_t wanted =
        22050 * 2 * 3 / 2;  // a second and a half, however long a busy machine takes
    for (int waited = 0, enough = 0; waited < 60000 && !enough; waited += 10) {
      SDL_Delay(10);
      SDL_LockAudio();  // the mixer adds to heard from the audio thread
      enough = heard.size() >= wanted;
      SDL_UnlockAudio();
    }
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    Mix_HaltMusic();
    Mix_SetPostMix(nullptr, nullptr);
    Mix_FreeMusic(music);
    ASSERT_GE(heard.size(), wanted) << "the mixer produced less than 1.5 s in a minute";
    double sum[2] = {0, 0};
    for (size_t i = 0; i < heard.size(); i++) sum[i & 1] += double(heard[i]) * heard[i];
    const auto [quietest, loudest] = std::minmax_element(heard.begin(), heard.end());
    const double left = std::sqrt(sum[0] * 2 / heard.size()),
                 right = std::sqrt(sum[1] * 2 / heard.size());
    EXPECT_TRUE(left > 500 && right > 500 && left / right < 2.5 && right / left < 2.5)
        << "an ear silent, or unbalanced: " << left << " / " << right;
    EXPECT_TRUE(*quietest > -30000 && *loudest < 30000) << "too loud: close to clipping";
  }
  Mix_CloseAudio();
  SDL_Quit();
}

}  // namespace
