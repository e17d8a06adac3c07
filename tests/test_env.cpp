// Bad environments: no sound device, no display, a font or a module that does not load.
#include <gtest/gtest.h>

#include "assets.h"
#include "harness.h"

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

// What start-up reads the font and the modules from (gpmain.cpp).
extern const unsigned char *init_font, *init_music, *init_music2;
extern std::size_t init_fontSize, init_musicSize, init_music2Size;

namespace pilot {
void reset();
void pump(std::mt19937& rng);
bool battleScreen();
}  // namespace pilot

namespace {

std::mt19937 rng;
uint32_t budgetMs = 0;
bool sawCombat = false, sawEngine = false, heardMusic = false;
int menuTextPixels = -1;  // pixels of the first title-menu frame that differ from its picture

// Pixels of Screen that differ from a picture drawn alone on a surface of the same format.
int differsFrom(SDL_Surface* picture) {
  SDL_Surface* ref = SDL_CreateRGBSurface(SDL_SWSURFACE, 320, 240, 16, 0xF800, 0x07E0, 0x001F, 0);
  SDL_BlitSurface(picture, nullptr, ref, nullptr);
  int n = 0;
  for (int y = 0; y < 240; y++)
    for (int x = 0; x < 320; x++)
      n += static_cast<const uint16_t*>(ref->pixels)[y * ref->pitch / 2 + x] !=
           harness::pixel(x, y);
  SDL_FreeSurface(ref);
  return n;
}

void onPump() {
  if (GpTickCountGet() > budgetMs) {
    harness::closeWindow();
    return;
  }
  pilot::pump(rng);
}

void onFlip() {
  sawCombat |= pilot::battleScreen();
  sawEngine |= flow_current == SCR_ENGINE;
  heardMusic |= musicPlaying() != 0;
  if (flow_current == SCR_MENU && menuTextPixels < 0) menuTextPixels = differsFrom(pSurf_img_intro);
}

// The real start-up with the given audio driver (null: none named), then some minutes of play
// through the ambush, its dialogue boxes and its fight.
void play(const char* audioDriver, uint32_t minutes = 3) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  if (audioDriver)
    setenv("SDL_AUDIODRIVER", audioDriver, 1);
  else
    unsetenv("SDL_AUDIODRIVER");
  harness::resetWorld();
  hal_reset();
  hal_useVirtualClock(true, 0);
  rng.seed(5);
  pilot::reset();
  budgetMs = minutes * 60000;
  sawCombat = sawEngine = heardMusic = false;
  menuTextPixels = -1;
  hal_pumpHook = onPump;
  hal_flipHook = onFlip;
  load_rsc();
  ASSERT_TRUE(init());
  init2();
  harness::runFromMenu();
  EXPECT_TRUE(sawEngine);
  EXPECT_TRUE(sawCombat);
  EXPECT_GT(vagabond.scene, 0);  // the ambush played
}

void restoreAssets() {
  init_font = gamefont;
  init_fontSize = gamefont_size;
  init_music = un;
  init_musicSize = un_size;
  init_music2 = battle;
  init_music2Size = battle_size;
}

class Env : public ::testing::Test {
 protected:
  void TearDown() override {
    harness::stop();
    restoreAssets();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
  }
};

TEST_F(Env, WithoutASoundDeviceTheGamePlaysSilently) {
  play("nosuch");
  EXPECT_EQ(music, nullptr);
  EXPECT_EQ(music2, nullptr);
  EXPECT_FALSE(heardMusic);
  // every music call stays safe without a device
  EXPECT_EQ(musicLoad(un, static_cast<int>(un_size)), nullptr);
  musicPlay(nullptr);
  musicPlay(music);
  musicHalt();
  EXPECT_EQ(musicPlaying(), 0);
  musicClose();
  musicClose();
}

TEST_F(Env, WithTheUsualDriverChoiceTheGamePlaysWhateverTheMachineHas) {
  // No driver named: SDL tries the machine's own (none here, so silence; a desk with sound plays).
  play(nullptr, 2);
  if (!music) {
    EXPECT_FALSE(heardMusic);
  }
}

