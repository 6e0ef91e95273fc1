// The buffer a full-screen surface is drawn at on a Wayland output: the output's own pixels,
// not a smaller frame the compositor enlarges.
#pragma once

#include <cstdint>

struct SurfacePixels {
    int width = 0;  // the buffer, in the output's pixels; 0 where there is no size yet
    int height = 0;
    int bufferScale = 1;      // wl_surface's buffer scale
    bool throughViewport = false;  // drawn at a fractional scale, shown at the logical size by a viewport
    int logicalWidth = 0;  // the size it is shown at, in the compositor's logical pixels
    int logicalHeight = 0;
};

// For a surface the compositor configured at logicalWidth x logicalHeight (0: its choice, then
// the output's mode over its integer scale), on an output of that integer scale and preferred
// fractional scale in 120ths (0 where the compositor offers none), where a viewport can be had.
SurfacePixels SurfacePixelsFor(int logicalWidth, int logicalHeight, int modeWidth, int modeHeight,
                               int integerScale, uint32_t fractionalScale, bool viewportOffered);
