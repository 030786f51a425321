#pragma once

#include <cstdint>

// The classic C library generator: state = state * 214013 + 2531011 (mod 2^32), result the bits
// 16 to 30 of the new state, 0 to 32767. The player depends on exactly this sequence and range.
inline constexpr int RAND_MAX_CLASSIC = 0x7FFF;

void srand_classic(std::uint32_t seed);
int rand_classic();
