// Images as the generator draws them: colours in floating point while drawing, bytes at the
// end. Row 0 is the top row as the image is viewed; the file writers turn rows as the formats
// require.
#pragma once

#include <cstdint>
#include <vector>

struct Colour {
    double r = 0.0, g = 0.0, b = 0.0;
};

inline Colour operator+(Colour a, Colour b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Colour operator-(Colour a, Colour b) { return {a.r - b.r, a.g - b.g, a.b - b.b}; }
inline Colour operator*(Colour a, double s) { return {a.r * s, a.g * s, a.b * s}; }
inline Colour Lerp(Colour a, Colour b, double t) { return a + (b - a) * t; }

// A colour given as 8-bit components, as designers write them.
inline Colour FromBytes(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }

class ColourImage {
public:
    ColourImage(int width, int height, Colour fill = {});

    int Width() const { return width_; }
    int Height() const { return height_; }
    Colour& At(int x, int y) { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
    const Colour& At(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }

    // Paints `colour` over the pixel with opacity `alpha` (0..1); outside pixels are ignored.
    void BlendOver(int x, int y, Colour colour, double alpha);

private:
    int width_;
    int height_;
    std::vector<Colour> pixels_;
};

struct Rgb8Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;  // r, g, b per pixel, top row first
};

struct Rgba8Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;  // r, g, b, a per pixel, top row first
};

// Components 0..1 to bytes. With a non-zero dither seed a small, fixed, per-pixel offset
// breaks the bands that 8 bits would otherwise show in slow, dark gradients.
Rgb8Image QuantiseImage(const ColourImage& image, uint64_t ditherSeed);
uint8_t QuantiseComponent(double value, double dither);

// Opacity of a pixel whose centre lies `signedDistance` pixels from a shape's edge (negative
// inside): a one-pixel ramp, the simplest filter that keeps edges smooth.
double CoverageFromDistance(double signedDistance);
