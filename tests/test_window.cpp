// The window around the picture: the scale for a desktop, the letterbox, the keys that belong to
// the player and never to the game (full screen, screenshots, the music), the magnified picture
// itself, the settings file and the command line.
#include <gtest/gtest.h>

#include "cmdline.h"
#include "harness.h"
#include "lang.h"
#include "present.h"
#include "screenshot.h"
#include "settings.h"
#include "support_story.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

TEST(Window, TheScaleIsTheLargestWholeNumberThatFitsMostOfTheDesktop) {
  // 85 % of the desktop: a 1920x1080 desktop gets 960x720, a 4K one 2240x1680
  const std::tuple<int, int, int> desktops[] = {
      {1920, 1080, 3}, {1280, 720, 2}, {1366, 768, 2}, {2560, 1440, 5}, {3840, 2160, 7},
      {800, 600, 2},   {640, 480, 1},  {320, 240, 1},  {0, 0, 1},       {10000, 10000, 8}};
  for (auto [w, h, s] : desktops) EXPECT_EQ(present::windowScale(w, h), s) << w << "x" << h;
}

TEST(Window, ThePictureIsCentredOnBlackAtTheLargestScaleThatFits) {
  struct Case {
    int w, h, scale, x, y;
  };
  const Case cases[] = {{1920, 1080, 4, 320, 60}, {960, 720, 3, 0, 0},   {1300, 1000, 4, 10, 20},
                        {1000, 700, 2, 180, 110}, {320, 240, 1, 0, 0},   {321, 500, 1, 0, 130},
                        {2560, 1600, 6, 320, 80}, {1024, 768, 3, 32, 24}};
  for (const Case& c : cases) {
    const present::Placement p = present::placeIn(c.w, c.h);
    EXPECT_EQ(p.scale, c.scale) << c.w << "x" << c.h;
    EXPECT_EQ(p.x, c.x) << c.w << "x" << c.h;
    EXPECT_EQ(p.y, c.y) << c.w << "x" << c.h;
  }
}

void keyEvent(SDLKey k, bool down, SDLMod mod) {
  SDL_Event e;
  std::memset(&e, 0, sizeof e);
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.sym = k;
  e.key.keysym.mod = mod;
  SDL_PushEvent(&e);
}

// A scratch folder, gone at the end of the test.
struct Scratch {
  std::string path;
  Scratch() {
    char tmpl[] = "/tmp/talmyr-window-XXXXXX";
    if (mkdtemp(tmpl)) path = tmpl;
  }
  ~Scratch() { std::system(("rm -rf " + path).c_str()); }
};

// Sets an environment variable for the length of a test (null: unset), then puts it back.
struct Env {
  std::string name, old;
  bool had;
  Env(const char* n, const char* value) : name(n) {
    const char* o = std::getenv(n);
    had = o != nullptr;
    if (had) old = o;
    if (value)
      setenv(n, value, 1);
    else
      unsetenv(n);
  }
  ~Env() {
    if (had)
      setenv(name.c_str(), old.c_str(), 1);
    else
      unsetenv(name.c_str());
  }
};

std::string readFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

// A file's path in a folder.
std::string in(const std::string& dir, const std::string& name) {
  std::string path = dir;
  path += '/';
  path += name;
  return path;
}

