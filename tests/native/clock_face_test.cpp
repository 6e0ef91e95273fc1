// The dial and the hands as command streams.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "mesh_inspection.h"
#include "scene/clock_face.h"
#include "scene_textures_fixture.h"

namespace {

class ClockFaceTest : public SceneTexturesTest {
protected:
    void SetUp() override {
        DrawClockFace();
        blocks = gl.Primitives();
        ASSERT_EQ(blocks.size(), 4u);
    }
    std::vector<GlPrimitive> blocks;  // front, back, hole wall, rim
};

TEST_F(ClockFaceTest, DialOnTheFrontOnlyThenTextureZero) {
    EXPECT_EQ(BoundTextures(), (std::vector<double>{firstTextureName + 7.0, 0.0}));
    EXPECT_EQ(gl.IndexOf("glBindTexture"), 0u);
    const size_t unbind = gl.IndexOf("glBindTexture", 1);
    EXPECT_GT(unbind, blocks[0].beginIndex);
    EXPECT_LT(unbind, blocks[1].beginIndex);
    const size_t expected[] = {240, 239, 120, 240};
    for (size_t b = 0; b < 4; ++b) EXPECT_EQ(TriangleVertices(blocks[b]).size(), expected[b]) << "block " << b;
    EXPECT_EQ(gl.Count("glColor3f"), 4u);
    EXPECT_EQ(MatrixCommands(), 0u);
}

TEST_F(ClockFaceTest, TheImageSpreadsAcrossTheDialFromRimToHole) {
    // The rim point and the hole point at 0 degrees.
    const GlVertex& rim = blocks[0].vertices[1];
    const GlVertex& hole = blocks[0].vertices[0];
    EXPECT_EQ(rim.position, (GlPoint{5, 0, 1}));
    EXPECT_EQ(rim.texCoord[0], 1.0);
    EXPECT_EQ(rim.texCoord[1], 0.5);
    EXPECT_EQ(hole.position, (GlPoint{0.1, 0, 1}));
    EXPECT_EQ(hole.texCoord[0], 0.51f);
    EXPECT_EQ(hole.texCoord[1], 0.5);
    // One linear mapping for the whole face: the image's inscribed circle fills the dial.
    for (const GlVertex& v : blocks[0].vertices) {
        EXPECT_NEAR(v.texCoord[0], 0.5 + 0.1 * v.position[0], 1e-6);
        EXPECT_NEAR(v.texCoord[1], 0.5 + 0.1 * v.position[1], 1e-6);
    }
}

TEST_F(ClockFaceTest, ClosedRimWithoutTeeth) {
    for (const auto& t : AllTriangles(blocks)) ASSERT_TRUE(NormalAgreesWithWinding(t));
    for (const GlVertex& v : blocks[3].vertices) EXPECT_NEAR(RadiusOf(v.position), 5.0, 1e-12);
    for (const GlVertex& v : blocks[2].vertices) EXPECT_NEAR(RadiusOf(v.position), 0.1, 1e-12);
}

// A hand as the clock's design gives it: rod and arrowhead in the hand's own frame.
struct HandDesign {
    std::string name;
    std::function<void()> draw;
    double rodEnd, rodHalfWidth;
    double tipOffset, tipRadius;
    double pointAt, wideEndAt, wideHalfWidth;
};

std::ostream& operator<<(std::ostream& out, const HandDesign& hand) { return out << hand.name; }

const HandDesign hands[] = {
    {"hour", [] { DrawHourHand(1.0f, 10.0f); }, 3.6, 0.3, -11.5, 2.0, 4.125, 3.425, 0.6},
    {"minute", [] { DrawMinuteHand(0.6f, 12.0f); }, 4.3, 0.18, -13.0, 1.2, 4.65, 3.95, 0.36},
};

GLUquadric* const fakeQuadric = reinterpret_cast<GLUquadric*>(0x5ca1ab1e);

class HandTest : public SceneTexturesTest, public testing::WithParamInterface<HandDesign> {
protected:
    void SetUp() override {
        savedQuadric_ = sceneQuadric;
        sceneQuadric = fakeQuadric;
        GetParam().draw();
        blocks = gl.Primitives();
        ASSERT_EQ(blocks.size(), 7u);  // four hub blocks, the rod's side and two caps
    }
    void TearDown() override { sceneQuadric = savedQuadric_; }

