// Which views a full-screen window over several monitors draws: one per monitor, each showing
// the whole clock, decided from the rectangles the window system reports.
#pragma once

#include "scene/scene_window.h"

// monitors are in screen coordinates (x right, y down); the window's client area has its top
// left corner at (clientLeft, clientTop) of the same screen. Writes to views, in client
// coordinates, each monitor clipped to the client area, leaving out one that keeps nothing of it
// or that overlaps one already kept (a mirrored display), and at most maxSceneViews; returns
// how many it wrote.
int MonitorViews(const ViewRect* monitors, int monitorCount, int clientLeft, int clientTop, int clientWidth,
                 int clientHeight, ViewRect* views);

// True when the two rectangles share a pixel.
bool ViewsOverlap(const ViewRect& a, const ViewRect& b);
