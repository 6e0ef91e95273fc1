#include "platform/random.h"

namespace {

// The linear congruential generator of the Windows C runtime; unsigned arithmetic wraps at 32
// bits exactly as its state does.
uint32_t randomState = 1;

}  // namespace

void SeedRandom(uint32_t seed) { randomState = seed; }

int RandomInteger() {
    randomState = randomState * 214013u + 2531011u;
    return static_cast<int>((randomState >> 16) & 0x7fffu);
}
