#include "tools/images/snowflake_image.h"

#include <algorithm>
#include <vector>

#include "tools/images/deterministic_math.h"
#include "tools/images/stroke_paths.h"

namespace {

constexpr double kCentre = kSnowflakeSize / 2.0;
constexpr double kDegrees = detmath::kPi / 180.0;

// Edges of the crystal take a faint blue, its thick middle parts stay white.
const Colour kIce{0.80, 0.88, 1.00};
const Colour kSnow{1.00, 1.00, 1.00};

Point Polar(double radius, double degrees) {
    return {radius * detmath::Cos(degrees * kDegrees), radius * detmath::Sin(degrees * kDegrees)};
}

// One arm along +x, mirror-symmetric about the x axis: a tapering spine with side branches at
// ±60° (the angles of the ice lattice) that carry twigs of their own.
std::vector<StrokeSegment> ArmSegments() {
    std::vector<StrokeSegment> segments;
    auto add = [&](Point a, Point b, double width) {
        StrokeSegment s;
        s.a = a;
        s.b = b;
        s.width = width;
        segments.push_back(s);
    };
    // The spine, thinning in steps towards its tip.
    add({0, 0}, {120, 0}, 13.0);
    add({120, 0}, {190, 0}, 10.0);
    add({190, 0}, {226, 0}, 7.0);
    // A small plate at the tip.
    add({226, 0}, Point{226, 0} + Polar(9, 120), 5.0);
    add({226, 0}, Point{226, 0} + Polar(9, -120), 5.0);

    struct Branch {
        double at, length, width;
    };
    const Branch branches[] = {{70, 40, 8.0}, {106, 60, 7.5}, {142, 50, 7.0}, {176, 34, 6.0}, {204, 18, 5.0}};
    for (const Branch& b : branches) {
        for (const double side : {60.0, -60.0}) {
            const Point root{b.at, 0};
            const Point tip = root + Polar(b.length, side);
            add(root, tip, b.width);
            // Twigs along the branch: one parallel to the spine, one turned back across.
            for (const double t : {0.45, 0.75}) {
                if (b.length * (1.0 - t) < 10.0) continue;
                const Point on = root + Polar(b.length * t, side);
                const double twig = b.length * (1.0 - t) * 0.55;
                add(on, on + Polar(twig, 0.0), b.width * 0.7);
                add(on, on + Polar(twig, side * 2.0), b.width * 0.7);
            }
        }
    }
    // An inner hexagon joins the arms near the heart.
    add(Polar(42, 0), Polar(42, 60), 5.0);
    add(Polar(42, 0), Polar(42, -60), 5.0);
    return segments;
}

// Signed distance to the whole crystal: the arm nearest in angle and its two neighbours are
// enough, as arms two steps apart never reach each other.
double CrystalDistance(const std::vector<StrokeSegment>& arm, Point p) {
    const double angle = detmath::Atan2(p.y, p.x) / kDegrees;
    const double nearest = 60.0 * detmath::Floor(angle / 60.0 + 0.5);
    double best = 1e300;
    for (const double turn : {nearest - 60.0, nearest, nearest + 60.0}) {
        const double c = detmath::Cos(-turn * kDegrees);
        const double s = detmath::Sin(-turn * kDegrees);
        const Point local{c * p.x - s * p.y, s * p.x + c * p.y};
        best = std::min(best, StrokeSignedDistance(arm, local));
    }
    // A solid heart.
    return std::min(best, detmath::Sqrt(p.x * p.x + p.y * p.y) - 20.0);
}

// Keeps only the largest 8-connected opaque region: no stray specks, no isolated texels.
void KeepLargestShape(std::vector<uint8_t>& opaque, int size) {
    std::vector<int> label(opaque.size(), -1);
    std::vector<int> regionSizes;
    std::vector<int> stack;
    for (int start = 0; start < size * size; ++start) {
        if (!opaque[start] || label[start] >= 0) continue;
        const int region = static_cast<int>(regionSizes.size());
        regionSizes.push_back(0);
        stack.push_back(start);
        label[start] = region;
        while (!stack.empty()) {
            const int at = stack.back();
            stack.pop_back();
            ++regionSizes[region];
            const int x = at % size, y = at / size;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= size || ny >= size) continue;
                    const int next = ny * size + nx;
                    if (opaque[next] && label[next] < 0) {
                        label[next] = region;
                        stack.push_back(next);
                    }
                }
            }
        }
    }
    if (regionSizes.empty()) return;
    const int largest = static_cast<int>(std::max_element(regionSizes.begin(), regionSizes.end()) - regionSizes.begin());
    for (std::size_t i = 0; i < opaque.size(); ++i) opaque[i] = label[i] == largest;
}

}  // namespace

Rgba8Image MakeSnowflakeImage() {
    const std::vector<StrokeSegment> arm = ArmSegments();
    const int size = kSnowflakeSize;
    std::vector<double> distance(static_cast<std::size_t>(size) * size);
    std::vector<uint8_t> opaque(distance.size());
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * size + x;
            // y up, so the crystal reads the same way in the file as on the screen.
            distance[i] = CrystalDistance(arm, {x + 0.5 - kCentre, kCentre - (y + 0.5)});
            opaque[i] = distance[i] < 0.0;
        }
    }
    KeepLargestShape(opaque, size);

    Rgba8Image image;
    image.width = size;
    image.height = size;
    image.rgba.resize(static_cast<std::size_t>(size) * size * 4);
    for (std::size_t i = 0; i < distance.size(); ++i) {
        // Transparent texels carry the edge colour too, so filtering brings no dark fringe.
        const Colour c = Lerp(kIce, kSnow, detmath::SmoothStep(0.0, 4.0, -distance[i]));
        image.rgba[i * 4 + 0] = QuantiseComponent(c.r, 0.0);
        image.rgba[i * 4 + 1] = QuantiseComponent(c.g, 0.0);
        image.rgba[i * 4 + 2] = QuantiseComponent(c.b, 0.0);
        image.rgba[i * 4 + 3] = opaque[i] ? 255 : 0;
    }
    return image;
}
