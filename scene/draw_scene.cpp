// The scene as one camera sees it: pendulum, hands, light, gears, dial and sky.
#include <cmath>

#include "gfx/gl.h"
#include "gfx/gl_capabilities.h"
#include "gfx/view_bounds.h"
#include "scene/clock_time.h"
#include "scene/draw_scene.h"
#include "scene/gear_geometry.h"
#include "scene/scene_setup.h"
#include "scene/sky_box_faces.h"

namespace {

struct Material {
    float ambient[4];
    float diffuse[4];
    float specular[4];
};

// Material colours have alpha 0, not 1.
constexpr Material kBrass = {{0.5f, 0.5f, 0.0f, 0.0f}, {0.5f, 0.5f, 0.0f, 0.0f}, {1.0f, 1.0f, 1.0f, 0.0f}};
constexpr Material kClockwork = {{1.0f, 1.0f, 1.0f, 0.0f}, {0.5f, 0.5f, 0.0f, 0.0f}, {1.0f, 1.0f, 1.0f, 0.0f}};
constexpr Material kBlack = {{0.0f, 0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f, 0.0f}};

void ApplyMaterial(const Material& material) {
    glMaterialfv(GL_FRONT, GL_AMBIENT, material.ambient);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, material.diffuse);
    glMaterialfv(GL_FRONT, GL_SPECULAR, material.specular);
    glMateriali(GL_FRONT, GL_SHININESS, 128);
}

// Selects a program for the lit pieces. Where it is missing (0, or no shader objects at all)
// the fixed-function pipeline lights them instead with the same lights and materials.
void UseLitProgram(uint32_t program) {
    if (glCapabilities.shaderObjects) glUseProgramObjectARB(program);
    if (program == 0 || !glCapabilities.shaderObjects) glEnable(GL_LIGHTING);
}

void UseNoProgram() {
    if (glCapabilities.shaderObjects) glUseProgramObjectARB(0);
}

// Angles are worked out in double precision and handed over in single precision.
float Degrees(double angle) { return static_cast<float>(angle); }

void NextPiece() {
    glPopMatrix();
    glPushMatrix();
}

struct GearPlacement {
    float x, y, z;
    bool turnedUp;  // 90 degrees about x before the turn about z
    double start;   // degrees
    double rate;    // multiples of gearAngle
    const uint32_t* gearList;
    const uint32_t* axleList;
    BoundingSphere bounds;  // of the gear and its shaft together
};

// Rates in inverse proportion to the tooth counts (30, 30, 30, 15, 60): neighbours mesh.
const GearPlacement kGears[5] = {
    {0.0f, 0.0f, -1.0f, false, 0.0, 2.0, &sceneObjects.mediumGearList, &sceneObjects.mediumAxleList,
     MediumGearWithAxleBounds(mediumAxleRadius, axleLength)},
    {0.0f, 12.0f, -1.0f, false, 0.0, -2.0, &sceneObjects.mediumGearList, &sceneObjects.mediumAxleList,
     MediumGearWithAxleBounds(mediumAxleRadius, axleLength)},
    {0.0f, 18.5f, 5.5f, true, 0.0, 2.0, &sceneObjects.mediumGearList, &sceneObjects.mediumAxleList,
     MediumGearWithAxleBounds(mediumAxleRadius, axleLength)},
    {9.5f, -0.3f, -1.0f, false, 5.0, -4.0, &sceneObjects.smallGearList, &sceneObjects.thinAxleList,
     SmallGearWithAxleBounds(thinAxleRadius, axleLength)},
    {-16.8f, -2.3f, -1.0f, false, 5.0, -1.0, &sceneObjects.largeGearList, &sceneObjects.thickAxleList,
     LargeGearWithAxleBounds(thickAxleRadius, axleLength)},
};

const BoundingSphere kPendulumBounds = PendulumBounds(pendulumRodRadius, pendulumRodLength);

// Whether a piece placed by `placement` on top of the camera's view can show at all. The gears
// stand behind the main camera and the pendulum behind or beside it, and most cube faces see
// neither; a list they cannot see is not called. The lists' only lasting effects are the current
// colour and texture, which the sky and every later piece set for themselves.
bool InView(const SceneCamera& camera, const Matrix4& placement, const BoundingSphere& bounds) {
    return !SphereOutsideView(camera.projection, MultiplyMatrices(camera.view, placement), bounds);
}

