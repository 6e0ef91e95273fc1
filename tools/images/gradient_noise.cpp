#include "tools/images/gradient_noise.h"

#include "tools/images/deterministic_math.h"
#include "tools/images/pseudo_random.h"

namespace {

// Quintic fade: continuous second derivative, so no creases at lattice lines.
double Fade(double t) { return t * t * t * (t * (t * 6.0 - 15.0) + 10.0); }

int64_t WrapIndex(int64_t i, int period) {
    const int64_t r = i % period;
    return r < 0 ? r + period : r;
}

// One of 16 evenly spread unit gradients in the plane.
double Dot2(int64_t x, int64_t y, uint64_t seed, double dx, double dy) {
    static const double kGradients[16][2] = {
        {1.0, 0.0}, {0.92388, 0.38268}, {0.70711, 0.70711}, {0.38268, 0.92388},
        {0.0, 1.0}, {-0.38268, 0.92388}, {-0.70711, 0.70711}, {-0.92388, 0.38268},
        {-1.0, 0.0}, {-0.92388, -0.38268}, {-0.70711, -0.70711}, {-0.38268, -0.92388},
        {0.0, -1.0}, {0.38268, -0.92388}, {0.70711, -0.70711}, {0.92388, -0.38268}};
    const double* g = kGradients[HashLattice(x, y, 0, seed) & 15u];
    return g[0] * dx + g[1] * dy;
}

// The twelve edge directions of a cube, the classic choice for 3-D gradient noise.
double Dot3(int64_t x, int64_t y, int64_t z, uint64_t seed, double dx, double dy, double dz) {
    static const int kGradients[12][3] = {{1, 1, 0}, {-1, 1, 0}, {1, -1, 0}, {-1, -1, 0},
                                          {1, 0, 1}, {-1, 0, 1}, {1, 0, -1}, {-1, 0, -1},
                                          {0, 1, 1}, {0, -1, 1}, {0, 1, -1}, {0, -1, -1}};
    const int* g = kGradients[HashLattice(x, y, z, seed) % 12u];
    return g[0] * dx + g[1] * dy + g[2] * dz;
}

}  // namespace

double PeriodicNoise2(double x, double y, int periodX, int periodY, uint64_t seed) {
    const double fx = detmath::Floor(x);
    const double fy = detmath::Floor(y);
    const int64_t ix = static_cast<int64_t>(fx);
    const int64_t iy = static_cast<int64_t>(fy);
    const double tx = x - fx;
    const double ty = y - fy;
    const int64_t x0 = WrapIndex(ix, periodX), x1 = WrapIndex(ix + 1, periodX);
    const int64_t y0 = WrapIndex(iy, periodY), y1 = WrapIndex(iy + 1, periodY);
    const double n00 = Dot2(x0, y0, seed, tx, ty);
    const double n10 = Dot2(x1, y0, seed, tx - 1.0, ty);
    const double n01 = Dot2(x0, y1, seed, tx, ty - 1.0);
    const double n11 = Dot2(x1, y1, seed, tx - 1.0, ty - 1.0);
    const double u = Fade(tx);
    const double v = Fade(ty);
    return 1.41421356 * detmath::Mix(detmath::Mix(n00, n10, u), detmath::Mix(n01, n11, u), v);
}

double PeriodicFractalNoise2(double x, double y, int periodX, int periodY, int octaves, double gain, uint64_t seed) {
    double sum = 0.0;
    double amplitude = 1.0;
    double total = 0.0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * PeriodicNoise2(x, y, periodX, periodY, seed + static_cast<uint64_t>(i) * 7919u);
        total += amplitude;
        amplitude *= gain;
        x *= 2.0;
        y *= 2.0;
        periodX *= 2;
        periodY *= 2;
    }
    return sum / total;
}

double Noise3(double x, double y, double z, uint64_t seed) {
    const double fx = detmath::Floor(x), fy = detmath::Floor(y), fz = detmath::Floor(z);
    const int64_t ix = static_cast<int64_t>(fx), iy = static_cast<int64_t>(fy), iz = static_cast<int64_t>(fz);
    const double tx = x - fx, ty = y - fy, tz = z - fz;
    double corners[8];
    for (int c = 0; c < 8; ++c) {
        const int cx = c & 1, cy = (c >> 1) & 1, cz = (c >> 2) & 1;
        corners[c] = Dot3(ix + cx, iy + cy, iz + cz, seed, tx - cx, ty - cy, tz - cz);
    }
    const double u = Fade(tx), v = Fade(ty), w = Fade(tz);
    const double x00 = detmath::Mix(corners[0], corners[1], u);
    const double x10 = detmath::Mix(corners[2], corners[3], u);
    const double x01 = detmath::Mix(corners[4], corners[5], u);
    const double x11 = detmath::Mix(corners[6], corners[7], u);
    return detmath::Mix(detmath::Mix(x00, x10, v), detmath::Mix(x01, x11, v), w);
}

double FractalNoise3(double x, double y, double z, int octaves, double gain, uint64_t seed) {
    double sum = 0.0;
    double amplitude = 1.0;
    double total = 0.0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * Noise3(x, y, z, seed + static_cast<uint64_t>(i) * 104729u);
        total += amplitude;
        amplitude *= gain;
        x *= 2.0;
        y *= 2.0;
        z *= 2.0;
    }
    return sum / total;
}
