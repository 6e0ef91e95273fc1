// Seeded pseudo-random numbers and lattice hashes: integer arithmetic only, so a seed gives the
// same images everywhere.
#pragma once

#include <cstdint>
#include <initializer_list>

// SplitMix64: small, fast and well mixed; plenty for placing stars and scratches.
class PseudoRandom {
public:
    explicit PseudoRandom(uint64_t seed) : state_(seed) {}

    uint64_t NextBits() {
        state_ += 0x9E3779B97F4A7C15ull;
        uint64_t z = state_;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform in [0, 1), exactly representable (53 random bits).
    double NextUnit() { return static_cast<double>(NextBits() >> 11) * (1.0 / 9007199254740992.0); }

    double NextRange(double low, double high) { return low + (high - low) * NextUnit(); }

private:
    uint64_t state_;
};

// A well-mixed 64-bit hash of lattice coordinates and a seed.
inline uint64_t HashLattice(int64_t x, int64_t y, int64_t z, uint64_t seed) {
    uint64_t h = seed ^ 0x2545F4914F6CDD1Dull;
    for (const int64_t v : {x, y, z}) {
        h ^= static_cast<uint64_t>(v) + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
        h = (h ^ (h >> 31)) * 0xD6E8FEB86659FD93ull;
    }
    return h ^ (h >> 32);
}

// Uniform in [0, 1) from a lattice hash.
inline double HashUnit(int64_t x, int64_t y, int64_t z, uint64_t seed) {
    return static_cast<double>(HashLattice(x, y, z, seed) >> 11) * (1.0 / 9007199254740992.0);
}
