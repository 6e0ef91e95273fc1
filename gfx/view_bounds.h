// Whether a piece of the scene can be seen at all: a sphere that holds it against the view's
// frustum. A piece wholly outside gives no fragment, so leaving it out changes no pixel.
#pragma once

#include "gfx/matrix.h"

// In the coordinates of the piece's own list.
struct BoundingSphere {
    double x, y, z;
    double radius;
};

// True when the sphere lies wholly behind the near plane or beyond one of the four sides of the
// view that `projection` times `modelview` gives (the modelview maps the sphere's coordinates
// to the eye's). The far plane is not looked at: nothing in the scene lies beyond it.
bool SphereOutsideView(const Matrix4& projection, const Matrix4& modelview, const BoundingSphere& sphere);
