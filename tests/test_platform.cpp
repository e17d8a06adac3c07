// The handheld-style layer: picture conversion, blits, rectangles, text, key masks, waits, clock.
#include <gtest/gtest.h>

#include "draws.h"
#include "harness.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

class Platform : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(harness::start()); }
  void TearDown() override { harness::stop(); }

  static void clear(uint16_t c) { GpRectFill(Screen, 0, 0, 320, 240, c); }
  static uint16_t at(int x, int y) { return harness::pixel(x, y); }
  // Number of pixels in a rectangle of Screen that differ from c.
  static int countNot(uint16_t c, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y <= y1; y++)
      for (int x = x0; x <= x1; x++) n += at(x, y) != c;
    return n;
  }
};

TEST_F(Platform, EightBitPictureIsStoredColumnWiseFromTheBottom) {
  const unsigned char img[6] = {0, 1, 2, 3, 4, 5};
  unsigned short pal[256];
  for (int i = 0; i < 256; i++) pal[i] = static_cast<unsigned short>(0x1000 + i);
  SDL_Surface* s = LoadSurfaceFromGP8bitsImage(img, pal, 2, 3, false);
  ASSERT_NE(s, nullptr);
  ASSERT_EQ(s->w, 2);
  ASSERT_EQ(s->h, 3);
  auto* p = static_cast<uint16_t*>(s->pixels);
  EXPECT_EQ(p[0], 0x1002);  // top row: bytes 2 and 5
  EXPECT_EQ(p[1], 0x1005);
  EXPECT_EQ(p[2], 0x1001);  // middle row: bytes 1 and 4
  EXPECT_EQ(p[3], 0x1004);
  EXPECT_EQ(p[4], 0x1000);  // bottom row: bytes 0 and 3
  EXPECT_EQ(p[5], 0x1003);
  EXPECT_EQ(s->format->Rmask, 0xF800u);
  FreeGPSurface(s);

  // The title's layout (red in bits 15-12, blue in 3-0) shows on the screen as the classic
  // library always showed it: each 4-bit channel widened with a zero low bit, bits 11 and 4 lost.
  pal[0] = 0xF000;  // full red
  pal[1] = 0x000F;  // full blue
  pal[2] = 0x0810;  // only the two bits of no channel
  pal[3] = 0x57E5;  // some red, full green, some blue
  SDL_Surface* t = LoadSurfaceFromGP8bitsImage(img, pal, 2, 3, true);
  ASSERT_NE(t, nullptr);
  clear(0xFFFF);
  GpBitBlt(Screen, 0, 0, 2, 3, t);
  EXPECT_EQ(at(0, 0), 0x0000);  // byte 2
  EXPECT_EQ(at(0, 1), 0x001E);  // byte 1
  EXPECT_EQ(at(0, 2), 0xF000);  // byte 0
  EXPECT_EQ(at(1, 2), 0x57EA);  // byte 3
  FreeGPSurface(t);
}

TEST_F(Platform, TransparentColourIsSkippedOnlyByKeyedBlits) {
  std::vector<uint16_t> px(4 * 4, 0x07E0);
  px[0] = 0xE021;
  SDL_Surface* s = Make_surface(px.data(), 4, 4);
  clear(0x001F);
  GpBitBlt(Screen, 10, 10, 4, 4, s);  // never keyed: the key colour is drawn
  EXPECT_EQ(at(10, 10), 0xE021);
  EXPECT_EQ(at(11, 10), 0x07E0);
  clear(0x001F);
  GpTransBlt(Screen, 10, 10, 4, 4, s, TRANSPARENT_KEY);
  EXPECT_EQ(at(10, 10), 0x001F);
  EXPECT_EQ(at(11, 10), 0x07E0);
  SDL_FreeSurface(s);

  // the raw-array forms read 16-bit pixels and clip a source rectangle to the picture
  clear(0x0000);
  GpTransBlt(Screen, 0, 0, 4, 8, reinterpret_cast<unsigned char*>(px.data()), TRANSPARENT_KEY, 0,
             2, 4, 4);
  EXPECT_EQ(at(0, 0), 0x07E0);
  EXPECT_EQ(at(0, 1), 0x07E0);
  EXPECT_EQ(at(0, 2), 0x0000);  // rows below the picture do not exist
  clear(0x0000);
  GpBitBlt(Screen, 5, 5, 4, 4, reinterpret_cast<unsigned char*>(px.data()));
  EXPECT_EQ(at(5, 5), 0xE021);
  EXPECT_EQ(at(8, 8), 0x07E0);
  // an empty or missing array draws nothing
  clear(0x0000);
  GpBitBlt(Screen, 5, 5, 0, 4, reinterpret_cast<unsigned char*>(px.data()));
  GpBitBlt(Screen, 5, 5, -4, 4, reinterpret_cast<unsigned char*>(px.data()), 0, 0, -4, 4);
  GpBitBlt(Screen, 5, 5, 4, 4, static_cast<unsigned char*>(nullptr));
  GpTransBlt(Screen, 5, 5, 4, 4, static_cast<unsigned char*>(nullptr), TRANSPARENT_KEY);
  EXPECT_EQ(Make_surface(nullptr, 4, 4), nullptr);
  for (int y = 0; y < 20; y++)
    for (int x = 0; x < 20; x++) ASSERT_EQ(at(x, y), 0x0000);
}

