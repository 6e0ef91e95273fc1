#include "scene/scene_window.h"

#include "gfx/gl.h"

SceneSize sceneSize;

double AspectRatio(int width, int height) {
    return static_cast<double>(width) / static_cast<double>(height > 0 ? height : 1);
}

void SetupProjection() {
    sceneSize.viewportWidth = sceneSize.clientWidth;
    sceneSize.viewportHeight = sceneSize.clientHeight;
    glViewport(0, 0, sceneSize.viewportWidth, sceneSize.viewportHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(mainViewFieldOfView, AspectRatio(sceneSize.viewportWidth, sceneSize.viewportHeight),
                   static_cast<double>(0.1f), 100000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
