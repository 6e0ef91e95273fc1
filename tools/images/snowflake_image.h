// The snowflake (TGA 148): 512 × 512, a white six-fold branched crystal whose alpha is 0 or
// 255 only, one connected shape with a transparent border.
#pragma once

#include "tools/images/raster.h"

constexpr int kSnowflakeSize = 512;

Rgba8Image MakeSnowflakeImage();
