#include "scene/render_frame.h"

#include "gfx/camera_frame.h"
#include "gfx/gl.h"
#include "gfx/gl_capabilities.h"
#include "particles/particle_snow.h"
#include "scene/draw_scene.h"
#include "scene/glass_dome.h"
#include "scene/scene_setup.h"
#include "scene/scene_window.h"

namespace {

constexpr int kFixedFace = 5;  // +Z: looks from the dome away from the viewer

// The conventional view direction and up vector of each cube-map face, in face order.
const Vector3 cubeMapFaceForward[6] = {{-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 1, 0}, {0, 0, -1}, {0, 0, 1}};
const Vector3 cubeMapFaceUp[6] = {{0, -1, 0}, {0, -1, 0}, {0, 0, -1}, {0, 0, 1}, {0, -1, 0}, {0, -1, 0}};

// The main views see the sky box's far corners; the window's creation set a nearer far plane.
constexpr double kMainFarPlane = 1.0e10;

constexpr float kDomeSpecular[4] = {1.0f, 1.0f, 1.0f, 0.0f};

void SetPerspective(double fieldOfView, double aspect, double farPlane) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fieldOfView, aspect, static_cast<double>(0.1f), farPlane);
}

// Attaches the depth buffer and makes the cube-map camera stand at centre.
void BeginEnvironmentPass() {
    SetPerspective(90.0, 1.0, 100000.0);
    glViewport(0, 0, sceneObjects.environmentFaceSize, sceneObjects.environmentFaceSize);
    glMatrixMode(GL_MODELVIEW);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, sceneObjects.environmentFramebuffer);
    glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT,
                                 sceneObjects.environmentDepthBuffer);
}

void RenderEnvironmentFace(CameraFrameRecord& faceCamera, int face) {
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, cubeMapFaceTargets[face],
                              sceneObjects.environmentCubeMap, 0);
    glLoadIdentity();
    faceCamera.forward = cubeMapFaceForward[face];
    faceCamera.up = cubeMapFaceUp[face];
    ApplyCameraTransform(faceCamera);
    DrawScene(true);
}

CameraFrameRecord FaceCameraAt(const float* centre) {
    CameraFrameRecord faceCamera{};
    faceCamera.origin = {centre[0], centre[1], centre[2]};
    return faceCamera;
}

// One pass of the dome's sphere with the inverse camera rotation in the texture matrix, so
// the eye-space reflection vectors look the cube map up along the world's axes.
void DrawDomeSide(GLenum culledFace) {
    glCullFace(culledFace);
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    MultInverseCameraRotation();
    if (sceneObjects.domeSphereList != 0) {
        glCallList(sceneObjects.domeSphereList);
    } else {
        DrawDomeSphere();
    }
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

// The glass dome: a flattened sphere over the dial reflecting the cube map at half opacity,
// far side first and near side second so the translucent surfaces blend back to front.
void DrawDome() {
    glPushMatrix();
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_REFLECTION_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_REFLECTION_MAP);
    glTexGeni(GL_R, GL_TEXTURE_GEN_MODE, GL_REFLECTION_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_GEN_R);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_TEXTURE_CUBE_MAP);
    glBindTexture(GL_TEXTURE_CUBE_MAP, sceneObjects.environmentCubeMap);

    glTranslatef(domeCentre[0], domeCentre[1], domeCentre[2]);
    glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
    glScalef(1.0f, 1.0f, 0.1f);

    glEnable(GL_COLOR_MATERIAL);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glMaterialfv(GL_BACK, GL_SPECULAR, kDomeSpecular);
    glMateriali(GL_BACK, GL_SHININESS, 128);
    glColor4f(1.0f, 1.0f, 1.0f, 0.5f);

    DrawDomeSide(GL_FRONT);
    DrawDomeSide(GL_BACK);

    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_TEXTURE_GEN_R);
    glDisable(GL_TEXTURE_CUBE_MAP);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, static_cast<GLfloat>(GL_MODULATE));
    glEnable(GL_TEXTURE_2D);
    glPopMatrix();
}

// One view's main pass: the scene from the camera, the dome and the snow, each sized for the
// view. Its viewport and projection are current.
void RenderView(const SceneView& view) {
    glEnable(GL_NORMALIZE);
    glPushMatrix();
    ApplyCameraTransform(CameraFrame);
    DrawScene(false);
    DrawDome();
    const float viewport[2] = {static_cast<float>(view.rect.width), static_cast<float>(view.rect.height)};
    snow.RenderReversed(viewport, view.snowProjection);  // over the dome, depth-tested against it
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
        if (i > 0) ApplyView(i, kMainFarPlane);
        RenderView(sceneSize.views[i]);
    }
    glDisable(GL_SCISSOR_TEST);
}

}  // namespace

void RenderFrame() {
    // One reflection for every view; it leaves the first view's viewport and projection.
    RenderEnvironmentCubeMap(domeCentre);
    if (sceneSize.oneWholeView) {
        RenderView(sceneSize.views[0]);
    } else {
        RenderViewsApart();
    }
}

void RenderEnvironmentCubeMap(const float* centre) {
    // Without a usable framebuffer object the faces keep their fixed content.
    if (sceneObjects.environmentFramebufferUsable) {
        BeginEnvironmentPass();
        CameraFrameRecord faceCamera = FaceCameraAt(centre);
        for (int face = 0; face < kFixedFace; ++face) RenderEnvironmentFace(faceCamera, face);
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    }
    ApplyView(0, kMainFarPlane);
}

void RenderFixedEnvironmentFace() {
    if (!sceneObjects.environmentFramebufferUsable) return;
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    BeginEnvironmentPass();
    CameraFrameRecord faceCamera = FaceCameraAt(domeCentre);
    RenderEnvironmentFace(faceCamera, kFixedFace);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    int box[4];
    ViewportOf(sceneSize.views[0].rect, box);
    glViewport(box[0], box[1], box[2], box[3]);

    // Put back what drawing the scene changed, so the first frame starts from the set-up's state.
    glEnable(GL_LIGHTING);
    if (glCapabilities.shaderObjects) glUseProgramObjectARB(0);
}
