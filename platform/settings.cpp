// The settings file.
#include "settings.h"

#include "files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

Settings settings;
std::string settingsPath;

namespace {

bool number(const std::string& v, int lo, int hi, int& out) {
  if (v.empty() || v.size() > 3) return false;
  int n = 0;
  for (char c : v) {
    if (c < '0' || c > '9') return false;
    n = n * 10 + (c - '0');
  }
  if (n < lo || n > hi) return false;
  out = n;
  return true;
}

std::string trim(const std::string& s) {
  const size_t a = s.find_first_not_of(" \t\r");
  if (a == std::string::npos) return "";
  return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

// A list of pad buttons, "0,1": one to eight numbers from 0 to 31.
bool buttons(const std::string& v, std::vector<int>& out) {
  std::vector<int> list;
  size_t start = 0;
  while (start <= v.size()) {
    const size_t end = std::min(v.find(',', start), v.size());
    int n = 0;
    if (!number(trim(v.substr(start, end - start)), 0, 31, n) || list.size() == 8) return false;
    list.push_back(n);
    start = end + 1;
  }
  out = list;
  return true;
}

std::string joined(const std::vector<int>& list) {
  std::string s;
  for (int b : list) s += (s.empty() ? "" : ",") + std::to_string(b);
  return s;
}

// Understands one line; false when it is not a setting of ours with a good value.
bool apply(const std::string& key, const std::string& value, Settings& s) {
  if (key == "pad_action") return buttons(value, s.padAction);
  if (key == "pad_start") return buttons(value, s.padStart);
  int n = 0;
  if (key == "fullscreen" && number(value, 0, 1, n)) {
    s.fullscreen = n == 1;
    return true;
  }
  if (key == "scale" && number(value, 1, 8, n)) {
    s.scale = n;
    return true;
  }
  if (key == "music_volume" && number(value, 0, 100, n)) {
    s.musicVolume = n;
    return true;
  }
  if (key == "music_muted" && number(value, 0, 1, n)) {
    s.musicMuted = n == 1;
    return true;
  }
  return false;
}

}  // namespace

bool makeFolders(const std::string& dir) {
  for (size_t i = 1; i <= dir.size(); i++) {
    if (i < dir.size() && dir[i] != '/') continue;
    if (mkdir(dir.substr(0, i).c_str(), 0755) != 0 && errno != EEXIST) return false;
  }
  struct stat st;
  if (stat(dir.c_str(), &st) != 0) return false;
  if (!S_ISDIR(st.st_mode)) {  // a file in the way
    errno = ENOTDIR;
    return false;
  }
  return true;
}

std::string xdgFile(const char* variable, const char* underHome, const char* name) {
  const char* xdg = std::getenv(variable);
  const char* home = std::getenv("HOME");
  std::string base;
  if (xdg && xdg[0] == '/')  // a relative one is to be ignored, by the freedesktop convention
    base = xdg;
  else if (home && *home)
    base = std::string(home) + "/" + underHome;
  else
    return "";
  return base + "/talmyr/" + name;
}

std::string defaultSettingsPath() { return xdgFile("XDG_CONFIG_HOME", ".config", "settings.ini"); }

void loadSettings(const std::string& path, Settings& s) {
  if (path.empty()) return;
  std::string text, why;
  const files::Got got = files::read(path, 1 << 20, text, why);
  if (got == files::Got::refused)
    std::fprintf(stderr, "talmyr: %s %s; the defaults are used\n", path.c_str(), why.c_str());
  if (got != files::Got::text) return;
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);  // the mark some editors write
  int number = 0, firstBad = 0, bads = 0;
  for (size_t at = 0; at < text.size();) {  // a line of any length is one line
    const size_t nl = std::min(text.find('\n', at), text.size());
    const std::string t = trim(text.substr(at, nl - at));
    at = nl + 1;
    number++;
    if (t.empty() || t[0] == '#') continue;
    const size_t eq = t.find('=');
    if (eq != std::string::npos && apply(trim(t.substr(0, eq)), trim(t.substr(eq + 1)), s))
      continue;
    if (bads++ == 0) firstBad = number;
  }
  if (bads > 0)
    std::fprintf(stderr,
                 "talmyr: %s: %d line%s not understood and ignored (the first is line %d)\n",
                 path.c_str(), bads, bads > 1 ? "s" : "", firstBad);
}

bool saveSettings(const std::string& path, const Settings& s) {
  if (path.empty()) return false;
  std::string body = "# Talmyr demo 2' settings, written by the game\n";
  body += "fullscreen=" + std::string(s.fullscreen ? "1" : "0") + "\n";
  if (s.scale > 0) body += "scale=" + std::to_string(s.scale) + "\n";
  if (!s.padAction.empty()) body += "pad_action=" + joined(s.padAction) + "\n";
  if (!s.padStart.empty()) body += "pad_start=" + joined(s.padStart) + "\n";
  body += "music_volume=" + std::to_string(s.musicVolume) + "\n";
  body += "music_muted=" + std::string(s.musicMuted ? "1" : "0") + "\n";
  std::string why;
  // through a link (dotfile managers link the file): the link stays, its target gets the settings
  const bool ok = files::replace(path, body, true, why);
  if (!ok)
    std::fprintf(stderr, "talmyr: cannot save the settings in %s: %s\n", path.c_str(), why.c_str());
  return ok;
}
