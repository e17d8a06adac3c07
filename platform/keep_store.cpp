// The kept game on the desktop: one small file in the user's state folder, replaced atomically.
#include "keep_store.h"

#include "files.h"
#include "settings.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace store {

std::string defaultPlace() { return xdgFile("XDG_STATE_HOME", ".local/state", "kept-game.ini"); }

bool read(const std::string& place, std::string& text) {
  text.clear();
  if (place.empty()) return false;
  std::string why;
  // a kept game is about a kilobyte: a larger file is read only to be refused and set aside
  const files::Got got = files::read(place, 1 << 20, text, why);
  if (got == files::Got::refused)
    std::fprintf(stderr, "talmyr: %s %s; no game to continue\n", place.c_str(), why.c_str());
  return got == files::Got::text;
}

bool write(const std::string& place, const std::string& text, std::string& error) {
  return files::replace(place, text, false, error);
}

void setAside(const std::string& place) {
  if (place.empty()) return;
  auto bad = [&place](int n) { return place + ".bad" + (n > 1 ? "." + std::to_string(n) : ""); };
  // the older ones move up a rank and only the oldest goes; a folder there is never touched
  ::unlink(bad(badKept).c_str());
  struct stat st;
  for (int n = badKept - 1; n >= 1; n--)
    if (lstat(bad(n + 1).c_str(), &st) != 0 && lstat(bad(n).c_str(), &st) == 0 &&
        !S_ISDIR(st.st_mode))
      std::rename(bad(n).c_str(), bad(n + 1).c_str());
  const char* why = nullptr;
  if (lstat(bad(1).c_str(), &st) == 0)  // never replaced
    why = S_ISDIR(st.st_mode) ? "a folder is there" : "a file there cannot be moved";
  else if (std::rename(place.c_str(), bad(1).c_str()) != 0)
    why = std::strerror(errno);
  if (why)
    std::fprintf(stderr, "talmyr: %s cannot be set aside as %s: %s\n", place.c_str(),
                 bad(1).c_str(), why);
}

void forget(const std::string& place) {
  if (!place.empty()) ::unlink(place.c_str());
}

}  // namespace store
