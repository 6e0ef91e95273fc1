// Geometry questions the command-stream tests ask of recorded meshes, worked out here from
// first principles rather than with the routines under test.
#pragma once

#include <array>
#include <vector>

#include "tests/support/gl_recorder.h"

// Distance from the z axis and angle about it, in degrees from 0 up to 360.
double RadiusOf(const GlPoint& p);
double AngleOf(const GlPoint& p);

// Whether the vertices' normal is a unit vector pointing to the side from which the triangle
// runs counter-clockwise (the side OpenGL's default front face shows).
bool NormalAgreesWithWinding(const std::array<GlVertex, 3>& triangle);

// The triangle's winding normal (p1 - p0) x (p2 - p0), not normalised.
GlPoint WindingNormal(const GlTriangle& triangle);

double Dot(const GlPoint& a, const GlPoint& b);
GlPoint Centroid(const GlTriangle& triangle);

// The triangles of every block, in stream order.
std::vector<std::array<GlVertex, 3>> AllTriangles(const std::vector<GlPrimitive>& primitives);

// Whether point (x, y) lies inside or on the xy projection of the triangle.
bool CoversPoint(const GlTriangle& triangle, double x, double y);

// Replays the matrix commands of a stream (push, pop, identity, translate, rotate, scale,
// multiply) on the modelview matrix that starts as the identity.
class MatrixReplay {
public:
    explicit MatrixReplay(const std::vector<GlCall>& calls);
    // The matrix in force when call `index` is issued, applied to p.
    GlPoint Place(size_t index, const GlPoint& p) const;
    // Every vertex of the stream (glVertex2/3 in any form) placed by the matrix of its call.
    std::vector<GlPoint> PlacedVertices() const;
    // Depth of the push/pop stack after the last call.
    int FinalDepth() const { return finalDepth_; }

private:
    using Matrix = std::array<double, 16>;  // column-major, as OpenGL keeps it
    const std::vector<GlCall>& calls_;
    std::vector<Matrix> before_;  // the matrix in force at each call
    int finalDepth_ = 0;
};
