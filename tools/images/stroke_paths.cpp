#include "tools/images/stroke_paths.h"

#include <algorithm>

#include "tools/images/deterministic_math.h"

namespace {

constexpr int kCurvePieces = 48;
constexpr double kDegrees = detmath::kPi / 180.0;

}  // namespace

StrokePath& StrokePath::LineTo(Point p) {
    points_.push_back(p);
    return *this;
}

StrokePath& StrokePath::CurveTo(Point c1, Point c2, Point p) {
    const Point p0 = points_.back();
    for (int i = 1; i <= kCurvePieces; ++i) {
        const double t = static_cast<double>(i) / kCurvePieces;
        const double s = 1.0 - t;
        points_.push_back(p0 * (s * s * s) + c1 * (3.0 * s * s * t) + c2 * (3.0 * s * t * t) + p * (t * t * t));
    }
    return *this;
}

StrokePath& StrokePath::ArcAround(Point centre, double rx, double ry, double startDegrees, double sweepDegrees) {
    const int pieces = std::max(4, static_cast<int>(kCurvePieces * (sweepDegrees < 0 ? -sweepDegrees : sweepDegrees) / 180.0));
    for (int i = 0; i <= pieces; ++i) {
        const double angle = (startDegrees + sweepDegrees * i / pieces) * kDegrees;
        points_.push_back({centre.x + rx * detmath::Cos(angle), centre.y + ry * detmath::Sin(angle)});
    }
    return *this;
}

namespace {

double Length(Point d) { return detmath::Sqrt(d.x * d.x + d.y * d.y); }

Point Unit(Point d) {
    const double length = Length(d);
    return length > 0.0 ? d * (1.0 / length) : Point{0.0, 0.0};
}

}  // namespace

std::vector<StrokeSegment> SegmentsOf(const std::vector<StrokePath>& paths, double verticalWidth, double horizontalWidth) {
    const double reach = std::max(verticalWidth, horizontalWidth);
    std::vector<StrokeSegment> segments;
    for (const StrokePath& path : paths) {
        const std::vector<Point>& points = path.Points();
        if (points.size() == 1) {
            StrokeSegment dot;
            dot.a = dot.b = points[0];
            dot.width = verticalWidth;
            segments.push_back(dot);
            continue;
        }
        const std::size_t n = points.size();
        const bool closed = n > 2 && Length(points.front() - points.back()) < 1e-9 * (1.0 + reach);
        const Point startOutward = Unit(points[0] - points[1]);
        const Point endOutward = Unit(points[n - 1] - points[n - 2]);
        // Arc length from the start to each point, to know which pieces lie near an end.
        std::vector<double> along(n, 0.0);
        for (std::size_t i = 1; i < n; ++i) along[i] = along[i - 1] + Length(points[i] - points[i - 1]);
        for (std::size_t i = 1; i < n; ++i) {
            const Point d = points[i] - points[i - 1];
            const double length = Length(d);
            const double upright = length > 0.0 ? (d.y < 0 ? -d.y : d.y) / length : 1.0;
            StrokeSegment segment;
            segment.a = points[i - 1];
            segment.b = points[i];
            segment.width = detmath::Mix(horizontalWidth, verticalWidth, upright);
            if (!closed) {
                segment.cutStart = along[i - 1] < reach;
                segment.startAt = points[0];
                segment.startOutward = startOutward;
                segment.cutEnd = along[n - 1] - along[i] < reach;
                segment.endAt = points[n - 1];
                segment.endOutward = endOutward;
            }
            segments.push_back(segment);
        }
    }
    return segments;
}

double DistanceToSegment(Point p, Point a, Point b) {
    const Point ab = b - a;
    const Point ap = p - a;
    const double lengthSquared = ab.x * ab.x + ab.y * ab.y;
    double t = lengthSquared > 0.0 ? (ap.x * ab.x + ap.y * ab.y) / lengthSquared : 0.0;
    t = detmath::Clamp(t, 0.0, 1.0);
    const Point nearest = a + ab * t;
    const double dx = p.x - nearest.x;
    const double dy = p.y - nearest.y;
    return detmath::Sqrt(dx * dx + dy * dy);
}

namespace {

double SegmentSignedDistance(const StrokeSegment& s, Point p) {
    double distance = DistanceToSegment(p, s.a, s.b) - 0.5 * s.width;
    if (s.cutStart) {
        const Point q = p - s.startAt;
        distance = std::max(distance, q.x * s.startOutward.x + q.y * s.startOutward.y);
    }
    if (s.cutEnd) {
        const Point q = p - s.endAt;
        distance = std::max(distance, q.x * s.endOutward.x + q.y * s.endOutward.y);
    }
    return distance;
}

}  // namespace

double StrokeSignedDistance(const std::vector<StrokeSegment>& segments, Point p) {
    double best = 1e300;
    for (const StrokeSegment& s : segments) best = std::min(best, SegmentSignedDistance(s, p));
    return best;
}

Bounds StrokeBounds(const std::vector<StrokeSegment>& segments) {
    Bounds bounds{1e300, 1e300, -1e300, -1e300};
    for (const StrokeSegment& s : segments) {
        const double h = 0.5 * s.width;
        bounds.minX = std::min({bounds.minX, s.a.x - h, s.b.x - h});
        bounds.minY = std::min({bounds.minY, s.a.y - h, s.b.y - h});
        bounds.maxX = std::max({bounds.maxX, s.a.x + h, s.b.x + h});
        bounds.maxY = std::max({bounds.maxY, s.a.y + h, s.b.y + h});
    }
    return bounds;
}
