#include "scene/scene_lifecycle.h"

#include "gfx/glu.h"
#include "particles/particle_snow.h"
#include "scene/clock_time.h"
#include "scene/reflection_mask.h"
#include "scene/render_frame.h"
#include "scene/scene_setup.h"

namespace {

// The faces' masks and kept skies for the views of now, and the snow's passes sized for them.
// The fixed face is made again where what it held may not cover the new mask.
void FollowReflection(bool fixedFaceToRemake) {
    FollowReflectionMask();
    KeepEnvironmentSky();
    if (fixedFaceToRemake) RenderFixedEnvironmentFace();
    FollowSnowPasses();
    sceneObjects.reflectionToFollow = false;
}

}  // namespace

void CreateScene(int clientWidth, int clientHeight, const ViewRect* views, int viewCount) {
    SetSceneViews(sceneSize, clientWidth, clientHeight, views, viewCount);
    SetupProjection();
    SceneSetup();
    // The face behind the dial is rendered once, whole, so the dome's rim reflects the sky there.
    RenderFixedEnvironmentFace();
    FollowSnowPasses();
    // The first frame draws its faces whole, which shows the same pixels: the saver appears
    // without waiting for the masks, which the second tick makes.
    sceneObjects.reflectionToFollow = true;
}

void FollowSceneSize(int clientWidth, int clientHeight, const ViewRect* views, int viewCount) {
    SetSceneViews(sceneSize, clientWidth, clientHeight, views, viewCount);
    if (!sceneObjects.created) return;
    SetupProjection();
    FollowProjection();
    const bool newFaces = FollowEnvironmentFaceSize();
    // New faces have lost the fixed one, and a new mask may read more of it than the last did.
    FollowReflection(newFaces || sceneObjects.environmentFacesMasked);
}

void TickScene() {
    // Before the update, which chooses the flakes for the passes the masks give.
    if (sceneObjects.reflectionToFollow && sceneObjects.firstFrameDrawn) FollowReflection(false);
    UpdateScene();
    if (sceneObjects.created) {
        RenderFrame();
        sceneObjects.firstFrameDrawn = true;
    }
}

void TickSceneReflection() {
    if (sceneObjects.reflectionToFollow && sceneObjects.firstFrameDrawn) FollowReflection(false);
    UpdateScene();
    if (sceneObjects.created) {
        RenderEnvironmentCubeMap();
        sceneObjects.firstFrameDrawn = true;
    }
}

void DrawSceneView(int view) {
    if (sceneObjects.created && view >= 0 && view < sceneSize.viewCount) RenderViewAlone(view);
}

void ReleaseScene() {
    snow.Release();
    if (sceneObjects.sceneQuadric) gluDeleteQuadric(sceneObjects.sceneQuadric);
    sceneObjects = SceneObjects{};
}
