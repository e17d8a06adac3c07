// Pictures of the game as PNG files: F12's screenshots, and every picture the tests and tools
// write, through one writer, so that a screenshot is byte for byte the picture `make screens`
// writes for the same frame.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace screenshot {

// 5-6-5 pixels, row by row, as the bytes of a PNG file with 8 bits a channel. Each channel is
// widened by repeating its high bits (0xFFFF is white), so reading the file back gives exactly
// the pixels that were written, and the bytes depend on nothing but those pixels.
bool encode(const uint16_t* pixels, int w, int h, std::vector<unsigned char>& png);
// Writes them to `path`. With `fresh`, a file already there is never replaced: false instead.
bool write(const std::string& path, const uint16_t* pixels, int w, int h, bool fresh = false);
// The same for pictures already encoded.
bool writeBytes(const std::string& path, const std::vector<unsigned char>& png, bool fresh);

// Where screenshots go: $XDG_PICTURES_DIR/Talmyr, the pictures folder read as xdg-user-dir
// reads it (its line in $XDG_CONFIG_HOME/user-dirs.dirs, a relative XDG_CONFIG_HOME ignored, else
// the variable itself), ~/Pictures
// when neither says; "" without a home.
std::string folder();
// A screenshot's name for a moment (local time) and its rank within that second (1: the first):
// talmyr-2026-12-07_19-09-33.png, then talmyr-2026-12-07_19-09-33-2.png.
std::string nameFor(long long when, int rank);
// Saves the game's 320x240 picture now shown in a new file of folder(), made when missing, and
// returns its path; on failure one line on stderr and "", and the game goes on.
std::string take();

}  // namespace screenshot
