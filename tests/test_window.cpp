// The window around the picture and the player's own keys (F11, Alt+Return, F12, M), the settings
// file, the command line, the language, and the program without a display or with a bad option.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "cmdline.h"
#include "harness.h"
#include "lang.h"
#include "present.h"
#include "screenshot.h"
#include "settings.h"

namespace {

struct Env {  // sets (null: unsets) an environment variable until the end of the scope
  std::string name, old;
  bool had;
  Env(const char* n, const char* value) : name(n), had(std::getenv(n) != nullptr) {
    if (had) old = std::getenv(n);
    value ? setenv(n, value, 1) : unsetenv(n);
  }
  ~Env() { had ? setenv(name.c_str(), old.c_str(), 1) : unsetenv(name.c_str()); }
};

struct Scratch {  // a folder, gone at the end of the scope
  std::string path;
  Scratch() {
    char t[] = "/tmp/talmyr-window-XXXXXX";
    path = mkdtemp(t) ? t : "/nonexistent";
  }
  ~Scratch() { std::system(("rm -rf " + path).c_str()); }
};

std::string readFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), {}};
}

std::vector<std::string> filesIn(const std::string& dir) {  // sorted, none when there is no folder
  std::vector<std::string> names;
  std::error_code e;
  for (const auto& f : std::filesystem::directory_iterator(dir, e))
    names.push_back(f.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

long lines(const std::string& s) { return std::count(s.begin(), s.end(), '\n'); }

std::string caption() {
  char* title = nullptr;
  SDL_WM_GetCaption(&title, nullptr);
  return title ? title : "";
}

void keyEvent(SDLKey k, bool down, SDLMod mod = KMOD_NONE) {
  SDL_Event e{};
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.sym = k, e.key.keysym.mod = mod;
  SDL_PushEvent(&e);
}

TEST(Window, TheScaleForADesktopAndThePicturesPlaceInAWindow) {
  // w, h; the window's scale on such a desktop (within 85 % of it); the picture's scale (1 to 8)
  // and place in such a window, centred
  const int cases[][6] = {
      {1920, 1080, 3, 4, 320, 60}, {1280, 720, 2, 3, 160, 0},    {1366, 768, 2, 3, 203, 24},
      {2560, 1440, 5, 6, 320, 0},  {3840, 2160, 7, 8, 640, 120}, {800, 600, 2, 2, 80, 60},
      {640, 480, 1, 2, 0, 0},      {320, 240, 1, 1, 0, 0},       {10000, 10000, 8, 8, 3720, 4040},
      {960, 720, 2, 3, 0, 0},      {1300, 1000, 3, 4, 10, 20},   {1000, 700, 2, 2, 180, 110},
      {321, 500, 1, 1, 0, 130},    {2560, 1600, 5, 6, 320, 80},  {1024, 768, 2, 3, 32, 24}};
  for (const auto& c : cases) {
    const present::Placement p = present::placeIn(c[0], c[1]);
    EXPECT_EQ(present::windowScale(c[0], c[1]), c[2]) << c[0] << "x" << c[1];
    EXPECT_EQ(std::vector<int>({p.scale, p.x, p.y}), std::vector<int>(c + 3, c + 6))
        << c[0] << "x" << c[1];
  }
  EXPECT_EQ(present::windowScale(0, 0), 1);
  // at start: the command line's scale, else the saved one as far as the desktop holds it
  EXPECT_EQ(present::startScale(0, 8, 1920, 1080, true), 4);
  EXPECT_EQ(present::startScale(0, 2, 1920, 1080, true), 2);
  EXPECT_EQ(present::startScale(6, 2, 1920, 1080, true), 6);
  EXPECT_EQ(present::startScale(0, 0, 1920, 1080, true), 3);
  EXPECT_EQ(present::startScale(0, 0, 0, 0, false), 1);
}

class Presenting : public ::testing::Test {
 protected:
  Scratch dir;  // the settings, the home
  void SetUp() override { settingsPath = dir.path + "/config/settings.ini"; }
  void TearDown() override {
    harness::stop();
    launch = LaunchOptions();
    settings = Settings();
    settingsPath.clear();
  }
};

TEST_F(Presenting, WindowKeysAndSizesAreNeverTheGamesAndTheWindowIsKeptAsLeft) {
  ASSERT_TRUE(harness::start());
  SDL_Event r{};
  r.type = SDL_VIDEORESIZE, r.resize.w = 1300, r.resize.h = 1000;
  SDL_PushEvent(&r);
  for (bool down : {true, false}) keyEvent(SDLK_F11, down);
  hal_events();
  EXPECT_TRUE(present::fullscreen());
  EXPECT_EQ(key | keych, 0u);
  EXPECT_NE(readFile(settingsPath).find("fullscreen=1\nscale=4\n"), std::string::npos)
      << readFile(settingsPath);
  keyEvent(SDLK_LALT, true, KMOD_LALT);
  keyEvent(SDLK_RETURN, true, KMOD_LALT);
  hal_events();
  EXPECT_FALSE(present::fullscreen());
  EXPECT_EQ(present::window()->w, 1280);  // four times, as the player made it
  EXPECT_EQ(key | keych, 0u);
  // Alt's release lost while the window was made anew: the library still says Alt, but the next
  // Return is the game's
  keyEvent(SDLK_RETURN, false, KMOD_LALT);
  keyEvent(SDLK_RETURN, true, KMOD_LALT);
  hal_events();
  EXPECT_FALSE(present::fullscreen());
  EXPECT_EQ(key, KEY_START);
  keyEvent(SDLK_RETURN, false);
  hal_events();
  // in a pause that reads no keys the window's are served, the game's stay queued in their order
  keyEvent(SDLK_SPACE, true);
  keyEvent(SDLK_RALT, true, KMOD_RALT);
  keyEvent(SDLK_RETURN, true, KMOD_RALT);
  keyEvent(SDLK_LEFT, true, KMOD_RALT);
  sleep(100);
  EXPECT_TRUE(present::fullscreen());
  hal_events();
  EXPECT_EQ(std::pair(key, keych), std::pair(KEY_A | KEY_LEFT, KEY_A | KEY_LEFT));
}

TEST_F(Presenting, F12SavesTheFrameShownInANewFileAndNamesItInTheTitleForThreeSeconds) {
  Env h("HOME", dir.path.c_str()), c("XDG_CONFIG_HOME", nullptr), p("XDG_PICTURES_DIR", nullptr);
  const std::string folder = dir.path + "/Pictures/Talmyr/";  // not there yet
  ASSERT_TRUE(harness::start());
  hal_present = true;  // as in the game: the window shows every frame
  static std::vector<uint16_t> frame;
  hal_flipHook = [] { frame = harness::screenPixels(); };
  harness::placeHero(&village, 8, 9, 0);
  affView();
  GpFlip();
  ASSERT_TRUE(
      harness::savePng(dir.path + "/screens.png", frame.data(), 320, 240));  // as `make screens`
  GpRectFill(Screen, 0, 0, 320, 20, 0xF800);  // the next frame, half drawn when F12 comes, twice
  testing::internal::CaptureStdout();
  for (bool down : {true, false, true, false}) keyEvent(SDLK_F12, down);
  hal_events();
  const std::string said = testing::internal::GetCapturedStdout();
  EXPECT_EQ(key | keych, 0u);
  std::vector<std::string> shots = filesIn(folder);
  ASSERT_EQ(shots.size(), 2u) << said;
  std::sort(shots.begin(), shots.end(), [](const std::string& a, const std::string& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;  // -2 after its first
  });
  for (const std::string& name : shots) {
    EXPECT_EQ(readFile(folder + name), readFile(dir.path + "/screens.png")) << name;
    EXPECT_NE(said.find(std::string("talmyr: screenshot ").append(folder + name) += '\n'),
              std::string::npos)
        << said;
    EXPECT_EQ(name.rfind("talmyr-", 0), 0u) << name;
  }
  // named by the second, the second of a second ranked (unless a second passed between the two)
  EXPECT_TRUE(shots[1].size() == shots[0].size() ||
              shots[1] == shots[0].substr(0, shots[0].size() - 4) + "-2.png");
  EXPECT_EQ(caption(), "Talmyr demo 2' - " + shots[1]);
  EXPECT_EQ(harness::pixel(0, 0), 0xF800);  // the picture never changes to tell it
  sleep(2900);
  hal_events();
  EXPECT_NE(caption(), "Talmyr demo 2'");
  sleep(200);
  hal_events();
  EXPECT_EQ(caption(), "Talmyr demo 2'");
  // files already named for this second and the next two are left as they are, a new one beside
  const long long now = static_cast<long long>(std::time(nullptr));
  for (int k = 0; k < 3; k++) std::ofstream(folder + screenshot::nameFor(now + k, 1)) << "mine";
  const size_t before = filesIn(folder).size();
  keyEvent(SDLK_F12, true);
  hal_events();
  int mine = 0;
  for (const std::string& name : filesIn(folder)) mine += readFile(folder + name) == "mine";
  EXPECT_EQ(mine, 3);
  EXPECT_EQ(filesIn(folder).size(), before + 1);
}

// Where screenshots go, as xdg-user-dir names it; where they cannot go, one line and play goes on.
TEST_F(Presenting, ScreenshotsGoToThePicturesFolderOrSaySoInOneLine) {
  Env h("HOME", dir.path.c_str()), c("XDG_CONFIG_HOME", nullptr), p("XDG_PICTURES_DIR", nullptr);
  auto tool = [] {
    std::string out;
    if (FILE* f = popen("xdg-user-dir PICTURES", "r")) {
      char buf[512];
      while (std::fgets(buf, sizeof buf, f)) out += buf;
      pclose(f);
    }
    return out.substr(0, out.find('\n')) + "/Talmyr";
  };
  EXPECT_EQ(screenshot::folder(),
            dir.path + "/Pictures/Talmyr");  // nothing says (the tool: the home)
  mkdir((dir.path + "/.config").c_str(), 0755);
  const std::pair<const char*, const char*> cases[] = {
      // user-dirs.dirs; XDG_PICTURES_DIR
      {"XDG_PICTURES_DIR=\"$HOME/Bilder\"\n", nullptr},
      {"# a comment\nXDG_MUSIC_DIR=\"$HOME/Musik\"\nXDG_PICTURES_DIR=\"/srv/pictures\"\n", nullptr},
      {"XDG_PICTURES_DIR=\"$HOME/Old\"\nXDG_PICTURES_DIR=\"$HOME/New\"\n", nullptr},  // the last
      {"XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n", "/var/tmp/shots"},   // not in the file: the variable
      {"XDG_PICTURES_DIR=\"$HOME/Images\"\n", "/var/tmp/shots"}};  // the file first
  for (auto [file, variable] : cases) {
    std::ofstream(dir.path + "/.config/user-dirs.dirs") << file;
    Env e("XDG_PICTURES_DIR", variable);
    EXPECT_EQ(screenshot::folder(), tool()) << file;
  }
  {  // a relative XDG_CONFIG_HOME is no one's: the home's file still says
    Env r("XDG_CONFIG_HOME", "relative-config");
    mkdir("relative-config", 0755);
    std::ofstream("relative-config/user-dirs.dirs") << "XDG_PICTURES_DIR=\"/srv/elsewhere\"\n";
    EXPECT_EQ(screenshot::folder(), dir.path + "/Images/Talmyr");
    std::system("rm -rf relative-config");
  }
  alarm(20);  // a named pipe there is not waited on: ~/Pictures, and one line
  std::system(("rm " + dir.path + "/.config/user-dirs.dirs && mkfifo " + dir.path +
               "/.config/user-dirs.dirs")
                  .c_str());
  testing::internal::CaptureStderr();
  EXPECT_EQ(screenshot::folder(), dir.path + "/Pictures/Talmyr");
  EXPECT_EQ(lines(testing::internal::GetCapturedStderr()), 1);
  alarm(0);
  Env e("XDG_CONFIG_HOME", dir.path.c_str());  // the file in XDG_CONFIG_HOME when it is set
  std::ofstream(dir.path + "/user-dirs.dirs") << "XDG_PICTURES_DIR=\"$HOME/Fotos\"\n";
  EXPECT_EQ(screenshot::folder(), dir.path + "/Fotos/Talmyr");
  EXPECT_EQ(screenshot::folder(), tool());
  std::ofstream(dir.path + "/a-file") << "x";
  ASSERT_TRUE(harness::start());
  // a place nobody may write in (even root), and a file where a folder should be
  for (const char* where : {"\"/proc/talmyr-pictures\"", "\"$HOME/a-file\""}) {
    std::ofstream(dir.path + "/user-dirs.dirs") << "XDG_PICTURES_DIR=" << where << "\n";
    testing::internal::CaptureStderr();
    keyEvent(SDLK_F12, true);
    keyEvent(SDLK_SPACE, true);
    hal_events();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(lines(said), 1) << said;
    EXPECT_EQ(said.rfind("talmyr: no screenshot: ", 0), 0u) << said;
    EXPECT_EQ(keych, KEY_A);  // the game goes on, with its own keys
    EXPECT_EQ(hal_working, 1);
    EXPECT_EQ(caption(), "Talmyr demo 2'");
    keyEvent(SDLK_SPACE, false);
    keyEvent(SDLK_F12, false);
    hal_events();
  }
  EXPECT_EQ(filesIn(dir.path), (std::vector<std::string>{".config", "a-file", "user-dirs.dirs"}));
}

// M, muted as it was left: the piece goes on unheard, heard again where it had got.
TEST_F(Presenting, MSilencesTheMusicAtAnyMomentAndGivesItBackWhereItHadGot) {
  settings.musicVolume = 40;
  settings.musicMuted = true;
  ASSERT_TRUE(harness::start());
  musicPlay(music);
  static int plays = 0;
  hal_musicHook = [](const Mix_Music*) { plays++; };
  EXPECT_EQ(std::tuple(Mix_VolumeMusic(-1), Mix_PlayingMusic()), std::tuple(0, 1));
  for (bool down : {true, false})
    keyEvent(SDLK_m, down);  // in a pause that reads no keys: M is served
  keyEvent(SDLK_LEFT, true);
  sleep(100);
  EXPECT_EQ(Mix_VolumeMusic(-1), 51);  // 40 % of the mixer's 128
  EXPECT_NE(readFile(settingsPath).find("music_muted=0\n"), std::string::npos);
  hal_events();
  EXPECT_EQ(key, KEY_LEFT);
  for (auto [k, down] : {std::pair(SDLK_LEFT, false), {SDLK_m, true}, {SDLK_m, false}})
    keyEvent(k, down);
  hal_events();
  EXPECT_EQ(std::tuple(Mix_VolumeMusic(-1), Mix_PlayingMusic(), Mix_PausedMusic()),
            std::tuple(0, 1, 0));
  EXPECT_EQ(key | keych, 0u);
  EXPECT_EQ(plays, 0);  // never started anew
  EXPECT_NE(readFile(settingsPath).find("music_muted=1\n"), std::string::npos);
}

// What a file says, and what loading it said on stderr.
std::pair<std::string, std::string> load(const std::string& path) {
  Settings s;
  testing::internal::CaptureStderr();
  loadSettings(path, s);
  std::string t = std::to_string(s.fullscreen) + " " + std::to_string(s.scale) + " " +
                  std::to_string(s.musicVolume) + " " + std::to_string(s.musicMuted) + " [";
  for (int b : s.padAction) t += std::to_string(b) + ",";
  t += "] [";
  for (int b : s.padStart) t += std::to_string(b) + ",";
  return {t + "]", testing::internal::GetCapturedStderr()};
}

TEST(SettingsFile, KeptAndReadBackQuietlyAndWhatIsNotUnderstoodIgnoredWithOneLine) {
  Scratch dir;
  Env c("XDG_CONFIG_HOME", dir.path.c_str());
  const std::string path = dir.path + "/talmyr/settings.ini", defaults = "0 0 100 0 [] []";
  EXPECT_EQ(defaultSettingsPath(), path);
  EXPECT_EQ(load(path), std::pair(defaults, std::string()));  // no file yet: quietly the defaults
  const Settings s{true, 4, {0, 1}, {7, 9}, 0, true};
  ASSERT_TRUE(saveSettings(path, s));  // its folder made on the way, nothing else left there
  EXPECT_EQ(filesIn(dir.path + "/talmyr"), std::vector<std::string>{"settings.ini"});
  EXPECT_EQ(load(path), std::pair(std::string("1 4 0 1 [0,1,] [7,9,]"), std::string()));
  static const char garbage[] =
      "\x7f"
      "ELF\x02\x01\x01\0\0\0\xff\xfe\n\x01\x02=\x03";
  const std::pair<std::string, const char*> cases[] = {
      {std::string(garbage, sizeof garbage - 1), defaults.c_str()},
      {"fullscreen=1\nsca", "1 0 100 0 [] []"},  // cut short
      {"fullscreen=yes\nscale=99\nscale=-2\nscale=9\nscale=0\n", defaults.c_str()},
      {"\xEF\xBB\xBFscale=8\r\nscale=\n", "0 8 100 0 [] []"},  // a mark, CR LF, the largest
      {"music_volume=101\nmusic_volume=-5\nmusic_muted=2\nscale=3\n", "0 3 100 0 [] []"},
      {"volume=11\nscale=2\n", "0 2 100 0 [] []"},  // a key of nobody's
      {"pad_action=0, 1\npad_action=", "0 0 100 0 [0,1,] []"},
      {"pad_action=x", defaults.c_str()},
      {"pad_action=32", defaults.c_str()},
      {"pad_start=1,,2", defaults.c_str()},
      {"pad_start=1,2,3,4,5,6,7,8,9", defaults.c_str()}};
  for (const auto& [text, says] : cases) {
    std::ofstream(path, std::ios::binary) << text;
    const auto [got, said] = load(path);
    EXPECT_EQ(got, says) << text;
    EXPECT_EQ(lines(said), 1) << text << ": " << said;
  }
  std::ofstream(path) << "# " << std::string(300, '-') << "\nscale=1\nx\n";  // a long line is one
  EXPECT_EQ(
      load(path),
      std::pair(std::string("0 1 100 0 [] []"),
                "talmyr: " + path + ": 1 line not understood and ignored (the first is line 3)\n"));
  // a link (as dotfile managers make) stays a link, and its target gets the settings
  const std::string target = dir.path + "/dotfiles-settings.ini";
  std::system(("rm -f " + path + " && ln -s ../dotfiles-settings.ini " + path).c_str());
  ASSERT_TRUE(saveSettings(path, s));
  EXPECT_EQ(std::filesystem::read_symlink(path), "../dotfiles-settings.ini");
  EXPECT_EQ(load(target).first, "1 4 0 1 [0,1,] [7,9,]");
  EXPECT_EQ(filesIn(dir.path + "/talmyr"), std::vector<std::string>{"settings.ini"});
  // a named pipe or a folder is never waited on nor read: the defaults and one line
  alarm(20);  // a read that blocks fails the test rather than hanging it
  for (const char* make : {"mkfifo ", "mkdir "}) {
    std::string command = "rm -rf " + path + " && ";
    command += make + path;
    std::system(command.c_str());
    EXPECT_EQ(load(path).first, defaults);
    EXPECT_EQ(lines(load(path).second), 1) << make;
  }
  alarm(0);
  // a read-only place, and a file in the way: false, one line, and the game goes on
  std::ofstream(dir.path + "/file") << "x";
  for (const std::string& p :
       {std::string("/proc/talmyr/settings.ini"), dir.path + "/file/talmyr/settings.ini"}) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(saveSettings(p, s));
    EXPECT_EQ(lines(testing::internal::GetCapturedStderr()), 1) << p;
  }
  unsetenv("XDG_CONFIG_HOME");  // without it, in HOME; without either, nowhere
  Env h("HOME", dir.path.c_str());
  EXPECT_EQ(defaultSettingsPath(), dir.path + "/.config/talmyr/settings.ini");
  unsetenv("HOME");
  EXPECT_EQ(defaultSettingsPath(), "");
  EXPECT_FALSE(saveSettings("", s));
}

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

TEST(CommandLine, OptionsChooseTheWindowAndTheLanguageAndBadOnesStopWithAUsage) {
  LaunchOptions o;
  EXPECT_EQ(parse({"--fullscreen", "--scale", "2", "--lang", "en"}, o), -1);
  EXPECT_EQ(std::tuple(o.fullscreen, o.scale, o.lang), std::tuple(1, 2, std::string("en")));
  EXPECT_EQ(parse({"--window", "--scale=8", "--lang=fr"}, o), -1);
  EXPECT_EQ(std::tuple(o.fullscreen, o.scale, o.lang), std::tuple(0, 8, std::string("fr")));
  EXPECT_EQ(parse({"--help"}, o), 0);
  EXPECT_EQ(parse({"--version"}, o), 0);
  for (std::vector<const char*> bad : {std::vector<const char*>{"--scale", "0"},
                                       {"--scale", "9"},
                                       {"--scale", "x"},
                                       {"--scale"},
                                       {"--scale=12"},
                                       {"--big"},
                                       {"fullscreen"},
                                       {"--lang", "de"},
                                       {"--lang"},
                                       {"--lang=english"}}) {
    std::string err;
    EXPECT_EQ(parse(bad, o, &err), 2) << bad[0];
    EXPECT_NE(err.find("usage: talmyr"), std::string::npos) << err;
  }
}

TEST(Language, TheLocaleChoosesAsGettextReadsItAndTheCommandLineOverrules) {
  // LANGUAGE LC_ALL LC_MESSAGES LANG ("-": unset) and the language chosen: every other one is
  // English, LC_ALL and LANGUAGE come first, unless the locale is C
  const char* const cases[][5] = {{"-", "-", "-", "-", "fr"},
                                  {"-", "-", "-", "C", "fr"},
                                  {"-", "-", "-", "POSIX", "fr"},
                                  {"-", "-", "-", "C.UTF-8", "fr"},
                                  {"-", "-", "-", "fr_FR.UTF-8", "fr"},
                                  {"-", "-", "-", "fr_CA", "fr"},
                                  {"-", "-", "-", "en_US.UTF-8", "en"},
                                  {"-", "-", "-", "de_DE.UTF-8", "en"},
                                  {"-", "-", "-", "ja_JP.eucJP", "en"},
                                  {"-", "-", "fr_FR", "en_US", "fr"},
                                  {"-", "en_GB", "fr_FR", "fr_FR", "en"},
                                  {"fr", "-", "-", "en_US", "fr"},
                                  {"de:fr", "-", "-", "en_US", "fr"},
                                  {"de", "-", "-", "fr_FR", "en"},
                                  {"en_GB:fr", "-", "-", "de_DE", "en"},
                                  {"en", "-", "-", "C", "fr"},
                                  {"en", "-", "-", "-", "fr"},
                                  {":", "-", "-", "fr_FR.UTF-8", "fr"},
                                  {"::de", "-", "-", "fr_FR", "en"}};
  const char* const names[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
  for (const auto& c : cases) {
    std::vector<Env> env;
    env.reserve(4);
    for (int i = 0; i < 4; i++) env.emplace_back(names[i], std::strcmp(c[i], "-") ? c[i] : nullptr);
    EXPECT_EQ(localeLanguage(), c[4]) << c[0] << " " << c[1] << " " << c[2] << " " << c[3];
  }
  // the program: the locale's, unless --lang says otherwise
  Env a("LANGUAGE", nullptr), b("LC_ALL", nullptr), m("LC_MESSAGES", nullptr),
      l("LANG", "en_US.UTF-8");
  char arg0[] = "talmyr", arg1[] = "--lang", arg2[] = "fr";
  char* argv[] = {arg0, arg1, arg2, nullptr};
  hal_pumpHook = [] { hal_working = 0; };  // closes at once
  for (int argc : {1, 3}) {
    hal_reset();
    EXPECT_EQ(SDL_main(argc, argv), 0);
    EXPECT_STREQ(language(), argc == 1 ? "en" : "fr");
  }
  hal_pumpHook = nullptr;
  setLanguage("fr");
  launch = LaunchOptions();
}

// The program without a display: one line at once, never the terminal's letters nor a window
// nowhere; a driver named is the player's choice; a bad option answered before trying a window.
TEST(Program, WithoutADisplayOrWithABadOptionItSaysSoAndFailsAtOnce) {
  auto run = [](const std::string& env, const char* args, const char* seconds, int status,
                const char* says) {
    Scratch d;
    const auto begun = std::chrono::steady_clock::now();
    const int s = std::system(
        ("env " + env + " SDL_AUDIODRIVER=dummy timeout --preserve-status -k 20 " + seconds + " " +
         TALMYR_PROGRAM + " " + args + " </dev/null >" + d.path + "/out 2>" + d.path + "/err")
            .c_str());
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begun).count();
    const std::string err = readFile(d.path + "/err");
    EXPECT_EQ(WIFEXITED(s) ? WEXITSTATUS(s) : -1, status) << env << ": " << err;
    EXPECT_EQ(readFile(d.path + "/out"), "") << env;
    EXPECT_NE(err.find(says), std::string::npos) << err;
    return std::pair(ms, err);
  };
  for (auto [env, says] :
       {std::pair("-u DISPLAY -u WAYLAND_DISPLAY", "no graphical display"),
        {"DISPLAY= WAYLAND_DISPLAY=", "no graphical display"},
        {"-u WAYLAND_DISPLAY DISPLAY=:4711", "the display cannot be opened (DISPLAY=:4711)"}}) {
    const auto [ms, err] =
        run(std::string("-u SDL_VIDEODRIVER ") + env + " TERM=xterm", "", "10", 1, says);
    EXPECT_LT(ms, 5000) << env;
    EXPECT_EQ(err.rfind("talmyr: ", 0), 0u) << err;
    EXPECT_EQ(err.find('\n'), err.size() - 1) << err;  // one line: a leak report would add more
  }
  // with no home at all: it plays, and says once that nothing will be kept
  const auto [ms, err] =
      run("-u DISPLAY -u HOME -u XDG_CONFIG_HOME -u XDG_STATE_HOME SDL_VIDEODRIVER=dummy", "",
          "1.5", 0, "no game is kept to be continued and no setting is saved");
  EXPECT_GE(ms, 1500);
  EXPECT_EQ(lines(err), 1) << err;
  EXPECT_EQ(run("SDL_VIDEODRIVER=x11 DISPLAY=", "--scale 12", "10", 2, "usage: talmyr")
                .second.find("cannot start"),
            std::string::npos);
}

}  // namespace