// The text is drawn from the glyph atlas built with the game, not from the font's bytes: with a
// font that does not open, the game plays and shows every line as it does with its font.
TEST_F(Env, WithAFontThatDoesNotLoadTheTextIsStillDrawn) {
  play("dummy", 1);
  ASSERT_NE(police, nullptr);
  const int withFont = menuTextPixels;
  const int jouer = GpTextWidth("Jouer");
  EXPECT_GT(withFont, 100) << "the title menu's lines are too few pixels to tell anything";
  harness::stop();
  static std::vector<unsigned char> junk(4096, 0x5A);
  static std::vector<unsigned char> half(gamefont, gamefont + gamefont_size / 2);
  const std::pair<const unsigned char*, size_t> broken[] = {
      {junk.data(), junk.size()}, {gamefont, 12}, {half.data(), half.size()}};
  for (const auto& b : broken) {
    SCOPED_TRACE(b.second);
    init_font = b.first;
    init_fontSize = b.second;
    play("dummy", 2);
    EXPECT_EQ(GpTextWidth("Jouer"), jouer);
    EXPECT_EQ(menuTextPixels, withFont) << "the title menu drew its lines otherwise without a font";
    harness::stop();
  }
  // garbage never opens
  init_font = junk.data();
  init_fontSize = junk.size();
  play("dummy", 1);
  EXPECT_EQ(police, nullptr);
  EXPECT_EQ(menuTextPixels, withFont);
  harness::stop();
}

TEST_F(Env, WithModulesThatDoNotLoadTheGameIsSilent) {
  static std::vector<unsigned char> junk(8192, 0xA5);
  init_music = junk.data();
  init_musicSize = junk.size();
  init_music2 = un;
  init_music2Size = 1100;  // a module header with nothing after it
  play("dummy");
  EXPECT_EQ(music, nullptr);
  harness::stop();
  // nothing at all
  init_music = init_music2 = nullptr;
  init_musicSize = init_music2Size = 0;
  play("dummy");
  EXPECT_EQ(music, nullptr);
  EXPECT_EQ(music2, nullptr);
  EXPECT_FALSE(heardMusic);
}

// ---- the program itself -------------------------------------------------------------------------

struct Result {
  int status;
  std::string out, err;
  int ms;  // how long it ran
};

std::string slurp(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

// Runs the program with its environment changed by `env` (env(1)'s arguments: the -u first), its
// standard input empty; SIGTERM after `seconds` (its own exit status kept), SIGKILL 20 s later.
Result runProgram(const std::string& env, const char* seconds = "10") {
  char dir[] = "/tmp/talmyr-env-XXXXXX";
  if (!mkdtemp(dir)) return {-1, "", "", 0};
  const std::string d = dir;
  const std::string cmd = "env " + env + " SDL_AUDIODRIVER=dummy timeout --preserve-status -k 20 " +
                          seconds + " " + TALMYR_PROGRAM + " </dev/null >" + d + "/out 2>" + d + "/err";
  const auto begun = std::chrono::steady_clock::now();
  const int status = std::system(cmd.c_str());
  Result r{WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(d + "/out"), slurp(d + "/err"),
           static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                std::chrono::steady_clock::now() - begun).count())};
  std::system(("rm -rf " + d).c_str());
  return r;
}

// One line on stderr, from the game, and nothing else.
void oneLine(const Result& r) {
  ASSERT_FALSE(r.err.empty());
  EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;  // a leak report would add more
  EXPECT_EQ(r.err.rfind("talmyr: ", 0), 0u) << r.err;
  EXPECT_EQ(r.out, "");
}

TEST(Program, WithoutADisplayItSaysSoInOneLineAndFails) {
  // a driver named that cannot draw here
  for (const char* driver : {"nosuch", "x11"}) {
    SCOPED_TRACE(driver);
    const Result r = runProgram(std::string("-u DISPLAY SDL_VIDEODRIVER=") + driver);
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.status, 127) << "could not start " << TALMYR_PROGRAM;
    oneLine(r);
  }
  // none named: never the terminal's letters nor a window nowhere, but one line and status 1 at once
  const std::pair<const char*, const char*> cases[] = {
      {"-u DISPLAY -u WAYLAND_DISPLAY", "no graphical display"},
      {"DISPLAY= WAYLAND_DISPLAY=", "no graphical display"},
      {"-u WAYLAND_DISPLAY DISPLAY=:4711", "the display cannot be opened (DISPLAY=:4711)"}};
  for (auto [env, says] : cases) {
    SCOPED_TRACE(env);
    const Result r = runProgram(std::string("-u SDL_VIDEODRIVER ") + env + " TERM=xterm");
    EXPECT_EQ(r.status, 1);
    EXPECT_LT(r.ms, 5000);
    oneLine(r);
    EXPECT_NE(r.err.find(says), std::string::npos) << r.err;
  }
  // and a driver named is the player's choice, display or not: the suite's own runs
  const Result r = runProgram("-u DISPLAY SDL_VIDEODRIVER=dummy", "1.5");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_GE(r.ms, 1500);
}

}  // namespace
