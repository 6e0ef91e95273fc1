// Smooth gradient noise: periodic in the plane (for tileable textures) and on the sphere of
// directions (for the sky). Values lie roughly in [-1, 1].
#pragma once

#include <cstdint>

// Gradient noise with integer lattice periods: N(x + periodX, y) = N(x, y) = N(x, y + periodY).
double PeriodicNoise2(double x, double y, int periodX, int periodY, uint64_t seed);

// Sum of `octaves` periodic layers, each of double frequency and `gain` times the amplitude,
// normalised to the same range as one layer. Periods double with the frequency, so the sum is
// periodic with the first layer's periods.
double PeriodicFractalNoise2(double x, double y, int periodX, int periodY, int octaves, double gain, uint64_t seed);

// Gradient noise in space, sampled on directions for the sky.
double Noise3(double x, double y, double z, uint64_t seed);
double FractalNoise3(double x, double y, double z, int octaves, double gain, uint64_t seed);
