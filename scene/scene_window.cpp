#include "scene/scene_window.h"

#include "gfx/gl.h"

void* sceneWindow = nullptr;
int clientWidth = 0;
int clientHeight = 0;
int viewportWidth = 0;
int viewportHeight = 0;

void ResetSceneWindow() {
    sceneWindow = nullptr;
    clientWidth = clientHeight = viewportWidth = viewportHeight = 0;
}

double AspectRatio(int width, int height) {
    return static_cast<double>(width) / static_cast<double>(height > 0 ? height : 1);
}

void SetupProjection() {
    viewportWidth = clientWidth;
    viewportHeight = clientHeight;
    glViewport(0, 0, viewportWidth, viewportHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(35.0, AspectRatio(viewportWidth, viewportHeight), static_cast<double>(0.1f), 100000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
