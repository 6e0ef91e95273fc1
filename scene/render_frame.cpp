#include "scene/render_frame.h"

#include <initializer_list>

#include "gfx/camera_frame.h"
#include "gfx/gl.h"
#include "gfx/gl_capabilities.h"
#include "particles/particle_snow.h"
#include "scene/draw_scene.h"
#include "scene/glass_dome.h"
#include "scene/reflection_mask.h"
#include "scene/scene_setup.h"
#include "scene/scene_window.h"

namespace {

constexpr int kFixedFace = 5;  // +Z: looks from the dome away from the viewer

// The snow's passes: the five faces drawn every frame, then each view.
constexpr int firstViewSnowPass = kFixedFace;

// The conventional view direction and up vector of each cube-map face, in face order.
const Vector3 cubeMapFaceForward[6] = {{-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 1, 0}, {0, 0, -1}, {0, 0, 1}};
const Vector3 cubeMapFaceUp[6] = {{0, -1, 0}, {0, -1, 0}, {0, 0, -1}, {0, 0, 1}, {0, -1, 0}, {0, -1, 0}};

// The cube-map camera's lens: a quarter turn each way, square.
constexpr double kFaceFieldOfView = 90.0;
constexpr double kFaceFarPlane = 100000.0;
const Matrix4 kFaceProjection = PerspectiveMatrix(kFaceFieldOfView, 1.0, static_cast<double>(0.1f), kFaceFarPlane);

// The camera of one face, standing at the dome's centre.
CameraFrameRecord FaceCamera(int face) {
    return {{domeCentre[0], domeCentre[1], domeCentre[2]}, cubeMapFaceForward[face], cubeMapFaceUp[face]};
}

// Makes the faces' framebuffer object current with its depth buffer and the cube-map camera's
// projection and viewport. The modelview matrix is the caller's to set for each face.
void BeginEnvironmentPass() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(kFaceFieldOfView, 1.0, static_cast<double>(0.1f), kFaceFarPlane);
    glViewport(0, 0, sceneObjects.environmentFaceSize, sceneObjects.environmentFaceSize);
    glMatrixMode(GL_MODELVIEW);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, sceneObjects.environmentFramebuffer);
    AttachEnvironmentDepthBuffer();
}

// Draws into one face of `cubeMap` from the face's camera, inside the face's mask: the drawing
// itself is draw(face camera).
template <typename Draw>
void DrawIntoFace(uint32_t cubeMap, int face, Draw draw) {
    BeginFaceMask(face);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, cubeMapFaceTargets[face], cubeMap, 0);
    glLoadIdentity();
    const CameraFrameRecord camera = FaceCamera(face);
    ApplyCameraTransform(camera);
    draw(camera);
    EndFaceMask();
}

// The face's kept sky, with the starting depth where that is kept, copied whole into the face
// (the faces' framebuffer object bound).
void CopyKeptSky(int face) {
    const SceneObjects& o = sceneObjects;
    const int side = o.environmentFaceSize;
    glBindFramebufferEXT(GL_READ_FRAMEBUFFER_EXT, o.environmentSkyFramebuffer);
    glFramebufferTexture2DEXT(GL_READ_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, o.environmentSkies[face],
                              0);
    glFramebufferTexture2DEXT(GL_DRAW_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, cubeMapFaceTargets[face],
                              o.environmentCubeMap, 0);
    const GLbitfield copied = o.environmentStartDepthKept
                                  ? GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT
                                  : GL_COLOR_BUFFER_BIT;
    glBlitFramebufferEXT(0, 0, side, side, 0, 0, side, side, copied, GL_NEAREST);
    glBindFramebufferEXT(GL_READ_FRAMEBUFFER_EXT, o.environmentFramebuffer);
}

