#include "scene/mesh_steps.h"

#include <cmath>

#include "gfx/gl.h"

namespace {

constexpr MeshTexCoord centreTex{0.5f, 0.5f};

float TexFromUnit(double c) { return static_cast<float>(0.5 + 0.5 * c); }

MeshPoint Front(const RingPoint& p) { return {p.x, p.y, 1.0}; }
MeshPoint Back(const RingPoint& p) { return {p.x, p.y, -1.0}; }

void BeginWhiteTriangles() {
    glBegin(GL_TRIANGLES);
    glColor3f(1.0f, 1.0f, 1.0f);
}

void EmitFrontFace(const DiscRings& rings) {
    BeginWhiteTriangles();
    for (int k = 0; k < outerRingPoints - 1; ++k) {
        const int j = k / 2;
        const RingPoint& o0 = rings.outer[k];
        const RingPoint& o1 = rings.outer[k + 1];
        const RingPoint& i0 = rings.inner[j];
        const RingPoint& i1 = rings.inner[j + 1];
        EmitTriangle(Front(i0), Front(o0), Front(o1), i0.tex, o0.tex, o1.tex);
        EmitTriangle(Front(i1), Front(i0), Front(o1), i1.tex, i0.tex, o1.tex);
    }
    glEnd();
}

// Walks the ring the other way so that the triangles face -z; the last step has no inner
// point before the first one and issues a single triangle.
void EmitBackFace(const DiscRings& rings) {
    BeginWhiteTriangles();
    for (int k = outerRingPoints - 1; k >= 1; --k) {
        const int j = k / 2;
        const RingPoint& o1 = rings.outer[k];
        const RingPoint& o0 = rings.outer[k - 1];
        const RingPoint& i1 = rings.inner[j];
        EmitTriangle(Back(i1), Back(o1), Back(o0), i1.tex, o1.tex, o0.tex);
        if (k > 1) {
            const RingPoint& i0 = rings.inner[j - 1];
            EmitTriangle(Back(i0), Back(i1), Back(o0), i0.tex, i1.tex, o0.tex);
        }
    }
    glEnd();
}

void EmitHoleWall(const DiscRings& rings) {
    constexpr MeshTexCoord frontEdge{0.0f, 0.0f};
    constexpr MeshTexCoord backEdge{0.0f, 0.5f};
    BeginWhiteTriangles();
    for (int j = 0; j < innerRingPoints - 1; ++j) {
        const RingPoint& a = rings.inner[j];
        const RingPoint& b = rings.inner[j + 1];
        EmitTriangle(Front(a), Front(b), Back(a), frontEdge, frontEdge, backEdge);
        EmitTriangle(Back(b), Back(a), Front(b), backEdge, backEdge, frontEdge);
    }
    glEnd();
}

void EmitOuterWall(const DiscRings& rings, const RimRule& rim) {
    BeginWhiteTriangles();
    for (int i = 0; i < outerRingPoints - 1; ++i) {
        const int residue = i % rim.period;
        if (residue < rim.rimSegments) {
            EmitRimSegment(rings.outer[i], rings.outer[i + 1]);
        } else if (residue == rim.period - 1) {
            const double theta = outerRingStepDegrees * i;
            EmitGearTooth(rings.outer[i + rim.toothBaseStart], rings.outer[i + rim.toothBaseEnd], rim.toothTipRadius,
                          theta + rim.toothTipStartDegrees, theta + rim.toothTipEndDegrees);
        }
    }
    glEnd();
}

}  // namespace

void FillOuterRing(DiscRings& rings, double radiusX, double radiusY) {
    for (int k = 0; k < outerRingPoints; ++k) {
        // The 360-degree point is computed like every other, not copied from the first.
        const double theta = outerRingStepDegrees * k * degreeFactor;
        const double c = std::cos(theta);
        const double s = std::sin(theta);
        rings.outer[k] = {radiusX * c, radiusY * s, {TexFromUnit(c), TexFromUnit(s)}};
    }
}

void FillInnerRing(DiscRings& rings, double radius, double textureFactor) {
    for (int j = 0; j < innerRingPoints; ++j) {
        const double phi = innerRingStepDegrees * j * degreeFactor;
        const double c = std::cos(phi);
        const double s = std::sin(phi);
        rings.inner[j] = {radius * c,
                          radius * s,
                          {static_cast<float>(0.5 + textureFactor * c), static_cast<float>(0.5 + textureFactor * s)}};
    }
}

MeshPoint FacetNormal(const MeshPoint& p0, const MeshPoint& p1, const MeshPoint& p2) {
    const double ax = p0.x - p1.x, ay = p0.y - p1.y, az = p0.z - p1.z;
    const double bx = p1.x - p2.x, by = p1.y - p2.y, bz = p1.z - p2.z;
    const MeshPoint n{ay * bz - az * by, az * bx - ax * bz, ax * by - ay * bx};
    const double length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    // A degenerate triangle covers no pixel; a zero normal is better than NaNs in a list.
    if (length == 0.0) return n;
    return {n.x / length, n.y / length, n.z / length};
}

void EmitTriangle(const MeshPoint& p0, const MeshPoint& p1, const MeshPoint& p2, MeshTexCoord t0, MeshTexCoord t1,
                  MeshTexCoord t2) {
    const MeshPoint n = FacetNormal(p0, p1, p2);
    const double normal[3] = {n.x, n.y, n.z};
    glNormal3dv(normal);

    const double v0[3] = {p0.x, p0.y, p0.z};
    const double v1[3] = {p1.x, p1.y, p1.z};
    const double v2[3] = {p2.x, p2.y, p2.z};
    glTexCoord2f(t0.u, t0.v);
    glVertex3dv(v0);
    glTexCoord2f(t1.u, t1.v);
    glVertex3dv(v1);
    glTexCoord2f(t2.u, t2.v);
    glVertex3dv(v2);
}

