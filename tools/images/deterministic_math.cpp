#include "tools/images/deterministic_math.h"

#include <cmath>

namespace detmath {
namespace {

// π/2 and ln 2 split into a head with trailing zero bits and a tail, so that k·head is exact
// for the multiples the images need.
constexpr double kHalfPiHead = 1.57079632673412561417e+00;
constexpr double kHalfPiTail = 6.07710050650619224932e-11;
constexpr double kLn2Head = 6.93147180369123816490e-01;
constexpr double kLn2Tail = 1.90821492927058770002e-10;
constexpr double kLn2 = 0.69314718055994530942;

// Taylor series on |r| <= π/4; the truncation error is far below a double's last bit.
double SinKernel(double r) {
    const double r2 = r * r;
    double sum = -1.0 / 1307674368000.0;                   // -1/15!
    sum = 1.0 / 6227020800.0 + r2 * sum;                   // 1/13!
    sum = -1.0 / 39916800.0 + r2 * sum;                    // -1/11!
    sum = 1.0 / 362880.0 + r2 * sum;                       // 1/9!
    sum = -1.0 / 5040.0 + r2 * sum;                        // -1/7!
    sum = 1.0 / 120.0 + r2 * sum;
    sum = -1.0 / 6.0 + r2 * sum;
    return r + r * r2 * sum;
}

double CosKernel(double r) {
    const double r2 = r * r;
    double sum = 1.0 / 20922789888000.0;                   // 1/16!
    sum = -1.0 / 87178291200.0 + r2 * sum;                 // 1/14!
    sum = 1.0 / 479001600.0 + r2 * sum;                    // 1/12!
    sum = -1.0 / 3628800.0 + r2 * sum;                     // 1/10!
    sum = 1.0 / 40320.0 + r2 * sum;                        // 1/8!
    sum = -1.0 / 720.0 + r2 * sum;
    sum = 1.0 / 24.0 + r2 * sum;
    sum = -0.5 + r2 * sum;
    return 1.0 + r2 * sum;
}

// x = k·π/2 + r with |r| <= π/4 (for the moderate arguments the images use).
double ReduceQuarterTurns(double x, long long& quadrant) {
    const double k = std::floor(x * (2.0 / kPi) + 0.5);
    quadrant = static_cast<long long>(k);
    return (x - k * kHalfPiHead) - k * kHalfPiTail;
}

// atan on [0, 1], after halving the angle twice: tan(a/2) = t / (1 + sqrt(1 + t²)).
double AtanUnit(double t) {
    for (int i = 0; i < 2; ++i) t = t / (1.0 + std::sqrt(1.0 + t * t));
    const double t2 = t * t;
    double sum = 0.0;
    for (int n = 27; n >= 3; n -= 2) {
        const double term = 1.0 / n;
        sum = (((n - 1) / 2) % 2 == 1 ? -term : term) + t2 * sum;
    }
    return 4.0 * (t + t * t2 * sum);
}

}  // namespace

double Sin(double x) {
    long long quadrant = 0;
    const double r = ReduceQuarterTurns(x, quadrant);
    switch (((quadrant % 4) + 4) % 4) {
        case 0: return SinKernel(r);
        case 1: return CosKernel(r);
        case 2: return -SinKernel(r);
        default: return -CosKernel(r);
    }
}

double Cos(double x) {
    long long quadrant = 0;
    const double r = ReduceQuarterTurns(x, quadrant);
    switch (((quadrant % 4) + 4) % 4) {
        case 0: return CosKernel(r);
        case 1: return -SinKernel(r);
        case 2: return -CosKernel(r);
        default: return SinKernel(r);
    }
}

double Exp(double x) {
    if (x < -745.0) return 0.0;
    if (x > 709.0) return HUGE_VAL;
    const double k = std::floor(x / kLn2 + 0.5);
    const double r = (x - k * kLn2Head) - k * kLn2Tail;  // |r| <= ln2/2
    double sum = 1.0;
    for (int n = 14; n >= 1; --n) sum = 1.0 + sum * r / n;
    return std::ldexp(sum, static_cast<int>(k));
}

double Log(double x) {
    int exponent = 0;
    double m = std::frexp(x, &exponent);  // m in [0.5, 1)
    if (m < 0.70710678118654752440) {
        m *= 2.0;
        --exponent;
    }
    // log m = 2·atanh(s), s = (m − 1)/(m + 1), |s| < 0.172.
    const double s = (m - 1.0) / (m + 1.0);
    const double s2 = s * s;
    double sum = 0.0;
    for (int n = 23; n >= 3; n -= 2) sum = 1.0 / n + s2 * sum;
    return exponent * kLn2 + 2.0 * (s + s * s2 * sum);
}

double Pow(double base, double exponent) {
    if (base <= 0.0) return 0.0;
    return Exp(exponent * Log(base));
}

double Atan2(double y, double x) {
    if (x == 0.0 && y == 0.0) return 0.0;
    const double ax = std::fabs(x);
    const double ay = std::fabs(y);
    double angle = ay <= ax ? AtanUnit(ay / ax) : kPi / 2.0 - AtanUnit(ax / ay);
    if (x < 0.0) angle = kPi - angle;
    return y < 0.0 ? -angle : angle;
}

double Sqrt(double x) { return std::sqrt(x); }

double Floor(double x) { return std::floor(x); }

double SmoothStep(double edge0, double edge1, double x) {
    const double t = Clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

}  // namespace detmath
