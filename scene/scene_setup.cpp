#include "scene/scene_setup.h"

#include <algorithm>
#include <vector>

#include "gfx/camera_frame.h"
#include "gfx/gl.h"
#include "gfx/gl_capabilities.h"
#include "gfx/resource_loaders.h"
#include "particles/particle_snow.h"
#include "platform/platform.h"
#include "platform/random.h"
#include "resources/resource_ids.h"
#include "scene/clock_face.h"
#include "scene/gear_geometry.h"
#include "scene/glass_dome.h"
#include "scene/scene_window.h"
#include "scene/sky_box.h"
#include "scene/sky_box_faces.h"

SceneObjects sceneObjects;

const uint32_t cubeMapFaceTargets[6] = {
    GL_TEXTURE_CUBE_MAP_NEGATIVE_X, GL_TEXTURE_CUBE_MAP_POSITIVE_X, GL_TEXTURE_CUBE_MAP_NEGATIVE_Y,
    GL_TEXTURE_CUBE_MAP_POSITIVE_Y, GL_TEXTURE_CUBE_MAP_NEGATIVE_Z, GL_TEXTURE_CUBE_MAP_POSITIVE_Z,
};

const float lightPosition[4] = {0.0f, 0.0f, 0.0f, 1.0f};

namespace {

// Light and material colours; their alpha is 0, not 1.
constexpr float kNoAmbient[4] = {0.0f, 0.0f, 0.0f, 0.0f};
constexpr float kDimGrey[4] = {0.1f, 0.1f, 0.1f, 0.0f};
constexpr float kWhite[4] = {1.0f, 1.0f, 1.0f, 0.0f};

// What a cube face shows where the reflection is never rendered: the deep blue of the night
// sky near the horizon.
constexpr unsigned char kNightBlue[3] = {10, 14, 34};

void SetUpLight(GLenum light) {
    glEnable(light);
    glLightfv(light, GL_AMBIENT, kDimGrey);
    glLightfv(light, GL_DIFFUSE, kWhite);
    glLightfv(light, GL_SPECULAR, kWhite);
    glLightfv(light, GL_POSITION, lightPosition);
}

void LoadSceneTexture(int index, int bitmap) {
    glBindTexture(GL_TEXTURE_2D, sceneObjects.sceneTextures[index]);
    LoadBmpTexture(bitmap);
}

void LoadSceneTextures() {
    glGenTextures(8, sceneObjects.sceneTextures);
    LoadSceneTexture(metalTexture, METAL_BITMAP);
    // The sky faces, by their place in the sky box's table, in the order they are loaded.
    constexpr int kSkyLoadOrder[skyBoxFaceCount] = {1, 0, 3, 2, 4, 5};
    for (const int face : kSkyLoadOrder) LoadSceneTexture(skyBoxFaces[face].textureIndex, skyBoxFaces[face].bitmapId);
    LoadSceneTexture(dialTexture, CLOCK_FACE_BITMAP);
}

// The depth buffer, of the faces' size: 24 depth bits, and 8 stencil bits beside them where
// the faces are masked.
void SizeEnvironmentDepthBuffer() {
    const int side = sceneObjects.environmentFaceSize;
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, sceneObjects.environmentDepthBuffer);
    glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT,
                             sceneObjects.environmentStencil ? GL_DEPTH24_STENCIL8_EXT : GL_DEPTH_COMPONENT24, side, side);
}

// Six empty faces of the current size, and the depth buffer beside them once there is one.
void AllocateEnvironmentFaces() {
    const int side = sceneObjects.environmentFaceSize;
    glBindTexture(GL_TEXTURE_CUBE_MAP, sceneObjects.environmentCubeMap);
    for (const uint32_t target : cubeMapFaceTargets) {
        glTexImage2D(target, 0, GL_RGB, side, side, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    }
    if (sceneObjects.environmentDepthBuffer != 0) SizeEnvironmentDepthBuffer();
}

// The cube map, rendered into by the reflection pass.
void CreateEnvironmentCubeMap() {
    glGenTextures(1, &sceneObjects.environmentCubeMap);
    glEnable(GL_TEXTURE_CUBE_MAP);
    glBindTexture(GL_TEXTURE_CUBE_MAP, sceneObjects.environmentCubeMap);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
    AllocateEnvironmentFaces();
    glDisable(GL_TEXTURE_CUBE_MAP);
}

// Where the reflection cannot be rendered (no framebuffer objects, or one that is not
// complete), the faces get the night's blue instead, so the dome never shows undefined memory.
void FillEnvironmentCubeMap() {
    const auto side = static_cast<std::size_t>(sceneObjects.environmentFaceSize);
    std::vector<unsigned char> fill(side * side * 3);
    for (std::size_t i = 0; i < fill.size(); ++i) fill[i] = kNightBlue[i % 3];
    glBindTexture(GL_TEXTURE_CUBE_MAP, sceneObjects.environmentCubeMap);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (const uint32_t target : cubeMapFaceTargets) {
        glTexSubImage2D(target, 0, 0, 0, sceneObjects.environmentFaceSize, sceneObjects.environmentFaceSize, GL_RGB,
                        GL_UNSIGNED_BYTE, fill.data());
    }
}

bool EnvironmentRenderTargetComplete() {
    AttachEnvironmentDepthBuffer();
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, cubeMapFaceTargets[0],
                              sceneObjects.environmentCubeMap, 0);
    return glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT) == GL_FRAMEBUFFER_COMPLETE_EXT;
}

