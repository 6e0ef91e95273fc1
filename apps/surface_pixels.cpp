#include "apps/surface_pixels.h"

#include <algorithm>

SurfacePixels SurfacePixelsFor(int logicalWidth, int logicalHeight, int modeWidth, int modeHeight,
                               int integerScale, uint32_t fractionalScale, bool viewportOffered) {
    const int scale = std::max(integerScale, 1);
    const int width = logicalWidth > 0 ? logicalWidth : modeWidth / scale;
    const int height = logicalHeight > 0 ? logicalHeight : modeHeight / scale;
    if (width <= 0 || height <= 0) return {};
    if (viewportOffered && fractionalScale > 0) {
        // Rounded to the nearest pixel, half away from zero, as the protocol asks.
        const auto scaled = [fractionalScale](int side) {
            return static_cast<int>((static_cast<int64_t>(side) * fractionalScale + 60) / 120);
        };
        return {scaled(width), scaled(height), 1, true, width, height};
    }
    return {width * scale, height * scale, scale, false, width, height};
}
