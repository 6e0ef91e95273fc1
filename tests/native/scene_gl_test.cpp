// The scene on a real OpenGL: what set-up makes and what a frame leaves for the next.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "apps/egl_context.h"
#include "gfx/camera_frame.h"
#include "gfx/gl.h"
#include "particles/particle_snow.h"
#include "platform/platform_posix_control.h"
#include "scene/clock_time.h"
#include "scene/render_frame.h"
#include "scene/scene_setup.h"
#include "scene/scene_window.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

class SceneGl : public testing::Test {
protected:
    // One window's life: set-up once, then frames.
    static void SetUpTestSuite() {
        context_ = new OffscreenContext;
        if (!context_->Create(kWidth, kHeight)) return;
        FreezeLocalTime({10, 9, 30, 0});
        FreezeTickCount(7);
        FreezePerformanceCounter(1'000'000'000'000);
        clientWidth = kWidth;
        clientHeight = kHeight;
        SetupProjection();
        SceneSetup();
        snow.RewindStopwatch(0.0);
        DrawFrameAt(1.0);
        ready_ = true;
    }

    static void TearDownTestSuite() {
        snow.Release();
        if (sceneQuadric) gluDeleteQuadric(sceneQuadric);
        sceneQuadric = nullptr;
        delete context_;
        UnfreezeClocks();
    }

    void SetUp() override { ASSERT_TRUE(ready_) << context_->error(); }

    static void DrawFrameAt(double clockSeconds) {
        RewindAnimationStopwatches(clockSeconds);
        UpdateScene();
        RenderFrame();
        glFinish();
    }

    static std::vector<unsigned char> CubeFace(GLenum target) {
        std::vector<unsigned char> texels(1024 * 1024 * 3);
        glBindTexture(GL_TEXTURE_CUBE_MAP, environmentCubeMap);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(target, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
        return texels;
    }

    static OffscreenContext* context_;
    static bool ready_;
};

OffscreenContext* SceneGl::context_ = nullptr;
bool SceneGl::ready_ = false;

bool Enabled(GLenum capability) { return glIsEnabled(capability) == GL_TRUE; }

TEST_F(SceneGl, AFrameLeavesTheStateTheNextFrameRelies) {
    EXPECT_FALSE(Enabled(GL_LIGHTING)) << "the sky box switches fixed-function lighting off for good";
    EXPECT_TRUE(Enabled(GL_NORMALIZE));
    EXPECT_TRUE(Enabled(GL_DEPTH_TEST));
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_TRUE(depthWrites);
    EXPECT_TRUE(Enabled(GL_CULL_FACE));
    GLint culled = 0;
    glGetIntegerv(GL_CULL_FACE_MODE, &culled);
    EXPECT_EQ(culled, GL_BACK);

    EXPECT_TRUE(Enabled(GL_TEXTURE_2D));
    EXPECT_FALSE(Enabled(GL_TEXTURE_CUBE_MAP));
    EXPECT_FALSE(Enabled(GL_BLEND));
    for (GLenum coordinate : {GL_S, GL_T, GL_R}) {
        GLint mode = 0;
        glGetTexGeniv(coordinate, GL_TEXTURE_GEN_MODE, &mode);
        EXPECT_EQ(mode, GL_REFLECTION_MAP);
    }
    EXPECT_FALSE(Enabled(GL_TEXTURE_GEN_S));
    EXPECT_FALSE(Enabled(GL_TEXTURE_GEN_T));
    EXPECT_FALSE(Enabled(GL_TEXTURE_GEN_R));
    GLint environmentMode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &environmentMode);
    EXPECT_EQ(environmentMode, GL_MODULATE);

    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_NE(pointSpriteProgram, 0u);
    EXPECT_EQ(static_cast<GLuint>(program), pointSpriteProgram) << "the snow's program stays current";

