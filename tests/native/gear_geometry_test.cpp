// The gears, axles and pendulum as command streams.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "mesh_inspection.h"
#include "scene/gear_geometry.h"
#include "scene_textures_fixture.h"

namespace {

// One gear as the clock's design describes it: radii, the pitch of its teeth in degrees, and
// where each tooth's base and tip start, relative to the pitch.
struct GearDesign {
    std::string name;
    std::function<void()> draw;
    double holeRadius;
    double bodyRadius;
    double tipRadius;
    int teeth;
    double pitch;           // degrees per tooth
    double rimEnd;          // the plain rim runs from the pitch's start to here
    double baseStart, baseEnd, tipStart, tipEnd;
    size_t outerWallTriangles;
};

std::ostream& operator<<(std::ostream& out, const GearDesign& gear) { return out << gear.name; }

const GearDesign gears[] = {
    {"medium", DrawMediumGear, 1.0, 5.0, 7.0, 30, 12, 6, 6, 12, 9, 11, 420},
    {"small", DrawSmallGear, 0.5, 2.5, 4.5, 15, 24, 12, 12, 24, 18, 20, 270},
    {"large", DrawLargeGear, 2.0, 10.0, 12.0, 60, 6, 3, 3, 6, 4, 5, 720},
};

constexpr double angleTolerance = 1e-3;  // degrees; the angle factor is a little short of pi/180

class GearTest : public SceneTexturesTest, public testing::WithParamInterface<GearDesign> {
protected:
    void SetUp() override {
        GetParam().draw();
        blocks = gl.Primitives();
        ASSERT_EQ(blocks.size(), 4u);
    }

    // Splits the outer wall into its pieces: a tooth reaches past the body radius and has ten
    // triangles, a plain rim segment two.
    struct WallPieces {
        std::vector<std::vector<std::array<GlVertex, 3>>> rims, teeth;
        std::vector<char> order;  // 'r' or 't'
    };
    WallPieces SplitOuterWall() const {
        const auto triangles = TriangleVertices(blocks[3]);
        WallPieces pieces;
        for (size_t i = 0; i < triangles.size();) {
            bool reachesOut = false;
            for (const GlVertex& v : triangles[i]) reachesOut = reachesOut || RadiusOf(v.position) > GetParam().bodyRadius + 0.1;
            const size_t size = reachesOut ? 10 : 2;
            if (i + size > triangles.size()) {
                ADD_FAILURE() << "a piece is cut short at triangle " << i;
                break;
            }
            (reachesOut ? pieces.teeth : pieces.rims).emplace_back(triangles.begin() + i, triangles.begin() + i + size);
            pieces.order.push_back(reachesOut ? 't' : 'r');
            i += size;
        }
        return pieces;
    }

