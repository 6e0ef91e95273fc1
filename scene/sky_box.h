// The night sky: a cube of half-size 1 with one sky image on each face, seen from inside.
#pragma once

#include <cstdint>

// Six faces, each with its own texture bind and triangle block. The triangles wind
// counter-clockwise seen from outside, so the caller culls front faces while drawing it; the
// normals point inwards. Leaves the matrix turned by -180 degrees about y and the last sky
// texture bound: the caller brackets the list in a push and a pop.
// `textures` holds each face's image at the face's textureIndex.
void DrawSkyBox(const uint32_t* textures);
