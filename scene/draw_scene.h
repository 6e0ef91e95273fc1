// The scene as one camera sees it: pendulum, hands, light, gears, dial and sky.
#pragma once

#include "gfx/matrix.h"

// The centre of the dial and of the glass dome over it, where the cube-map camera stands.
constexpr float domeCentre[3] = {0.0f, 0.0f, 40.0f};

// The camera a pass is drawn from: its projection and its view transform, which the caller has
// made the current matrices. Pieces are judged in or out of its view from these, so the frame
// asks the driver for no matrix.
struct SceneCamera {
    Matrix4 projection;
    Matrix4 view;
};

// Clears and draws the scene as camera sees it, and leaves the modelview matrix as it found it;
// without the dial and the hands when rendering a cube face. The snow is the caller's to draw.
// A view's clearing takes the window's stencil with its depth, since nothing uses that stencil
// and clearing depth alone would have to keep it. With skyCopiedIn (a cube face whose sky and
// starting depth the caller has just put in) nothing is cleared and the sky box is not drawn:
// the pieces come out as over the sky, which is farther than any of them and any flake. OpenGL
// is left as drawing the sky box would leave it.
void DrawScene(bool forCubeMap, const SceneCamera& camera, bool skyCopiedIn = false);

// The sky box alone, as every pass draws it: seen from inside its box, unlit, untinted.
void DrawSky();
