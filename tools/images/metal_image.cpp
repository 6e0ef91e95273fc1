#include "tools/images/metal_image.h"

#include <algorithm>

#include "tools/images/deterministic_math.h"
#include "tools/images/gradient_noise.h"
#include "tools/images/pseudo_random.h"
#include "tools/images/shape_fill.h"

namespace {

const Colour kBrass = FromBytes(184, 146, 78);
const Colour kBrassLight = FromBytes(222, 190, 120);
const Colour kTarnish = FromBytes(124, 94, 50);
const Colour kVerdigris = FromBytes(104, 124, 96);

// Periodic noise over the whole texture: `cells` lattice cells across, so the pattern wraps.
double Wrapped(int x, int y, int cellsX, int cellsY, int octaves, double gain, uint64_t seed) {
    return PeriodicFractalNoise2((x + 0.5) * cellsX / kMetalSize, (y + 0.5) * cellsY / kMetalSize, cellsX, cellsY, octaves,
                                 gain, seed);
}

void PaintBrushedBrass(ColourImage& image) {
    for (int y = 0; y < kMetalSize; ++y) {
        for (int x = 0; x < kMetalSize; ++x) {
            // Brushing leaves long streaks across and fine ones between them.
            const double streaks = 0.5 * Wrapped(x, y, 4, 256, 3, 0.5, 71) + 0.5 * Wrapped(x, y, 16, 512, 2, 0.6, 73);
            // Broad, soft variation of the polish.
            const double polish = Wrapped(x, y, 3, 3, 3, 0.5, 79);
            Colour c = Lerp(kBrass, kBrassLight, detmath::Clamp(0.35 + 0.5 * polish, 0.0, 1.0));
            c = c * (1.0 + 0.22 * streaks);

            // Tarnish gathers in clouds, with the odd green bloom where it is deepest.
            const double age = Wrapped(x, y, 4, 4, 5, 0.55, 83);
            const double tarnish = detmath::SmoothStep(-0.15, 0.6, age);
            c = Lerp(c, kTarnish * (1.0 + 0.22 * streaks), 0.5 * tarnish);
            const double bloom = detmath::SmoothStep(0.38, 0.6, age) * detmath::SmoothStep(0.1, 0.4, Wrapped(x, y, 8, 8, 3, 0.5, 89));
            c = Lerp(c, kVerdigris, 0.35 * bloom);
            // Fine mottling everywhere.
            c = c * (1.0 + 0.05 * Wrapped(x, y, 64, 64, 2, 0.5, 97));
            image.At(x, y) = c;
        }
    }
}

// Draws a shape and its copies one texture width or height away, so marks that cross an edge
// continue on the opposite side.
void FillWrapped(ColourImage& image, Bounds area, Colour colour, double opacity, const SignedDistance& shape) {
    for (int oy = -1; oy <= 1; ++oy) {
        for (int ox = -1; ox <= 1; ++ox) {
            const Point shift{ox * static_cast<double>(kMetalSize), oy * static_cast<double>(kMetalSize)};
            const Bounds moved{area.minX + shift.x, area.minY + shift.y, area.maxX + shift.x, area.maxY + shift.y};
            if (moved.maxX < 0 || moved.maxY < 0 || moved.minX > kMetalSize || moved.minY > kMetalSize) continue;
            FillShape(image, moved, colour, opacity, [&](Point p) { return shape(p - shift); });
        }
    }
}

void PaintScratches(ColourImage& image) {
    PseudoRandom random(0x5C7A7C4u);
    for (int i = 0; i < 70; ++i) {
        const Point from{random.NextRange(0, kMetalSize), random.NextRange(0, kMetalSize)};
        // Most scratches follow the brushing; a few run any way.
        const bool stray = random.NextUnit() < 0.12;
        const double angle = stray ? random.NextRange(0.0, detmath::kPi) : random.NextRange(-0.08, 0.08);
        const double length = random.NextRange(12.0, stray ? 70.0 : 160.0);
        const Point to = from + Point{detmath::Cos(angle), detmath::Sin(angle)} * length;
        const double width = random.NextRange(0.5, 1.1);
        const bool bright = random.NextUnit() < 0.65;
        const double opacity = random.NextRange(0.12, 0.4);
        const Bounds area{std::min(from.x, to.x) - 2, std::min(from.y, to.y) - 2, std::max(from.x, to.x) + 2,
                          std::max(from.y, to.y) + 2};
        FillWrapped(image, area, bright ? kBrassLight * 1.08 : kTarnish * 0.8, opacity,
                    [&](Point p) { return BarDistance(p, from, to, width); });
    }
}

void PaintPits(ColourImage& image) {
    PseudoRandom random(0x9175u);
    for (int i = 0; i < 160; ++i) {
        const Point at{random.NextRange(0, kMetalSize), random.NextRange(0, kMetalSize)};
        const double radius = random.NextRange(0.5, 1.3);
        const Bounds area{at.x - radius - 2, at.y - radius - 2, at.x + radius + 2, at.y + radius + 2};
        FillWrapped(image, area, kTarnish * 0.55, random.NextRange(0.2, 0.5),
                    [&](Point p) { return RingDistance(p, at, 0.0, 2.0 * radius); });
    }
}

}  // namespace

Rgb8Image MakeMetalImage() {
    ColourImage image(kMetalSize, kMetalSize);
    PaintBrushedBrass(image);
    PaintScratches(image);
    PaintPits(image);
    return QuantiseImage(image, 1070);
}
