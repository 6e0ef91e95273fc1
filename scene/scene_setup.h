// Creates, once per window, every OpenGL state and object the frames rely on.
#pragma once

#include <cstdint>

#include "gfx/glu.h"

// Made first by SceneSetup; the window procedure deletes it when the window is destroyed.
extern GLUquadric* sceneQuadric;

// The eight 2-D textures: the metal of the gears, the six sky faces (at the indices the sky
// box's table gives them) and the dial.
extern uint32_t sceneTextures[8];
constexpr int metalTexture = 0;
constexpr int dialTexture = 7;

// The reflection the glass dome shows: a cube map of six square faces, rendered into through a
// framebuffer object with its own depth buffer of the same size.
constexpr int environmentFaceSize = 1024;
extern uint32_t environmentCubeMap;
extern uint32_t environmentFramebuffer;
extern uint32_t environmentDepthBuffer;

// True when the framebuffer object exists and is complete with a cube face and the depth
// buffer attached; without it the reflection is not re-rendered and the dome shows the night
// blue the faces were filled with.
extern bool environmentFramebufferUsable;

// The cube-map face targets: -X, +X, -Y, +Y, -Z, +Z.
extern const uint32_t cubeMapFaceTargets[6];

// The shafts the gears turn on and the pendulum, as their lists are made.
constexpr float axleLength = 10.0f;
constexpr float thinAxleRadius = 0.5f;
constexpr float thickAxleRadius = 2.0f;
constexpr float mediumAxleRadius = 1.0f;
constexpr float pendulumRodRadius = 1.0f;
constexpr float pendulumRodLength = 30.0f;

// The display lists, eleven consecutive names in this order.
extern uint32_t mediumGearList;
extern uint32_t smallGearList;
extern uint32_t largeGearList;
extern uint32_t thinAxleList;
extern uint32_t thickAxleList;
extern uint32_t mediumAxleList;
extern uint32_t pendulumList;
extern uint32_t skyBoxList;
extern uint32_t clockFaceList;
extern uint32_t hourHandList;
extern uint32_t minuteHandList;

// The glass dome's sphere, the same geometry every frame: a list of its own, made after the
// eleven. 0 until then, and the dome is drawn vertex by vertex.
extern uint32_t domeSphereList;

// The scene's two programs; 0 where one could not be built, and the fixed-function pipeline
// draws instead.
extern uint32_t litTexturedProgram;
extern uint32_t pixelLightingProgram;

// A positional light at the origin of the coordinates current when it is set.
extern const float lightPosition[4];

// Runs on window creation with the rendering context current, after SetupProjection.
void SceneSetup();

// Follows a new client size with the context current (the X11 program; the Windows window keeps
// the size it was created with): the viewport, the projection and the snow's viewport.
void FollowClientSize();

// Puts every module-level value of the scene (set-up, window, clock time, and the camera the
// set-up places) back as it was when the program started, the stopwatches restarted: tests use
// it before they set a scene up again. Deletes nothing.
void ResetSceneState();
