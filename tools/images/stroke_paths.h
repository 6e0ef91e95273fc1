// Centre lines of strokes, flattened to short straight pieces, and the distance from a point
// to them: the numerals and the snowflake are drawn as strokes of a width around such lines.
#pragma once

#include <vector>

struct Point {
    double x = 0.0, y = 0.0;
};

inline Point operator+(Point a, Point b) { return {a.x + b.x, a.y + b.y}; }
inline Point operator-(Point a, Point b) { return {a.x - b.x, a.y - b.y}; }
inline Point operator*(Point a, double s) { return {a.x * s, a.y * s}; }

// One continuous centre line.
class StrokePath {
public:
    explicit StrokePath(Point start) : points_{start} {}

    StrokePath& LineTo(Point p);
    // Cubic Bézier from the current point through control points c1 and c2 to p.
    StrokePath& CurveTo(Point c1, Point c2, Point p);
    // Elliptical arc about `centre` with radii rx, ry from angle `startDegrees`, turning by
    // `sweepDegrees` (positive counter-clockwise, y up); a straight piece joins the current
    // point to the arc's start.
    StrokePath& ArcAround(Point centre, double rx, double ry, double startDegrees, double sweepDegrees);

    const std::vector<Point>& Points() const { return points_; }

private:
    std::vector<Point> points_;
};

// A straight piece of centre line with the width of the stroke along it. Joins inside a path
// are round; where a path starts or ends the stroke is cut square across.
struct StrokeSegment {
    Point a, b;
    double width = 1.0;
    // Near an end of its path a piece is cut by the plane across that end: points beyond
    // `cutAt` in the direction `cutOutward` are outside.
    bool cutStart = false, cutEnd = false;
    Point startAt, startOutward, endAt, endOutward;
};

struct Bounds {
    double minX, minY, maxX, maxY;
};

// Widths follow the direction of each piece: `verticalWidth` where it runs up and down,
// `horizontalWidth` where it runs across, as a broad pen leaves them.
std::vector<StrokeSegment> SegmentsOf(const std::vector<StrokePath>& paths, double verticalWidth, double horizontalWidth);

// Signed distance from p to the union of the strokes (negative inside).
double StrokeSignedDistance(const std::vector<StrokeSegment>& segments, Point p);

// Bounds of the strokes, widths included.
Bounds StrokeBounds(const std::vector<StrokeSegment>& segments);

// Distance from p to the segment a–b.
double DistanceToSegment(Point p, Point a, Point b);
