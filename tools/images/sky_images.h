// The six night-sky bitmaps (105, 106, 108 to 111), 600 × 600 each.
#pragma once

#include "tools/images/night_sky.h"
#include "tools/images/raster.h"

// Face `face` in the sky box's drawing order (see sky_box_layout.h), drawn from `sky`.
Rgb8Image MakeSkyFaceImage(const NightSky& sky, int face);
