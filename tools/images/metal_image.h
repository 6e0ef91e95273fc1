// The weathered metal of the gears and axles (bitmap 107): 512 × 512 brushed, tarnished
// brass that repeats without a seam in both directions.
#pragma once

#include "tools/images/raster.h"

constexpr int kMetalSize = 512;

Rgb8Image MakeMetalImage();
