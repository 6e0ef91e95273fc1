#include "scene/scene_window.h"

#include <algorithm>
#include <cmath>

#include "gfx/gl.h"

SceneSize sceneSize;

namespace {

constexpr double kDegrees = 180.0 / 3.14159265358979323846;
constexpr int kLargestFace = 1024;
constexpr double kCreationFarPlane = 100000.0;

}  // namespace

double AspectRatio(int width, int height) {
    return static_cast<double>(width) / static_cast<double>(height > 0 ? height : 1);
}

double VerticalFieldOfView(double aspect) {
    if (aspect >= 1.0 || aspect <= 0.0) return mainViewFieldOfView;
    return 2.0 * kDegrees * std::atan(std::tan(mainViewFieldOfView / 2.0 / kDegrees) / aspect);
}

int EnvironmentFaceSizeFor(const SceneSize& size) {
    int longest = 1;
    for (int i = 0; i < size.viewCount; ++i) longest = std::max({longest, size.views[i].rect.width, size.views[i].rect.height});
    int face = 1;
    while (face < longest && face < kLargestFace) face *= 2;
    return face;
}

void SetSceneViews(SceneSize& size, int clientWidth, int clientHeight, const ViewRect* views, int viewCount) {
    size.clientWidth = clientWidth;
    size.clientHeight = clientHeight;
    const ViewRect whole{0, 0, clientWidth, clientHeight};
    if (viewCount <= 0) {
        views = &whole;
        viewCount = 1;
    }
    size.viewCount = std::min(viewCount, maxSceneViews);
    for (int i = 0; i < size.viewCount; ++i) {
        SceneView& view = size.views[i];
        view.rect = views[i];
        const double aspect = AspectRatio(view.rect.width, view.rect.height);
        view.projection = PerspectiveMatrix(VerticalFieldOfView(aspect), aspect, static_cast<double>(0.1f), mainViewFarPlane);
    }
    const ViewRect& first = views[0];
    size.oneWholeView = viewCount == 1 && first.x == 0 && first.y == 0 && first.width == clientWidth &&
                                 first.height == clientHeight;
}

void ViewportOf(const ViewRect& rect, int box[4]) {
    box[0] = rect.x;
    box[1] = sceneSize.clientHeight - rect.y - rect.height;
    box[2] = rect.width;
    box[3] = rect.height;
}

namespace {

void ApplyViewPerspective(const ViewRect& rect, double farPlane) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double aspect = AspectRatio(rect.width, rect.height);
    gluPerspective(VerticalFieldOfView(aspect), aspect, static_cast<double>(0.1f), farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

}  // namespace

void ApplyView(int view, double farPlane) {
    const ViewRect& rect = sceneSize.views[view].rect;
    int box[4];
    ViewportOf(rect, box);
    glViewport(box[0], box[1], box[2], box[3]);
    ApplyViewPerspective(rect, farPlane);
}

void ApplyViewAlone(int view, double farPlane) {
    const ViewRect& rect = sceneSize.views[view].rect;
    glViewport(0, 0, rect.width, rect.height);
    ApplyViewPerspective(rect, farPlane);
}

void SetupProjection() {
    // The first view last, so its projection is the one left current.
    for (int view = sceneSize.viewCount - 1; view >= 0; --view) {
        ApplyView(view, kCreationFarPlane);
        glGetFloatv(GL_PROJECTION_MATRIX, sceneSize.views[view].snowProjection);
    }
}
