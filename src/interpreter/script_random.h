// The scripts' random numbers (NR): the linear congruential generator the system has
// always used, so that a given seed gives the same sequence as it did there.
//
// state = state * 214013 + 2531011 (modulo 2^32); each number is bits 16 to 30 of the
// new state, 0 to 32767. The shell seeds it once at start-up with the current time in
// seconds; until then (and after ResetInterpreter) the seed is 1.
#pragma once

#include <cstdint>

namespace velcrum {

inline constexpr int32_t kScriptRandomMax = 32767;

void SeedScriptRandom(uint32_t seed);

// The next number, 0 to 32767.
int32_t NextScriptRandom();

}  // namespace velcrum
