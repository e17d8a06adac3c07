// Reading and replacing the player's small files safely.
#include "files.h"

#include "settings.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

namespace {

std::string folderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// What a link at `path` finally names (relative links are read from the link's folder); the
// path itself when it is no link. A loop of links is left to the rename to report.
std::string target(std::string path) {
  for (int hops = 0; hops < 16; hops++) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char to[PATH_MAX];
    const ssize_t n = readlink(path.c_str(), to, sizeof to - 1);
    if (n <= 0) return path;
    const std::string named(to, static_cast<size_t>(n));
    if (named[0] == '/') {
      path = named;
    } else {
      path = folderOf(path);
      path += "/";
      path += named;
    }
  }
  return path;
}

bool writeAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

std::string kind(mode_t mode) {
  if (S_ISDIR(mode)) return "is a folder, not a file";
  return S_ISREG(mode) ? "" : "is not a regular file";
}

}  // namespace

Got read(const std::string& path, size_t limit, std::string& text, std::string& why) {
  text.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return Got::missing;
    why = std::string("cannot be read (") + std::strerror(errno) + ")";
    return Got::refused;
  }
  struct stat st;
  if (fstat(fd, &st) != 0) {
    why = std::string("cannot be read (") + std::strerror(errno) + ")";
  } else if (!S_ISREG(st.st_mode)) {
    why = kind(st.st_mode);
  } else if (static_cast<unsigned long long>(st.st_size) > limit) {
    why = "is too large (" + std::to_string(st.st_size) + " bytes)";
  } else {
    char buf[4096];
    for (;;) {
      const ssize_t n = ::read(fd, buf, sizeof buf);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) why = std::string("cannot be read (") + std::strerror(errno) + ")";
      if (n <= 0) break;
      text.append(buf, static_cast<size_t>(n));
      if (text.size() > limit) {  // it grew while being read
        why = "is too large";
        break;
      }
    }
  }
  ::close(fd);
  if (why.empty()) return Got::text;
  text.clear();
  return Got::refused;
}

bool replace(const std::string& path, const std::string& text, bool throughLink, std::string& why) {
  const std::string file = throughLink ? target(path) : path, dir = folderOf(file);
  // this process's own name: two games on one folder never write into each other's file
  const std::string tmp = file + "." + std::to_string(getpid()) + ".tmp";
  why.clear();
  if (!makeFolders(dir)) {
    why = dir + ": " + std::strerror(errno);
    return false;
  }
  struct stat old;
  const bool there = stat(file.c_str(), &old) == 0;
  if (there && S_ISDIR(old.st_mode)) {
    why = file + " is a folder, not a file";
    return false;
  }
  const mode_t mode = there && S_ISREG(old.st_mode) ? old.st_mode & 0777 : 0644;
  const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
  int fd = ::open(tmp.c_str(), flags, mode);
  if (fd < 0 && errno == EEXIST && ::unlink(tmp.c_str()) == 0)  // left by a game that died
    fd = ::open(tmp.c_str(), flags, mode);
  if (fd < 0) {
    why = errno == EISDIR ? tmp + " is a folder, not a file" : std::strerror(errno);
    return false;
  }
  bool ok = writeAll(fd, text) && fsync(fd) == 0;  // on the disk before it replaces the old file
  int err = errno;
  if (::close(fd) != 0 && ok) ok = false, err = errno;
  if (ok && std::rename(tmp.c_str(), file.c_str()) != 0) ok = false, err = errno;
  if (!ok) {
    ::unlink(tmp.c_str());
    why = std::strerror(err);
    return false;
  }
  const int d = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);  // the rename on the disk
  if (d >= 0) {
    fsync(d);
    ::close(d);
  }
  return true;
}

}  // namespace files