// The sky's lasting effects where it is not drawn again: lighting off, 2-D texturing on, no
// program, white, and the texture of the box's last face bound.
void LeaveSkyState() {
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    UseNoProgram();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, sceneObjects.sceneTextures[skyBoxFaces[skyBoxFaceCount - 1].textureIndex]);
}

void DrawHand(float depth, float fraction, uint32_t list) {
    glTranslatef(0.0f, 0.0f, depth);
    glRotatef(180.0f, 0.0f, 1.0f, 0.0f);  // the hand's +z faces the camera
    glRotatef(Degrees(-360.0 * fraction), 0.0f, 0.0f, 1.0f);
    glCallList(list);
    NextPiece();
}

}  // namespace

void DrawScene(bool forCubeMap, const SceneCamera& camera, bool skyCopiedIn) {
    if (!skyCopiedIn) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | (forCubeMap ? 0 : GL_STENCIL_BUFFER_BIT));
    }
    glPushMatrix();
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_CUBE_MAP);

    // The pendulum swings through 50 sin(t) degrees about its pivot at (0, 30, 20).
    const float swing = static_cast<float>(std::sin(clockTime.swingSeconds));
    glTranslatef(0.0f, 0.0f, 20.0f);
    glTranslatef(0.0f, 30.0f, 0.0f);
    glRotatef(270.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(Degrees(-50.0 * swing), 0.0f, 1.0f, 0.0f);
    ApplyMaterial(kBrass);
    UseLitProgram(sceneObjects.pixelLightingProgram);
    const Matrix4 pendulum = MultiplyMatrices(
        MultiplyMatrices(TranslationMatrix(0.0f, 30.0f, 20.0f), RotationMatrixDegrees(270.0f, 1.0f, 0.0f, 0.0f)),
        RotationMatrixDegrees(Degrees(-50.0 * swing), 0.0f, 1.0f, 0.0f));
    if (InView(camera, pendulum, kPendulumBounds)) glCallList(sceneObjects.pendulumList);
    ApplyMaterial(kClockwork);
    NextPiece();

    if (!forCubeMap) {
        ApplyMaterial(kBlack);
        DrawHand(39.9f, clockTime.hourFraction, sceneObjects.hourHandList);
        DrawHand(39.8f, clockTime.minuteFraction, sceneObjects.minuteHandList);
    }
    ApplyMaterial(kClockwork);

    // Light 0 hangs at the bob and swings with it.
    glTranslatef(0.0f, 0.0f, 20.0f);
    glTranslatef(0.0f, 30.0f, 0.0f);
    glRotatef(Degrees(50.0 * swing), 0.0f, 0.0f, 1.0f);
    glTranslatef(0.0f, -30.0f, 0.0f);
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    UseLitProgram(sceneObjects.litTexturedProgram);
    NextPiece();

    for (const GearPlacement& gear : kGears) {
        glTranslatef(gear.x, gear.y, gear.z);
        if (gear.turnedUp) glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
        const float turn = Degrees(gear.start + gear.rate * clockTime.gearAngle);
        glRotatef(turn, 0.0f, 0.0f, 1.0f);
        Matrix4 placement = TranslationMatrix(gear.x, gear.y, gear.z);
        if (gear.turnedUp) placement = MultiplyMatrices(placement, RotationMatrixDegrees(90.0f, 1.0f, 0.0f, 0.0f));
        placement = MultiplyMatrices(placement, RotationMatrixDegrees(turn, 0.0f, 0.0f, 1.0f));
        // The shaft shows the texture its gear binds: the two go together.
        if (InView(camera, placement, gear.bounds)) {
            glCallList(*gear.gearList);
            glCallList(*gear.axleList);
        }
        NextPiece();
    }

    if (!forCubeMap) {
        glTranslatef(domeCentre[0], domeCentre[1], domeCentre[2]);
        glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
        glScalef(1.0f, 1.0f, 0.1f);
        glCallList(sceneObjects.clockFaceList);
        NextPiece();
    }

    if (skyCopiedIn) {
        LeaveSkyState();
    } else {
        DrawSky();
    }
    glPopMatrix();
}

void DrawSky() {
    // Seen from inside its box: front faces culled, unlit, untinted (white, as the last gear or
    // the dial leaves the colour where they are drawn).
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    UseNoProgram();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glPushMatrix();
    glScalef(10000.0f, 10000.0f, 10000.0f);
    glCullFace(GL_FRONT);
    glCallList(sceneObjects.skyBoxList);
    glCullFace(GL_BACK);
    glPopMatrix();
}