    std::vector<GlPrimitive> blocks;

private:
    GLUquadric* savedQuadric_ = nullptr;
};

TEST_P(HandTest, HubIsAFlattenedWasherDrawnInsideAPushAndPop) {
    const std::vector<std::string> names = gl.Names();
    ASSERT_GE(names.size(), 2u);
    EXPECT_EQ(names[0], "glPushMatrix");
    EXPECT_EQ(names[1], "glScalef");
    EXPECT_EQ(gl.Calls()[1].args, (std::vector<double>{1, 1, 0.05f}));
    const size_t pop = gl.IndexOf("glPopMatrix");
    EXPECT_GT(pop, blocks[3].beginIndex);
    EXPECT_LT(pop, blocks[4].beginIndex);
    EXPECT_EQ(gl.Count("glPushMatrix"), 1u);
    EXPECT_EQ(gl.Count("glPopMatrix"), 1u);

    // Nothing bound before the front, texture 0 after it, nothing more.
    EXPECT_EQ(BoundTextures(), std::vector<double>{0.0});
    const size_t unbind = gl.IndexOf("glBindTexture");
    EXPECT_GT(unbind, blocks[0].beginIndex);
    EXPECT_LT(unbind, blocks[1].beginIndex);
    EXPECT_EQ(gl.Count("glColor3f"), 4u);

    // An ellipse 0.4 across and 0.5 high, before the flattening.
    for (const GlVertex& v : blocks[3].vertices) {
        const double x = v.position[0] / 0.4, y = v.position[1] / 0.5;
        EXPECT_NEAR(x * x + y * y, 1.0, 1e-12);
    }
    for (size_t b = 0; b < 4; ++b)
        for (const auto& t : TriangleVertices(blocks[b])) ASSERT_TRUE(NormalAgreesWithWinding(t)) << "block " << b;
}

// On an ellipse the rim's normal is not radial: the first segment leans towards +y.
TEST_P(HandTest, HubRimNormalFollowsTheEllipse) {
    const auto rim = TriangleVertices(blocks[3]);
    ASSERT_EQ(rim.size(), 240u);
    const GlVertex& b = rim[0][0];
    const GlVertex& a = rim[0][1];
    EXPECT_NEAR(a.position[0], 0.4, 1e-12);
    EXPECT_NEAR(a.position[1], 0.0, 1e-12);
    EXPECT_NEAR(b.position[0], 0.39945, 1e-5);
    EXPECT_NEAR(b.position[1], 0.02617, 1e-5);
    EXPECT_NEAR(a.normal[0], 0.99978, 1e-5);
    EXPECT_NEAR(a.normal[1], 0.02094, 1e-5);
    EXPECT_EQ(a.normal[2], 0.0);
}

TEST_P(HandTest, RodPointsToTwelveInTheHandsFrame) {
    const HandDesign& hand = GetParam();
    const MatrixReplay replay(gl.Calls());
    const std::vector<GlPoint> placed = replay.PlacedVertices();
    const size_t hubVertices = (240 + 239 + 120 + 240) * 3;
    ASSERT_EQ(placed.size(), hubVertices + 240 * 3 + 2 * 122);
    GlPoint low{1e9, 1e9, 1e9}, high{-1e9, -1e9, -1e9};
    for (size_t i = hubVertices; i < placed.size(); ++i)
        for (int c = 0; c < 3; ++c) low[c] = std::min(low[c], placed[i][c]), high[c] = std::max(high[c], placed[i][c]);
    EXPECT_NEAR(low[1], 0.1, 1e-6);
    EXPECT_NEAR(high[1], hand.rodEnd, 1e-6);
    EXPECT_NEAR(high[0], hand.rodHalfWidth, 1e-6);
    EXPECT_NEAR(low[0], -hand.rodHalfWidth, 1e-6);
    EXPECT_NEAR(high[2], hand.rodHalfWidth / 10, 1e-6);  // 0.03 of the rod's radius
    // The hub itself stays within its flattened washer.
    for (size_t i = 0; i < hubVertices; ++i) EXPECT_LE(std::abs(placed[i][2]), 0.05 + 1e-9);
}

TEST_P(HandTest, ArrowheadIsAConePointingOutwardAndNoClosingPop) {
    const HandDesign& hand = GetParam();
    ASSERT_EQ(gl.Count("gluCylinder"), 1u);
    const size_t cone = gl.IndexOf("gluCylinder");
    const GlCall& call = gl.Calls()[cone];
    EXPECT_EQ(call.pointers, std::vector<const void*>{fakeQuadric});
    EXPECT_EQ(call.args, (std::vector<double>{0.00001, hand.tipRadius, 2.0, 25, 25}));
    EXPECT_EQ(cone, gl.Calls().size() - 1) << "the list ends with the matrix changed";

    const MatrixReplay replay(gl.Calls());
    const GlPoint point = replay.Place(cone, {0, 0, 0});
    const GlPoint wideEnd = replay.Place(cone, {0, 0, 2});
    const GlPoint wideEdge = replay.Place(cone, {hand.tipRadius, 0, 2});
    EXPECT_NEAR(point[1], hand.pointAt, 1e-5);
    EXPECT_NEAR(wideEnd[1], hand.wideEndAt, 1e-5);
    EXPECT_NEAR(wideEdge[0], hand.wideHalfWidth, 1e-6);
    EXPECT_NEAR(point[0], 0.0, 1e-9);
    // The arrowhead overlaps the rod's end.
    EXPECT_LT(hand.wideEndAt, hand.rodEnd);
}

TEST_P(HandTest, WithoutAQuadricTheHandGoesWithoutItsArrowhead) {
    const size_t withCone = gl.Calls().size();
    gl.Clear();
    sceneQuadric = nullptr;
    GetParam().draw();
    EXPECT_EQ(gl.Count("gluCylinder"), 0u);
    EXPECT_EQ(gl.Calls().size(), withCone - 1);
}

INSTANTIATE_TEST_SUITE_P(Hands, HandTest, testing::ValuesIn(hands),
                         [](const testing::TestParamInfo<HandDesign>& info) { return info.param.name; });

}  // namespace
