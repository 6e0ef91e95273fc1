#include "gfx/view_bounds.h"

#include <cmath>

bool SphereOutsideView(const Matrix4& projection, const Matrix4& modelview, const BoundingSphere& sphere) {
    // Rows of projection x modelview, in double precision.
    double rows[4][4] = {};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            for (int k = 0; k < 4; ++k) {
                rows[r][c] += static_cast<double>(projection[4 * k + r]) * static_cast<double>(modelview[4 * c + k]);
            }
        }
    }
    // A point is inside where w + x, w - x, w + y, w - y and w + z are all at least 0.
    const double planes[5][4] = {
        {rows[3][0] + rows[0][0], rows[3][1] + rows[0][1], rows[3][2] + rows[0][2], rows[3][3] + rows[0][3]},
        {rows[3][0] - rows[0][0], rows[3][1] - rows[0][1], rows[3][2] - rows[0][2], rows[3][3] - rows[0][3]},
        {rows[3][0] + rows[1][0], rows[3][1] + rows[1][1], rows[3][2] + rows[1][2], rows[3][3] + rows[1][3]},
        {rows[3][0] - rows[1][0], rows[3][1] - rows[1][1], rows[3][2] - rows[1][2], rows[3][3] - rows[1][3]},
        {rows[3][0] + rows[2][0], rows[3][1] + rows[2][1], rows[3][2] + rows[2][2], rows[3][3] + rows[2][3]},
    };
    for (const auto& plane : planes) {
        const double length = std::sqrt(plane[0] * plane[0] + plane[1] * plane[1] + plane[2] * plane[2]);
        if (length == 0.0) continue;
        const double distance = (plane[0] * sphere.x + plane[1] * sphere.y + plane[2] * sphere.z + plane[3]) / length;
        if (distance < -sphere.radius) return true;
    }
    return false;
}
