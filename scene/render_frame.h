// Composes one frame: the reflection pass into the cube map from the dome's centre, the main
// view from the camera, the glass dome over the dial and the snow.
#pragma once

// Draws the whole frame into the back buffer; the caller swaps afterwards.
void RenderFrame();

// Draws view i alone into the drawable current now, which has the view's size, after
// RenderEnvironmentCubeMap rendered the frame's reflection for every view; the caller swaps.
void RenderViewAlone(int i);

// Renders five faces of the cube map (not +Z) from the dome's centre, then restores the window's
// viewport and the first view's projection.
void RenderEnvironmentCubeMap();

// Renders the +Z face, which no frame renders, once after the set-up; leaves the viewport and
// the projection as it found them.
void RenderFixedEnvironmentFace();

// Draws each rendered face's sky alone, once (inside the face's mask), into a texture that is
// copied into the face every frame instead of drawing the sky box again. Run after the mask
// follows the views.
void KeepEnvironmentSky();

// Tells the snow the passes it is drawn in (each face, each view) for the flakes' sizes and the
// views of now, so that each update chooses the flakes that can land in each.
void FollowSnowPasses();
