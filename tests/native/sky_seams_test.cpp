// The six embedded night-sky bitmaps, laid on the cube as the sky box lays them (its texture
// coordinates and its turns about y), meet without seams. Worked out from the drawing table
// alone: for points just either side of each cube edge, find the face, the triangle and the
// texture coordinate there, and compare the texels.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <optional>
#include <vector>

#include "resource_images.h"
#include "sky_box_table.h"

namespace {

struct Vec3 {
    double v[3];
};

constexpr int kSide = 600;

Vec3 TurnAboutY(const Vec3& p, double degrees) {
    const double a = degrees * M_PI / 180.0;
    return {{p.v[0] * std::cos(a) + p.v[2] * std::sin(a), p.v[1], -p.v[0] * std::sin(a) + p.v[2] * std::cos(a)}};
}

// The world axis (0, 1, 2) and sign of the cube plane a face ends up on.
struct Plane {
    int axis;
    double sign;
};

Plane WorldPlaneOf(const TableFace& face) {
    const Vec3 a = TurnAboutY({{face.vertices[0].x, face.vertices[0].y, face.vertices[0].z}}, face.turnDegrees);
    const Vec3 b = TurnAboutY({{face.vertices[1].x, face.vertices[1].y, face.vertices[1].z}}, face.turnDegrees);
    const Vec3 c = TurnAboutY({{face.vertices[2].x, face.vertices[2].y, face.vertices[2].z}}, face.turnDegrees);
    for (int axis = 0; axis < 3; ++axis)
        if (std::fabs(a.v[axis] - b.v[axis]) < 1e-9 && std::fabs(a.v[axis] - c.v[axis]) < 1e-9)
            return {axis, a.v[axis] > 0 ? 1.0 : -1.0};
    return {-1, 0};
}

// Texture coordinate of world point `p` on `face`: undo the face's turn, then interpolate the
// texture coordinates of the triangle of the table that holds the point.
std::optional<std::array<double, 2>> TextureCoordinateAt(const TableFace& face, const Vec3& world) {
    const Vec3 p = TurnAboutY(world, -face.turnDegrees);
    for (int triangle = 0; triangle < 2; ++triangle) {
        const TableVertex* t = face.vertices + triangle * 3;
        // Barycentric coordinates in the face's plane (drop the constant axis).
        int keep[2], k = 0;
        for (int axis = 0; axis < 3; ++axis) {
            const double a0 = axis == 0 ? t[0].x : axis == 1 ? t[0].y : t[0].z;
            const double a1 = axis == 0 ? t[1].x : axis == 1 ? t[1].y : t[1].z;
            const double a2 = axis == 0 ? t[2].x : axis == 1 ? t[2].y : t[2].z;
            if (!(a0 == a1 && a1 == a2) && k < 2) keep[k++] = axis;
        }
        auto coord = [&](const TableVertex& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; };
        const double x0 = coord(t[0], keep[0]), y0 = coord(t[0], keep[1]);
        const double x1 = coord(t[1], keep[0]), y1 = coord(t[1], keep[1]);
        const double x2 = coord(t[2], keep[0]), y2 = coord(t[2], keep[1]);
        const double px = p.v[keep[0]], py = p.v[keep[1]];
        const double det = (x1 - x0) * (y2 - y0) - (x2 - x0) * (y1 - y0);
        const double b1 = ((px - x0) * (y2 - y0) - (x2 - x0) * (py - y0)) / det;
        const double b2 = ((x1 - x0) * (py - y0) - (px - x0) * (y1 - y0)) / det;
        const double b0 = 1.0 - b1 - b2;
        if (b0 < -1e-9 || b1 < -1e-9 || b2 < -1e-9) continue;
        return std::array<double, 2>{b0 * t[0].u + b1 * t[1].u + b2 * t[2].u, b0 * t[0].v + b1 * t[1].v + b2 * t[2].v};
    }
    return std::nullopt;
}

// The texel (as the texture's first row is the bitmap's bottom row) under a texture coordinate.
const uint8_t* TexelAt(const DecodedImage& image, std::array<double, 2> uv) {
    const int column = std::min(kSide - 1, std::max(0, static_cast<int>(std::floor(uv[0] * kSide))));
    const int rowFromBottom = std::min(kSide - 1, std::max(0, static_cast<int>(std::floor(uv[1] * kSide))));
    return image.At(column, kSide - 1 - rowFromBottom);
}

double Difference(const uint8_t* a, const uint8_t* b) {
    return (std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2])) / 3.0;
}

struct EdgeReport {
    int faceA, faceB;
    double across;  // mean difference between the two texels that meet at the edge
    double within;  // mean difference between neighbouring texels inside either face
    double worst;   // largest difference across, in the worst texel pair
};

