#include "scene/glass_dome.h"

#include "gfx/camera_frame.h"
#include "gfx/gl.h"
#include "gfx/sphere.h"
#include "scene/draw_scene.h"
#include "scene/scene_setup.h"

namespace {

constexpr float kDomeSpecular[4] = {1.0f, 1.0f, 1.0f, 0.0f};

}  // namespace

void DrawDomeSphere() { DrawSphere(5.1f, 100, 50); }

void BeginReflectionLookup(uint32_t cubeMap) {
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_REFLECTION_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_REFLECTION_MAP);
    glTexGeni(GL_R, GL_TEXTURE_GEN_MODE, GL_REFLECTION_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_GEN_R);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_TEXTURE_CUBE_MAP);
    glBindTexture(GL_TEXTURE_CUBE_MAP, cubeMap);
}

void EndReflectionLookup() {
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_TEXTURE_GEN_R);
    glDisable(GL_TEXTURE_CUBE_MAP);
    glEnable(GL_TEXTURE_2D);
}

void PlaceDome() {
    glTranslatef(domeCentre[0], domeCentre[1], domeCentre[2]);
    glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
    glScalef(1.0f, 1.0f, 0.1f);
}

void DrawDomeSide(uint32_t culledFace) {
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

void DrawGlassDome() {
    glPushMatrix();
    BeginReflectionLookup(sceneObjects.environmentCubeMap);
    PlaceDome();

    // Unlit (lighting is off by now): the texel times the colour, at half opacity.
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
    EndReflectionLookup();
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, static_cast<GLfloat>(GL_MODULATE));
    glPopMatrix();
}
