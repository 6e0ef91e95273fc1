#include "scene/gear_geometry.h"

#include <algorithm>
#include <cmath>

#include "gfx/gl.h"
#include "gfx/sphere.h"
#include "scene/mesh_steps.h"

namespace {

struct GearShape {
    double holeRadius;
    double bodyRadius;
    RimRule rim;
};

// Within each tooth pitch the plain rim segments come first, then the open segments, then the
// tooth. On the medium and small gears the 2-degree tip starts over the middle of its base; on
// the large gear it is the middle third of the base.
constexpr GearShape mediumGear{1.0, 5.0, {4, 2, -1, 1, 0.0, 2.0, 7.0}};
constexpr GearShape smallGear{0.5, 2.5, {8, 4, -3, 1, -3.0, -1.0, 4.5}};
constexpr GearShape largeGear{2.0, 10.0, {2, 1, 0, 1, 1.0, 2.0, 12.0}};

// The metal texture maps once across each face; the hole keeps a tenth of it.
constexpr double gearInnerTextureFactor = 0.1;

void DrawGear(const GearShape& gear, uint32_t metal) {
    glBindTexture(GL_TEXTURE_2D, metal);
    DiscRings rings;
    FillInnerRing(rings, gear.holeRadius, gearInnerTextureFactor);
    FillOuterRing(rings, gear.bodyRadius, gear.bodyRadius);
    EmitRingDisc(rings, gear.rim, FrontTexture::KeepBound);
}

// The bob sits at this fixed depth below the pivot, the length the scene gives the rod.
constexpr float bobDepth = 30.0f;
constexpr float bobRadius = 5.0f;
constexpr float bobFlattening = 0.4f;

// Room for rounding in the transforms and for what the outlines above leave out.
BoundingSphere WithRoom(double x, double y, double z, double radius) { return {x, y, z, radius * 1.05 + 0.5}; }

// Gears lie between z = -1 and +1; the shaft is centred on the origin.
BoundingSphere GearWithAxleBounds(const GearShape& gear, float axleRadius, float axleLength) {
    const double across = std::max({gear.bodyRadius, gear.rim.toothTipRadius, static_cast<double>(axleRadius)});
    const double along = std::max(1.0, static_cast<double>(axleLength) / 2.0);
    return WithRoom(0.0, 0.0, 0.0, std::hypot(across, along));
}

}  // namespace

void DrawMediumGear(uint32_t metal) { DrawGear(mediumGear, metal); }
void DrawSmallGear(uint32_t metal) { DrawGear(smallGear, metal); }
void DrawLargeGear(uint32_t metal) { DrawGear(largeGear, metal); }

void DrawAxle(float radius, float length) { EmitCappedCylinder(radius, length / 2.0f, -length / 2.0f); }

void DrawPendulum(float radius, float length) {
    EmitCappedCylinder(radius, 0.0, -length);
    // The sphere is flattened along its polar axis and that axis turned onto y: a bob 10
    // across in x and z and 4 thick in y, centred on the rod's axis.
    glTranslatef(0.0f, 0.0f, -bobDepth);
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    glScalef(1.0f, 1.0f, bobFlattening);
    DrawSphere(bobRadius, 60, 30);
}

BoundingSphere MediumGearWithAxleBounds(float axleRadius, float axleLength) {
    return GearWithAxleBounds(mediumGear, axleRadius, axleLength);
}
BoundingSphere SmallGearWithAxleBounds(float axleRadius, float axleLength) {
    return GearWithAxleBounds(smallGear, axleRadius, axleLength);
}
BoundingSphere LargeGearWithAxleBounds(float axleRadius, float axleLength) {
    return GearWithAxleBounds(largeGear, axleRadius, axleLength);
}

// The rod runs from the origin down to -length; the bob, flattened along y, spans bobDepth
// plus and minus its radius.
BoundingSphere PendulumBounds(float radius, float length) {
    const double across = std::max(radius, bobRadius);
    const double thick = std::max(radius, bobRadius * bobFlattening);
    const double bottom = std::max(length, bobDepth + bobRadius);
    return WithRoom(0.0, 0.0, -bottom / 2.0, std::sqrt(across * across + thick * thick + bottom * bottom / 4.0));
}
