// The random draws of the C library the desktop game links (glibc's rand, the additive feedback
// generator of degree 31), rebuilt here so that a build on another C library (the page's) draws
// the same numbers from the same seed: the same fights, blow for blow.
#pragma once

#include <cstdint>

namespace draws {

class Generator {
 public:
  explicit Generator(unsigned seed = 1) { seed_(seed); }
  void seed_(unsigned seed);
  // From 0 to 2^31 - 1, as rand().
  int next();

 private:
  uint32_t r_[34] = {};
  int at_ = 0;  // where r[i] of the sequence goes in the ring: i % 34
};

}  // namespace draws