std::vector<std::string> filesIn(const std::string& dir) {
  std::vector<std::string> names;
  if (DIR* d = opendir(dir.c_str())) {
    while (const dirent* e = readdir(d))
      if (e->d_name[0] != '.') names.push_back(e->d_name);
    closedir(d);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string caption() {
  char* title = nullptr;
  SDL_WM_GetCaption(&title, nullptr);
  return title ? title : "";
}

class Presenting : public ::testing::Test {
 protected:
  void TearDown() override {
    harness::stop();
    launch = LaunchOptions();
    present::fallbackDepth = 16;
    settings = Settings();
    settingsPath.clear();
  }
  // A window pixel as the player sees it, 8 bits a channel ("r,g,b"); a 16-bit window's pixels
  // read as 5-6-5 ones.
  static std::string shown(int x, int y) {
    SDL_Surface* w = present::window();
    const auto* p = static_cast<const Uint8*>(w->pixels) + y * w->pitch + x * w->format->BytesPerPixel;
    Uint32 v = 0;
    std::memcpy(&v, p, w->format->BytesPerPixel);
    if (w->format->BytesPerPixel == 2) return colour(static_cast<uint16_t>(v));
    Uint8 r, g, b;
    SDL_GetRGB(v, w->format, &r, &g, &b);
    return std::to_string(r) + "," + std::to_string(g) + "," + std::to_string(b);
  }
  // How a 5-6-5 pixel must look: each channel's bits repeated to fill eight, so that white is
  // 255,255,255 and every colour is the one the suite's pictures and the screenshots hold.
  static std::string colour(uint16_t p) {
    const unsigned r = p >> 11, g = (p >> 5) & 63, b = p & 31;
    return std::to_string(r << 3 | r >> 2) + "," + std::to_string(g << 2 | g >> 4) + "," +
           std::to_string(b << 3 | b >> 2);
  }
};

TEST_F(Presenting, TheWindowShowsThePictureMagnifiedExactly) {
  // on the 16-bit window of a 16-bit desktop and on the 24 and 32-bit ones most desktops have
  for (int depth : {16, 24, 32}) {
    SCOPED_TRACE(depth);
    present::fallbackDepth = depth;
    launch.scale = 3;
    ASSERT_TRUE(harness::start());
    ASSERT_EQ(present::window()->w, 960);
    ASSERT_EQ(present::window()->h, 720);
    harness::placeHero(&village, 8, 9, 0);
    affView();
    GpRectFill(Screen, 0, 0, 4, 4, 0xFFFF);  // white stays white, whatever the depth
    present::frame();
    EXPECT_EQ(shown(5, 5), "255,255,255");
    for (int y = 0; y < 240; y += 7)
      for (int x = 0; x < 320; x += 5)
        for (int k = 0; k < 9; k++)
          ASSERT_EQ(shown(3 * x + k % 3, 3 * y + k / 3), colour(harness::pixel(x, y))) << x << "," << y;
    // a later frame that changes a few rows shows them too
    GpRectFill(Screen, 100, 100, 20, 3, 0xF801);
    present::frame();
    EXPECT_EQ(shown(300, 300), colour(0xF801));
    EXPECT_EQ(shown(3 * 120, 300), colour(harness::pixel(120, 100)));
    harness::stop();
  }
}

TEST_F(Presenting, WindowKeysNeverReachTheGameEvenInAWaitThatDoesNotReadKeys) {
  ASSERT_TRUE(harness::start());
  // in the pump: F11 and Alt+Return switch the mode and leave the masks alone
  keyEvent(SDLK_F11, true, KMOD_NONE);
  keyEvent(SDLK_F11, false, KMOD_NONE);
  hal_events();
  EXPECT_TRUE(present::fullscreen());
  EXPECT_EQ(key, 0u);
  EXPECT_EQ(keych, 0u);
  keyEvent(SDLK_LALT, true, KMOD_LALT);
  keyEvent(SDLK_RETURN, true, KMOD_LALT);
  hal_events();
  EXPECT_FALSE(present::fullscreen());
  EXPECT_EQ(key, 0u);
  EXPECT_EQ(keych, 0u);
  keyEvent(SDLK_RETURN, false, KMOD_LALT);
  // Alt's release lost while the window was made anew: the library still says Alt, but the next
  // Return is the game's
  keyEvent(SDLK_RETURN, true, KMOD_LALT);
  hal_events();
  EXPECT_FALSE(present::fullscreen());
  EXPECT_EQ(key, KEY_START);
  keyEvent(SDLK_RETURN, false, KMOD_NONE);
  hal_events();
  // in a pause that reads no keys: the window's keys are served, the game's stay queued in order
  keyEvent(SDLK_SPACE, true, KMOD_NONE);
  keyEvent(SDLK_RALT, true, KMOD_RALT);
  keyEvent(SDLK_RETURN, true, KMOD_RALT);
  keyEvent(SDLK_LEFT, true, KMOD_RALT);
  sleep(100);
  EXPECT_TRUE(present::fullscreen());
  hal_events();
  EXPECT_EQ(key, KEY_A | KEY_LEFT);
  EXPECT_EQ(keych, KEY_A | KEY_LEFT);
  // and the title menu is not chosen by Alt+Return
  harness::releaseAll();
  static int pumps;
  pumps = 0;
  harness::driver = [] {
    if (pumps == 2) keyEvent(SDLK_LALT, true, KMOD_LALT);
    if (pumps == 3) keyEvent(SDLK_RETURN, true, KMOD_LALT);
    if (pumps == 4) keyEvent(SDLK_RETURN, false, KMOD_LALT);
    if (pumps == 5) keyEvent(SDLK_LALT, false, KMOD_NONE);
    if (++pumps == 20) harness::closeWindow();
  };
  static ScreenId last;
  hal_flipHook = [] { last = flow_current; };
  harness::runFromMenu();
  EXPECT_EQ(last, SCR_MENU);
  EXPECT_FALSE(present::fullscreen());
}

// ---- F12: screenshots --------------------------------------------------------------------------

TEST_F(Presenting, F12SavesTheFrameShownNeverTheHalfDrawnOneNorAnEarlierFile) {
  Scratch home;
  Env h("HOME", home.path.c_str()), c("XDG_CONFIG_HOME", nullptr), p("XDG_PICTURES_DIR", nullptr);
  const std::string folder = home.path + "/Pictures/Talmyr";  // not there yet
  ASSERT_TRUE(harness::start());
  hal_present = true;  // as in the game: the window shows every frame
  static std::vector<uint16_t> lastFrame;
  hal_flipHook = [] { lastFrame = harness::screenPixels(); };
  harness::placeHero(&village, 8, 9, 0);
  affView();
  GpFlip();
  const std::vector<uint16_t> frame = lastFrame;
  GpRectFill(Screen, 0, 0, 320, 20, 0xF800);  // the next frame, half drawn when F12 comes
  // twice in one pump: two files, the second never replacing the first
  testing::internal::CaptureStdout();
  for (int i = 0; i < 2; i++) {
    keyEvent(SDLK_F12, true, KMOD_NONE);
    keyEvent(SDLK_F12, false, KMOD_NONE);
  }
  hal_events();
  const std::string said = testing::internal::GetCapturedStdout();
  EXPECT_EQ(key, 0u);  // never the game's
  EXPECT_EQ(keych, 0u);
  std::vector<std::string> shots = filesIn(folder);
  ASSERT_EQ(shots.size(), 2u) << said;
  std::sort(shots.begin(), shots.end(), [](const std::string& a, const std::string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;  // -2 after its first
  });
  // the bytes `make screens` writes for that frame
  const std::string madeByScreens = home.path + "/screens.png";
  ASSERT_TRUE(harness::savePng(madeByScreens, frame.data(), 320, 240));
  for (const std::string& name : shots) {
    EXPECT_EQ(readFile(in(folder, name)), readFile(madeByScreens)) << name;
    EXPECT_NE(said.find("talmyr: screenshot " + in(folder, name) + "\n"), std::string::npos) << said;
    EXPECT_EQ(name.rfind("talmyr-", 0), 0u) << name;
  }
  // named by the second, the second one of a second ranked (unless a second passed between the
  // two); the caption names the latest
  const std::string first = shots[0].substr(0, shots[0].size() - 4);
  if (shots[1].size() != shots[0].size()) {
    EXPECT_EQ(shots[1], first + "-2.png");
  }
  EXPECT_EQ(caption(), "Talmyr demo 2' - " + shots[1]);
  // the picture itself never changes to tell it, and the title comes back after three seconds
  present::frame();
  EXPECT_EQ(shown(0, 0), colour(0xF800));
  sleep(2900);
  hal_events();
  EXPECT_NE(caption(), "Talmyr demo 2'");
  sleep(200);
  hal_events();
  EXPECT_EQ(caption(), "Talmyr demo 2'");

  // files already named for this second and the next two are left as they are
  const long long now = static_cast<long long>(std::time(nullptr));
  for (int k = 0; k < 3; k++) std::ofstream(in(folder, screenshot::nameFor(now + k, 1))) << "mine";
  const size_t before = filesIn(folder).size();
  keyEvent(SDLK_F12, true, KMOD_NONE);
  hal_events();
  int mine = 0;
  for (const std::string& name : filesIn(folder)) mine += readFile(in(folder, name)) == "mine";
  EXPECT_EQ(mine, 3);
  EXPECT_EQ(filesIn(folder).size(), before + 1);  // and a new one beside them
}

TEST_F(Presenting, AScreenshotThatCannotBeSavedSaysSoInOneLineAndTheGameGoesOn) {
  Scratch home;
  Env h("HOME", home.path.c_str()), c("XDG_CONFIG_HOME", home.path.c_str()),
      p("XDG_PICTURES_DIR", nullptr);
  std::ofstream(home.path + "/a-file") << "x";
  ASSERT_TRUE(harness::start());
  harness::placeHero(&village, 8, 9, 0);
  affView();
  GpFlip();
  // a place nobody may write in (even root), and a file where a folder should be
  for (const char* where : {"\"/proc/talmyr-pictures\"", "\"$HOME/a-file\""}) {
    SCOPED_TRACE(where);
    std::ofstream(home.path + "/user-dirs.dirs") << "# written by a test\nXDG_PICTURES_DIR=" << where << "\n";
    testing::internal::CaptureStderr();
    keyEvent(SDLK_F12, true, KMOD_NONE);
    keyEvent(SDLK_SPACE, true, KMOD_NONE);
    hal_events();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_EQ(said.rfind("talmyr: no screenshot: ", 0), 0u) << said;
    EXPECT_EQ(keych, KEY_A);  // the game goes on, and gets its own keys
    EXPECT_EQ(hal_working, 1);
    EXPECT_EQ(caption(), "Talmyr demo 2'");
    keyEvent(SDLK_SPACE, false, KMOD_NONE);
    keyEvent(SDLK_F12, false, KMOD_NONE);
    hal_events();
  }
  EXPECT_EQ(filesIn(home.path), (std::vector<std::string>{"a-file", "user-dirs.dirs"}));
}

TEST(Screenshots, ThePicturesFolderIsTheOneXdgUserDirNames) {
  Scratch home;
  Env h("HOME", home.path.c_str()), c("XDG_CONFIG_HOME", nullptr), p("XDG_PICTURES_DIR", nullptr);
  auto tool = [] {
    std::string out;
    if (FILE* f = popen("xdg-user-dir PICTURES", "r")) {
      char buf[512];
      while (std::fgets(buf, sizeof buf, f)) out += buf;
      pclose(f);
    }
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
  };
  // nothing says: ~/Pictures (the tool would say the home itself)
  EXPECT_EQ(screenshot::folder(), home.path + "/Pictures/Talmyr");
  mkdir((home.path + "/.config").c_str(), 0755);
  struct Case {
    const char* file;         // user-dirs.dirs
    const char* environment;  // XDG_PICTURES_DIR
  };
  const Case cases[] = {
      {"XDG_PICTURES_DIR=\"$HOME/Bilder\"\n", nullptr},
      {"# a comment\nXDG_MUSIC_DIR=\"$HOME/Musik\"\nXDG_PICTURES_DIR=\"/srv/pictures\"\n", nullptr},
      {"XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n", "/var/tmp/shots"},  // not in the file: the variable
      {"XDG_PICTURES_DIR=\"$HOME/Images\"\n", "/var/tmp/shots"},  // the file wins
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.file);
    std::ofstream(home.path + "/.config/user-dirs.dirs") << k.file;
    Env e("XDG_PICTURES_DIR", k.environment);
    EXPECT_EQ(screenshot::folder(), tool() + "/Talmyr");
  }
  // the file in XDG_CONFIG_HOME when it is set
  mkdir((home.path + "/elsewhere").c_str(), 0755);
  std::ofstream(home.path + "/elsewhere/user-dirs.dirs") << "XDG_PICTURES_DIR=\"$HOME/Fotos\"\n";
  Env e("XDG_CONFIG_HOME", (home.path + "/elsewhere").c_str());
  EXPECT_EQ(screenshot::folder(), home.path + "/Fotos/Talmyr");
  EXPECT_EQ(screenshot::folder(), tool() + "/Talmyr");
}

// ---- M: the music ---------------------------------------------------------------------------------

// The music lines of a transcript, and the loudness they were heard at ("" for a stop).
std::vector<std::string> musicOf(const std::vector<std::string>& transcript) {
  std::vector<std::string> lines;
  for (const std::string& l : transcript)
    if (l.rfind("music: ", 0) == 0) lines.push_back(l);
  return lines;
}

TEST_F(Presenting, MSilencesTheMusicAtAnyMomentAndGivesItBackWhereItHasGot) {
  Scratch dir;
  settingsPath = dir.path + "/talmyr/settings.ini";
  settings.musicVolume = 40;
  ASSERT_TRUE(harness::start());
  EXPECT_EQ(Mix_VolumeMusic(-1), 51);  // 40 % of the mixer's 128
  // in a pause that reads no keys: M is served there, the game's keys stay queued
  keyEvent(SDLK_m, true, KMOD_NONE);
  keyEvent(SDLK_m, false, KMOD_NONE);
  keyEvent(SDLK_LEFT, true, KMOD_NONE);
  sleep(100);
  EXPECT_EQ(Mix_VolumeMusic(-1), 0);
  EXPECT_NE(readFile(settingsPath).find("music_muted=1\n"), std::string::npos);
  hal_events();
  EXPECT_EQ(key, KEY_LEFT);
  keyEvent(SDLK_LEFT, false, KMOD_NONE);
  keyEvent(SDLK_m, true, KMOD_NONE);
  keyEvent(SDLK_m, false, KMOD_NONE);
  hal_events();
  EXPECT_EQ(Mix_VolumeMusic(-1), 51);
  EXPECT_EQ(key, 0u);

  // exploring: M muted, then back, while the island's music plays on
  record::clear();
  record::begin();
  static int pumps, mutedVolume, mutedPlaying, mutedPaused, backVolume;
  static uint32_t gameKeys;
  pumps = 0;
  gameKeys = 0;
  harness::placeHero(&ile, 17, 14, 0);
  harness::driver = [] {
    gameKeys |= key | keych;
    switch (++pumps) {
      case 20: keyEvent(SDLK_m, true, KMOD_NONE); break;
      case 21: keyEvent(SDLK_m, false, KMOD_NONE); break;
      case 60:
        mutedVolume = Mix_VolumeMusic(-1);
        mutedPlaying = Mix_PlayingMusic();
        mutedPaused = Mix_PausedMusic();
        keyEvent(SDLK_m, true, KMOD_NONE);
        keyEvent(SDLK_m, false, KMOD_NONE);
        break;
      case 61: backVolume = Mix_VolumeMusic(-1); break;
      case 100: harness::closeWindow(); break;
      default: break;
    }
  };
  gameEngine();
  record::end();
  EXPECT_EQ(pumps, 100);
  EXPECT_EQ(gameKeys, 0u);  // M never reached the game
  EXPECT_EQ(mutedVolume, 0);
  EXPECT_EQ(mutedPlaying, 1);  // the piece went on unheard...
  EXPECT_EQ(mutedPaused, 0);
  EXPECT_EQ(backVolume, 51);  // ...and was heard again where it had got: started once only
  EXPECT_EQ(musicOf(record::transcript()),
            (std::vector<std::string>{"music: exploration (volume 51/128)"}));
  EXPECT_NE(readFile(settingsPath).find("music_muted=0\n"), std::string::npos);
}

TEST(MusicSettings, QuieterOrMutedEveryPieceStillStartsAndStopsAtItsMoment) {
  std::ifstream f(std::string(TALMYR_SOURCE_DIR) + "/tests/references/story.txt");
  std::vector<std::string> reference;
  for (std::string l; std::getline(f, l);) reference.push_back(l);
  ASSERT_FALSE(musicOf(reference).empty());
  for (auto [volume, muted, heard] : {std::make_tuple(40, false, " (volume 51/128)"),
                                      std::make_tuple(100, true, " (volume 0/128)"),
                                      std::make_tuple(0, false, " (volume 0/128)")}) {
    SCOPED_TRACE(heard);
    settings = Settings();
    settings.musicVolume = volume;
    settings.musicMuted = muted;
    ASSERT_TRUE(story::play("fr"));
    // the whole story as the references tell it, each piece at the loudness asked for
    std::vector<std::string> got = record::transcript();
    for (std::string& l : got) {
      if (l.rfind("music: ", 0) != 0 || l == "music: stop") continue;
      EXPECT_EQ(l.substr(l.size() - std::strlen(heard)), heard) << l;
      l.resize(l.size() - std::strlen(heard));
    }
    EXPECT_EQ(got, reference);
  }
  settings = Settings();
}

// ---- the settings file ----------------------------------------------------------------------

class SettingsFile : public ::testing::Test {
 protected:
  std::string dir, home, config;
  void SetUp() override {
    char tmpl[] = "/tmp/talmyr-settings-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
    if (const char* h = std::getenv("HOME")) home = h;
    if (const char* c = std::getenv("XDG_CONFIG_HOME")) config = c;
  }
  void TearDown() override {
    std::system(("rm -rf " + dir).c_str());
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  }
  void write(const std::string& text) {
    mkdir((dir + "/talmyr").c_str(), 0755);
    std::ofstream(dir + "/talmyr/settings.ini", std::ios::binary) << text;
  }
  // Loads the file, returning what it says and what was said on stderr.
  std::pair<Settings, std::string> load(const std::string& path) {
    Settings s;
    testing::internal::CaptureStderr();
    loadSettings(path, s);
    return {s, testing::internal::GetCapturedStderr()};
  }
  std::string path() const { return dir + "/talmyr/settings.ini"; }
};

TEST_F(SettingsFile, TheWindowsChoiceIsKeptAndReadBackQuietly) {
  setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
  EXPECT_EQ(defaultSettingsPath(), path());
  auto [fresh, quiet] = load(path());  // no file yet: the defaults, and nothing said
  EXPECT_FALSE(fresh.fullscreen);
  EXPECT_EQ(fresh.scale, 0);
  EXPECT_EQ(fresh.musicVolume, 100);  // the music as loud as it always was
  EXPECT_FALSE(fresh.musicMuted);
  EXPECT_EQ(quiet, "");
  Settings s;
  s.fullscreen = true;
  s.scale = 4;
  s.musicVolume = 0;
  s.musicMuted = true;
  ASSERT_TRUE(saveSettings(path(), s));  // its folder is made on the way
  EXPECT_NE(access((path() + ".tmp").c_str(), F_OK), 0);  // written aside, then renamed over
  auto [back, said] = load(path());
  EXPECT_TRUE(back.fullscreen);
  EXPECT_EQ(back.scale, 4);
  EXPECT_EQ(back.musicVolume, 0);
  EXPECT_TRUE(back.musicMuted);
  EXPECT_EQ(said, "");
  // without XDG_CONFIG_HOME, in HOME; without either, nowhere
  unsetenv("XDG_CONFIG_HOME");
  setenv("HOME", dir.c_str(), 1);
  EXPECT_EQ(defaultSettingsPath(), dir + "/.config/talmyr/settings.ini");
  unsetenv("HOME");
  EXPECT_EQ(defaultSettingsPath(), "");
  EXPECT_FALSE(saveSettings("", s));
}

TEST_F(SettingsFile, BadFilesAreIgnoredWithOneLine) {
  struct Case {
    const char* what;
    std::string text;
    bool fullscreen;
    int scale;
  };
  static const char garbage[] = "\x7f" "ELF\x02\x01\x01\0\0\0\xff\xfe\n\x01\x02=\x03";
  const Case cases[] = {
      {"garbage", std::string(garbage, sizeof garbage - 1), false, 0},
      {"cut short", "fullscreen=1\nsca", true, 0},
      {"nonsense values", "fullscreen=yes\nscale=99\nscale=-2\n", false, 0},
      {"a music volume out of range", "music_volume=101\nmusic_volume=-5\nmusic_muted=2\nscale=3\n", false, 3},
      {"unknown keys", "volume=11\nscale=2\n", false, 2},
  };
  for (const Case& c : cases) {
    write(c.text);
    auto [s, said] = load(path());
    EXPECT_EQ(s.fullscreen, c.fullscreen) << c.what;
    EXPECT_EQ(s.scale, c.scale) << c.what;
    EXPECT_EQ(s.musicVolume, 100) << c.what;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << c.what << ": " << said;
  }
  // a folder where the file should be cannot be read: the defaults, one line
  std::system(("rm -rf " + path() + " && mkdir -p " + path()).c_str());
  auto [s, said] = load(path());
  EXPECT_EQ(s.scale, 0);
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
}

TEST_F(SettingsFile, ASaveThatCannotBeWrittenSaysSoAndTheGameGoesOn) {
  Settings s;
  s.scale = 2;
  for (const std::string& p : {std::string("/proc/talmyr/settings.ini"),  // read-only place
                               dir + "/file/talmyr/settings.ini"}) {     // a file in the way
    std::ofstream(dir + "/file") << "x";
    testing::internal::CaptureStderr();
    EXPECT_FALSE(saveSettings(p, s));
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << p << ": " << said;
  }
}

// ---- the command line -----------------------------------------------------------------------

int parse(std::vector<const char*> args, LaunchOptions& o, std::string* err = nullptr) {
  args.insert(args.begin(), "talmyr");
  testing::internal::CaptureStderr();
  testing::internal::CaptureStdout();
  const int r = parseCommandLine(static_cast<int>(args.size()), const_cast<char**>(args.data()), o);
  testing::internal::GetCapturedStdout();
  const std::string e = testing::internal::GetCapturedStderr();
  if (err) *err = e;
  return r;
}

TEST(CommandLine, OptionsChooseTheWindowAndBadOnesStopWithAUsage) {
  LaunchOptions o;
  EXPECT_EQ(parse({"--fullscreen", "--scale", "2"}, o), -1);
  EXPECT_EQ(o.fullscreen, 1);
  EXPECT_EQ(o.scale, 2);
  EXPECT_EQ(parse({"--window", "--scale=8"}, o), -1);
  EXPECT_EQ(o.fullscreen, 0);
  EXPECT_EQ(o.scale, 8);
  EXPECT_EQ(parse({"--help"}, o), 0);
  EXPECT_EQ(parse({"--version"}, o), 0);
  for (std::vector<const char*> bad : {std::vector<const char*>{"--scale", "0"}, {"--scale", "9"},
                                        {"--scale", "x"}, {"--scale"}, {"--scale=12"}, {"--big"},
                                        {"fullscreen"}}) {
    LaunchOptions none;
    std::string err;
    EXPECT_EQ(parse(bad, none, &err), 2) << bad[0];
    EXPECT_NE(err.find("usage: talmyr"), std::string::npos) << err;
  }
}

// ---- the language ---------------------------------------------------------------------------

TEST(Language, TheLocaleChoosesAsGettextReadsItAndTheCommandLineOverrules) {
  struct Case {
    const char *language, *all, *messages, *lang, *want;
  };
  const Case cases[] = {
      {nullptr, nullptr, nullptr, nullptr, "fr"},          // no locale at all
      {nullptr, nullptr, nullptr, "C", "fr"},              // the C locale
      {nullptr, nullptr, nullptr, "POSIX", "fr"},
      {nullptr, nullptr, nullptr, "C.UTF-8", "fr"},
      {nullptr, nullptr, nullptr, "fr_FR.UTF-8", "fr"},    // French ones
      {nullptr, nullptr, nullptr, "fr_CA", "fr"},
      {nullptr, nullptr, nullptr, "en_US.UTF-8", "en"},    // every other language: English
      {nullptr, nullptr, nullptr, "de_DE.UTF-8", "en"},
      {nullptr, nullptr, nullptr, "ja_JP.eucJP", "en"},
      {nullptr, nullptr, "fr_FR", "en_US", "fr"},          // LC_MESSAGES before LANG
      {nullptr, "en_GB", "fr_FR", "fr_FR", "en"},          // LC_ALL before both
      {"fr", nullptr, nullptr, "en_US", "fr"},             // LANGUAGE first...
      {"de:fr", nullptr, nullptr, "en_US", "fr"},          // ... the first it has
      {"de", nullptr, nullptr, "fr_FR", "en"},             // ... or English
      {"en_GB:fr", nullptr, nullptr, "de_DE", "en"},
      {"en", nullptr, nullptr, "C", "fr"},                 // ... but not in the C locale
      {"en", nullptr, nullptr, nullptr, "fr"},
  };
  auto set = [](const char* name, const char* value) {
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  };
  for (const Case& c : cases) {
    set("LANGUAGE", c.language);
    set("LC_ALL", c.all);
    set("LC_MESSAGES", c.messages);
    set("LANG", c.lang);
    EXPECT_EQ(localeLanguage(), c.want) << (c.language ? c.language : "-") << " "
                                        << (c.all ? c.all : "-") << " "
                                        << (c.messages ? c.messages : "-") << " "
                                        << (c.lang ? c.lang : "-");
  }
  // the program: the locale, unless --lang says otherwise
  char arg0[] = "talmyr", arg1[] = "--lang", arg2[] = "fr";
  char* argv[] = {arg0, arg1, arg2, nullptr};
  hal_pumpHook = [] { hal_working = 0; };  // closes at once
  for (int argc : {1, 3}) {
    set("LANGUAGE", nullptr);
    set("LC_ALL", nullptr);
    set("LANG", "en_US.UTF-8");
    hal_reset();
    EXPECT_EQ(SDL_main(argc, argv), 0);
    EXPECT_STREQ(language(), argc == 1 ? "en" : "fr");
  }
  hal_pumpHook = nullptr;
  setLanguage("fr");
  unsetenv("LANG");
  launch = LaunchOptions();
  // only the languages the game has
  LaunchOptions o;
  EXPECT_EQ(parse({"--lang", "en"}, o), -1);
  EXPECT_EQ(o.lang, "en");
  EXPECT_EQ(parse({"--lang=fr"}, o), -1);
  EXPECT_EQ(o.lang, "fr");
  for (std::vector<const char*> bad : {std::vector<const char*>{"--lang", "de"}, {"--lang"},
                                        {"--lang=english"}}) {
    std::string err;
    EXPECT_EQ(parse(bad, o, &err), 2) << bad[0];
  }
}

TEST(CommandLine, TheProgramStopsOnABadOptionBeforeOpeningAWindow) {
  // Without any display a window cannot open: a bad option must be answered before trying.
  const std::string cmd = std::string("SDL_VIDEODRIVER=x11 DISPLAY= ") + TALMYR_PROGRAM +
                          " --scale 12 2>&1; echo status $?";
  FILE* p = popen(cmd.c_str(), "r");
  ASSERT_NE(p, nullptr);
  std::string out;
  char buf[256];
  while (std::fgets(buf, sizeof buf, p)) out += buf;
  pclose(p);
  EXPECT_NE(out.find("usage: talmyr"), std::string::npos) << out;
  EXPECT_NE(out.find("status 2"), std::string::npos) << out;
  EXPECT_EQ(out.find("cannot start"), std::string::npos) << out;
}

}  // namespace
