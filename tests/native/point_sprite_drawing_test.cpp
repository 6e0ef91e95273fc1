// The point-sprite drawing as the OpenGL commands it issues.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/random.h"
#include "snow_fixture.h"

namespace {

class PointSpriteDrawingTest : public SnowTest {
protected:
    void SetUp() override {
        SnowTest::SetUp();
        SeedRandom(6);
        flakes.Init(kViewport, kProjection);
        AdvanceSeconds(0.02);
        flakes.Update();
        gl.Clear();
    }
    void TearDown() override {
        flakes.Release();
        SnowTest::TearDown();
    }

    // The calls of one draw that set the state, in the order they must come.
    static std::vector<std::string> StateCalls(const std::vector<std::string>& names) {
        std::vector<std::string> kept;
        for (const std::string& name : names) {
            if (name == "glGetUniformLocationARB" || name == "glGetAttribLocation") continue;
            kept.push_back(name);
        }
        return kept;
    }

    // The pointer each attribute array was given, found by the attribute's location.
    const void* AttributeArray(const char* name) {
        const GLint location = gl.AttribLocation(name);
        const void* found = nullptr;
        int matches = 0;
        for (const GlCall& call : gl.CallsOf("glVertexAttribPointer")) {
            if (call.Arg(0) != location) continue;
            found = call.pointers.at(0);
            ++matches;
        }
        EXPECT_EQ(matches, 1) << name;
        return found;
    }

