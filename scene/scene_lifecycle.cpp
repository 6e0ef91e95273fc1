#include "scene/scene_lifecycle.h"

#include "gfx/glu.h"
#include "particles/particle_snow.h"
#include "scene/clock_time.h"
#include "scene/reflection_mask.h"
#include "scene/render_frame.h"
#include "scene/scene_setup.h"

void CreateScene(int clientWidth, int clientHeight, const ViewRect* views, int viewCount) {
    SetSceneViews(sceneSize, clientWidth, clientHeight, views, viewCount);
    SetupProjection();
    SceneSetup();
    FollowReflectionMask();
    KeepEnvironmentSky();
    // The face behind the dial is rendered once, so the dome's rim reflects the sky there.
    RenderFixedEnvironmentFace();
    FollowSnowPasses();
}

void FollowSceneSize(int clientWidth, int clientHeight, const ViewRect* views, int viewCount) {
    SetSceneViews(sceneSize, clientWidth, clientHeight, views, viewCount);
    if (!sceneObjects.created) return;
    SetupProjection();
    FollowProjection();
    const bool newFaces = FollowEnvironmentFaceSize();
    FollowReflectionMask();
    KeepEnvironmentSky();
    // New faces have lost the fixed one, and a new mask may read more of it.
    if (newFaces || sceneObjects.environmentFacesMasked) RenderFixedEnvironmentFace();
    FollowSnowPasses();
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
