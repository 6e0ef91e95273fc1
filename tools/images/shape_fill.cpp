#include "tools/images/shape_fill.h"

#include <algorithm>

#include "tools/images/deterministic_math.h"

void FillShape(ColourImage& image, const Bounds& area, Colour colour, double opacity, const SignedDistance& shape) {
    const int x0 = std::max(0, static_cast<int>(detmath::Floor(area.minX)) - 1);
    const int y0 = std::max(0, static_cast<int>(detmath::Floor(area.minY)) - 1);
    const int x1 = std::min(image.Width() - 1, static_cast<int>(detmath::Floor(area.maxX)) + 1);
    const int y1 = std::min(image.Height() - 1, static_cast<int>(detmath::Floor(area.maxY)) + 1);
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const double coverage = CoverageFromDistance(shape({x + 0.5, y + 0.5}));
            if (coverage > 0.0) image.BlendOver(x, y, colour, coverage * opacity);
        }
    }
}

double RingDistance(Point p, Point centre, double radius, double width) {
    const double dx = p.x - centre.x;
    const double dy = p.y - centre.y;
    const double r = detmath::Sqrt(dx * dx + dy * dy);
    const double offset = r - radius;
    return (offset < 0 ? -offset : offset) - 0.5 * width;
}

double BarDistance(Point p, Point from, Point to, double width) {
    const Point axis = to - from;
    const double length = detmath::Sqrt(axis.x * axis.x + axis.y * axis.y);
    const Point along = axis * (1.0 / length);
    const Point rel = p - (from + to) * 0.5;
    // Distance to a box in the bar's own frame.
    double u = rel.x * along.x + rel.y * along.y;
    double v = -rel.x * along.y + rel.y * along.x;
    u = (u < 0 ? -u : u) - 0.5 * length;
    v = (v < 0 ? -v : v) - 0.5 * width;
    const double outsideU = std::max(u, 0.0);
    const double outsideV = std::max(v, 0.0);
    return detmath::Sqrt(outsideU * outsideU + outsideV * outsideV) + std::min(std::max(u, v), 0.0);
}