    ParticleSnow flakes;
};

TEST_F(PointSpriteDrawingTest, OneDrawOfEveryFlakeAsBlendedPointSprites) {
    flakes.Render();
    const std::vector<std::string> expected = {
        "glEnable",          "glEnable",        "glBlendFunc",   "glTexEnvi",
        "glEnable",          "glBindTexture",   "glUseProgram",  "glEnableClientState",
        "glVertexPointer",   "glUniformMatrix4fv", "glUniform2f", "glEnableVertexAttribArray",
        "glVertexAttribPointer", "glEnableVertexAttribArray", "glVertexAttribPointer",
        "glEnableVertexAttribArray", "glVertexAttribPointer", "glDrawArrays", "glDisableClientState",
        "glDisable",         "glDisable"};
    ASSERT_EQ(StateCalls(gl.Names()), expected);

    const std::vector<GlCall>& calls = gl.Calls();
    auto at = [&](const char* name, size_t nth) {
        size_t index = gl.IndexOf(name);
        for (size_t n = 0; n < nth; ++n) index = gl.IndexOf(name, index + 1);
        return calls.at(index);
    };
    EXPECT_EQ(at("glEnable", 0).Arg(0), GL_POINT_SPRITE);
    EXPECT_EQ(at("glEnable", 1).Arg(0), GL_BLEND);
    EXPECT_EQ(at("glBlendFunc", 0).args, (std::vector<double>{GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}));
    EXPECT_EQ(at("glTexEnvi", 0).args, (std::vector<double>{GL_POINT_SPRITE, GL_COORD_REPLACE, GL_TRUE}));
    EXPECT_EQ(at("glEnable", 2).Arg(0), GL_VERTEX_PROGRAM_POINT_SIZE);
    EXPECT_EQ(at("glBindTexture", 0).args, (std::vector<double>{GL_TEXTURE_2D, static_cast<double>(snowTexture)}));
    EXPECT_EQ(at("glUseProgram", 0).Arg(0), pointSpriteProgram);
    EXPECT_EQ(at("glEnableClientState", 0).Arg(0), GL_VERTEX_ARRAY);
    const GlCall vertices = at("glVertexPointer", 0);
    EXPECT_EQ(vertices.args, (std::vector<double>{4, GL_FLOAT, 0}));
    EXPECT_EQ(vertices.pointers.at(0), flakes.positions);
    EXPECT_EQ(at("glDrawArrays", 0).args, (std::vector<double>{GL_POINTS, 0, 10000}));
    EXPECT_EQ(at("glDisableClientState", 0).Arg(0), GL_VERTEX_ARRAY);
    EXPECT_EQ(at("glDisable", 0).Arg(0), GL_POINT_SPRITE);
    EXPECT_EQ(at("glDisable", 1).Arg(0), GL_BLEND);
}

TEST_F(PointSpriteDrawingTest, UniformsAndAttributesAreFoundByNameOnEveryDraw) {
    for (int draw = 0; draw < 2; ++draw) {
        gl.Clear();
        flakes.Render();
        std::vector<std::string> uniforms, attributes;
        for (const GlCall& call : gl.CallsOf("glGetUniformLocationARB")) {
            EXPECT_EQ(call.Arg(0), pointSpriteProgram);
            uniforms.push_back(call.text);
        }
        for (const GlCall& call : gl.CallsOf("glGetAttribLocation")) {
            EXPECT_EQ(call.Arg(0), pointSpriteProgram);
            attributes.push_back(call.text);
        }
        EXPECT_EQ(uniforms, (std::vector<std::string>{"projMat", "viewportSize"}));
        EXPECT_EQ(attributes, (std::vector<std::string>{"pointScales", "angles", "colours"}));
    }

    const GlCall matrix = gl.CallsOf("glUniformMatrix4fv").at(0);
    ASSERT_EQ(matrix.args.size(), 3u + 16u);
    EXPECT_EQ(matrix.Arg(0), gl.UniformLocation("projMat"));
    EXPECT_EQ(matrix.Arg(1), 1);
    EXPECT_EQ(matrix.Arg(2), GL_FALSE);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(matrix.Arg(3 + i), kProjection[i]) << i;
    EXPECT_EQ(gl.CallsOf("glUniform2f").at(0).args,
              (std::vector<double>{static_cast<double>(gl.UniformLocation("viewportSize")), 1280, 720}));

    // Each attribute is enabled at its own location and given its array: one float per flake
    // for scale and angle, four for the colour, none normalised, tightly packed.
    std::vector<double> enabled;
    for (const GlCall& call : gl.CallsOf("glEnableVertexAttribArray")) enabled.push_back(call.Arg(0));
    EXPECT_EQ(enabled, (std::vector<double>{static_cast<double>(gl.AttribLocation("pointScales")),
                                            static_cast<double>(gl.AttribLocation("angles")),
                                            static_cast<double>(gl.AttribLocation("colours"))}));
    for (const GlCall& call : gl.CallsOf("glVertexAttribPointer")) {
        const double components = call.Arg(0) == gl.AttribLocation("colours") ? 4 : 1;
        EXPECT_EQ(call.args, (std::vector<double>{call.Arg(0), components, GL_FLOAT, GL_FALSE, 0}));
    }
    EXPECT_EQ(AttributeArray("pointScales"), flakes.pointScales);
    EXPECT_EQ(AttributeArray("angles"), flakes.angles);
    EXPECT_EQ(AttributeArray("colours"), flakes.colours);
}

TEST_F(PointSpriteDrawingTest, ReversedDrawingReadsTheReversedCopies) {
    flakes.RenderReversed();
    EXPECT_EQ(gl.CallsOf("glVertexPointer").at(0).pointers.at(0), flakes.reversedPositions);
    EXPECT_EQ(AttributeArray("angles"), flakes.reversedAngles);
    EXPECT_EQ(AttributeArray("pointScales"), flakes.pointScales);
    EXPECT_EQ(AttributeArray("colours"), flakes.colours);
    EXPECT_EQ(gl.CallsOf("glDrawArrays").at(0).args, (std::vector<double>{GL_POINTS, 0, 10000}));
    EXPECT_EQ(gl.CallsOf("glUseProgram").at(0).Arg(0), pointSpriteProgram);
}

TEST_F(PointSpriteDrawingTest, LeavesProgramPointSizeAndAttributesOnButBlendingAndSpritesOff) {
    flakes.Render();
    EXPECT_FALSE(gl.IsEnabled(GL_POINT_SPRITE));
    EXPECT_FALSE(gl.IsEnabled(GL_BLEND));
    EXPECT_TRUE(gl.IsEnabled(GL_VERTEX_PROGRAM_POINT_SIZE));
    // The caller restores the rest: nothing unbinds the texture or the program, disables an
    // attribute array or turns coordinate replacement off.
    EXPECT_EQ(gl.Count("glDisableVertexAttribArray"), 0u);
    EXPECT_EQ(gl.Count("glUseProgram"), 1u);
    EXPECT_EQ(gl.Count("glBindTexture"), 1u);
    EXPECT_EQ(gl.Count("glTexEnvi"), 1u);
    // Depth is the caller's business.
    EXPECT_EQ(gl.Count("glDepthMask"), 0u);
    for (const GlCall& call : gl.CallsOf("glEnable")) EXPECT_NE(call.Arg(0), GL_DEPTH_TEST);
    for (const GlCall& call : gl.CallsOf("glDisable")) EXPECT_NE(call.Arg(0), GL_DEPTH_TEST);
}

TEST_F(PointSpriteDrawingTest, NothingIsDrawnWhereTheContextLacksProgramsOrSprites) {
    GlCapabilities withoutPrograms = GlRecorder::AllCapabilities();
    withoutPrograms.shaderPrograms20 = false;
    gl.SetCapabilities(withoutPrograms);
    flakes.Render();
    flakes.RenderReversed();
    EXPECT_TRUE(gl.Calls().empty());

    GlCapabilities withoutSprites = GlRecorder::AllCapabilities();
    withoutSprites.pointSprites = false;
    gl.SetCapabilities(withoutSprites);
    flakes.Render();
    EXPECT_TRUE(gl.Calls().empty());

    gl.SetCapabilities(GlRecorder::AllCapabilities());
    flakes.Render();
    EXPECT_EQ(gl.Count("glDrawArrays"), 1u);
}

TEST_F(PointSpriteDrawingTest, ASystemWithNoParticlesStillSetsUpAndDrawsNone) {
    ParticleSnow unused;
    unused.Render();
    const std::vector<GlCall> draws = gl.CallsOf("glDrawArrays");
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].Arg(2), 0);
    EXPECT_EQ(gl.Count("glUseProgram"), 1u);
    // Its projection is the identity until it is initialised.
    const GlCall matrix = gl.CallsOf("glUniformMatrix4fv").at(0);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(matrix.Arg(3 + i), i % 5 == 0 ? 1.0 : 0.0) << i;
}

}  // namespace
