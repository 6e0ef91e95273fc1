// The building blocks of the clock's procedural meshes: ring points, flat-shaded triangles,
// ring discs with their walls, gear teeth and capped cylinders. They only issue immediate-mode
// commands; the scene set-up records them into display lists.
//
// Every part is modelled around the z axis, between the planes z = +1 (front) and z = -1
// (back). Angles are in degrees on the outside and go through degreeFactor before cos and sin.
// Positions and normals are passed in double precision, texture coordinates in single.
#pragma once

#include <cstdint>

#include "gfx/vector3.h"

// 3.14159 / 180, not the exact pi / 180: the point at 360 degrees therefore lands a little
// short of the point at 0 degrees, and every mesh has that small seam.
constexpr double degreeFactor = 3.14159 / 180.0;

constexpr int outerRingPoints = 121;  // every 3 degrees, 0 to 360 inclusive
constexpr int innerRingPoints = 61;   // every 6 degrees, 0 to 360 inclusive
constexpr double outerRingStepDegrees = 3.0;
constexpr double innerRingStepDegrees = 6.0;

using MeshPoint = Vector3d;

struct MeshTexCoord {
    float u, v;
};

struct RingPoint {
    double x, y;
    MeshTexCoord tex;
};

// The two rings of a disc: outer[k] at 3k degrees, inner[j] at 6j degrees.
struct DiscRings {
    RingPoint outer[outerRingPoints];
    RingPoint inner[innerRingPoints];
};

// Outer ring on an ellipse of semi-axes radiusX, radiusY (a circle when they are equal); its
// texture maps the unit square once across the ring, whatever the radii.
void FillOuterRing(DiscRings& rings, double radiusX, double radiusY);

// Inner ring of the given radius; its texture coordinate is 0.5 + textureFactor * (cos, sin).
void FillInnerRing(DiscRings& rings, double radius, double textureFactor);

// The unit normal of the side from which p0, p1, p2 run counter-clockwise:
// normalize((p0 - p1) x (p1 - p2)). Zero for a degenerate triangle.
MeshPoint FacetNormal(const MeshPoint& p0, const MeshPoint& p1, const MeshPoint& p2);

// One flat-shaded triangle: the normal of the side from which p0, p1, p2 run
// counter-clockwise, then each texture coordinate and position. Inside glBegin(GL_TRIANGLES).
void EmitTriangle(const MeshPoint& p0, const MeshPoint& p1, const MeshPoint& p2, MeshTexCoord t0,
                  MeshTexCoord t1, MeshTexCoord t2);

// The outer wall between outer ring points a and b (b the later angle), facing outwards.
void EmitRimSegment(const RingPoint& a, const RingPoint& b);

// A gear tooth on the base b0..b1 (b0 the earlier angle) with its tip face between the tip
// angles tipStartDegrees and tipEndDegrees at tipRadius. Ten triangles, all facing outwards.
void EmitGearTooth(const RingPoint& b0, const RingPoint& b1, double tipRadius, double tipStartDegrees,
                   double tipEndDegrees);

// What the outer wall of a ring disc shows on segment i (from outer[i] to outer[i + 1]),
// repeating with `period`: residues below `rimSegments` are plain rim segments, residue
// period - 1 is a tooth (when `period` exceeds `rimSegments`), the rest stay open.
struct RimRule {
    int period;
    int rimSegments;
    int toothBaseStart;           // B0 = outer[i + toothBaseStart]
    int toothBaseEnd;             // B1 = outer[i + toothBaseEnd]
    double toothTipStartDegrees;  // T0 at 3i degrees plus this
    double toothTipEndDegrees;    // T1 at 3i degrees plus this
    double toothTipRadius;
};

// A closed rim with no teeth: the clock face and the hand hubs.
constexpr RimRule plainRim{1, 1, 0, 0, 0.0, 0.0, 0.0};

// Whether the front face's texture is released before the rest of the disc is drawn.
enum class FrontTexture { KeepBound, UnbindAfterFront };

// A flat ring between the inner and outer rings: front face, back face, hole wall and outer
// wall, each its own GL_TRIANGLES block that starts with a white colour. With
// UnbindAfterFront, texture object 0 is bound between the front and the back.
void EmitRingDisc(const DiscRings& rings, const RimRule& rim, FrontTexture frontTexture);

// A cylinder of radius `radius` around z from zBottom to zTop with both ends capped: the side
// as GL_TRIANGLES with the texture wrapped once around it, then the two caps as fans.
void EmitCappedCylinder(double radius, double zTop, double zBottom);
