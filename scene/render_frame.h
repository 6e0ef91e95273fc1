// Composes one frame: the reflection pass into the cube map from the dome's centre, the main
// view from the camera, the glass dome over the dial and the snow.
#pragma once

// The centre of the glass dome and of the dial under it, where the cube-map camera stands.
constexpr float domeCentre[3] = {0.0f, 0.0f, 40.0f};

// Draws the whole frame into the back buffer; the window procedure swaps afterwards.
void RenderFrame();

// Renders five faces of the cube map (not +Z) from centre, then restores the window's
// viewport and the main view's projection.
void RenderEnvironmentCubeMap(const float* centre);

// The scene as the camera whose view transform is current sees it; without the dial, the
// hands and the snow's reversed copy when rendering a cube face.
void DrawScene(bool forCubeMap);

// The dome's sphere as it stands before the dome's placement: radius 5.1, 100 slices, 50 stacks.
void DrawDomeSphere();

// Renders the +Z face, which no frame renders, once at set-up; leaves the viewport and the
// projection as it found them.
void RenderFixedEnvironmentFace();
