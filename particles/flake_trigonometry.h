// Sines and cosines for the snow: double precision on float arguments, by one portable,
// branch-free routine. Every platform's snow then moves alike (C runtimes' own sin and cos
// differ in the last bits), and a block of flakes can be worked out in vector registers.
//
// The argument is reduced by the nearest multiple of pi/2, taken in three parts, the first two
// short enough that their products with the multiple are exact for arguments up to 2^25 (a
// phase of a year of seconds); the remainder, within pi/4, goes through the Taylor series of
// sine and cosine, cut where the next term is below a unit in the last place. Rounded to float,
// the results are the correctly rounded sine and cosine but in vanishingly rare cases.
#pragma once

#include <cstdint>
#include <cstring>

namespace flake_trigonometry {

inline uint64_t BitsOf(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

inline double DoubleOf(uint64_t bits) {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

constexpr double kTwoOverPi = 0.636619772367581343076;
// Adding 1.5 * 2^52 rounds to a whole number and leaves it in the low bits of the sum.
constexpr double kRoundingShift = 6755399441055744.0;
constexpr double kHalfPiHigh = 0x1.921fb54p+0;
constexpr double kHalfPiMiddle = 0x1.10b4612p-30;
constexpr double kHalfPiLow = -0x1.676733ae8fe48p-60;

struct Reduced {
    double remainder;   // within pi/4 of 0
    uint64_t quarter;   // the low two bits: which quarter turn was taken off
};

inline Reduced Reduce(double x) {
    const double shifted = x * kTwoOverPi + kRoundingShift;
    const double quarters = shifted - kRoundingShift;
    const double remainder = ((x - quarters * kHalfPiHigh) - quarters * kHalfPiMiddle) - quarters * kHalfPiLow;
    return {remainder, BitsOf(shifted)};
}

inline double SinePolynomial(double r) {
    const double z = r * r;
    return r + r * z *
                   (-1.0 / 6.0 +
                    z * (1.0 / 120.0 +
                         z * (-1.0 / 5040.0 +
                              z * (1.0 / 362880.0 +
                                   z * (-1.0 / 39916800.0 + z * (1.0 / 6227020800.0 + z * (-1.0 / 1307674368000.0)))))));
}

inline double CosinePolynomial(double r) {
    const double z = r * r;
    return 1.0 +
           z * (-0.5 +
                z * (1.0 / 24.0 +
                     z * (-1.0 / 720.0 +
                          z * (1.0 / 40320.0 +
                               z * (-1.0 / 3628800.0 +
                                    z * (1.0 / 479001600.0 +
                                         z * (-1.0 / 87178291200.0 + z * (1.0 / 20922789888000.0))))))));
}

// `even` for an even quarter, `odd` for an odd one, negated where `negate` is 1; by bit masks,
// so that no branch stands in the way of vectorising.
inline double Select(double even, double odd, uint64_t quarter, uint64_t negate) {
    const uint64_t oddMask = 0 - (quarter & 1);
    const uint64_t bits = (BitsOf(even) & ~oddMask) | (BitsOf(odd) & oddMask);
    return DoubleOf(bits ^ (negate << 63));
}

}  // namespace flake_trigonometry

// cos x for quarters 0, 1, 2, 3 is cos r, -sin r, -cos r, sin r.
inline double FlakeCosine(double x) {
    using namespace flake_trigonometry;
    const Reduced reduced = Reduce(x);
    const uint64_t negate = ((reduced.quarter + 1) >> 1) & 1;
    return Select(CosinePolynomial(reduced.remainder), SinePolynomial(reduced.remainder), reduced.quarter, negate);
}

// sin x for quarters 0, 1, 2, 3 is sin r, cos r, -sin r, -cos r; the cosine shares the work.
inline void FlakeSineCosine(double x, double& sine, double& cosine) {
    using namespace flake_trigonometry;
    const Reduced reduced = Reduce(x);
    const double s = SinePolynomial(reduced.remainder);
    const double c = CosinePolynomial(reduced.remainder);
    sine = Select(s, c, reduced.quarter, (reduced.quarter >> 1) & 1);
    cosine = Select(c, s, reduced.quarter, ((reduced.quarter + 1) >> 1) & 1);
}
