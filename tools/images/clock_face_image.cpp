#include "tools/images/clock_face_image.h"

#include <algorithm>

#include "tools/images/deterministic_math.h"
#include "tools/images/gradient_noise.h"
#include "tools/images/numeral_typeface.h"
#include "tools/images/shape_fill.h"

namespace {

// Layout in pixels from the centre; the dial's edge is at 390.
constexpr double kCentre = kClockFaceSize / 2.0;
constexpr double kEdge = kClockFaceSize / 2.0;
constexpr double kBezelInner = 368.0;     // a brass bezel frames the dial from here out
constexpr double kTrackOuter = 354.0;      // the minute track's two lines
constexpr double kTrackInner = 336.0;
constexpr double kFiveMinuteInner = 318.0;  // the five-minute bars reach further in
constexpr double kNumeralRadius = 266.0;    // centres of the numerals
constexpr double kNumeralHeight = 70.0;
constexpr double kGuillocheRadius = 176.0;

const Colour kEnamelCentre = FromBytes(247, 243, 232);
const Colour kEnamelEdge = FromBytes(229, 221, 200);
const Colour kInk = FromBytes(24, 27, 38);
const Colour kBezelLight = FromBytes(236, 204, 136);
const Colour kBezelShade = FromBytes(132, 96, 44);

constexpr double kDegrees = detmath::kPi / 180.0;

// Image coordinates (y down) of the point at `radius` in the direction of `minutes` on the
// dial, 0 at the top and turning clockwise as the image is viewed.
Point OnDial(double minutes, double radius) {
    const double angle = minutes * 6.0 * kDegrees;
    return {kCentre + radius * detmath::Sin(angle), kCentre - radius * detmath::Cos(angle)};
}

Bounds Around(Point a, Point b, double margin) {
    return {std::min(a.x, b.x) - margin, std::min(a.y, b.y) - margin, std::max(a.x, b.x) + margin,
            std::max(a.y, b.y) + margin};
}

void PaintEnamel(ColourImage& image) {
    for (int y = 0; y < kClockFaceSize; ++y) {
        for (int x = 0; x < kClockFaceSize; ++x) {
            const double dx = x + 0.5 - kCentre;
            const double dy = y + 0.5 - kCentre;
            const double r = detmath::Sqrt(dx * dx + dy * dy) / kEdge;
            // Light falls off gently towards the rim, as on a slightly domed enamel dial.
            const double shade = detmath::SmoothStep(0.15, 1.05, r);
            Colour c = Lerp(kEnamelCentre, kEnamelEdge, shade * shade);
            // Fine grain, a little cloudy, so the surface does not look printed.
            const double grain = 0.006 * PeriodicFractalNoise2(x / 3.0, y / 3.0, 260, 260, 2, 0.5, 104)
                               + 0.008 * PeriodicFractalNoise2(x / 90.0, y / 90.0, 9, 9, 3, 0.5, 105);
            c = c + Colour{grain, grain, grain * 0.9};
            // An engine-turned centre: fine concentric ridges catching the light.
            const double px = r * kEdge;
            const double turned = detmath::SmoothStep(kGuillocheRadius, kGuillocheRadius - 8.0, px)
                                * detmath::SmoothStep(30.0, 44.0, px);
            c = c * (1.0 + 0.022 * turned * detmath::Sin(detmath::kTwoPi * px / 4.5));
            // The raised border throws a soft shadow onto the dial.
            c = c * (1.0 - 0.12 * detmath::SmoothStep(kBezelInner - 14.0, kBezelInner, px));
            image.At(x, y) = c;
        }
    }
}

// A polished brass bezel round the dial: bright along its crown, darker where it curves away,
// with fine turning marks; the corners outside the circle keep its outer colour, so far mip-map
// levels bring no stray light to the rim.
void PaintBezel(ColourImage& image) {
    const double width = kEdge - kBezelInner;
    for (int y = 0; y < kClockFaceSize; ++y) {
        for (int x = 0; x < kClockFaceSize; ++x) {
            const double dx = x + 0.5 - kCentre;
            const double dy = y + 0.5 - kCentre;
            const double r = detmath::Sqrt(dx * dx + dy * dy);
            const double coverage = CoverageFromDistance(kBezelInner - r);
            if (coverage <= 0.0) continue;
            const double across = detmath::Clamp((r - kBezelInner) / width, 0.0, 1.0);
            const double crown = detmath::Pow(detmath::Sin(detmath::kPi * (0.15 + 0.7 * across)), 2.0);
            const double turned = std::min(r, kEdge);
            const double turning = 1.0 + 0.03 * detmath::Sin(turned * 1.3) + 0.02 * detmath::Sin(turned * 0.55 + 1.0);
            const Colour bezel = Lerp(kBezelShade, kBezelLight, crown) * turning;
            image.BlendOver(x, y, bezel, coverage);
        }
    }
    // A dark groove where the dial meets the bezel.
    const Point centre{kCentre, kCentre};
    FillShape(image, {0, 0, kClockFaceSize, kClockFaceSize}, kInk, 0.8,
              [&](Point p) { return RingDistance(p, centre, kBezelInner, 1.6); });
}

void PaintMinuteTrack(ColourImage& image) {
    const Point centre{kCentre, kCentre};
    const Bounds whole{kCentre - kTrackOuter - 4, kCentre - kTrackOuter - 4, kCentre + kTrackOuter + 4,
                       kCentre + kTrackOuter + 4};
    FillShape(image, whole, kInk, 1.0, [&](Point p) { return RingDistance(p, centre, kTrackOuter, 2.0); });
    FillShape(image, whole, kInk, 1.0, [&](Point p) { return RingDistance(p, centre, kTrackInner, 1.3); });
    for (int minute = 0; minute < 60; ++minute) {
        const bool five = minute % 5 == 0;
        const Point from = OnDial(minute, five ? kFiveMinuteInner : kTrackInner);
        const Point to = OnDial(minute, kTrackOuter);
        const double width = five ? 6.5 : 2.3;
        FillShape(image, Around(from, to, width), kInk, 1.0, [&](Point p) { return BarDistance(p, from, to, width); });
    }
}

void PaintNumerals(ColourImage& image) {
    const double stem = 0.125;   // stroke widths in figure heights
    const double hairline = 0.095;
    for (int hour = 1; hour <= 12; ++hour) {
        const Glyph number = SetNumber(hour, 0.24);
        // Centre the figures' centre lines on the numeral circle; y turns downwards.
        const Point at = OnDial(hour * 5.0, kNumeralRadius);
        std::vector<StrokePath> placed;
        for (const StrokePath& path : number.strokes) {
            const std::vector<Point>& points = path.Points();
            auto place = [&](Point q) {
                return Point{at.x + (q.x - 0.5 * number.width) * kNumeralHeight, at.y - (q.y - 0.5) * kNumeralHeight};
            };
            StrokePath moved(place(points[0]));
            for (std::size_t i = 1; i < points.size(); ++i) moved.LineTo(place(points[i]));
            placed.push_back(moved);
        }
        const std::vector<StrokeSegment> segments = SegmentsOf(placed, stem * kNumeralHeight, hairline * kNumeralHeight);
        FillShape(image, StrokeBounds(segments), kInk, 1.0, [&](Point p) { return StrokeSignedDistance(segments, p); });
    }
}

void PaintCentre(ColourImage& image) {
    const Point centre{kCentre, kCentre};
    const Bounds area{kCentre - 40, kCentre - 40, kCentre + 40, kCentre + 40};
    FillShape(image, {kCentre - kGuillocheRadius - 8, kCentre - kGuillocheRadius - 8, kCentre + kGuillocheRadius + 8,
                      kCentre + kGuillocheRadius + 8},
              kInk, 0.85, [&](Point p) { return RingDistance(p, centre, kGuillocheRadius + 3.0, 1.2); });
    FillShape(image, area, kInk, 1.0, [&](Point p) { return RingDistance(p, centre, 26.0, 1.3); });
    FillShape(image, area, kInk, 1.0, [&](Point p) { return RingDistance(p, centre, 0.0, 2 * 13.0); });
}

}  // namespace

Rgb8Image MakeClockFaceImage() {
    ColourImage image(kClockFaceSize, kClockFaceSize);
    PaintEnamel(image);
    PaintMinuteTrack(image);
    PaintNumerals(image);
    PaintCentre(image);
    PaintBezel(image);
    return QuantiseImage(image, 1040);
}
