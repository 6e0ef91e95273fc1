// The window-side values the scene reads: the client size the scene was created for (or last
// followed), the views that share it (one per monitor), and the viewport and projection of each.
#pragma once

#include "gfx/matrix.h"

// A view's part of the client area, in client coordinates: x to the right and y down from the
// client area's top left corner, as window systems give monitors.
struct ViewRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// At most this many views in a frame; further monitors are left black.
constexpr int maxSceneViews = 16;

struct SceneView {
    ViewRect rect;
    // The view's perspective with the main views' far plane, as the frame sets it.
    Matrix4 projection = {};
    // The projection the snow of this view is sized with: the view's perspective with the far
    // plane of the window's creation, read back from the driver.
    float snowProjection[16] = {};
};

struct SceneSize {
    int clientWidth = 0;   // the client area's width, taken when the scene is created
    int clientHeight = 0;  // and its height
    // One view per monitor, each showing the whole clock; one view over the whole client area
    // where no monitors are given.
    int viewCount = 0;
    SceneView views[maxSceneViews];
    // True for one view over the whole client area. Otherwise each view is drawn inside its own
    // rectangle and what no view covers is cleared black.
    bool oneWholeView = true;
};

// No size before the first window; written only by the scene's lifecycle and SetupProjection.
extern SceneSize sceneSize;

// The horizontal field of view of a square view, in degrees: the vertical one of every view that
// is at least as wide as high.
constexpr double mainViewFieldOfView = 35.0;

// The main views see the sky box's far corners; the window's creation set a nearer far plane.
constexpr double mainViewFarPlane = 1.0e10;

// Width over height as a floating-point quotient. A client area of no height (a collapsed
// preview, say) counts as one pixel high, so the projection stays finite.
double AspectRatio(int width, int height);

// The vertical field of view for a view of this aspect: 35 degrees where it is at least as wide
// as high; taller views keep 35 degrees across and widen upwards, so the whole dial shows.
double VerticalFieldOfView(double aspect);

// Puts the client size and its views into size (none: one view over the whole client area;
// rectangles beyond maxSceneViews are dropped).
void SetSceneViews(SceneSize& size, int clientWidth, int clientHeight, const ViewRect* views, int viewCount);

// The side of the reflection's cube faces for these views: the smallest power of two at or above
// the longest side of any view, at most 1024.
int EnvironmentFaceSizeFor(const SceneSize& size);

// The view's rectangle as OpenGL's viewport and scissor take it: x, then y counted in rows from
// the bottom of the client area, then width and height.
void ViewportOf(const ViewRect& rect, int box[4]);

// The view's viewport and its perspective with the given far plane; modelview made identity.
void ApplyView(int view, double farPlane);

// The same for a view drawn alone into a drawable of its own size: the viewport at its corner.
void ApplyViewAlone(int view, double farPlane);

// Every view's snow projection, then the first view's viewport and perspective (far plane
// 100000) current, and an identity modelview.
void SetupProjection();
