#include "scene/scene_lifecycle.h"

#include "gfx/glu.h"
#include "particles/particle_snow.h"
#include "scene/clock_time.h"
#include "scene/render_frame.h"
#include "scene/scene_setup.h"
#include "scene/scene_window.h"

void CreateScene(int clientWidth, int clientHeight) {
    sceneSize.clientWidth = clientWidth;
    sceneSize.clientHeight = clientHeight;
    SetupProjection();
    SceneSetup();
    // The face behind the dial is rendered once, so the dome's rim reflects the sky there.
    RenderFixedEnvironmentFace();
}

void FollowSceneSize(int clientWidth, int clientHeight) {
    sceneSize.clientWidth = clientWidth;
    sceneSize.clientHeight = clientHeight;
    if (!sceneObjects.created) return;
    SetupProjection();
    FollowProjection();
}

void TickScene() {
    UpdateScene();
    if (sceneObjects.created) RenderFrame();
}

void ReleaseScene() {
    snow.Release();
    if (sceneObjects.sceneQuadric) gluDeleteQuadric(sceneObjects.sceneQuadric);
    sceneObjects = SceneObjects{};
}
