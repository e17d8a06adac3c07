// glibc's rand(): r[0] = seed, r[i] = 16807 r[i-1] mod (2^31 - 1) for i < 31, r[i] = r[i-31]
// for 31 <= i < 34, then r[i] = r[i-31] + r[i-3] (mod 2^32); the k-th draw is r[k + 344] >> 1.
#include "draws.h"

namespace draws {

void Generator::seed_(unsigned seed) {
  int32_t word = static_cast<int32_t>(seed == 0 ? 1 : seed);
  uint32_t r[34];
  r[0] = static_cast<uint32_t>(word);
  for (int i = 1; i < 31; i++) {
    const int32_t hi = word / 127773, lo = word % 127773;
    word = 16807 * lo - 2836 * hi;
    if (word < 0) word += 2147483647;
    r[i] = static_cast<uint32_t>(word);
  }
  for (int i = 31; i < 34; i++) r[i] = r[i - 31];
  for (int i = 0; i < 34; i++) r_[i] = r[i];
  at_ = 0;  // the next value computed is r[34]
  for (int i = 34; i < 344; i++) next();
}

int Generator::next() {
  // r[i] = r[i-31] + r[i-3]; with i % 34 as the slot, r[i-31] is at (i+3) % 34, r[i-3] at (i+31) % 34
  const uint32_t v = r_[(at_ + 3) % 34] + r_[(at_ + 31) % 34];
  r_[at_] = v;
  at_ = (at_ + 1) % 34;
  return static_cast<int>(v >> 1);
}

}  // namespace draws
