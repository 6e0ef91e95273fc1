// The six faces of the night sky's box, defined once: the scene draws them, and the image
// generator paints each sky image for the directions in the world that its face covers.
// Plain data, no OpenGL.
#pragma once

#include "resources/resource_ids.h"

struct SkyBoxVertex {
    double x, y, z;  // a corner of the cube of half-size 1
    float u, v;      // its texture coordinate
};

struct SkyBoxFace {
    int bitmapId;
    const char* fileName;  // as resources/Vintrel.rc names it
    int textureIndex;      // which of sceneTextures holds the image
    bool turnFirst;        // a further -90 degrees about y before this face is drawn
    SkyBoxVertex triangles[2][3];
};

constexpr int skyBoxFaceCount = 6;

// In drawing order. Each image fills its face exactly once; every triangle winds
// counter-clockwise seen from outside. The faces on the y planes are drawn after a quarter and
// a half turn about y, which keeps them on their planes but turns their images.
constexpr SkyBoxFace skyBoxFaces[skyBoxFaceCount] = {
    {SKY_AHEAD_BITMAP, "sky_ahead.bmp", 6, false,
     {{{-1, -1, 1, 1, 0}, {1, -1, 1, 0, 0}, {1, 1, 1, 0, 1}}, {{-1, -1, 1, 1, 0}, {1, 1, 1, 0, 1}, {-1, 1, 1, 1, 1}}}},
    {SKY_BEHIND_BITMAP, "sky_behind.bmp", 5, false,
     {{{-1, -1, -1, 0, 0}, {1, 1, -1, 1, 1}, {1, -1, -1, 1, 0}}, {{-1, -1, -1, 0, 0}, {-1, 1, -1, 0, 1}, {1, 1, -1, 1, 1}}}},
    {SKY_RIGHT_BITMAP, "sky_right.bmp", 3, false,
     {{{-1, -1, -1, 1, 0}, {-1, -1, 1, 0, 0}, {-1, 1, 1, 0, 1}}, {{-1, -1, -1, 1, 0}, {-1, 1, 1, 0, 1}, {-1, 1, -1, 1, 1}}}},
    {SKY_LEFT_BITMAP, "sky_left.bmp", 4, false,
     {{{1, -1, 1, 1, 0}, {1, -1, -1, 0, 0}, {1, 1, -1, 0, 1}}, {{1, -1, 1, 1, 0}, {1, 1, -1, 0, 1}, {1, 1, 1, 1, 1}}}},
    {SKY_UP_BITMAP, "sky_up.bmp", 1, true,
     {{{-1, 1, 1, 1, 1}, {1, 1, 1, 1, 0}, {1, 1, -1, 0, 0}}, {{-1, 1, 1, 1, 1}, {1, 1, -1, 0, 0}, {-1, 1, -1, 0, 1}}}},
    {SKY_DOWN_BITMAP, "sky_down.bmp", 2, true,
     {{{-1, -1, 1, 1, 1}, {1, -1, -1, 0, 0}, {1, -1, 1, 0, 1}}, {{-1, -1, 1, 1, 1}, {-1, -1, -1, 1, 0}, {1, -1, -1, 0, 0}}}},
};
