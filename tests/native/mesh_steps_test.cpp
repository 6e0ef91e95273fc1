// The shared mesh steps, recorded through the OpenGL recording layer.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/gl_recorder.h"
#include "mesh_inspection.h"
#include "scene/mesh_steps.h"

namespace {

constexpr double faceRadius = 5.0;
constexpr double holeRadius = 1.0;

DiscRings CircularRings(double inner, double outer, double textureFactor) {
    DiscRings rings;
    FillInnerRing(rings, inner, textureFactor);
    FillOuterRing(rings, outer, outer);
    return rings;
}

size_t TriangleCount(const GlPrimitive& primitive) { return TriangleVertices(primitive).size(); }

class RingDiscTest : public testing::Test {
protected:
    void Draw(FrontTexture frontTexture = FrontTexture::KeepBound) {
        EmitRingDisc(CircularRings(holeRadius, faceRadius, 0.1), plainRim, frontTexture);
        blocks = gl.Primitives();
        ASSERT_EQ(blocks.size(), 4u);
    }
    GlRecorder gl;
    std::vector<GlPrimitive> blocks;  // front, back, hole wall, outer wall
};

TEST_F(RingDiscTest, FourWhiteTriangleBlocksWithTheirCounts) {
    Draw();
    const size_t expected[] = {240, 239, 120, 240};
    for (size_t b = 0; b < 4; ++b) {
        EXPECT_EQ(blocks[b].mode, static_cast<GLenum>(GL_TRIANGLES));
        EXPECT_EQ(TriangleCount(blocks[b]), expected[b]) << "block " << b;
        const GlCall& first = gl.Calls().at(blocks[b].beginIndex + 1);
        EXPECT_EQ(first.name, "glColor3f") << "block " << b;
        EXPECT_EQ(first.args, (std::vector<double>{1, 1, 1})) << "block " << b;
    }
    EXPECT_EQ(gl.Count("glColor3f"), 4u);
    EXPECT_EQ(gl.Count("glBindTexture"), 0u);
}

TEST_F(RingDiscTest, TextureZeroIsBoundBetweenFrontAndBackOnlyWhenAsked) {
    Draw(FrontTexture::UnbindAfterFront);
    ASSERT_EQ(gl.Count("glBindTexture"), 1u);
    const size_t bind = gl.IndexOf("glBindTexture");
    EXPECT_EQ(gl.Calls()[bind].args, (std::vector<double>{GL_TEXTURE_2D, 0}));
    EXPECT_GT(bind, blocks[0].beginIndex);
    EXPECT_LT(bind, blocks[1].beginIndex);
    EXPECT_EQ(gl.Calls()[bind - 1].name, "glEnd");
}

// The faces' triangles overlap, but together they must leave no gap anywhere in the annulus.
TEST_F(RingDiscTest, FrontAndBackEachCoverTheWholeRing) {
    Draw();
    for (size_t b = 0; b < 2; ++b) {
        const auto triangles = Triangles(blocks[b]);
        int uncovered = 0;
        for (double r = holeRadius + 0.01; r < faceRadius - 0.01; r += 0.07) {
            for (double degrees = 0.25; degrees < 360.0; degrees += 0.5) {
                const double x = r * std::cos(degrees * M_PI / 180), y = r * std::sin(degrees * M_PI / 180);
                bool covered = false;
                for (const GlTriangle& t : triangles) covered = covered || CoversPoint(t, x, y);
                if (!covered) ++uncovered;
            }
        }
        EXPECT_EQ(uncovered, 0) << (b == 0 ? "front" : "back");
        // Nothing spills into the hole or beyond the rim either.
        for (const GlTriangle& t : triangles) EXPECT_FALSE(CoversPoint(t, 0.0, 0.0));
    }
}

TEST_F(RingDiscTest, EveryNormalFacesAwayFromItsSurface) {
    Draw();
    for (size_t b = 0; b < 4; ++b) {
        for (const auto& triangle : TriangleVertices(blocks[b])) {
            ASSERT_TRUE(NormalAgreesWithWinding(triangle)) << "block " << b;
            const GlPoint& n = triangle[0].normal;
            const GlPoint middle = Centroid({triangle[0].position, triangle[1].position, triangle[2].position});
            const GlPoint radial{middle[0], middle[1], 0.0};
            switch (b) {
                case 0: EXPECT_NEAR(n[2], 1.0, 1e-12); break;
                case 1: EXPECT_NEAR(n[2], -1.0, 1e-12); break;
                case 2: EXPECT_LT(Dot(n, radial), 0.0) << "the hole wall faces the axis"; break;
                case 3: EXPECT_GT(Dot(n, radial), 0.0) << "the rim faces outwards"; break;
            }
        }
    }
}

TEST_F(RingDiscTest, FacesSitOnTheirPlanesAndWallsSpanBoth) {
    Draw();
    for (const GlVertex& v : blocks[0].vertices) EXPECT_EQ(v.position[2], 1.0);
    for (const GlVertex& v : blocks[1].vertices) EXPECT_EQ(v.position[2], -1.0);
    for (size_t b = 2; b < 4; ++b) {
        for (const GlVertex& v : blocks[b].vertices) {
            EXPECT_EQ(std::abs(v.position[2]), 1.0);
            EXPECT_NEAR(RadiusOf(v.position), b == 2 ? holeRadius : faceRadius, 1e-12);
        }
    }
}

TEST_F(RingDiscTest, TexturesMapTheFacesOnceAndTheHoleWallAtUZero) {
    Draw();
    for (size_t b = 0; b < 2; ++b) {
        for (const GlVertex& v : blocks[b].vertices) {
            const double r = RadiusOf(v.position);
            // Outer points map the image's inscribed circle onto the rim; inner points keep a
            // tenth of the radius around the centre.
            const double scale = r > 2.0 ? 0.5 / faceRadius : 0.1 / holeRadius;
            EXPECT_NEAR(v.texCoord[0], 0.5 + scale * v.position[0], 1e-6);
            EXPECT_NEAR(v.texCoord[1], 0.5 + scale * v.position[1], 1e-6);
        }
    }
    for (const GlVertex& v : blocks[2].vertices) {
        EXPECT_EQ(v.texCoord[0], 0.0);
        EXPECT_FLOAT_EQ(v.texCoord[1], v.position[2] > 0 ? 0.0f : 0.5f);
    }
    for (const GlVertex& v : blocks[3].vertices) {
        EXPECT_TRUE(v.texCoord[0] == 0.0 || v.texCoord[0] == 0.3f);
        EXPECT_TRUE(v.texCoord[1] == 0.0 || v.texCoord[1] == 0.3f);
    }
}

// Each 3-degree step of the outer ring pairs with the inner point at or before it (every inner
// point spans two outer steps): front from 0 degrees upwards, back from 360 downwards.
TEST_F(RingDiscTest, FacesPairEachOuterStepWithItsInnerPoint) {
    Draw();
    // Degrees between two directions, so that 360 and 0 (and the seam point) agree.
    auto apart = [](const GlVertex& v, double degrees) {
        return std::abs(std::remainder(AngleOf(v.position) - degrees, 360.0));
    };
    const auto front = TriangleVertices(blocks[0]);
    ASSERT_EQ(front.size(), 240u);
    for (int k = 0; k < 120; ++k) {
        const double inner = 6.0 * (k / 2), outer = 3.0 * k;
        const double expected[2][3] = {{inner, outer, outer + 3}, {inner + 6, inner, outer + 3}};
        for (int t = 0; t < 2; ++t)
            for (int i = 0; i < 3; ++i) EXPECT_LT(apart(front[2 * k + t][i], expected[t][i]), 1e-3) << "k " << k;
    }
    const auto back = TriangleVertices(blocks[1]);
    ASSERT_EQ(back.size(), 239u);
    size_t next = 0;
    for (int k = 120; k >= 1; --k) {
        const double inner = 6.0 * (k / 2), outer = 3.0 * k;
        const auto& first = back[next++];
        EXPECT_LT(apart(first[0], inner), 1e-3) << "k " << k;
        EXPECT_LT(apart(first[1], outer), 1e-3) << "k " << k;
        EXPECT_LT(apart(first[2], outer - 3), 1e-3) << "k " << k;
        if (k == 1) continue;  // no inner point before the first
        const auto& second = back[next++];
        EXPECT_LT(apart(second[0], inner - 6), 1e-3) << "k " << k;
        EXPECT_LT(apart(second[1], inner), 1e-3) << "k " << k;
        EXPECT_LT(apart(second[2], outer - 3), 1e-3) << "k " << k;
    }
}

// The angles go through 3.14159/180, so the ring's last point stops just short of the first.
TEST_F(RingDiscTest, TheSeamPointIsComputedAndFallsShortOfTheFirst) {
    Draw();
    const GlVertex& first = blocks[0].vertices[1];  // O(0) of the first triangle
    const GlVertex& last = blocks[0].vertices.back();  // O(120) of the last
    EXPECT_EQ(first.position[0], faceRadius);
    EXPECT_EQ(first.position[1], 0.0);
    EXPECT_NEAR(last.position[1], -2.65e-5, 0.01e-5);
    EXPECT_NEAR(last.position[0], faceRadius, 1e-9);
    EXPECT_NE(last.position[0], first.position[0]);
}

TEST(MeshSteps, EmitTriangleGivesTheNormalOfItsCounterClockwiseSide) {
    GlRecorder gl;
    // Clockwise seen from +z, so its front faces -z.
    EmitTriangle({0, 0, 0}, {0, 2, 0}, {2, 0, 0}, {0.1f, 0.2f}, {0.3f, 0.4f}, {0.5f, 0.6f});
    EXPECT_EQ(gl.Names(), (std::vector<std::string>{"glNormal3dv", "glTexCoord2f", "glVertex3dv", "glTexCoord2f",
                                                    "glVertex3dv", "glTexCoord2f", "glVertex3dv"}));
    EXPECT_EQ(gl.Calls()[0].args, (std::vector<double>{0, 0, -1}));
    EXPECT_EQ(gl.Calls()[5].args, (std::vector<double>{0.5f, 0.6f}));
    EXPECT_EQ(gl.Calls()[6].args, (std::vector<double>{2, 0, 0}));
}

TEST(MeshSteps, EllipticalOuterRingKeepsTheCircularTexture) {
    DiscRings rings;
    FillOuterRing(rings, 0.4, 0.5);
    EXPECT_NEAR(rings.outer[0].x, 0.4, 1e-12);
    EXPECT_NEAR(rings.outer[30].x, 0.0, 1e-5);
    EXPECT_NEAR(rings.outer[30].y, 0.5, 1e-9);
    EXPECT_NEAR(rings.outer[30].tex.v, 1.0, 1e-6);
    EXPECT_NEAR(rings.outer[60].tex.u, 0.0, 1e-6);
    EXPECT_NEAR(rings.outer[60].x, -0.4, 1e-9);
}

class CappedCylinderTest : public testing::Test {
protected:
    void Draw(double radius, double top, double bottom) {
        EmitCappedCylinder(radius, top, bottom);
        blocks = gl.Primitives();
        ASSERT_EQ(blocks.size(), 3u);
    }
    GlRecorder gl;
    std::vector<GlPrimitive> blocks;  // side, top cap, bottom cap
};

TEST_F(CappedCylinderTest, SideOf240TrianglesAndTwoFansOf122Vertices) {
    Draw(0.5, 5, -5);
    EXPECT_EQ(blocks[0].mode, static_cast<GLenum>(GL_TRIANGLES));
    EXPECT_EQ(TriangleCount(blocks[0]), 240u);
    for (size_t b = 1; b < 3; ++b) {
        EXPECT_EQ(blocks[b].mode, static_cast<GLenum>(GL_TRIANGLE_FAN));
        EXPECT_EQ(blocks[b].vertices.size(), 122u);
    }
    EXPECT_EQ(gl.Count("glColor3f"), 0u);
    EXPECT_EQ(gl.Count("glBindTexture"), 0u);
    EXPECT_EQ(gl.Count("glNormal3dv"), 242u);  // one per side triangle, one per cap
}

TEST_F(CappedCylinderTest, CapsWindOutwardsSoBackFaceCullingKeepsBoth) {
    Draw(2.0, 3, -1);
    const GlPoint outward[3] = {{0, 0, 0}, {0, 0, 1}, {0, 0, -1}};
    for (size_t b = 1; b < 3; ++b) {
        const GlVertex& centre = blocks[b].vertices[0];
        EXPECT_EQ(centre.position, (GlPoint{0, 0, b == 1 ? 3.0 : -1.0}));
        EXPECT_EQ(centre.texCoord[0], 0.5);
        EXPECT_EQ(centre.texCoord[1], 0.5);
        const auto triangles = TriangleVertices(blocks[b]);
        EXPECT_EQ(triangles.size(), 120u);
        for (const auto& t : triangles) {
            EXPECT_EQ(t[0].normal, outward[b]);
            EXPECT_TRUE(NormalAgreesWithWinding(t));
        }
        // Each cap closes the ring from 0 to 360 degrees in its own direction.
        EXPECT_NEAR(AngleOf(blocks[b].vertices[b == 1 ? 1 : 121].position), 0.0, 1e-9);
    }
}

TEST_F(CappedCylinderTest, SideFacesOutwardsWithTheTextureWrappedOnce) {
    Draw(1.0, 0, -30);
    for (const auto& t : TriangleVertices(blocks[0])) {
        ASSERT_TRUE(NormalAgreesWithWinding(t));
        const GlPoint middle = Centroid({t[0].position, t[1].position, t[2].position});
        EXPECT_GT(Dot(t[0].normal, {middle[0], middle[1], 0}), 0.0);
        for (const GlVertex& v : t) {
            EXPECT_NEAR(RadiusOf(v.position), 1.0, 1e-12);
            EXPECT_EQ(v.texCoord[1], v.position[2] == 0 ? 0.0 : 1.0) << "v runs from the top edge down";
            // u falls from 1 at 0 degrees to 0 at 360 (the seam point lies just under 360).
            EXPECT_NEAR(v.texCoord[0], 1.0 - AngleOf(v.position) / 360.0, 1e-5);
        }
    }
    double zMin = 1e9, zMax = -1e9;
    for (const GlVertex& v : blocks[0].vertices) zMin = std::min(zMin, v.position[2]), zMax = std::max(zMax, v.position[2]);
    EXPECT_EQ(zMax, 0.0);
    EXPECT_EQ(zMin, -30.0);
}

}  // namespace
