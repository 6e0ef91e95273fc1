#include "tools/images/sky_box_layout.h"

#include "tools/images/deterministic_math.h"

Direction Normalised(Direction d) {
    const double length = detmath::Sqrt(Dot(d, d));
    return {d.x / length, d.y / length, d.z / length};
}

const SkyFace& SkyFaceAt(int face) {
    static const SkyFace kFaces[kSkyFaceCount] = {
        {105, "sky_ahead.bmp"}, {108, "sky_behind.bmp"}, {109, "sky_right.bmp"},
        {110, "sky_left.bmp"},  {111, "sky_up.bmp"},     {106, "sky_down.bmp"},
    };
    return kFaces[face];
}

Direction SkyFacePoint(int face, double u, double v) {
    const double a = 2.0 * u - 1.0;
    const double b = 2.0 * v - 1.0;
    switch (face) {
        case 0: return {-a, b, 1.0};   // z = +1: u = (1 − x)/2, v = (1 + y)/2
        case 1: return {a, b, -1.0};   // z = −1: u = (1 + x)/2, v = (1 + y)/2
        case 2: return {-1.0, b, -a};  // x = −1: u = (1 − z)/2, v = (1 + y)/2
        case 3: return {1.0, b, a};    // x = +1: u = (1 + z)/2, v = (1 + y)/2
        // y = +1: drawn at (x, z) = (−b, a), u = (1 + z)/2, v = (1 − x)/2; the −90° turn
        // about y carries (x, z) to (−z, x).
        case 4: return {-a, 1.0, -b};
        // y = −1: drawn at (x, z) = (−a, b), u = (1 − x)/2, v = (1 + z)/2; the −180° turn
        // carries (x, z) to (−x, −z).
        default: return {a, -1.0, -b};
    }
}