TEST_F(Platform, BlitsClipAtEveryEdge) {
  std::vector<uint16_t> px(32 * 32, 0xFFFF);
  SDL_Surface* s = Make_surface(px.data(), 32, 32);
  clear(0x0000);
  GpBitBlt(Screen, -16, -16, 32, 32, s);
  EXPECT_EQ(countNot(0x0000, 0, 0, 15, 15), 16 * 16);
  EXPECT_EQ(at(16, 0), 0x0000);
  EXPECT_EQ(at(0, 16), 0x0000);
  clear(0x0000);
  GpBitBlt(Screen, 300, 230, 32, 32, s);
  EXPECT_EQ(countNot(0x0000, 300, 230, 319, 239), 20 * 10);
  EXPECT_EQ(countNot(0x0000, 0, 0, 299, 229), 0);
  // a source rectangle partly below the picture draws only the rows that exist
  clear(0x0000);
  GpBitBlt(Screen, 100, 100, 32, 32, s, 0, 24, 32, 32);
  EXPECT_EQ(countNot(0x0000, 100, 100, 131, 139), 32 * 8);
  // far-off positions draw nothing (and never wrap round onto the screen)
  clear(0x0000);
  GpBitBlt(Screen, 70000, 70000, 32, 32, s);
  GpBitBlt(Screen, -70000, 5, 32, 32, s);
  GpBitBlt(Screen, 65536 + 100, 5, 32, 32, s);   // 100 once cut to 16 bits
  GpBitBlt(Screen, 5, -65536 + 50, 32, 32, s);   // 50 likewise
  GpTransBlt(Screen, 65536 + 100, 5, 32, 32, s, TRANSPARENT_KEY);
  EXPECT_EQ(countNot(0x0000, 0, 0, 319, 239), 0);
  SDL_FreeSurface(s);
}

TEST_F(Platform, RectanglesFillAndOutline) {
  clear(0x0000);
  GpRectDraw(Screen, 10, 180, 30, 215, 0xF801);
  for (int x = 10; x <= 30; x++) {
    EXPECT_EQ(at(x, 180), 0xF801);
    EXPECT_EQ(at(x, 215), 0xF801);
  }
  for (int y = 180; y <= 215; y++) {
    EXPECT_EQ(at(10, y), 0xF801);
    EXPECT_EQ(at(30, y), 0xF801);
  }
  EXPECT_EQ(countNot(0x0000, 11, 181, 29, 214), 0);
  EXPECT_EQ(at(31, 180), 0x0000);
  EXPECT_EQ(at(10, 216), 0x0000);

  clear(0x0000);
  GpRectFill(Screen, 5, 5, 0, 10, 0xFFFF);
  GpRectFill(Screen, 5, 5, 10, 0, 0xFFFF);
  GpRectFill(Screen, 5, 5, -3, 10, 0xFFFF);
  EXPECT_EQ(countNot(0x0000, 0, 0, 319, 239), 0);
  GpRectFill(Screen, 0, 0, 320, 240, 0xFFFFFF);
  EXPECT_EQ(countNot(0xFFFF, 0, 0, 319, 239), 0);
  // a rectangle starting off the screen fills only its visible part
  clear(0x0000);
  GpRectFill(Screen, -10, -10, 20, 20, 0x07E0);
  EXPECT_EQ(countNot(0x0000, 0, 0, 319, 239), 10 * 10);
}

