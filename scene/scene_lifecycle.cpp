#include "scene/scene_lifecycle.h"

#include "gfx/glu.h"
#include "particles/particle_snow.h"
#include "scene/clock_time.h"
#include "scene/render_frame.h"
#include "scene/scene_setup.h"

void CreateScene(int clientWidth, int clientHeight, const ViewRect* views, int viewCount) {
    SetSceneViews(sceneSize, clientWidth, clientHeight, views, viewCount);
    SetupProjection();
    SceneSetup();
    // The face behind the dial is rendered once, so the dome's rim reflects the sky there.
    RenderFixedEnvironmentFace();
}

void FollowSceneSize(int clientWidth, int clientHeight, const ViewRect* views, int viewCount) {
    SetSceneViews(sceneSize, clientWidth, clientHeight, views, viewCount);
    if (!sceneObjects.created) return;
    SetupProjection();
    FollowProjection();
    if (FollowEnvironmentFaceSize()) RenderFixedEnvironmentFace();
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
