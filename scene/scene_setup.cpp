#include "scene/scene_setup.h"

#include "gfx/gl.h"

GLUquadric* sceneQuadric = nullptr;
uint32_t sceneTextures[8] = {};

void SceneSetup() {
    sceneQuadric = gluNewQuadric();
    // Opaque red shows wherever no geometry covers a pixel.
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
}
