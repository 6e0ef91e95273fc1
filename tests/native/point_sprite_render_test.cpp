// The point-sprite drawing with the module's own shader program on a real (Mesa) context: one
// flake, drawn alone, read back and measured.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "apps/egl_context.h"
#include "gfx/gl.h"
#include "gfx/resource_loaders.h"
#include "particles/particle_system.h"

namespace {

constexpr int kSurfaceSize = 256;
constexpr float kPi = 3.14159265f;

// glFrustum(-0.5, 0.5, -0.5, 0.5, 1, 100), column-major: a horizontal scale (P00) of 2.
const float kFrustum[16] = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, -101.0f / 99.0f, -1, 0, 0, -200.0f / 99.0f, 0};

// A particle system of one flake, with the arrays in the object.
class OneFlake : public ParticleSystem {
public:
    void Init(const float viewport[2], const float projection[16]) override {
        viewportSize[0] = viewport[0];
        viewportSize[1] = viewport[1];
        for (int i = 0; i < 16; ++i) projMat[i] = projection[i];
        count = 1;
        positions = position;
        angles = &angle;
        pointScales = &scale;
        colours = colour;
    }
    void Update() override {}
    void Release() override { count = 0; }

    // In front of the eye at clip w = 10: a scale of 5 gives 5 * 2 / 10 * height / 2 pixels.
    float position[4] = {0.0f, 0.0f, -10.0f, 1.0f};
    float angle = 0.0f;
    float scale = 5.0f;
    float colour[4] = {1.0f, 1.0f, 1.0f, 0.6f};
};

struct Frame {
    int size = 0;
    std::vector<uint8_t> rgba;  // bottom row first, as OpenGL reads it

    const uint8_t* At(int x, int y) const { return &rgba[(static_cast<size_t>(y) * size + x) * 4]; }
};

struct Spot {
    int pixels = 0;
    double x = 0.0;  // centroid relative to the frame's centre, y up, in pixels
    double y = 0.0;
};

// The texel rows of a 64 x 64 image start at t = 0. A red block right of the centre
// (s 0.78, t 0.5) and a green one at t 0.23 (s 0.5); everything else fully transparent.
constexpr int kTextureSize = 64;
constexpr double kRedOffset = 0.28125;     // s of the red block's centre, less 0.5
constexpr double kGreenOffset = -0.265625;  // t of the green block's centre, less 0.5

std::vector<uint8_t> MarkerImage() {
    std::vector<uint8_t> texels(kTextureSize * kTextureSize * 4, 0);
    auto fill = [&](int firstColumn, int firstRow, uint8_t r, uint8_t g) {
        for (int row = firstRow; row < firstRow + 8; ++row) {
            for (int column = firstColumn; column < firstColumn + 8; ++column) {
                uint8_t* texel = &texels[(row * kTextureSize + column) * 4];
                texel[0] = r;
                texel[1] = g;
                texel[3] = 255;
            }
        }
    };
    fill(46, 28, 255, 0);
    fill(28, 11, 0, 255);
    return texels;
}

std::vector<uint8_t> OpaqueWhiteImage() { return std::vector<uint8_t>(kTextureSize * kTextureSize * 4, 255); }

class PointSpriteRenderTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        context_ = new OffscreenContext;
        if (!context_->Create(kSurfaceSize, kSurfaceSize)) return;
        pointSpriteProgram = LoadShaderProgram(158, 157);
    }
    static void TearDownTestSuite() {
        delete context_;
        context_ = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(context_->error().empty()) << context_->error();
        ASSERT_NE(pointSpriteProgram, 0u) << "the point-sprite program does not build";
    }

    static void UseTexture(const std::vector<uint8_t>& texels) {
        GLuint name = 0;
        glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kTextureSize, kTextureSize, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     texels.data());
        snowTexture = name;
    }

    // Draws the flake alone over black into a square viewport of `size` pixels, or one of
    // another width where `width` is given.
    static Frame Draw(OneFlake& flake, int size, int width = 0) {
        if (width == 0) width = size;
        glViewport((size - width) / 2, 0, width, size);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixf(kFrustum);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        const float viewport[2] = {static_cast<float>(width), static_cast<float>(size)};
        flake.Init(viewport, kFrustum);
        flake.Render();

        Frame frame;
        frame.size = size;
        frame.rgba.resize(static_cast<size_t>(size) * size * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, size, size, GL_RGBA, GL_UNSIGNED_BYTE, frame.rgba.data());
        return frame;
    }

    // The pixels where `channel` is lit and the other two colour channels are dark.
    static Spot Find(const Frame& frame, int channel) {
        Spot spot;
        for (int y = 0; y < frame.size; ++y) {
            for (int x = 0; x < frame.size; ++x) {
                const uint8_t* p = frame.At(x, y);
                const bool lit = p[channel] > 60 && p[(channel + 1) % 3] < 30 && p[(channel + 2) % 3] < 30;
                if (!lit) continue;
                ++spot.pixels;
                spot.x += x + 0.5;
                spot.y += y + 0.5;
            }
        }
        if (spot.pixels > 0) {
            spot.x = spot.x / spot.pixels - frame.size / 2.0;
            spot.y = spot.y / spot.pixels - frame.size / 2.0;
        }
        return spot;
    }

    // Width and height of the lit area.
    static void LitExtent(const Frame& frame, int& width, int& height) {
        int left = frame.size, right = -1, bottom = frame.size, top = -1;
        for (int y = 0; y < frame.size; ++y) {
            for (int x = 0; x < frame.size; ++x) {
                if (frame.At(x, y)[0] < 60) continue;
                left = std::min(left, x);
                right = std::max(right, x);
                bottom = std::min(bottom, y);
                top = std::max(top, y);
            }
        }
        width = right - left + 1;
        height = top - bottom + 1;
    }

    static OffscreenContext* context_;
};

