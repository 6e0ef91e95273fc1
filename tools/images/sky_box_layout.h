// Where each night-sky bitmap lies on the sky box. The box draws face after face, each on its
// plane of the cube with its own texture coordinates, and turns the last two by −90° and −180°
// about y (scene/sky_box_faces.h, the table the scene draws from); to make the six images meet
// without seams, every texel is drawn from the direction in the world that it ends up covering.
#pragma once

#include "gfx/vector3.h"
#include "scene/sky_box_faces.h"

using Direction = Vector3d;

Direction Normalised(Direction d);

constexpr int kSkyFaceCount = skyBoxFaceCount;
constexpr int kSkyFaceSize = 600;

// The faces in the order the sky box draws them: z = +1, z = −1, x = −1, x = +1, then y = +1
// and y = −1 (the two turned ones). The viewer looks along +z, so x = −1 is on the right.
inline const SkyBoxFace& SkyFaceAt(int face) { return skyBoxFaces[face]; }

// The point of the cube (not normalised) that texture coordinate (u, v) of `face` covers in the
// world, after the turns.
Direction SkyFacePoint(int face, double u, double v);
