#include "tools/images/sky_box_layout.h"

#include "tools/images/deterministic_math.h"

namespace {

// The corner of `face` whose texture coordinate is (u, v); every face has all four.
Direction CornerAt(const SkyBoxFace& face, float u, float v) {
    for (const auto& triangle : face.triangles) {
        for (const SkyBoxVertex& corner : triangle) {
            if (corner.u == u && corner.v == v) return {corner.x, corner.y, corner.z};
        }
    }
    return {};
}

}  // namespace

Direction Normalised(Direction d) {
    const double length = detmath::Sqrt(Dot(d, d));
    return {d.x / length, d.y / length, d.z / length};
}

Direction SkyFacePoint(int face, double u, double v) {
    // The face is flat and its image fills it once, so the point moves linearly with u and v
    // from the corner at (0, 0); the steps are whole multiples of 2, so every sum is exact.
    const SkyBoxFace& drawn = skyBoxFaces[face];
    const Direction origin = CornerAt(drawn, 0.0f, 0.0f);
    const Direction uEnd = CornerAt(drawn, 1.0f, 0.0f);
    const Direction vEnd = CornerAt(drawn, 0.0f, 1.0f);
    Direction p = {origin.x + u * (uEnd.x - origin.x) + v * (vEnd.x - origin.x),
                   origin.y + u * (uEnd.y - origin.y) + v * (vEnd.y - origin.y),
                   origin.z + u * (uEnd.z - origin.z) + v * (vEnd.z - origin.z)};
    // Each −90° turn about y carries (x, z) to (−z, x); the turns add up over the faces.
    int turns = 0;
    for (int i = 0; i <= face; ++i) turns += skyBoxFaces[i].turnFirst ? 1 : 0;
    for (int i = 0; i < turns; ++i) p = {-p.z, p.y, p.x};
    return p;
}
