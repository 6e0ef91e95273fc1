// Elementary functions built only from IEEE-exact operations (+ − × ÷, sqrt, floor, frexp,
// ldexp), so that every machine and every C library computes bit-identical images. The system
// library's sin, exp or pow may differ in the last bit between platforms and versions.
#pragma once

namespace detmath {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;

double Sin(double x);
double Cos(double x);
double Exp(double x);
double Log(double x);            // natural logarithm; x must be positive
double Pow(double base, double exponent);  // base must be positive (0 gives 0)
double Atan2(double y, double x);
double Sqrt(double x);
double Floor(double x);

inline double Clamp(double x, double low, double high) { return x < low ? low : (x > high ? high : x); }
inline double Mix(double a, double b, double t) { return a + (b - a) * t; }

// 0 below edge0, 1 above edge1, a smooth cubic between (edge0 may exceed edge1 to invert).
double SmoothStep(double edge0, double edge1, double x);

}  // namespace detmath
