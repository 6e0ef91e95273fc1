// The dial (bitmap 104): 780 × 780, its inscribed circle the face of the clock, 12 at the top
// as the image is viewed.
#pragma once

#include "tools/images/raster.h"

constexpr int kClockFaceSize = 780;

Rgb8Image MakeClockFaceImage();