// Checked with a face and the depth buffer attached; an incomplete one is treated as missing.
// Where depth with stencil makes it incomplete, it is tried again with depth alone.
void CheckEnvironmentRenderTarget() {
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, sceneObjects.environmentFramebuffer);
    bool complete = EnvironmentRenderTargetComplete();
    if (!complete && sceneObjects.environmentStencil) {
        glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_STENCIL_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT, 0);
        sceneObjects.environmentStencil = false;
        SizeEnvironmentDepthBuffer();
        complete = EnvironmentRenderTargetComplete();
    }
    sceneObjects.environmentFramebufferUsable = complete;
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
}

// The framebuffer object and its depth buffer. Its completeness is checked once for every size
// of the faces.
void CreateEnvironmentRenderTarget() {
    if (glCapabilities.framebufferObjects) {
        sceneObjects.environmentStencil = glCapabilities.packedDepthStencil;
        glGenFramebuffersEXT(1, &sceneObjects.environmentFramebuffer);
        glGenRenderbuffersEXT(1, &sceneObjects.environmentDepthBuffer);
        SizeEnvironmentDepthBuffer();
        CheckEnvironmentRenderTarget();
    }
    if (!sceneObjects.environmentFramebufferUsable) FillEnvironmentCubeMap();
}

template <typename Draw>
void Compile(uint32_t list, Draw draw) {
    glNewList(list, GL_COMPILE);
    draw();
    glEndList();
}

void CompileDisplayLists() {
    SceneObjects& o = sceneObjects;
    const uint32_t first = glGenLists(11);
    uint32_t* const lists[11] = {&o.mediumGearList, &o.smallGearList, &o.largeGearList, &o.thinAxleList,
                                 &o.thickAxleList,  &o.mediumAxleList, &o.pendulumList,  &o.skyBoxList,
                                 &o.clockFaceList,  &o.hourHandList,   &o.minuteHandList};
    for (int i = 0; i < 11; ++i) *lists[i] = first + static_cast<uint32_t>(i);

    const uint32_t metal = o.sceneTextures[metalTexture];
    Compile(o.mediumGearList, [metal] { DrawMediumGear(metal); });
    Compile(o.smallGearList, [metal] { DrawSmallGear(metal); });
    Compile(o.largeGearList, [metal] { DrawLargeGear(metal); });
    Compile(o.thinAxleList, [] { DrawAxle(thinAxleRadius, axleLength); });
    Compile(o.thickAxleList, [] { DrawAxle(thickAxleRadius, axleLength); });
    Compile(o.mediumAxleList, [] { DrawAxle(mediumAxleRadius, axleLength); });
    Compile(o.pendulumList, [] { DrawPendulum(pendulumRodRadius, pendulumRodLength); });
    Compile(o.skyBoxList, [&o] { DrawSkyBox(o.sceneTextures); });
    Compile(o.clockFaceList, [&o] { DrawClockFace(o.sceneTextures[dialTexture]); });
    Compile(o.hourHandList, [&o] { DrawHourHand(o.sceneQuadric, 1.0f, 10.0f); });
    Compile(o.minuteHandList, [&o] { DrawMinuteHand(o.sceneQuadric, 0.6f, 12.0f); });

    o.domeSphereList = glGenLists(1);
    Compile(o.domeSphereList, DrawDomeSphere);
}

