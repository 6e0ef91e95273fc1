// The window-side values the scene reads: the client size the scene was created for (or last
// followed), and the viewport and projection made once from it.
#pragma once

struct SceneSize {
    int clientWidth = 0;     // the client area's width, taken when the scene is created
    int clientHeight = 0;    // and its height
    int viewportWidth = 0;   // copied from clientWidth by SetupProjection
    int viewportHeight = 0;  // copied from clientHeight by SetupProjection
};

// No size before the first window; written only by the scene's lifecycle and SetupProjection.
extern SceneSize sceneSize;

// The vertical field of view of the main view, in degrees.
constexpr double mainViewFieldOfView = 35.0;

// Width over height as a floating-point quotient. A client area of no height (a collapsed
// preview, say) counts as one pixel high, so the projection stays finite.
double AspectRatio(int width, int height);

// Viewport over the client area, the 35-degree perspective and an identity modelview.
void SetupProjection();