void EmitRimSegment(const RingPoint& a, const RingPoint& b) {
    EmitTriangle(Front(b), Front(a), Back(a), {0.0f, 0.0f}, {0.3f, 0.0f}, {0.3f, 0.3f});
    EmitTriangle(Back(a), Back(b), Front(b), {0.0f, 0.0f}, {0.3f, 0.3f}, {0.0f, 0.3f});
}

void EmitGearTooth(const RingPoint& b0, const RingPoint& b1, double tipRadius, double tipStartDegrees,
                   double tipEndDegrees) {
    const double alpha0 = tipStartDegrees * degreeFactor;
    const double alpha1 = tipEndDegrees * degreeFactor;
    const RingPoint t0{tipRadius * std::cos(alpha0), tipRadius * std::sin(alpha0), {}};
    const RingPoint t1{tipRadius * std::cos(alpha1), tipRadius * std::sin(alpha1), {}};
    constexpr MeshTexCoord c00{0.0f, 0.0f}, c30{0.3f, 0.0f}, c33{0.3f, 0.3f}, c03{0.0f, 0.3f};

    // Tip face.
    EmitTriangle(Front(t1), Front(t0), Back(t0), c00, c30, c33);
    EmitTriangle(Back(t0), Back(t1), Front(t1), c00, c33, c03);
    // Front face.
    EmitTriangle(Front(t0), Front(t1), Front(b1), c00, c30, c33);
    EmitTriangle(Front(b1), Front(b0), Front(t0), c00, c33, c03);
    // Back face.
    EmitTriangle(Back(t1), Back(t0), Back(b1), c00, c30, c33);
    EmitTriangle(Back(b0), Back(b1), Back(t0), c00, c33, c03);
    // Flank on the earlier side.
    EmitTriangle(Front(b0), Back(b0), Front(t0), c00, c30, c03);
    EmitTriangle(Back(t0), Front(t0), Back(b0), c33, c03, c30);
    // Flank on the later side.
    EmitTriangle(Back(b1), Front(b1), Back(t1), c00, c03, c33);
    EmitTriangle(Front(t1), Back(t1), Front(b1), c30, c33, c03);
}

void EmitRingDisc(const DiscRings& rings, const RimRule& rim, FrontTexture frontTexture) {
    EmitFrontFace(rings);
    if (frontTexture == FrontTexture::UnbindAfterFront) glBindTexture(GL_TEXTURE_2D, 0);
    EmitBackFace(rings);
    EmitHoleWall(rings);
    EmitOuterWall(rings, rim);
}

void EmitCappedCylinder(double radius, double zTop, double zBottom) {
    RingPoint ring[outerRingPoints];
    for (int i = 0; i < outerRingPoints; ++i) {
        const double theta = outerRingStepDegrees * i * degreeFactor;
        const double c = std::cos(theta);
        const double s = std::sin(theta);
        ring[i] = {radius * c, radius * s, {TexFromUnit(c), TexFromUnit(s)}};
    }

    // The texture wraps once around the side, u falling from 1 at 0 degrees to 0 at 360, with
    // v = 0 along the top edge; u is stepped in single precision.
    constexpr float uStep = 0.008333333f;
    constexpr float segmentWidth = 1.0f / 120.0f;
    glBegin(GL_TRIANGLES);
    for (int i = 0; i < outerRingPoints - 1; ++i) {
        const float s = static_cast<float>(i) * uStep;
        const float u0 = 1.0f - s;
        const float u1 = 1.0f - (s + segmentWidth);
        const RingPoint& a = ring[i];
        const RingPoint& b = ring[i + 1];
        const MeshPoint aTop{a.x, a.y, zTop}, aBottom{a.x, a.y, zBottom};
        const MeshPoint bTop{b.x, b.y, zTop}, bBottom{b.x, b.y, zBottom};
        EmitTriangle(aTop, aBottom, bTop, {u0, 0.0f}, {u0, 1.0f}, {u1, 0.0f});
        EmitTriangle(aBottom, bBottom, bTop, {u0, 1.0f}, {u1, 1.0f}, {u1, 0.0f});
    }
    glEnd();

    // Each cap runs counter-clockwise seen from outside: ascending angle on top, descending
    // below, so back-face culling keeps both.
    const double up[3] = {0.0, 0.0, 1.0};
    glBegin(GL_TRIANGLE_FAN);
    glNormal3dv(up);
    glTexCoord2f(centreTex.u, centreTex.v);
    glVertex3d(0.0, 0.0, zTop);
    for (int i = 0; i < outerRingPoints; ++i) {
        glTexCoord2f(ring[i].tex.u, ring[i].tex.v);
        glVertex3d(ring[i].x, ring[i].y, zTop);
    }
    glEnd();

    const double down[3] = {0.0, 0.0, -1.0};
    glBegin(GL_TRIANGLE_FAN);
    glNormal3dv(down);
    glTexCoord2f(centreTex.u, centreTex.v);
    glVertex3d(0.0, 0.0, zBottom);
    for (int i = outerRingPoints - 1; i >= 0; --i) {
        glTexCoord2f(ring[i].tex.u, ring[i].tex.v);
        glVertex3d(ring[i].x, ring[i].y, zBottom);
    }
    glEnd();
}