TEST_F(Platform, TextIsLatin1AndEmptyTextDrawsNothing) {
  ASSERT_NE(police, nullptr);
  clear(0xFFFF);
  GpTextOut(Screen, 10, 10, "", 0x0000);
  EXPECT_EQ(countNot(0xFFFF, 0, 0, 319, 239), 0);
  EXPECT_EQ(GpTextWidth(""), 0);

  // each accented letter draws differently from its plain letter and from the others
  const char* letters[] = {"e", "\xE9", "\xE8", "\xEA", "a", "\xE0", "c", "\xE7", "o", "\xF4"};
  std::vector<std::vector<uint16_t>> shots;
  for (const char* l : letters) {
    clear(0xFFFF);
    GpTextOut(Screen, 20, 20, l, 0x0000);
    std::vector<uint16_t> shot;
    for (int y = 14; y < 40; y++)
      for (int x = 16; x < 36; x++) shot.push_back(at(x, y));
    EXPECT_GT(countNot(0xFFFF, 16, 14, 35, 39), 0) << "letter " << (int)(unsigned char)l[0];
    for (const auto& other : shots) EXPECT_NE(shot, other);
    shots.push_back(shot);
  }
  EXPECT_GT(GpTextWidth("\xE9t\xE9"), GpTextWidth("t"));
}

TEST_F(Platform, KeyMasksFollowTheKeyTable) {
  harness::press(SDLK_RIGHT);
  hal_events();
  EXPECT_EQ(GpKeyGet(), KEY_RIGHT);
  harness::press(SDLK_UP);
  hal_events();
  EXPECT_EQ(GpKeyGet(), 0x18u);
  EXPECT_EQ(GpKeyChanged(), 0x08u);
  EXPECT_EQ(GpKeyChanged(), 0x08u);  // reading twice changes nothing
  hal_events();
  EXPECT_EQ(GpKeyChanged(), 0u);
  harness::release(SDLK_RIGHT);
  harness::release(SDLK_UP);
  hal_events();
  EXPECT_EQ(GpKeyGet(), 0u);

  // Space and Left Ctrl share the action bit
  harness::press(SDLK_SPACE);
  harness::press(SDLK_LCTRL);
  hal_events();
  EXPECT_EQ(GpKeyGet(), KEY_A);
  harness::release(SDLK_SPACE);
  hal_events();
  EXPECT_EQ(GpKeyGet(), KEY_A);
  harness::release(SDLK_LCTRL);
  hal_events();
  EXPECT_EQ(GpKeyGet(), 0u);

  // nothing else gives a bit
  for (SDLKey k : {SDLK_ESCAPE, SDLK_a, SDLK_KP_ENTER, SDLK_RCTRL, SDLK_z, SDLK_TAB}) harness::press(k);
  hal_events();
  EXPECT_EQ(GpKeyGet(), 0u);
  EXPECT_EQ(GpKeyChanged(), 0u);
  EXPECT_EQ(hal_working, 1);

  const std::pair<SDLKey, uint32_t> table[] = {{SDLK_SPACE, 0x01}, {SDLK_LCTRL, 0x01},
                                               {SDLK_LEFT, 0x04},  {SDLK_UP, 0x08},
                                               {SDLK_RIGHT, 0x10}, {SDLK_DOWN, 0x20},
                                               {SDLK_RETURN, 0x40}};
  for (auto [k, bit] : table) {
    harness::press(k);
    hal_events();
    EXPECT_EQ(GpKeyGet(), bit);
    EXPECT_EQ(GpKeyChanged(), bit);
    harness::release(k);
    hal_events();
    EXPECT_EQ(GpKeyGet(), 0u);
  }

  harness::closeWindow();
  hal_events();
  EXPECT_EQ(hal_working, 0);
}

TEST_F(Platform, WaitForKeyNeedsAFreshPressOfItsMask) {
  // Space held before the wait does not end it; a new press after a release does.
  harness::press(SDLK_SPACE);
  hal_events();
  harness::schedule({{500, SDLK_SPACE, false}, {900, SDLK_SPACE, true}});
  const uint32_t t0 = GpTickCountGet();
  WaitForKey(KEY_A);
  EXPECT_GE(GpTickCountGet() - t0, 890u);
  EXPECT_LT(GpTickCountGet() - t0, 1000u);
  harness::release(SDLK_SPACE);
  hal_events();

  // Escape, letters and a mouse click do not end a wait for any key; an arrow does
  const uint32_t t1 = GpTickCountGet();
  harness::schedule({{t1 + 10, SDLK_ESCAPE, true},
                     {t1 + 20, SDLK_a, true},
                     {t1 + 300, SDLK_LEFT, true}});
  harness::driver = [] {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_LEFT;
    SDL_PushEvent(&e);
  };
  WaitForKey(255);
  harness::driver = nullptr;
  EXPECT_GE(GpTickCountGet() - t1, 300u);
  EXPECT_EQ(GpKeyChanged(), KEY_LEFT);
  harness::release(SDLK_LEFT);
  hal_events();

  // the two-mask form ends on either mask
  for (SDLKey k : {SDLK_RETURN, SDLK_SPACE, SDLK_LCTRL}) {
    const uint32_t t = GpTickCountGet();
    harness::schedule({{t + 50, SDLK_DOWN, true}, {t + 100, k, true}});
    WaitForKey(KEY_START, KEY_A);
    EXPECT_GE(GpTickCountGet() - t, 100u);
    harness::release(k);
    harness::release(SDLK_DOWN);
    hal_events();
  }

  // a press and release of the same key inside one poll does not end the wait
  const uint32_t t2 = GpTickCountGet();
  harness::driver = [t2] {
    if (GpTickCountGet() == t2 + 5) harness::tap(SDLK_SPACE);
    if (GpTickCountGet() == t2 + 50) harness::press(SDLK_SPACE);
  };
  WaitForKey(KEY_A);
  harness::driver = nullptr;
  EXPECT_GE(GpTickCountGet() - t2, 50u);
}

