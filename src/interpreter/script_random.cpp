// The scripts' random-number generator.
#include "interpreter/script_random.h"

namespace velcrum {
namespace {

uint32_t state = 1;

}  // namespace

void SeedScriptRandom(uint32_t seed) {
  state = seed;
}

int32_t NextScriptRandom() {
  state = state * 214013u + 2531011u;
  return static_cast<int32_t>((state >> 16) & 0x7fffu);
}

}  // namespace velcrum
