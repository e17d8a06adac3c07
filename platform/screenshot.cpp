// Screenshots and the PNG writer.
#include "screenshot.h"

#include "files.h"
#include "present.h"
#include "settings.h"

#include <fcntl.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace screenshot {

bool encode(const uint16_t* pixels, int w, int h, std::vector<unsigned char>& png) {
  png.clear();
  if (!pixels || w <= 0 || h <= 0) return false;
  std::vector<unsigned char> rgb(static_cast<size_t>(w) * static_cast<size_t>(h) * 3);
  for (size_t i = 0; i < rgb.size() / 3; i++) {
    const unsigned r = pixels[i] >> 11, g = (pixels[i] >> 5) & 63, b = pixels[i] & 31;
    rgb[3 * i] = static_cast<unsigned char>(r << 3 | r >> 2);
    rgb[3 * i + 1] = static_cast<unsigned char>(g << 2 | g >> 4);
    rgb[3 * i + 2] = static_cast<unsigned char>(b << 3 | b >> 2);
  }
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(w);
  image.height = static_cast<png_uint_32>(h);
  image.format = PNG_FORMAT_RGB;
  png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(image);  // room for the worst case: encoded once
  png.resize(size);
  if (!png_image_write_to_memory(&image, png.data(), &size, 0, rgb.data(), 0, nullptr)) {
    png.clear();
    return false;
  }
  png.resize(size);
  return true;
}

bool write(const std::string& path, const uint16_t* pixels, int w, int h, bool fresh) {
  std::vector<unsigned char> png;
  if (!encode(pixels, w, h, png)) {
    errno = EINVAL;
    return false;
  }
  return writeBytes(path, png, fresh);
}

bool writeBytes(const std::string& path, const std::vector<unsigned char>& png, bool fresh) {
  const int fd =
      open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (fresh ? O_EXCL : O_TRUNC), 0644);
  if (fd < 0) return false;
  size_t done = 0;
  int err = 0;
  while (done < png.size() && !err) {
    const ssize_t n = ::write(fd, png.data() + done, png.size() - done);
    if (n > 0)
      done += static_cast<size_t>(n);
    else if (n == 0 || errno != EINTR)
      err = n == 0 ? EIO : errno;
  }
  if (close(fd) != 0 && !err) err = errno;
  if (err) {
    unlink(path.c_str());  // no half picture left behind
    errno = err;
    return false;
  }
  return true;
}

namespace {

std::string trim(const std::string& s) {
  const size_t a = s.find_first_not_of(" \t\r");
  if (a == std::string::npos) return "";
  return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

// A value of user-dirs.dirs: "$HOME/Something" or an absolute path, in double quotes; "" for
// anything else (the file is meant to hold nothing more).
std::string userDir(const std::string& value, const std::string& home) {
  if (value.size() < 2 || value.front() != '"' || value.back() != '"') return "";
  const std::string v = value.substr(1, value.size() - 2);
  if (v.compare(0, 5, "$HOME") == 0 && (v.size() == 5 || v[5] == '/')) return home + v.substr(5);
  return !v.empty() && v[0] == '/' ? v : "";
}

}  // namespace

std::string folder() {
  const char* homeVar = std::getenv("HOME");
  const std::string home = homeVar ? homeVar : "";
  const char* config = std::getenv("XDG_CONFIG_HOME");
  // a relative XDG_CONFIG_HOME is ignored, as everywhere by the freedesktop convention
  const std::string dirs =
      (config && config[0] == '/' ? std::string(config) : home + "/.config") + "/user-dirs.dirs";
  std::string pictures, text, why;
  // read without ever waiting: a named pipe there must not hang the game
  if (files::read(dirs, 1 << 16, text, why) == files::Got::refused)
    std::fprintf(stderr, "talmyr: %s %s; not read\n", dirs.c_str(), why.c_str());
  for (size_t at = 0; at < text.size();) {
    const size_t nl = std::min(text.find('\n', at), text.size());
    const std::string line = trim(text.substr(at, nl - at));
    at = nl + 1;
    const size_t eq = line.find('=');
    if (line.empty() || line[0] == '#' || eq == std::string::npos) continue;
    if (trim(line.substr(0, eq)) != "XDG_PICTURES_DIR") continue;
    const std::string dir = userDir(trim(line.substr(eq + 1)), home);
    if (!dir.empty()) pictures = dir;  // the last line that says wins, as in a shell
  }
  if (pictures.empty())
    if (const char* v = std::getenv("XDG_PICTURES_DIR"); v && v[0] == '/') pictures = v;
  if (pictures.empty()) {
    if (home.empty()) return "";
    pictures = home + "/Pictures";
  }
  while (pictures.size() > 1 && pictures.back() == '/') pictures.pop_back();
  return pictures + "/Talmyr";
}

std::string nameFor(long long when, int rank) {
  const std::time_t t = static_cast<std::time_t>(when);
  std::tm local;
  std::memset(&local, 0, sizeof local);
  localtime_r(&t, &local);
  char stamp[64];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local);
  std::string name = std::string("talmyr-") + stamp;
  if (rank > 1) name += "-" + std::to_string(rank);
  return name + ".png";
}

std::string take() {
  std::vector<uint16_t> px(static_cast<size_t>(present::W) * present::H);
  if (!present::shownFrame(px.data())) return "";
  const std::string dir = folder();
  if (dir.empty()) {
    std::fprintf(stderr, "talmyr: no screenshot: no pictures folder (HOME is not set)\n");
    return "";
  }
  if (!makeFolders(dir)) {
    std::fprintf(stderr, "talmyr: no screenshot: %s: %s\n", dir.c_str(), std::strerror(errno));
    return "";
  }
  std::vector<unsigned char> png;  // encoded once, whatever name it ends up with
  if (!encode(px.data(), present::W, present::H, png)) {
    std::fprintf(stderr, "talmyr: no screenshot: the picture cannot be encoded\n");
    return "";
  }
  const long long now = static_cast<long long>(std::time(nullptr));
  for (int rank = 1; rank < 1000; rank++) {
    std::string path = dir + "/" + nameFor(now, rank);
    if (writeBytes(path, png, true)) {
      std::printf("talmyr: screenshot %s\n", path.c_str());
      std::fflush(stdout);
      present::note(nameFor(now, rank).c_str());
      return path;
    }
    if (errno != EEXIST) {
      std::fprintf(stderr, "talmyr: no screenshot: %s: %s\n", path.c_str(), std::strerror(errno));
      return "";
    }
  }
  std::fprintf(stderr, "talmyr: no screenshot: too many in %s this second\n", dir.c_str());
  return "";
}

}  // namespace screenshot
