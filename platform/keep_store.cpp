// The kept game on the desktop: one small file in the user's state folder, replaced atomically.
#include "keep_store.h"

#include "settings.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace store {

namespace {

// Writes all of `text` to an open descriptor; false with errno set.
bool writeAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

std::string defaultPlace() { return xdgFile("XDG_STATE_HOME", ".local/state", "kept-game.ini"); }

bool read(const std::string& place, std::string& text) {
  text.clear();
  if (place.empty()) return false;
  FILE* f = std::fopen(place.c_str(), "rb");
  if (!f) {
    if (errno != ENOENT)
      std::fprintf(stderr, "talmyr: %s: %s; no game to continue\n", place.c_str(), std::strerror(errno));
    return false;
  }
  char buf[4096];
  size_t n;
  // a kept game is about a kilobyte: anything far larger is not one of ours, and is not read whole
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0 && text.size() <= 65536) text.append(buf, n);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) {
    std::fprintf(stderr, "talmyr: %s: cannot be read; no game to continue\n", place.c_str());
    return false;
  }
  return true;
}

bool write(const std::string& place, const std::string& text, std::string& error) {
  const size_t slash = place.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : place.substr(0, slash);
  const std::string tmp = place + ".tmp";
  bool ok = makeFolders(dir);
  if (ok) {
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ok = fd >= 0;
    if (ok) {
      ok = writeAll(fd, text) && fsync(fd) == 0;  // on the disk before it replaces the old file
      const int err = errno;
      ok = ::close(fd) == 0 && ok;
      if (!ok && errno == 0) errno = err;
    }
    ok = ok && std::rename(tmp.c_str(), place.c_str()) == 0;
  }
  if (ok) {  // the rename itself on the disk
    const int d = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (d >= 0) {
      fsync(d);
      ::close(d);
    }
    return true;
  }
  error = std::strerror(errno);
  std::remove(tmp.c_str());
  return false;
}

void setAside(const std::string& place) {
  if (!place.empty()) std::rename(place.c_str(), (place + ".bad").c_str());
}

void forget(const std::string& place) {
  if (!place.empty()) std::remove(place.c_str());
}

}  // namespace store
