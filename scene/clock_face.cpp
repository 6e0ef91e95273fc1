#include "scene/clock_face.h"

#include "gfx/gl.h"
#include "scene/mesh_steps.h"

namespace {

constexpr double holeRadius = 0.1;
constexpr double holeTextureFactor = 0.01;
constexpr double dialRadius = 5.0;
// The hub is an ellipse, taller than wide, before the hand's own scaling.
constexpr double hubRadiusX = 0.4;
constexpr double hubRadiusY = 0.5;

// The arrowhead's point sits tipOffset along the rod's axis (the rod runs down -z from the
// hub); the cone opens towards the hub over 2 units to tipRadius.
void DrawHand(GLUquadric* quadric, float rodRadius, float rodLength, float tipOffset, double tipRadius) {
    glPushMatrix();
    glScalef(1.0f, 1.0f, 0.05f);
    DiscRings hub;
    FillInnerRing(hub, holeRadius, holeTextureFactor);
    FillOuterRing(hub, hubRadiusX, hubRadiusY);
    EmitRingDisc(hub, plainRim, FrontTexture::UnbindAfterFront);
    glPopMatrix();

    // The quarter turn about x lays the rod's -z axis onto the hand's +y (twelve o'clock).
    glTranslatef(0.0f, 0.1f, 0.0f);
    glScalef(0.3f, 0.35f, 0.03f);
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    EmitCappedCylinder(rodRadius, 0.0, -rodLength);

    glTranslatef(0.0f, 0.0f, tipOffset);
    // Without a quadric there is nothing to draw the cone with; the hand goes without it.
    if (quadric) gluCylinder(quadric, 0.00001, tipRadius, 2.0, 25, 25);
}

}  // namespace

void DrawClockFace(uint32_t texture) {
    glBindTexture(GL_TEXTURE_2D, texture);
    DiscRings dial;
    FillInnerRing(dial, holeRadius, holeTextureFactor);
    FillOuterRing(dial, dialRadius, dialRadius);
    EmitRingDisc(dial, plainRim, FrontTexture::UnbindAfterFront);
}

void DrawHourHand(GLUquadric* quadric, float rodRadius, float rodLength) {
    DrawHand(quadric, rodRadius, rodLength, -11.5f, 2.0);
}

void DrawMinuteHand(GLUquadric* quadric, float rodRadius, float rodLength) {
    DrawHand(quadric, rodRadius, rodLength, -13.0f, 1.2);
}
