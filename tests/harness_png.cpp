// The harness's pictures as PNG files (kept apart: the page's test build has no libpng, and
// hands its pictures to the browser instead).
#include "harness.h"

#include <png.h>

#include <cstring>

namespace harness {

bool savePng(const std::string& path, const uint16_t* pixels, int w, int h) {
  std::vector<uint8_t> rgb(static_cast<size_t>(w) * static_cast<size_t>(h) * 3);
  for (size_t i = 0; i < rgb.size() / 3; i++) {
    const unsigned r = pixels[i] >> 11, g = (pixels[i] >> 5) & 63, b = pixels[i] & 31;
    rgb[3 * i] = static_cast<uint8_t>(r << 3 | r >> 2);
    rgb[3 * i + 1] = static_cast<uint8_t>(g << 2 | g >> 4);
    rgb[3 * i + 2] = static_cast<uint8_t>(b << 3 | b >> 2);
  }
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(w);
  image.height = static_cast<png_uint_32>(h);
  image.format = PNG_FORMAT_RGB;
  return png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr) != 0;
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
