// The player's settings file: a few key=value lines in $XDG_CONFIG_HOME/talmyr/settings.ini
// (~/.config when the variable is unset), read tolerantly and written only when the player changes
// something, atomically.
#pragma once

#include <string>

#include <vector>

struct Settings {
  bool fullscreen = false;
  int scale = 0;  // the window's whole-number scale; 0: the largest that fits the desktop
  // the pad's buttons read as the action key and as Return; empty: the defaults
  std::vector<int> padAction, padStart;
  int musicVolume = 100;    // the music's loudness, 0 to 100 (100: as the modules are made)
  bool musicMuted = false;  // M silenced the music
};

// The settings of this run, and where they are kept ("" when they are not kept at all).
extern Settings settings;
extern std::string settingsPath;

// Where the settings file of this user is: "" when neither XDG_CONFIG_HOME nor HOME is set.
std::string defaultSettingsPath();
// A file of ours in a freedesktop base folder: $variable/talmyr/name when the variable holds an
// absolute path, else ~/underHome/talmyr/name; "" without a home.
std::string xdgFile(const char* variable, const char* underHome, const char* name);
// Reads the file into `s`: a missing file leaves the defaults quietly; an unreadable file, or
// anything there that is no regular file (it is never waited on), or lines that are not key=value
// with a value we understand, are ignored with one line on stderr.
void loadSettings(const std::string& path, Settings& s);
// Writes `s` (files::replace: a temporary file renamed over the old one, its folder made when
// missing; a link there stays a link and its target gets the settings); on failure one line on
// stderr and false. The game goes on either way.
bool saveSettings(const std::string& path, const Settings& s);
// Makes a folder and those above it that are missing (0755); false with errno set on failure.
bool makeFolders(const std::string& dir);