// Far depth and the masks, taken from the faces' depth buffer into the starting depth beside the
// skies (the faces' framebuffer object bound, a sky of the faces' size attached to it).
bool KeepEnvironmentStartDepth() {
    SceneObjects& o = sceneObjects;
    const int side = o.environmentFaceSize;
    if (o.environmentStartDepth == 0) glGenRenderbuffersEXT(1, &o.environmentStartDepth);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, o.environmentStartDepth);
    glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH24_STENCIL8_EXT, side, side);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, 0);
    // A sky of the same size beside it, so that the copies' source is complete.
    glBindFramebufferEXT(GL_DRAW_FRAMEBUFFER_EXT, o.environmentSkyFramebuffer);
    glFramebufferTexture2DEXT(GL_DRAW_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, o.environmentSkies[0], 0);
    for (const GLenum attachment : {GL_DEPTH_ATTACHMENT_EXT, GL_STENCIL_ATTACHMENT_EXT}) {
        glFramebufferRenderbufferEXT(GL_DRAW_FRAMEBUFFER_EXT, attachment, GL_RENDERBUFFER_EXT, o.environmentStartDepth);
    }
    const bool complete = glCheckFramebufferStatusEXT(GL_DRAW_FRAMEBUFFER_EXT) == GL_FRAMEBUFFER_COMPLETE_EXT;
    if (complete) {
        glBindFramebufferEXT(GL_DRAW_FRAMEBUFFER_EXT, o.environmentFramebuffer);
        glDepthMask(GL_TRUE);
        glClear(GL_DEPTH_BUFFER_BIT);  // the masks stay
        glBindFramebufferEXT(GL_READ_FRAMEBUFFER_EXT, o.environmentFramebuffer);
        glBindFramebufferEXT(GL_DRAW_FRAMEBUFFER_EXT, o.environmentSkyFramebuffer);
        glBlitFramebufferEXT(0, 0, side, side, 0, 0, side, side, GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT,
                             GL_NEAREST);
    } else {
        for (const GLenum attachment : {GL_DEPTH_ATTACHMENT_EXT, GL_STENCIL_ATTACHMENT_EXT}) {
            glFramebufferRenderbufferEXT(GL_DRAW_FRAMEBUFFER_EXT, attachment, GL_RENDERBUFFER_EXT, 0);
        }
    }
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, o.environmentFramebuffer);
    return complete;
}

// The kept sky copied in where there is one, then the pieces and the snow over it.
void RenderEnvironmentFace(int face) {
    if (!sceneObjects.environmentFaceRead[face]) return;  // no view's dome samples it
    const bool skyKept = sceneObjects.environmentSkiesKept;
    if (skyKept) CopyKeptSky(face);
    DrawIntoFace(sceneObjects.environmentCubeMap, face, [face, skyKept](const CameraFrameRecord& camera) {
        if (skyKept && !sceneObjects.environmentStartDepthKept) glClear(GL_DEPTH_BUFFER_BIT);
        DrawScene(true, {kFaceProjection, CameraTransformMatrix(camera)}, skyKept);
        // Sized for the face they are drawn into, with the projection the snow was given: the
        // reflection looks the same whatever the window's size.
        const auto side = static_cast<float>(sceneObjects.environmentFaceSize);
        const float faceViewport[2] = {side, side};
        snow.RenderPass(face, faceViewport, snow.projMat);
    });
}

// Passes into the faces between frames (at set-up, or when the views change) leave the
// matrices, the viewport and the lighting and program as the set-up leaves them, which is what a
// frame starts from.
template <typename Passes>
void BetweenFrames(Passes passes) {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    BeginEnvironmentPass();
    passes();
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    int box[4];
    ViewportOf(sceneSize.views[0].rect, box);
    glViewport(box[0], box[1], box[2], box[3]);
    glEnable(GL_LIGHTING);
    if (glCapabilities.shaderObjects) glUseProgramObjectARB(0);
}

// One view's main pass: the scene from the camera, the dome and the snow, each sized for the
// view. Its viewport and projection are current.
void RenderView(int i) {
    const SceneView& view = sceneSize.views[i];
    glEnable(GL_NORMALIZE);
    glPushMatrix();
    ApplyCameraTransform(CameraFrame);
    DrawScene(false, {view.projection, CameraTransformMatrix(CameraFrame)});
    DrawGlassDome();
    const float viewport[2] = {static_cast<float>(view.rect.width), static_cast<float>(view.rect.height)};
    // Over the dome, depth-tested against it.
    snow.RenderReversedPass(firstViewSnowPass + i, viewport, view.snowProjection);
    glPopMatrix();
}

