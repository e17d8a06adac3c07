// The page: rand and srand as the desktop's C library has them, so that the same seed gives the
// same fights (the browser's C library has a random generator of its own).
#include "draws.h"

#include <cstdlib>

namespace {
draws::Generator generator;
}

extern "C" {
void srand(unsigned seed) { generator.seed_(seed); }
int rand() { return generator.next(); }
}
