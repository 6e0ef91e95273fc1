// The program's random numbers: the sequence of the Windows C runtime's rand, produced by one
// portable implementation, so that a seed gives the same snow on every platform.
#pragma once

#include <cstdint>

// The largest value RandomInteger returns.
constexpr int kRandomMaximum = 32767;

// Restarts the sequence; before the first call the seed is 1, as with srand.
void SeedRandom(uint32_t seed);

// The next integer of the sequence, 0 .. kRandomMaximum.
int RandomInteger();
