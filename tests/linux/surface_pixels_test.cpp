#include "apps/surface_pixels.h"

#include <gtest/gtest.h>

TEST(SurfacePixels, TheOutputsOwnPixelsAtEveryScale) {
    struct Case {  // logical size, mode, integer and fractional scale, viewport; then the buffer
        int logicalWidth, logicalHeight, modeWidth, modeHeight, scale;
        uint32_t fractional;
        bool viewport;
        int width, height, bufferScale;
        bool throughViewport;
    };
    const Case cases[] = {
        {1280, 720, 1280, 720, 1, 0, true, 1280, 720, 1, false},
        {640, 360, 1280, 720, 2, 0, true, 1280, 720, 2, false},      // scale 2: not enlarged
        {360, 640, 720, 1280, 2, 0, false, 720, 1280, 2, false},     // portrait
        {1280, 720, 1920, 1080, 2, 180, true, 1920, 1080, 1, true},  // 1.5 through a viewport
        {853, 480, 1280, 720, 2, 180, true, 1280, 720, 1, true},     // 1279.5 and 720: to nearest
        {1280, 720, 1920, 1080, 2, 180, false, 2560, 1440, 2, false},  // no viewport: integer scale
        {0, 0, 2560, 1440, 2, 0, true, 2560, 1440, 2, false},          // the compositor's choice: the mode
        {0, 0, 0, 0, 1, 0, true, 0, 0, 1, false},                      // no size yet
        {1280, 720, 1280, 720, 0, 0, true, 1280, 720, 1, false},       // no scale told: 1
    };
    for (const Case& c : cases) {
        const SurfacePixels pixels =
            SurfacePixelsFor(c.logicalWidth, c.logicalHeight, c.modeWidth, c.modeHeight, c.scale, c.fractional, c.viewport);
        EXPECT_EQ(pixels.width, c.width) << c.logicalWidth << " at " << c.scale << "/" << c.fractional;
        EXPECT_EQ(pixels.height, c.height) << c.logicalWidth << " at " << c.scale << "/" << c.fractional;
        EXPECT_EQ(pixels.bufferScale, c.bufferScale) << c.logicalWidth << " at " << c.scale << "/" << c.fractional;
        EXPECT_EQ(pixels.throughViewport, c.throughViewport) << c.logicalWidth;
    }
}
