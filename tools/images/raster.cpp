#include "tools/images/raster.h"

#include "tools/images/deterministic_math.h"
#include "tools/images/pseudo_random.h"

ColourImage::ColourImage(int width, int height, Colour fill)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, fill) {}

void ColourImage::BlendOver(int x, int y, Colour colour, double alpha) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || alpha <= 0.0) return;
    Colour& pixel = At(x, y);
    pixel = Lerp(pixel, colour, detmath::Clamp(alpha, 0.0, 1.0));
}

uint8_t QuantiseComponent(double value, double dither) {
    const double scaled = detmath::Floor(value * 255.0 + 0.5 + dither);
    return static_cast<uint8_t>(detmath::Clamp(scaled, 0.0, 255.0));
}

Rgb8Image QuantiseImage(const ColourImage& image, uint64_t ditherSeed) {
    Rgb8Image out;
    out.width = image.Width();
    out.height = image.Height();
    out.rgb.resize(static_cast<std::size_t>(out.width) * out.height * 3);
    std::size_t i = 0;
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            // Triangular noise of one step's width: no visible pattern, no change on average.
            const double dither = ditherSeed == 0 ? 0.0
                                                  : HashUnit(x, y, 0, ditherSeed) + HashUnit(x, y, 1, ditherSeed) - 1.0;
            const Colour& c = image.At(x, y);
            out.rgb[i++] = QuantiseComponent(c.r, dither);
            out.rgb[i++] = QuantiseComponent(c.g, dither);
            out.rgb[i++] = QuantiseComponent(c.b, dither);
        }
    }
    return out;
}

double CoverageFromDistance(double signedDistance) { return detmath::Clamp(0.5 - signedDistance, 0.0, 1.0); }
