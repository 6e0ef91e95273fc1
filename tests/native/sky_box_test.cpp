// The sky box's command stream: six textured faces around the origin, seen from inside.
#include <gtest/gtest.h>

#include <cmath>

#include "mesh_inspection.h"
#include "scene/sky_box.h"
#include "scene_textures_fixture.h"

namespace {

// A face of the cube: the axis its plane is normal to, the side, the sky image it shows, and
// the image's closed-form mapping in the face's own coordinates.
struct SkyFaceDesign {
    int axis;
    double side;
    int texture;
    double (*u)(const GlPoint&);
    double (*v)(const GlPoint&);
};

const SkyFaceDesign faces[6] = {
    {2, +1, 6, [](const GlPoint& p) { return (1 - p[0]) / 2; }, [](const GlPoint& p) { return (1 + p[1]) / 2; }},
    {2, -1, 5, [](const GlPoint& p) { return (1 + p[0]) / 2; }, [](const GlPoint& p) { return (1 + p[1]) / 2; }},
    {0, -1, 3, [](const GlPoint& p) { return (1 - p[2]) / 2; }, [](const GlPoint& p) { return (1 + p[1]) / 2; }},
    {0, +1, 4, [](const GlPoint& p) { return (1 + p[2]) / 2; }, [](const GlPoint& p) { return (1 + p[1]) / 2; }},
    {1, +1, 1, [](const GlPoint& p) { return (1 + p[2]) / 2; }, [](const GlPoint& p) { return (1 - p[0]) / 2; }},
    {1, -1, 2, [](const GlPoint& p) { return (1 - p[0]) / 2; }, [](const GlPoint& p) { return (1 + p[2]) / 2; }},
};

class SkyBoxTest : public SceneTexturesTest {
protected:
    void SetUp() override {
        DrawSkyBox();
        blocks = gl.Primitives();
        ASSERT_EQ(blocks.size(), 6u);
    }
    std::vector<GlPrimitive> blocks;
};

TEST_F(SkyBoxTest, SixBindsInFaceOrderEachRightBeforeItsBlock) {
    std::vector<double> expected;
    for (const SkyFaceDesign& face : faces) expected.push_back(firstTextureName + face.texture);
    EXPECT_EQ(BoundTextures(), expected);
    for (const GlPrimitive& block : blocks) {
        EXPECT_EQ(gl.Calls().at(block.beginIndex - 1).name, "glBindTexture");
        EXPECT_EQ(block.mode, static_cast<GLenum>(GL_TRIANGLES));
        EXPECT_EQ(block.vertices.size(), 6u);
    }
    EXPECT_EQ(gl.Count("glColor3f") + gl.Count("glColor4f") + gl.Count("glColor3fv"), 0u);
}

TEST_F(SkyBoxTest, TheTwoQuarterTurnsComeBeforeTheFifthAndSixthFaces) {
    const auto turns = gl.CallsOf("glRotatef");
    ASSERT_EQ(turns.size(), 2u);
    for (const GlCall& turn : turns) EXPECT_EQ(turn.args, (std::vector<double>{-90, 0, 1, 0}));
    const size_t firstTurn = gl.IndexOf("glRotatef");
    const size_t secondTurn = gl.IndexOf("glRotatef", firstTurn + 1);
    EXPECT_EQ(firstTurn + 1, blocks[4].beginIndex - 1);  // then the bind, then the block
    EXPECT_GT(firstTurn, blocks[3].beginIndex);
    EXPECT_EQ(secondTurn + 1, blocks[5].beginIndex - 1);
    EXPECT_EQ(MatrixCommands(), 2u);
}

TEST_F(SkyBoxTest, EachFaceFillsItsPlaneWithItsImageOnce) {
    for (size_t f = 0; f < 6; ++f) {
        const SkyFaceDesign& face = faces[f];
        double area = 0;
        for (const GlTriangle& t : Triangles(blocks[f])) {
            const GlPoint w = WindingNormal(t);
            area += std::sqrt(Dot(w, w)) / 2;
        }
        EXPECT_DOUBLE_EQ(area, 4.0) << "face " << f;
        for (const GlVertex& v : blocks[f].vertices) {
            EXPECT_EQ(v.position[face.axis], face.side) << "face " << f;
            for (int c = 0; c < 3; ++c) EXPECT_EQ(std::abs(v.position[c]), 1.0);
            EXPECT_EQ(v.texCoord[0], face.u(v.position)) << "face " << f;
            EXPECT_EQ(v.texCoord[1], face.v(v.position)) << "face " << f;
        }
    }
}

// Counter-clockwise from outside, so only culling the front faces shows them from inside; the
// normals point inwards, to the viewer.
TEST_F(SkyBoxTest, TrianglesFaceOutwardsAndNormalsInwards) {
    for (size_t f = 0; f < 6; ++f) {
        GlPoint outward{0, 0, 0};
        outward[faces[f].axis] = faces[f].side;
        for (const auto& t : TriangleVertices(blocks[f])) {
            const GlPoint w = WindingNormal({t[0].position, t[1].position, t[2].position});
            EXPECT_GT(Dot(w, outward), 0.0) << "face " << f;
            const GlPoint inward{-outward[0], -outward[1], -outward[2]};
            EXPECT_EQ(t[0].normal, inward) << "face " << f;
        }
    }
}

TEST_F(SkyBoxTest, TurnedFacesStayOnTheirPlanes) {
    const MatrixReplay replay(gl.Calls());
    const std::vector<GlPoint> placed = replay.PlacedVertices();
    ASSERT_EQ(placed.size(), 36u);
    // The sixth face's first vertex (-1, -1, 1), after half a turn about y.
    const GlPoint first = placed[30];
    EXPECT_NEAR(first[0], 1.0, 1e-6);
    EXPECT_NEAR(first[1], -1.0, 1e-6);
    EXPECT_NEAR(first[2], -1.0, 1e-6);
    for (size_t i = 24; i < 36; ++i) EXPECT_NEAR(placed[i][1], i < 30 ? 1.0 : -1.0, 1e-9) << i;
    // The list leaves the matrix turned; the caller's push and pop undo it.
    EXPECT_EQ(replay.FinalDepth(), 0);
}

}  // namespace
