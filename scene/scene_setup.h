// Creates, once per window, every OpenGL state and object the frames rely on.
#pragma once

#include <cstdint>

#include "gfx/glu.h"

// The textures' places in sceneTextures: the metal of the gears and the dial (the six sky faces
// lie at the indices the sky box's table gives them).
constexpr int sceneTextureCount = 8;
constexpr int metalTexture = 0;
constexpr int dialTexture = 7;

// The colour every pass clears to before the sky covers it.
constexpr float sceneClearColour[4] = {1.0f, 0.0f, 0.0f, 1.0f};

// The cube-map face targets: -X, +X, -Y, +Y, -Z, +Z.
extern const uint32_t cubeMapFaceTargets[6];

// The shafts the gears turn on and the pendulum, as their lists are made.
constexpr float axleLength = 10.0f;
constexpr float thinAxleRadius = 0.5f;
constexpr float thickAxleRadius = 2.0f;
constexpr float mediumAxleRadius = 1.0f;
constexpr float pendulumRodRadius = 1.0f;
constexpr float pendulumRodLength = 30.0f;

// Everything SceneSetup makes, 0 (or null) until it is made.
struct SceneObjects {
    bool created = false;  // SceneSetup has run in the current context

    // Made first; the scene's release deletes it.
    GLUquadric* sceneQuadric = nullptr;
    uint32_t sceneTextures[sceneTextureCount] = {};

    // The reflection the glass dome shows: a cube map of six square faces of this side, rendered
    // into through a framebuffer object with its own depth buffer of the same size. The side
    // follows the largest view (EnvironmentFaceSizeFor), so a small window draws small faces.
    int environmentFaceSize = 0;
    uint32_t environmentCubeMap = 0;
    uint32_t environmentFramebuffer = 0;
    uint32_t environmentDepthBuffer = 0;
    // True when the framebuffer object exists and is complete with a cube face and the depth
    // buffer attached; without it the reflection is not re-rendered and the dome shows the night
    // blue the faces were filled with.
    bool environmentFramebufferUsable = false;
    // True when the depth buffer also holds 8 stencil bits (packed depth and stencil, attached
    // as both), which the faces' masks are kept in.
    bool environmentStencil = false;
    // True when each face is drawn only where some view's dome reads it: the stencil holds one
    // bit per face for the texels the dome samples (ReflectionMask). A face no dome reads at
    // all is not drawn. Otherwise every face is drawn whole.
    bool environmentFacesMasked = false;
    bool environmentFaceRead[6] = {true, true, true, true, true, true};
    // Each rendered face's sky alone, the same in every frame: drawn once into a 2-D texture of
    // the face's size (KeepEnvironmentSky) and copied into the face, through a framebuffer
    // object of its own, before the pieces are drawn over it, instead of drawing the sky box
    // again. Not kept where the context cannot copy between framebuffer objects.
    uint32_t environmentSkies[5] = {};
    uint32_t environmentSkyFramebuffer = 0;
    bool environmentSkiesKept = false;
    // The depth every rendered face starts from, far throughout, with the faces' masks in its
    // stencil: kept beside the skies in a renderbuffer of the faces' packed depth and stencil and
    // copied in with each sky. Clearing depth alone around a stencil that must stay reads and
    // writes every texel; the copy is one of bytes. Not kept without packed depth and stencil,
    // where clearing the depth buffer is cheap, or where the skies are not kept.
    uint32_t environmentStartDepth = 0;
    bool environmentStartDepthKept = false;
    // The masks and kept skies are still to be made for the views of now (the first frame draws
    // whole faces; the tick after it makes them), and whether that first frame has been drawn.
    bool reflectionToFollow = false;
    bool firstFrameDrawn = false;

    // The display lists, eleven consecutive names in this order.
    uint32_t mediumGearList = 0;
    uint32_t smallGearList = 0;
    uint32_t largeGearList = 0;
    uint32_t thinAxleList = 0;
    uint32_t thickAxleList = 0;
    uint32_t mediumAxleList = 0;
    uint32_t pendulumList = 0;
    uint32_t skyBoxList = 0;
    uint32_t clockFaceList = 0;
    uint32_t hourHandList = 0;
    uint32_t minuteHandList = 0;
    // The glass dome's sphere, the same geometry every frame: a list of its own, made after the
    // eleven. 0 until then, and the dome is drawn vertex by vertex.
    uint32_t domeSphereList = 0;

    // The scene's two programs; 0 where one could not be built, and the fixed-function
    // pipeline draws instead.
    uint32_t litTexturedProgram = 0;
    uint32_t pixelLightingProgram = 0;
};

// Written by SceneSetup and by what follows a new size (the faces, their depth buffer, the mask
// and the kept skies); the scene's release puts it back as it was, since the objects end
// with the rendering context.
extern SceneObjects sceneObjects;

// A positional light at the origin of the coordinates current when it is set.
extern const float lightPosition[4];

// Runs on window creation with the rendering context current, after SetupProjection.
void SceneSetup();

// Takes the viewport and projection SetupProjection made for a new client size into the snow.
void FollowProjection();

// Attaches the faces' depth buffer to the bound framebuffer object, as its stencil buffer too
// where it holds stencil bits.
void AttachEnvironmentDepthBuffer();

// Gives the cube faces, their depth buffer and their fill the size the views need now; true when
// that size changed (the faces' content is then gone).
bool FollowEnvironmentFaceSize();