OffscreenContext* PointSpriteRenderTest::context_ = nullptr;

TEST_F(PointSpriteRenderTest, AngleZeroShowsTheTextureUnturnedAndTinted) {
    UseTexture(MarkerImage());
    OneFlake flake;
    const Frame frame = Draw(flake, 128);
    const double size = 64.0;  // pixels

    // Sprite coordinates start at the sprite's upper left, so s runs right and t down.
    const Spot red = Find(frame, 0);
    ASSERT_GT(red.pixels, 40);
    EXPECT_NEAR(red.x, kRedOffset * size, 1.0);
    EXPECT_NEAR(red.y, 0.0, 1.0);
    const Spot green = Find(frame, 1);
    ASSERT_GT(green.pixels, 40);
    EXPECT_NEAR(green.x, 0.0, 1.0);
    EXPECT_NEAR(green.y, -kGreenOffset * size, 1.0);

    // Colour times texel, blended by its alpha over black: 60 % of full red, and the
    // transparent texels leave the background as it was.
    const int redX = static_cast<int>(64 + kRedOffset * size);
    EXPECT_NEAR(frame.At(redX, 64)[0], 153, 2);
    EXPECT_EQ(frame.At(64, 64)[0], 0);
    EXPECT_EQ(frame.At(64, 64)[1], 0);
}

TEST_F(PointSpriteRenderTest, AngleTurnsTheSpriteAboutItsCentre) {
    UseTexture(MarkerImage());
    const double size = 64.0;
    for (const float angle : {kPi / 2.0f, 1.0f, 2.5f, -0.7f}) {
        SCOPED_TRACE(angle);
        OneFlake flake;
        flake.angle = angle;
        const Frame frame = Draw(flake, 128);
        const double c = std::cos(angle);
        const double s = std::sin(angle);

        // Both blocks keep their distance from the centre and turn counter-clockwise by the
        // angle on the screen.
        const Spot red = Find(frame, 0);
        ASSERT_GT(red.pixels, 40);
        EXPECT_NEAR(red.x, kRedOffset * size * c, 1.0);
        EXPECT_NEAR(red.y, kRedOffset * size * s, 1.0);
        const Spot green = Find(frame, 1);
        ASSERT_GT(green.pixels, 40);
        EXPECT_NEAR(green.x, kGreenOffset * size * s, 1.0);
        EXPECT_NEAR(green.y, -kGreenOffset * size * c, 1.0);
    }
}

TEST_F(PointSpriteRenderTest, AFullTurnLooksTheSame) {
    UseTexture(MarkerImage());
    OneFlake once;
    once.angle = 0.8f;
    OneFlake turnedFully;
    turnedFully.angle = 0.8f + 2.0f * kPi;
    const Frame a = Draw(once, 128);
    const Frame b = Draw(turnedFully, 128);
    for (int channel : {0, 1}) {
        const Spot first = Find(a, channel);
        const Spot second = Find(b, channel);
        EXPECT_NEAR(first.pixels, second.pixels, 2);
        EXPECT_NEAR(first.x, second.x, 0.1);
        EXPECT_NEAR(first.y, second.y, 0.1);
    }
}

TEST_F(PointSpriteRenderTest, SizeFollowsTheViewportHeightAndTheDistance) {
    UseTexture(OpaqueWhiteImage());
    int width = 0, height = 0;

    OneFlake flake;
    LitExtent(Draw(flake, 128), width, height);
    EXPECT_NEAR(width, 64, 1);
    EXPECT_NEAR(height, 64, 1);

    // Twice the viewport height, twice the sprite.
    LitExtent(Draw(flake, 256), width, height);
    EXPECT_NEAR(width, 128, 1);
    EXPECT_NEAR(height, 128, 1);

    // The height decides, not the width.
    LitExtent(Draw(flake, 128, 256), width, height);
    EXPECT_NEAR(width, 64, 1);
    LitExtent(Draw(flake, 128, 64), width, height);
    EXPECT_NEAR(width, 64, 1);

    // Half the clip-space w, twice the sprite.
    OneFlake nearer;
    nearer.position[2] = -5.0f;
    LitExtent(Draw(nearer, 128), width, height);
    EXPECT_NEAR(width, 128, 1);

    // The scale is a plain factor.
    OneFlake smaller;
    smaller.scale = 2.5f;
    LitExtent(Draw(smaller, 128), width, height);
    EXPECT_NEAR(width, 32, 1);
}

}  // namespace
