#include "tools/images/sky_images.h"

#include "tools/images/deterministic_math.h"

namespace {

// Star light is averaged over a grid of points inside each texel: a star smaller than a texel
// keeps its brightness wherever it falls.
constexpr int kStarSamples = 4;

// Linear light to display values: bright star cores fade smoothly into white instead of
// clipping, and the gamma of a display is applied.
Colour ToDisplay(Colour linear) {
    auto one = [](double c) { return detmath::Pow(1.0 - detmath::Exp(-c), 1.0 / 2.2); };
    return {one(linear.r), one(linear.g), one(linear.b)};
}

}  // namespace

Rgb8Image MakeSkyFaceImage(const NightSky& sky, int face) {
    ColourImage image(kSkyFaceSize, kSkyFaceSize);
    const double texel = 1.0 / kSkyFaceSize;
    for (int row = 0; row < kSkyFaceSize; ++row) {
        // The top row as viewed is the last row of the bitmap, texture coordinate v near 1.
        const double v = 1.0 - (row + 0.5) * texel;
        for (int column = 0; column < kSkyFaceSize; ++column) {
            const double u = (column + 0.5) * texel;
            const Direction centre = Normalised(SkyFacePoint(face, u, v));
            Colour light = sky.DiffuseLight(centre);
            if (sky.StarsNear(centre)) {
                Colour stars;
                for (int j = 0; j < kStarSamples; ++j) {
                    for (int i = 0; i < kStarSamples; ++i) {
                        const double su = u + ((i + 0.5) / kStarSamples - 0.5) * texel;
                        const double sv = v + ((j + 0.5) / kStarSamples - 0.5) * texel;
                        stars = stars + sky.StarLight(Normalised(SkyFacePoint(face, su, sv)));
                    }
                }
                light = light + stars * (1.0 / (kStarSamples * kStarSamples));
            }
            image.At(column, row) = ToDisplay(light);
        }
    }
    return QuantiseImage(image, 1050 + static_cast<uint64_t>(face));
}