    std::vector<GlPrimitive> blocks;  // front, back, hole wall, outer wall
};

TEST_P(GearTest, OneBindOfTheMetalAndFourWhiteBlocks) {
    const size_t expected[] = {240, 239, 120, GetParam().outerWallTriangles};
    for (size_t b = 0; b < 4; ++b) {
        EXPECT_EQ(blocks[b].mode, static_cast<GLenum>(GL_TRIANGLES));
        EXPECT_EQ(TriangleVertices(blocks[b]).size(), expected[b]) << "block " << b;
        EXPECT_EQ(gl.Calls().at(blocks[b].beginIndex + 1).name, "glColor3f");
    }
    EXPECT_EQ(gl.Names().front(), "glBindTexture");
    EXPECT_EQ(BoundTextures(), std::vector<double>{firstTextureName + 0.0});
    ASSERT_EQ(gl.Count("glColor3f"), 4u);
    for (const GlCall& colour : gl.CallsOf("glColor3f")) EXPECT_EQ(colour.args, (std::vector<double>{1, 1, 1}));
    EXPECT_EQ(MatrixCommands(), 0u);
}

TEST_P(GearTest, EveryNormalAgreesWithItsWinding) {
    for (const auto& triangle : AllTriangles(blocks)) ASSERT_TRUE(NormalAgreesWithWinding(triangle));
}

// Walls and teeth each show a 0.3 x 0.3 patch of the metal: every triangle spans half of it.
TEST_P(GearTest, WallsAndTeethShowAPatchOfTheMetal) {
    for (const auto& triangle : TriangleVertices(blocks[3])) {
        for (const GlVertex& v : triangle) {
            EXPECT_TRUE(v.texCoord[0] == 0.0 || v.texCoord[0] == 0.3f);
            EXPECT_TRUE(v.texCoord[1] == 0.0 || v.texCoord[1] == 0.3f);
        }
        const double du1 = triangle[1].texCoord[0] - triangle[0].texCoord[0];
        const double dv1 = triangle[1].texCoord[1] - triangle[0].texCoord[1];
        const double du2 = triangle[2].texCoord[0] - triangle[0].texCoord[0];
        const double dv2 = triangle[2].texCoord[1] - triangle[0].texCoord[1];
        EXPECT_NEAR(std::abs(du1 * dv2 - dv1 * du2) / 2, 0.045, 1e-6);
    }
}

TEST_P(GearTest, BodyAndHoleHaveTheirRadii) {
    for (const GlVertex& v : blocks[2].vertices) EXPECT_NEAR(RadiusOf(v.position), GetParam().holeRadius, 1e-12);
    double outermost = 0;
    for (const GlVertex& v : blocks[0].vertices) outermost = std::max(outermost, RadiusOf(v.position));
    EXPECT_NEAR(outermost, GetParam().bodyRadius, 1e-12);
}

TEST_P(GearTest, TeethAndRimSegmentsAlternateByPitch) {
    const GearDesign& gear = GetParam();
    const WallPieces pieces = SplitOuterWall();
    ASSERT_EQ(pieces.teeth.size(), static_cast<size_t>(gear.teeth));
    ASSERT_EQ(pieces.rims.size(), 60u);

    // Within each pitch the plain segments come first, then the tooth.
    const size_t rimsPerPitch = 60 / gear.teeth;
    for (size_t p = 0; p < pieces.order.size(); ++p)
        EXPECT_EQ(pieces.order[p], p % (rimsPerPitch + 1) == rimsPerPitch ? 't' : 'r') << "piece " << p;

    for (size_t s = 0; s < pieces.rims.size(); ++s) {
        const double start = (s / rimsPerPitch) * gear.pitch;
        for (const auto& triangle : pieces.rims[s]) {
            for (const GlVertex& v : triangle) {
                EXPECT_NEAR(RadiusOf(v.position), gear.bodyRadius, 1e-9);
                const double a = AngleOf(v.position);
                EXPECT_GE(a, start - angleTolerance) << "segment " << s;
                EXPECT_LE(a, start + gear.rimEnd + angleTolerance) << "segment " << s;
            }
        }
    }
}

TEST_P(GearTest, EachToothStandsOnItsBaseWithItsTip) {
    const GearDesign& gear = GetParam();
    const WallPieces pieces = SplitOuterWall();
    ASSERT_EQ(pieces.teeth.size(), static_cast<size_t>(gear.teeth));
    for (int n = 0; n < gear.teeth; ++n) {
        const double pitchStart = n * gear.pitch;
        GlPoint middle{0, 0, 0};
        int onBase = 0, onTip = 0;
        for (const auto& triangle : pieces.teeth[n]) {
            for (const GlVertex& v : triangle) {
                const double r = RadiusOf(v.position), a = AngleOf(v.position);
                const bool tip = std::abs(r - gear.tipRadius) < 1e-9;
                ASSERT_TRUE(tip || std::abs(r - gear.bodyRadius) < 1e-9) << "tooth " << n << " radius " << r;
                const double first = pitchStart + (tip ? gear.tipStart : gear.baseStart);
                const double last = pitchStart + (tip ? gear.tipEnd : gear.baseEnd);
                const bool atCorner = std::abs(a - first) < angleTolerance || std::abs(a - last) < angleTolerance;
                EXPECT_TRUE(atCorner) << "tooth " << n << (tip ? " tip" : " base") << " at " << a << " degrees";
                (tip ? onTip : onBase)++;
                for (int c = 0; c < 3; ++c) middle[c] += v.position[c] / 30.0;
            }
        }
        EXPECT_GT(onTip, 0);
        EXPECT_GT(onBase, 0);
        // Every face of the tooth, its tip, flanks and both sides, faces away from its middle.
        for (const auto& triangle : pieces.teeth[n]) {
            const GlPoint c = Centroid({triangle[0].position, triangle[1].position, triangle[2].position});
            EXPECT_GT(Dot(triangle[0].normal, {c[0] - middle[0], c[1] - middle[1], c[2] - middle[2]}), 0.0)
                << "tooth " << n;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Gears, GearTest, testing::ValuesIn(gears),
                         [](const testing::TestParamInfo<GearDesign>& info) { return info.param.name; });

using MediumGearTest = SceneTexturesTest;

// Spelled out for the gear the others mesh with: rim from 0 to 6 degrees, then tooth 0.
TEST_F(MediumGearTest, FirstPitchIsTwoRimSegmentsThenToothZero) {
    DrawMediumGear();
    const auto wall = TriangleVertices(gl.Primitives().at(3));
    ASSERT_GE(wall.size(), 14u);
    const double rimCorners[4][2] = {{3, 0}, {0, 3}, {6, 3}, {3, 6}};  // [B+, A+, A-] then [A-, B-, B+]
    for (int t = 0; t < 4; ++t) {
        const GlVertex* v = wall[t].data();
        EXPECT_NEAR(AngleOf(v[0].position), rimCorners[t][0], angleTolerance) << t;
        EXPECT_NEAR(AngleOf(v[1].position), rimCorners[t][1], angleTolerance) << t;
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(RadiusOf(v[i].position), 5.0, 1e-9);
    }
    // The tip face comes first: [T1+, T0+, T0-] at radius 7, 11 and 9 degrees.
    const auto& tip = wall[4];
    EXPECT_NEAR(AngleOf(tip[0].position), 11.0, angleTolerance);
    EXPECT_NEAR(AngleOf(tip[1].position), 9.0, angleTolerance);
    EXPECT_EQ(tip[0].position[2], 1.0);
    EXPECT_EQ(tip[2].position[2], -1.0);
    for (const GlVertex& v : tip) EXPECT_NEAR(RadiusOf(v.position), 7.0, 1e-9);
    // The front face [T0+, T1+, B1+] reaches down to the base end at 12 degrees.
    EXPECT_NEAR(AngleOf(wall[6][2].position), 12.0, angleTolerance);
    EXPECT_NEAR(RadiusOf(wall[6][2].position), 5.0, 1e-9);
    // And the second face of the front [B1+, B0+, T0+] to the base start at 6 degrees.
    EXPECT_NEAR(AngleOf(wall[7][1].position), 6.0, angleTolerance);
}

using AxleTest = SceneTexturesTest;

TEST_F(AxleTest, ShaftCentredOnTheOriginWithNothingBoundOrColoured) {
    DrawAxle(0.5f, 10.0f);
    const auto blocks = gl.Primitives();
    ASSERT_EQ(blocks.size(), 3u);
    double zMin = 1e9, zMax = -1e9;
    for (const GlPrimitive& block : blocks) {
        for (const GlVertex& v : block.vertices) {
            zMin = std::min(zMin, v.position[2]);
            zMax = std::max(zMax, v.position[2]);
            EXPECT_LE(RadiusOf(v.position), 0.5 + 1e-12);
        }
    }
    EXPECT_EQ(zMin, -5.0);
    EXPECT_EQ(zMax, 5.0);
    EXPECT_NEAR(RadiusOf(blocks[0].vertices[0].position), 0.5, 1e-12);
    EXPECT_EQ(gl.Count("glBindTexture"), 0u);
    EXPECT_EQ(gl.Count("glColor3f"), 0u);
    EXPECT_EQ(MatrixCommands(), 0u);
}

class PendulumTest : public SceneTexturesTest {
protected:
    void SetUp() override {
        DrawPendulum(1.0f, 30.0f);
        blocks = gl.Primitives();
        ASSERT_EQ(blocks.size(), 3u + 30u);  // rod side and caps, then the bob's stacks
    }
    std::vector<GlPrimitive> blocks;
};

TEST_F(PendulumTest, RodHangsFromTheOriginThenTheMatrixMovesToTheBob) {
    for (size_t b = 0; b < 3; ++b) {
        for (const GlVertex& v : blocks[b].vertices) {
            EXPECT_LE(v.position[2], 0.0);
            EXPECT_GE(v.position[2], -30.0);
            EXPECT_LE(RadiusOf(v.position), 1.0 + 1e-12);
        }
    }
    EXPECT_EQ(blocks[0].vertices[0].position[2], 0.0);
    EXPECT_EQ(blocks[0].vertices[1].position[2], -30.0);

    // Between the rod's last block and the bob's first: translate, rotate, scale, in that order.
    const size_t rodEnd = gl.IndexOf("glEnd", blocks[2].beginIndex);
    const std::vector<std::string> names = gl.Names();
    const std::vector<std::string> between(names.begin() + rodEnd + 1, names.begin() + blocks[3].beginIndex);
    EXPECT_EQ(between, (std::vector<std::string>{"glTranslatef", "glRotatef", "glScalef"}));
    EXPECT_EQ(gl.CallsOf("glTranslatef").at(0).args, (std::vector<double>{0, 0, -30}));
    EXPECT_EQ(gl.CallsOf("glRotatef").at(0).args, (std::vector<double>{90, 1, 0, 0}));
    EXPECT_EQ(gl.CallsOf("glScalef").at(0).args, (std::vector<double>{1, 1, 0.4f}));
    // The matrix is left changed for the caller's push and pop to undo.
    EXPECT_EQ(gl.Count("glPushMatrix"), 0u);
    EXPECT_EQ(gl.Count("glPopMatrix"), 0u);
    EXPECT_EQ(gl.Count("glBindTexture"), 0u);
    EXPECT_EQ(gl.Count("glColor3f"), 0u);
}

TEST_F(PendulumTest, BobIsAFlatDiscCentredOnTheRodAtDepthThirty) {
    for (size_t b = 3; b < blocks.size(); ++b) {
        EXPECT_EQ(blocks[b].mode, static_cast<GLenum>(GL_TRIANGLE_STRIP));
        EXPECT_EQ(blocks[b].vertices.size(), 122u);  // 60 slices
        for (const GlVertex& v : blocks[b].vertices) {
            const GlPoint& p = v.position;
            EXPECT_NEAR(std::sqrt(Dot(p, p)), 5.0, 1e-5);
        }
    }
    // Placed in the rod's frame: semi-axes 5, 2 and 5 around (0, 0, -30).
    const MatrixReplay replay(gl.Calls());
    const std::vector<GlPoint> placed = replay.PlacedVertices();
    GlPoint low{1e9, 1e9, 1e9}, high{-1e9, -1e9, -1e9};
    const size_t rodVertices = 240 * 3 + 2 * 122;
    ASSERT_EQ(placed.size(), rodVertices + 30 * 122);
    for (size_t i = rodVertices; i < placed.size(); ++i) {
        for (int c = 0; c < 3; ++c) low[c] = std::min(low[c], placed[i][c]), high[c] = std::max(high[c], placed[i][c]);
    }
    const GlPoint expectedLow{-5, -2, -35}, expectedHigh{5, 2, -25};
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(low[c], expectedLow[c], 1e-3) << "axis " << c;
        EXPECT_NEAR(high[c], expectedHigh[c], 1e-3) << "axis " << c;
    }
    EXPECT_EQ(replay.FinalDepth(), 0);
}

}  // namespace
