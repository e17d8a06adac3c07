// The command line: the window's mode and scale and the language for this run, help and version.
#pragma once

#include <string>

struct LaunchOptions {
  int fullscreen = -1;  // -1: as the settings say; 0: a window; 1: full screen
  int scale = 0;        // 0: as the settings say, or the largest that fits the desktop
  std::string lang;     // "": as the locale says; "fr", "en"
};

extern LaunchOptions launch;

// Reads the options into `o`. Returns -1 when the game is to start; otherwise the exit status:
// 0 after --help or --version (printed on stdout), 2 after a short usage on stderr for an unknown
// option or a bad value.
int parseCommandLine(int argc, char** argv, LaunchOptions& o);
