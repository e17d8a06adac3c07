// The command line.
#include "cmdline.h"

#include "lang.h"

#include <cstdio>
#include <cstring>

LaunchOptions launch;

namespace {

const char* const usage =
    "usage: talmyr [--fullscreen | --window] [--scale N] [--lang fr|en] [--help] [--version]\n";

const char* const help =
    "Talmyr demo 2': a short role-playing game.\n"
    "\n"
    "  --fullscreen   play full screen (F11 or Alt+Return switch at any time)\n"
    "  --window       play in a window\n"
    "  --scale N      the window's picture N times its 320x240 pixels, N from 1 to 8\n"
    "  --lang L       the story in French (fr) or English (en), whatever the locale says\n"
    "  --help         this help\n"
    "  --version      the game's version\n"
    "\n"
    "Keys: the arrows, Space and Return play; F11 or Alt+Return switch full screen,\n"
    "M silences the music or gives it back, F12 saves a screenshot.\n"
    "Without options the game starts as it was last left (see talmyr(6)).\n";

int bad(const char* what, const char* arg) {
  std::fprintf(stderr, "talmyr: %s: %s\n%s", what, arg, usage);
  return 2;
}

}  // namespace

int parseCommandLine(int argc, char** argv, LaunchOptions& o) {
  for (int i = 1; i < argc; i++) {
    const char* a = argv[i];
    if (std::strcmp(a, "--fullscreen") == 0) {
      o.fullscreen = 1;
    } else if (std::strcmp(a, "--window") == 0) {
      o.fullscreen = 0;
    } else if (std::strcmp(a, "--scale") == 0 || std::strncmp(a, "--scale=", 8) == 0) {
      const char* v = a[7] == '=' ? a + 8 : (i + 1 < argc ? argv[++i] : nullptr);
      if (!v) return bad("--scale needs a number from 1 to 8", a);
      if (v[0] < '1' || v[0] > '8' || v[1] != '\0') return bad("not a scale from 1 to 8", v);
      o.scale = v[0] - '0';
    } else if (std::strcmp(a, "--lang") == 0 || std::strncmp(a, "--lang=", 7) == 0) {
      const char* v = a[6] == '=' ? a + 7 : (i + 1 < argc ? argv[++i] : nullptr);
      if (!v) return bad("--lang needs a language, fr or en", a);
      if (std::strlen(v) != 2 || !hasLanguage(v)) return bad("not a language of the game", v);
      o.lang = v;
    } else if (std::strcmp(a, "--help") == 0 || std::strcmp(a, "-h") == 0) {
      std::fputs(usage, stdout);
      std::fputs(help, stdout);
      return 0;
    } else if (std::strcmp(a, "--version") == 0) {
      std::printf("talmyr %s\n", TALMYR_VERSION);
      return 0;
    } else {
      return bad("unknown option", a);
    }
  }
  return -1;
}
