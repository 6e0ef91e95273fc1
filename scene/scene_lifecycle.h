// The scene's life in one window: how every front-end (the Windows window procedure, vintrel,
// vintrel-render and the GL tests) creates it, follows the window's size, draws it tick by tick
// and releases it. Start here to see what happens when.
#pragma once

#include "scene/scene_window.h"

// With the window's rendering context current and OpenGL loaded: takes the client size and its
// views (one per monitor, in client coordinates; none: one view over the whole client area),
// sets the viewport and projection, creates every OpenGL object and the snow, and renders the
// reflection's fixed face once. Each view shows the whole clock; they share one reflection.
void CreateScene(int clientWidth, int clientHeight, const ViewRect* views = nullptr, int viewCount = 0);

// Follows a new client size and views (a resized X11 window, monitors that came or went): the
// viewports, the projections, the snow's sprite sizes and the cube faces' size.
void FollowSceneSize(int clientWidth, int clientHeight, const ViewRect* views = nullptr, int viewCount = 0);

// One frame tick: the hands, clocks and snow move on, and the frame is drawn into the back
// buffer where the scene was created (without OpenGL only the clocks move). The caller swaps.
// The tick after the first also makes the reflection's masks, which the first frame goes without.
void TickScene();

// The same tick for views that each have a drawable of their own (one surface per output), all
// sharing one context. The scene is created and followed with the views' rectangles all at the
// client area's top left corner, the client area as wide and as high as the widest and the
// highest of them, and a drawable of that size current (where the reflection's masks are made);
// with that drawable current again, TickSceneReflection moves everything on and renders the one
// reflection; then, each in its own drawable made current, DrawSceneView draws the views that
// are to be shown. The caller swaps each.
void TickSceneReflection();
void DrawSceneView(int view);

// Before the rendering context goes: frees the snow's flakes and deletes the quadric. Every other
// OpenGL object ends with the context.
void ReleaseScene();