    GLfloat colour[4] = {};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], 1.0f);
    EXPECT_FLOAT_EQ(colour[3], 0.5f);

    GLint framebuffer = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &framebuffer);
    EXPECT_EQ(framebuffer, 0);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], kWidth);
    EXPECT_EQ(viewport[3], kHeight);
}

TEST_F(SceneGl, AFrameEndsWithTheMainViewsMatrices) {
    GLfloat modelview[16] = {};
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(modelview[i], i % 5 == 0 ? 1.0f : 0.0f) << i;

    // 35 degrees, the window's aspect, near 0.1 and far 1e10 (not the 100000 of creation).
    GLfloat projection[16] = {};
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    const double focal = 1.0 / std::tan(17.5 * M_PI / 180.0);
    const double nearPlane = static_cast<double>(0.1f);
    const double farPlane = 1.0e10;
    EXPECT_NEAR(projection[0], focal * kHeight / kWidth, 1e-5);
    EXPECT_NEAR(projection[5], focal, 1e-5);
    EXPECT_NEAR(projection[10], (farPlane + nearPlane) / (nearPlane - farPlane), 1e-6);
    EXPECT_NEAR(projection[14], 2.0 * farPlane * nearPlane / (nearPlane - farPlane), 1e-5);
    EXPECT_FLOAT_EQ(projection[11], -1.0f);
}

TEST_F(SceneGl, DisplayListsAreElevenConsecutiveNames) {
    const uint32_t lists[11] = {mediumGearList, smallGearList, largeGearList, thinAxleList,
                                thickAxleList,  mediumAxleList, pendulumList,  skyBoxList,
                                clockFaceList,  hourHandList,   minuteHandList};
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(lists[i], mediumGearList + static_cast<uint32_t>(i));
        EXPECT_TRUE(glIsList(lists[i])) << i;
    }
}

TEST_F(SceneGl, SetUpPlacesTheCameraBeforeTheDial) {
    EXPECT_NEAR(CameraFrame.forward.x, -0.0015925f, 1e-6f);
    EXPECT_FLOAT_EQ(CameraFrame.forward.y, 0.0f);
    EXPECT_NEAR(CameraFrame.forward.z, 0.9999987f, 1e-6f);
    EXPECT_FLOAT_EQ(CameraFrame.up.y, 1.0f);
    EXPECT_NEAR(CameraFrame.origin.x, -0.0366286f, 1e-5f);
    EXPECT_NEAR(CameraFrame.origin.z, 22.99997f, 1e-4f);
}

TEST_F(SceneGl, BothScenePrograms) {
    EXPECT_NE(litTexturedProgram, 0u);
    EXPECT_NE(pixelLightingProgram, 0u);
    EXPECT_TRUE(environmentFramebufferUsable);
}

// The face behind the dial is rendered once at set-up and never again; the others follow the
// machinery every frame.
TEST_F(SceneGl, TheFixedFaceShowsTheSkyAndStaysOutOfTheFrames) {
    const std::vector<unsigned char> fixedBefore = CubeFace(GL_TEXTURE_CUBE_MAP_POSITIVE_Z);
    const std::vector<unsigned char> behindBefore = CubeFace(GL_TEXTURE_CUBE_MAP_NEGATIVE_Z);

    long blue = 0;
    int brightest = 0;
    for (std::size_t i = 0; i < fixedBefore.size(); i += 3) {
        blue += fixedBefore[i + 2];
        brightest = std::max<int>(brightest, fixedBefore[i] + fixedBefore[i + 1] + fixedBefore[i + 2]);
    }
    EXPECT_GT(blue / static_cast<long>(fixedBefore.size() / 3), 5) << "no night blue";
    EXPECT_GT(brightest, 300) << "no stars";

    DrawFrameAt(2.3);
    EXPECT_EQ(CubeFace(GL_TEXTURE_CUBE_MAP_POSITIVE_Z), fixedBefore);
    EXPECT_NE(CubeFace(GL_TEXTURE_CUBE_MAP_NEGATIVE_Z), behindBefore) << "the gears did not turn in the reflection";
}

}  // namespace
