// The sphere's command stream: strips, the order of the attribute calls, the seam and the poles.
#include <gtest/gtest.h>

#include <cmath>

#include "gfx/gl.h"
#include "gfx/sphere.h"
#include "tests/support/gl_recorder.h"

namespace {

using Point = std::array<double, 3>;

double Length(const Point& p) { return std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]); }

TEST(DrawSphere, FirstVerticesOfASmallSphere) {
    GlRecorder gl;
    DrawSphere(1.0f, 4, 2);
    const std::vector<GlPrimitive> strips = gl.Primitives();
    ASSERT_EQ(strips.size(), 2u);
    const std::vector<GlVertex>& v = strips[0].vertices;
    ASSERT_GE(v.size(), 4u);

    // The +z pole.
    EXPECT_EQ(v[0].position, (Point{0, 0, 1}));
    EXPECT_EQ(v[0].normal, (Point{0, 0, 1}));
    EXPECT_EQ(v[0].texCoord[0], 0.0);
    EXPECT_EQ(v[0].texCoord[1], 1.0);

    // On the equator at +y; z is the cosine of the single-precision pi/2.
    EXPECT_EQ(v[1].position[0], 0.0);
    EXPECT_EQ(v[1].position[1], 1.0);
    EXPECT_FLOAT_EQ(static_cast<float>(v[1].position[2]), -4.371139e-8f);
    EXPECT_EQ(v[1].texCoord[0], 0.0);
    EXPECT_EQ(v[1].texCoord[1], 0.5);

    // The pole again, a quarter further round in s.
    EXPECT_EQ(v[2].position, (Point{0, 0, 1}));
    EXPECT_EQ(v[2].texCoord[0], 0.25);
    EXPECT_EQ(v[2].texCoord[1], 1.0);

    // A quarter turn from +y towards -x.
    EXPECT_EQ(v[3].position[0], -1.0);
    EXPECT_NEAR(v[3].position[1], 0.0, 1e-7);
    EXPECT_NEAR(v[3].position[2], 0.0, 1e-7);
    EXPECT_EQ(v[3].texCoord[0], 0.25);
    EXPECT_EQ(v[3].texCoord[1], 0.5);

    // The second stack runs from the equator down to the -z pole.
    const std::vector<GlVertex>& lower = strips[1].vertices;
    EXPECT_EQ(lower[0].texCoord[1], 0.5);
    EXPECT_EQ(lower[1].texCoord[1], 0.0);
    EXPECT_NEAR(lower[1].position[2], -1.0, 1e-7);
}

TEST(DrawSphere, EachVertexIsTextureCoordinateNormalPosition) {
    GlRecorder gl;
    DrawSphere(2.0f, 3, 1);
    std::vector<std::string> expected = {"glBegin"};
    for (int i = 0; i < 2 * 4; ++i) {
        expected.insert(expected.end(), {"glTexCoord2f", "glNormal3f", "glVertex3f"});
    }
    expected.push_back("glEnd");
    EXPECT_EQ(gl.Names(), expected);
    EXPECT_EQ(gl.Calls()[0].Arg(0), GL_TRIANGLE_STRIP);
}

TEST(DrawSphere, TheSeamClosesExactlyWhileSReachesOne) {
    GlRecorder gl;
    DrawSphere(5.1f, 100, 50);
    for (const GlPrimitive& strip : gl.Primitives()) {
        const std::vector<GlVertex>& v = strip.vertices;
        ASSERT_EQ(v.size(), 202u);
        for (size_t k = 0; k < 2; ++k) {
            const GlVertex& first = v[k];
            const GlVertex& last = v[v.size() - 2 + k];
            EXPECT_EQ(last.position, first.position);
            EXPECT_EQ(last.normal, first.normal);
            EXPECT_EQ(last.texCoord[1], first.texCoord[1]);
            EXPECT_EQ(first.texCoord[0], 0.0);
            EXPECT_NEAR(last.texCoord[0], 1.0, 1e-5);
            EXPECT_NE(last.texCoord[0], 0.0);
        }
    }
}

TEST(DrawSphere, SurfaceLiesOnTheRadiusAndFacesOutwards) {
    GlRecorder gl;
    const float radius = 5.0f;
    DrawSphere(radius, 60, 30);
    size_t faces = 0;
    for (const GlPrimitive& strip : gl.Primitives()) {
        for (const GlVertex& vertex : strip.vertices) {
            EXPECT_NEAR(Length(vertex.position), radius, 1e-5);
            EXPECT_NEAR(Length(vertex.normal), 1.0, 1e-6);
            for (int i = 0; i < 3; ++i) EXPECT_NEAR(vertex.position[i], radius * vertex.normal[i], 1e-5);
        }
        for (const GlTriangle& t : Triangles(strip)) {
            const Point u = {t[1][0] - t[0][0], t[1][1] - t[0][1], t[1][2] - t[0][2]};
            const Point w = {t[2][0] - t[0][0], t[2][1] - t[0][1], t[2][2] - t[0][2]};
            const Point n = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]};
            if (Length(n) < 1e-6) continue;  // the collapsed triangles at the poles
            const Point centre = {t[0][0] + t[1][0] + t[2][0], t[0][1] + t[1][1] + t[2][1],
                                  t[0][2] + t[1][2] + t[2][2]};
            EXPECT_GT(n[0] * centre[0] + n[1] * centre[1] + n[2] * centre[2], 0.0);
            ++faces;
        }
    }
    // Every quad of the 60 × 30 grid but those at the poles gives two faces.
    EXPECT_EQ(faces, 60u * 2 * 28 + 60 * 2);
}

TEST(DrawSphere, StripCountsAndSizes) {
    struct Case {
        int slices;
        int stacks;
    };
    for (const Case c : {Case{100, 50}, Case{60, 30}, Case{4, 2}, Case{1, 1}}) {
        GlRecorder gl;
        DrawSphere(1.0f, c.slices, c.stacks);
        const std::vector<GlPrimitive> strips = gl.Primitives();
        ASSERT_EQ(strips.size(), static_cast<size_t>(c.stacks)) << c.slices << "x" << c.stacks;
        for (const GlPrimitive& strip : strips) {
            EXPECT_EQ(strip.mode, static_cast<GLenum>(GL_TRIANGLE_STRIP));
            EXPECT_EQ(strip.vertices.size(), 2u * (c.slices + 1));
        }
        EXPECT_EQ(gl.Count("glEnd"), static_cast<size_t>(c.stacks));
    }
}

TEST(DrawSphere, DegenerateCounts) {
    GlRecorder gl;
    DrawSphere(1.0f, 10, 0);
    DrawSphere(1.0f, 10, -3);
    EXPECT_TRUE(gl.Calls().empty());

    DrawSphere(1.0f, -1, 3);
    std::vector<std::string> emptyStrips;
    for (int i = 0; i < 3; ++i) emptyStrips.insert(emptyStrips.end(), {"glBegin", "glEnd"});
    EXPECT_EQ(gl.Names(), emptyStrips);

    // No slices: one vertex pair per strip, on the seam.
    gl.Clear();
    DrawSphere(1.0f, 0, 2);
    const std::vector<GlPrimitive> strips = gl.Primitives();
    ASSERT_EQ(strips.size(), 2u);
    ASSERT_EQ(strips[0].vertices.size(), 2u);
    EXPECT_EQ(strips[0].vertices[1].position[1], 1.0);
}

}  // namespace