// Turned by 3.14 radians (not pi) about its up axis, then moved 23 units forward: the camera
// looks along +z at the dial, 17 units away.
void PlaceCamera() {
    Vector3 axis{};
    CameraLocalToWorld(Vector3{0.0f, 1.0f, 0.0f}, axis);
    RotateCameraFrame(3.14f, axis.x, axis.y, axis.z);
    CameraFrame.origin.x += 23.0f * CameraFrame.forward.x;
    CameraFrame.origin.y += 23.0f * CameraFrame.forward.y;
    CameraFrame.origin.z += 23.0f * CameraFrame.forward.z;
}

// What the snow is given to size its sprites with: the first view's size and projection. Every
// view hands the snow its own when it draws; the cube faces use this projection with their own
// size.
struct SnowView {
    float viewportSize[2];
    float projection[16];
};

SnowView CurrentSnowView() {
    const SceneView& first = sceneSize.views[0];
    SnowView view{{static_cast<float>(first.rect.width), static_cast<float>(first.rect.height)}, {}};
    std::copy(first.snowProjection, first.snowProjection + 16, view.projection);
    return view;
}

// The snow sizes its sprites from the projection made at window creation.
void InitSnow() {
    const SnowView view = CurrentSnowView();
    snow.Init(view.viewportSize, view.projection);
}

}  // namespace

void AttachEnvironmentDepthBuffer() {
    glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT,
                                 sceneObjects.environmentDepthBuffer);
    if (sceneObjects.environmentStencil) {
        glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_STENCIL_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT,
                                     sceneObjects.environmentDepthBuffer);
    }
}

void SceneSetup() {
    sceneObjects.created = true;
    sceneObjects.sceneQuadric = gluNewQuadric();
    SeedRandom(ReadTickCount());  // every run snows differently
    glClearColor(sceneClearColour[0], sceneClearColour[1], sceneClearColour[2], sceneClearColour[3]);

    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glEnable(GL_LIGHTING);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, kNoAmbient);
    SetUpLight(GL_LIGHT0);
    SetUpLight(GL_LIGHT1);
    glMaterialfv(GL_FRONT, GL_AMBIENT, kWhite);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, kWhite);
    glMaterialfv(GL_FRONT, GL_SPECULAR, kWhite);
    glMateriali(GL_FRONT, GL_SHININESS, 128);
    glLightf(GL_LIGHT0, GL_CONSTANT_ATTENUATION, 1.0f);
    glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, 0.0f);
    glLightf(GL_LIGHT0, GL_QUADRATIC_ATTENUATION, 0.0f);

    // Colour material stays configured for both faces but off; the dome switches it on.
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1);
    glDisable(GL_COLOR_MATERIAL);

    LoadSceneTextures();
    glEnable(GL_TEXTURE_2D);
    sceneObjects.environmentFaceSize = EnvironmentFaceSizeFor(sceneSize);
    CreateEnvironmentCubeMap();
    CreateEnvironmentRenderTarget();
    glShadeModel(GL_SMOOTH);
    CompileDisplayLists();

    sceneObjects.litTexturedProgram = LoadShaderProgram(LIT_TEXTURED_VERTEX_SHADER, LIT_TEXTURED_FRAGMENT_SHADER);
    sceneObjects.pixelLightingProgram = LoadShaderProgram(PIXEL_LIGHTING_VERTEX_SHADER, PIXEL_LIGHTING_FRAGMENT_SHADER);

    PlaceCamera();
    InitSnow();

    // Every frame switches normalising on for good after its reflection. With both programs
    // nothing a cube face draws reads it (the programs take their own normals; sky and snow are
    // unlit), so switching it on now changes no pixel and lets the first frame's faces draw the
    // sky with the same fixed-function program as every later frame: one program fewer for the
    // driver to build before the first frame. Without them the fixed-function lighting reads it.
    if (sceneObjects.litTexturedProgram != 0 && sceneObjects.pixelLightingProgram != 0) glEnable(GL_NORMALIZE);
}

void FollowProjection() {
    const SnowView view = CurrentSnowView();
    snow.FollowViewport(view.viewportSize, view.projection);
}

bool FollowEnvironmentFaceSize() {
    const int side = EnvironmentFaceSizeFor(sceneSize);
    if (side == sceneObjects.environmentFaceSize) return false;
    sceneObjects.environmentFaceSize = side;
    AllocateEnvironmentFaces();
    if (sceneObjects.environmentFramebuffer != 0) CheckEnvironmentRenderTarget();
    if (!sceneObjects.environmentFramebufferUsable) FillEnvironmentCubeMap();
    return true;
}
