#include "scene/gear_geometry.h"

#include "gfx/gl.h"
#include "gfx/sphere.h"
#include "scene/mesh_steps.h"
#include "scene/scene_setup.h"

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

void DrawGear(const GearShape& gear) {
    glBindTexture(GL_TEXTURE_2D, sceneTextures[metalTexture]);
    DiscRings rings;
    FillInnerRing(rings, gear.holeRadius, gearInnerTextureFactor);
    FillOuterRing(rings, gear.bodyRadius, gear.bodyRadius);
    EmitRingDisc(rings, gear.rim, FrontTexture::KeepBound);
}

// The bob sits at this fixed depth below the pivot, the length the scene gives the rod.
constexpr float bobDepth = 30.0f;

}  // namespace

void DrawMediumGear() { DrawGear(mediumGear); }
void DrawSmallGear() { DrawGear(smallGear); }
void DrawLargeGear() { DrawGear(largeGear); }

void DrawAxle(float radius, float length) { EmitCappedCylinder(radius, length / 2.0f, -length / 2.0f); }

void DrawPendulum(float radius, float length) {
    EmitCappedCylinder(radius, 0.0, -length);
    // The sphere is flattened along its polar axis and that axis turned onto y: a bob 10
    // across in x and z and 4 thick in y, centred on the rod's axis.
    glTranslatef(0.0f, 0.0f, -bobDepth);
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    glScalef(1.0f, 1.0f, 0.4f);
    DrawSphere(5.0f, 60, 30);
}
