// The window-side state the scene reads: the window that owns message boxes, the client size
// taken at creation, and the viewport and projection made once from it.
#pragma once

// The screen-saver window (a window handle), stored on every message it receives.
extern void* sceneWindow;

// Client size taken when the window is created.
extern int clientWidth;
extern int clientHeight;

// The viewport's size, copied from the client size by SetupProjection.
extern int viewportWidth;
extern int viewportHeight;

// No window and no size, as before the first window (through ResetSceneState).
void ResetSceneWindow();

// Width over height as a floating-point quotient. A client area of no height (a collapsed
// preview, say) counts as one pixel high, so the projection stays finite.
double AspectRatio(int width, int height);

// Viewport over the client area, the 35-degree perspective and an identity modelview.
void SetupProjection();
