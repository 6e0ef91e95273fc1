// Composes one frame: the reflection pass into the cube map from the dome's centre, the main
// view from the camera, the glass dome over the dial and the snow.
#pragma once

// Draws the whole frame into the back buffer; the caller swaps afterwards.
void RenderFrame();

// Renders five faces of the cube map (not +Z) from centre, then restores the window's
// viewport and the main view's projection.
void RenderEnvironmentCubeMap(const float* centre);

// Renders the +Z face, which no frame renders, once after the set-up; leaves the viewport and
// the projection as it found them.
void RenderFixedEnvironmentFace();
