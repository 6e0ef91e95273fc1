// The saver's DPI awareness. The module declares per-monitor awareness, so the full-screen
// window is drawn at the display's own pixels; a preview, the child of another program's
// window, takes that window's awareness instead.
#pragma once

#include <windows.h>

// Runs the calling thread in the window's DPI awareness from now on, so that sizes read from
// the window and windows created in it mean the same as in the window's own program. Does
// nothing before Windows 10 1607, where a process has one awareness.
void AdoptDpiAwarenessOf(HWND window);