// Several views, or one that leaves part of the window: what no view covers is black, and each
// view's clearing and drawing stays inside its own rectangle.
void RenderViewsApart() {
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(sceneClearColour[0], sceneClearColour[1], sceneClearColour[2], sceneClearColour[3]);
    glEnable(GL_SCISSOR_TEST);
    for (int i = 0; i < sceneSize.viewCount; ++i) {
        int box[4];
        ViewportOf(sceneSize.views[i].rect, box);
        glScissor(box[0], box[1], box[2], box[3]);
        if (i > 0) ApplyView(i, mainViewFarPlane);
        RenderView(i);
    }
    glDisable(GL_SCISSOR_TEST);
}

}  // namespace

void RenderFrame() {
    // One reflection for every view; it leaves the first view's viewport and projection.
    RenderEnvironmentCubeMap();
    if (sceneSize.oneWholeView) {
        RenderView(0);
    } else {
        RenderViewsApart();
    }
}

void RenderViewAlone(int i) {
    ApplyViewAlone(i, mainViewFarPlane);
    RenderView(i);
}

void RenderEnvironmentCubeMap() {
    // Without a usable framebuffer object the faces keep their fixed content.
    if (sceneObjects.environmentFramebufferUsable) {
        BeginEnvironmentPass();
        for (int face = 0; face < kFixedFace; ++face) RenderEnvironmentFace(face);
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    }
    ApplyView(0, mainViewFarPlane);
}

void RenderFixedEnvironmentFace() {
    if (!sceneObjects.environmentFramebufferUsable) return;
    // The sky alone: no flake starts low enough to be seen there when the face is made, so it
    // stays the same however often it is made again.
    BetweenFrames([] {
        DrawIntoFace(sceneObjects.environmentCubeMap, kFixedFace, [](const CameraFrameRecord& camera) {
            DrawScene(true, {kFaceProjection, CameraTransformMatrix(camera)});
        });
    });
}

void KeepEnvironmentSky() {
    SceneObjects& o = sceneObjects;
    o.environmentSkiesKept = false;
    o.environmentStartDepthKept = false;
    if (!o.environmentFramebufferUsable || !glCapabilities.framebufferBlit) return;
    if (o.environmentSkyFramebuffer == 0) glGenFramebuffersEXT(1, &o.environmentSkyFramebuffer);
    const int side = o.environmentFaceSize;
    for (int face = 0; face < kFixedFace; ++face) {
        if (o.environmentSkies[face] == 0) glGenTextures(1, &o.environmentSkies[face]);
        glBindTexture(GL_TEXTURE_2D, o.environmentSkies[face]);
        // The faces' own format, so the copy is one of bytes.
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, side, side, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    }
    BetweenFrames([&o] {
        glDisable(GL_TEXTURE_CUBE_MAP);
        for (int face = 0; face < kFixedFace; ++face) {
            if (!o.environmentFaceRead[face]) continue;
            BeginFaceMask(face);
            glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D,
                                      o.environmentSkies[face], 0);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glLoadIdentity();
            ApplyCameraTransform(FaceCamera(face));
            DrawSky();
            EndFaceMask();
        }
        o.environmentStartDepthKept = o.environmentStencil && KeepEnvironmentStartDepth();
    });
    o.environmentSkiesKept = true;
}

void FollowSnowPasses() {
    SpritePass passes[firstViewSnowPass + maxSceneViews];
    const auto side = static_cast<float>(sceneObjects.environmentFaceSize);
    for (int face = 0; face < kFixedFace; ++face) {
        passes[face] = {MultiplyMatrices(kFaceProjection, CameraTransformMatrix(FaceCamera(face))), snow.projMat[0],
                        {side, side}, false, FaceCoverage(face)};
    }
    const Matrix4 cameraView = CameraTransformMatrix(CameraFrame);
    for (int i = 0; i < sceneSize.viewCount; ++i) {
        const SceneView& view = sceneSize.views[i];
        passes[firstViewSnowPass + i] = {MultiplyMatrices(view.projection, cameraView), view.snowProjection[0],
                                         {static_cast<float>(view.rect.width), static_cast<float>(view.rect.height)},
                                         true};
    }
    snow.spritePasses.Follow(passes, firstViewSnowPass + sceneSize.viewCount, snow.count);
}