TEST_F(Platform, ClosingTheWindowEndsEveryWait) {
  harness::schedule({{GpTickCountGet() + 200, SDLK_UNKNOWN, true}});
  harness::driver = [] {
    if (GpTickCountGet() >= 300) harness::closeWindow();
  };
  WaitForKey(KEY_A);
  EXPECT_EQ(hal_working, 0);
  const uint32_t t = GpTickCountGet();
  WaitForKey(255);
  WaitForKey(KEY_A, KEY_START);
  EXPECT_EQ(GpTickCountGet(), t);  // returns at once from now on
}

TEST_F(Platform, VirtualClockAdvancesOnlyThroughWaits) {
  const uint32_t t = GpTickCountGet();
  sleep(100);
  EXPECT_EQ(GpTickCountGet() - t, 100u);
  waitSince(t, 250);
  EXPECT_EQ(GpTickCountGet() - t, 250u);
  waitSince(t, 200);  // already past: no wait
  EXPECT_EQ(GpTickCountGet() - t, 250u);
  // a queued window close ends a wait that does not pump
  harness::closeWindow();
  waitSince(GpTickCountGet(), 10);
  EXPECT_EQ(hal_working, 0);
}

// The real clock. SDL 1.2 starts counting at the first SDL_Init of a process and never again, so
// this runs in a fresh process of its own; and every bound is read off the system's monotonic
// clock around each tick reading, so that no load on the machine can make it fail.
void checkRealClock() {
  using ms = std::chrono::duration<double, std::milli>;
  auto fail = [](const char* what, double a, double b) {
    std::fprintf(stderr, "%s: %.1f vs %.1f\n", what, a, b);
    std::exit(1);
  };
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  hal_useVirtualClock(false);
  hal_reset();
  const auto beforeInit = std::chrono::steady_clock::now();
  if (SDL_Init(SDL_INIT_VIDEO) != 0) fail("SDL_Init", -1, 0);
  const uint32_t t0 = GpTickCountGet();
  const auto s1 = std::chrono::steady_clock::now();
  // right after SDL starts the count is about what SDL_Init itself took
  if (t0 > ms(s1 - beforeInit).count() + 1) fail("count at start", t0, ms(s1 - beforeInit).count());
  waitSince(t0, 120);
  const auto s2 = std::chrono::steady_clock::now();
  const uint32_t t1 = GpTickCountGet();
  const auto s3 = std::chrono::steady_clock::now();
  const double dt = t1 - t0;
  if (dt < 120) fail("waited", dt, 120);
  // a thousand a second: what the system clock saw, give or take a tick at each end
  if (dt > ms(s3 - beforeInit).count() + 1) fail("count grew faster", dt, ms(s3 - beforeInit).count());
  if (dt < ms(s2 - s1).count() - 2) fail("count grew slower", dt, ms(s2 - s1).count());
  SDL_Quit();
  std::exit(0);
}

// The page draws its random numbers with a rebuilt generator: it must give the desktop's C
// library's numbers, or every fight of the page would go otherwise.
TEST(Draws, SameNumbersAsTheDesktopLibraryForEverySeed) {
  for (unsigned seed : {0u, 1u, 250u, 4000u, 1000u + 123u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
    srand(seed);
    draws::Generator g(seed);
    for (int i = 0; i < 2000; i++) ASSERT_EQ(g.next(), rand()) << "seed " << seed << ", draw " << i;
  }
}

TEST(RealClockDeathTest, TickCountStartsNearZeroAndGrowsAboutOneThousandPerSecond) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh program, not a fork of this one
  EXPECT_EXIT(checkRealClock(), testing::ExitedWithCode(0), "");
}

}  // namespace
