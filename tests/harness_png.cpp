// The harness's pictures as PNG files (kept apart: the page's test build has no libpng, and
// hands its pictures to the browser instead).
#include <png.h>

#include <cstring>

#include "harness.h"
#include "screenshot.h"

namespace harness {

bool savePng(const std::string& path, const uint16_t* pixels, int w, int h) {
  return screenshot::write(path, pixels, w, h);  // the game's own writer: F12 writes the same
}

bool loadPng(const std::string& path, std::vector<uint16_t>& pixels, int& w, int& h) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return false;
  w = static_cast<int>(image.width);
  h = static_cast<int>(image.height);
  pixels.resize(rgb.size() / 3);
  for (size_t i = 0; i < pixels.size(); i++)
    pixels[i] = static_cast<uint16_t>((rgb[3 * i] >> 3) << 11 | (rgb[3 * i + 1] >> 2) << 5 |
                                      rgb[3 * i + 2] >> 3);
  return true;
}

void saveScreen(const std::string& path, SDL_Surface* s) {
  if (!s) s = Screen;
  const std::vector<uint16_t> px = screenPixels(s);
  if (!px.empty()) savePng(path, px.data(), s->w, s->h);
}

}  // namespace harness