// Walks all twelve cube edges at texel centres and compares the texels on either side.
std::vector<EdgeReport> MeasureSeams(const std::array<DecodedImage, 6>& faces) {
    Plane planes[6];
    for (int f = 0; f < 6; ++f) planes[f] = WorldPlaneOf(kSkyBoxTable[f]);
    auto faceOn = [&](int axis, double sign) {
        for (int f = 0; f < 6; ++f)
            if (planes[f].axis == axis && planes[f].sign == sign) return f;
        return -1;
    };

    std::vector<EdgeReport> reports;
    const double texel = 2.0 / kSide;  // the cube is two units across
    for (int runs = 0; runs < 3; ++runs) {
        const int axisA = (runs + 1) % 3, axisB = (runs + 2) % 3;
        for (const double signA : {-1.0, 1.0}) {
            for (const double signB : {-1.0, 1.0}) {
                // The edge where the plane axisA = signA meets the plane axisB = signB.
                const int faceA = faceOn(axisA, signA), faceB = faceOn(axisB, signB);
                EdgeReport report{faceA, faceB, 0, 0, 0};
                if (faceA < 0 || faceB < 0) {
                    reports.push_back(report);
                    continue;
                }
                for (int k = 0; k < kSide; ++k) {
                    Vec3 edge{};
                    edge.v[runs] = -1.0 + (k + 0.5) * texel;
                    edge.v[axisA] = signA;
                    edge.v[axisB] = signB;
                    // Half a texel and one and a half texels into each face.
                    auto into = [&](int awayAxis, double awaySign, double depth) {
                        Vec3 p = edge;
                        p.v[awayAxis] -= awaySign * depth * texel;
                        return p;
                    };
                    const auto a0 = TextureCoordinateAt(kSkyBoxTable[faceA], into(axisB, signB, 0.5));
                    const auto a1 = TextureCoordinateAt(kSkyBoxTable[faceA], into(axisB, signB, 1.5));
                    const auto b0 = TextureCoordinateAt(kSkyBoxTable[faceB], into(axisA, signA, 0.5));
                    const auto b1 = TextureCoordinateAt(kSkyBoxTable[faceB], into(axisA, signA, 1.5));
                    if (!a0 || !a1 || !b0 || !b1) {
                        report.across = 1e9;
                        break;
                    }
                    const uint8_t* ta0 = TexelAt(faces[faceA], *a0);
                    const uint8_t* tb0 = TexelAt(faces[faceB], *b0);
                    const double across = Difference(ta0, tb0);
                    report.across += across / kSide;
                    report.worst = std::max(report.worst, across);
                    report.within += 0.5 * (Difference(ta0, TexelAt(faces[faceA], *a1)) +
                                            Difference(tb0, TexelAt(faces[faceB], *b1))) / kSide;
                }
                reports.push_back(report);
            }
        }
    }
    return reports;
}

// A seam shows as a jump across the edge larger than the sky's own texel-to-texel changes.
bool Seamless(const EdgeReport& edge) { return edge.across <= 1.5 * edge.within + 1.0; }

std::array<DecodedImage, 6> EmbeddedSkyFaces() {
    std::array<DecodedImage, 6> faces;
    for (int f = 0; f < 6; ++f) {
        const auto image = EmbeddedBitmap(kSkyBoxTable[f].bitmapId);
        if (image && image->width == kSide && image->height == kSide) faces[f] = *image;
    }
    return faces;
}

TEST(SkySeams, AllTwelveEdgesJoinWithoutASeam) {
    const std::array<DecodedImage, 6> faces = EmbeddedSkyFaces();
    for (const DecodedImage& face : faces) ASSERT_EQ(face.width, kSide);
    const std::vector<EdgeReport> edges = MeasureSeams(faces);
    ASSERT_EQ(edges.size(), 12u);
    for (const EdgeReport& edge : edges) {
        ASSERT_GE(edge.faceA, 0);
        ASSERT_GE(edge.faceB, 0);
        SCOPED_TRACE("faces " + std::to_string(edge.faceA + 1) + " and " + std::to_string(edge.faceB + 1));
        EXPECT_TRUE(Seamless(edge)) << "across " << edge.across << ", within " << edge.within;
        // No single pair of texels jumps by more than a bright star's core would.
        EXPECT_LT(edge.worst, 80.0);
    }
}

// The measure itself can see a seam: turning any one face's image the wrong way round opens
// the edges around it.
TEST(SkySeams, AMirroredFaceWouldBeSeen) {
    const std::array<DecodedImage, 6> faces = EmbeddedSkyFaces();
    for (const DecodedImage& face : faces) ASSERT_EQ(face.width, kSide);
    for (int mirrored = 0; mirrored < 6; ++mirrored) {
        std::array<DecodedImage, 6> wrong = faces;
        DecodedImage& image = wrong[mirrored];
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide / 2; ++x)
                for (int c = 0; c < 3; ++c)
                    std::swap(image.pixels[(y * kSide + x) * 3 + c], image.pixels[(y * kSide + kSide - 1 - x) * 3 + c]);
        int opened = 0;
        for (const EdgeReport& edge : MeasureSeams(wrong))
            if ((edge.faceA == mirrored || edge.faceB == mirrored) && !Seamless(edge)) ++opened;
        EXPECT_GE(opened, 3) << "face " << mirrored + 1 << " mirrored";
    }
}

}  // namespace
