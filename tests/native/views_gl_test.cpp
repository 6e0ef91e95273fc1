// Views of their own sizes and places: each shows the whole dial, centred, judged from the
// picture; the reflection they share is the same at every size and no larger than they need.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "gfx/gl_capabilities.h"
#include "gl_scene.h"
#include "particles/particle_snow.h"
#include "platform/random.h"
#include "scene/scene_lifecycle.h"
#include "scene/scene_setup.h"

namespace {

constexpr LocalTimeOfDay kTime{10, 9, 30, 0};

// The dial's extent in a rectangle of the client area (client coordinates, y down), found from
// its yellow: the rows and columns that hold at least a few yellow pixels, so a warm star or two
// does not count.
struct Extent {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    double Width() const { return right - left + 1; }
    double CentreX() const { return (left + right) / 2.0; }
    double CentreY() const { return (top + bottom) / 2.0; }
};

Extent DialExtent(const Image& image, int clientHeight, const ViewRect& rect) {
    std::vector<int> columns(rect.width), rows(rect.height);
    for (int y = 0; y < rect.height; ++y) {
        for (int x = 0; x < rect.width; ++x) {
            const unsigned char* p = image.At(rect.x + x, clientHeight - 1 - rect.y - y);
            if (p[0] >= p[2] + 20 && p[1] >= p[2] + 15) ++columns[x], ++rows[y];
        }
    }
    Extent e;
    const int least = std::max(3, rect.height / 40);
    for (int x = 0; x < rect.width; ++x) if (columns[x] >= least) e.left = std::min(e.left, rect.x + x), e.right = rect.x + x;
    for (int y = 0; y < rect.height; ++y) if (rows[y] >= least) e.top = std::min(e.top, rect.y + y), e.bottom = rect.y + y;
    return e;
}

// The frame for a client size and its views, with the snow still above the scene.
Image FrameOf(int clientWidth, int clientHeight, const std::vector<ViewRect>& views = {}) {
    FollowSceneSize(clientWidth, clientHeight, views.data(), static_cast<int>(views.size()));
    RenderFrameAt(kTime, 2.0);
    return ReadImage();
}

// The faces the reflection renders, read back after one frame.
std::vector<unsigned char> CubeFaces() {
    const auto side = static_cast<std::size_t>(sceneObjects.environmentFaceSize);
    std::vector<unsigned char> texels(side * side * 3 * 5);
    glBindTexture(GL_TEXTURE_CUBE_MAP, sceneObjects.environmentCubeMap);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    for (int face = 0; face < 5; ++face) {
        glGetTexImage(cubeMapFaceTargets[face], 0, GL_RGB, GL_UNSIGNED_BYTE, &texels[side * side * 3 * face]);
    }
    return texels;
}

// The cube faces and their depth buffer, as the driver reports them.
std::vector<int> FaceSides() {
    std::vector<int> sides;
    GLint side = 0;
    for (const uint32_t target : cubeMapFaceTargets) glGetTexLevelParameteriv(target, 0, GL_TEXTURE_WIDTH, &side), sides.push_back(side);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, sceneObjects.environmentDepthBuffer);
    glGetRenderbufferParameterivEXT(GL_RENDERBUFFER_EXT, GL_RENDERBUFFER_HEIGHT_EXT, &side);
    sides.push_back(side);
    return sides;
}

TEST(Views, ThePreviewsCubeFacesAre256AndFollowTheLargestView) {
    SetUpScene(152, 112);
    EXPECT_EQ(FaceSides(), std::vector<int>(7, 256));
    const std::vector<ViewRect> monitors = {{0, 0, 800, 600}, {800, 0, 300, 200}};
    FollowSceneSize(1100, 600, monitors.data(), 2);
    EXPECT_EQ(FaceSides(), std::vector<int>(7, 1024));
    FollowSceneSize(kFrameWidth, kFrameHeight);
    EXPECT_EQ(FaceSides(), std::vector<int>(7, 512));
    SetUpScene();
}

// Sized for the face it is drawn into, the snow in the reflection does not depend on the
// window's height: two windows of one shape share every reflected pixel.
TEST(Views, TheReflectionIsTheSameAtEverySizeOfOneShape) {
    const Restored<GlCapabilities> restored(glCapabilities);
    glCapabilities.packedDepthStencil = false;  // whole faces: each size's dome reads its own texels
    std::vector<unsigned char> faces[2];
    for (const int i : {0, 1}) {
        SetUpScene(i == 0 ? 320 : 288, i == 0 ? 240 : 216);  // the same flakes
        RenderFrameAt(kTime, 2.0, 40.0);  // the snow falling past the dome
        faces[i] = CubeFaces();
    }
    EXPECT_TRUE(faces[0] == faces[1]);
    SetUpScene();
}

// The reflection is drawn only where some view's dome reads it, each face starting from a copied
// far depth that keeps the masks, and each pass only the flakes chosen for it, and the frames are
// those of whole faces, cleared depth and all flakes, pixel for pixel; where the context has no
// packed depth and stencil, the faces are whole.
// After a change of size or of monitors, the mask follows: the frame is the one a window made at
// that size shows.
TEST(Views, MaskedFacesGiveTheFramesOfWholeFacesAndFollowEveryChange) {
    const std::vector<ViewRect> monitors = {{0, 0, 200, 240}, {200, 40, 120, 160}};
    auto frame = [](int width, int height, const std::vector<ViewRect>& views, bool fresh) {
        if (fresh) SetUpScene(width, height);
        FollowSceneSize(width, height, views.data(), static_cast<int>(views.size()));
        // The reference draws every flake in every pass.
        if (!glCapabilities.packedDepthStencil) snow.spritePasses.Follow(nullptr, 0, snow.count);
        SeedRandom(7);  // the flakes as a new window's, falling past the dome
        snow.Init(snow.viewportSize, snow.projMat);
        RenderFrameAt(kTime, 2.0, 40.0);
        return ReadImage(width, height).rgba;
    };
    std::vector<unsigned char> whole[3];
    {
        const Restored<GlCapabilities> restored(glCapabilities);
        glCapabilities.packedDepthStencil = false;
        SetUpScene();
        EXPECT_FALSE(sceneObjects.environmentStencil || sceneObjects.environmentFacesMasked);
        whole[0] = frame(kFrameWidth, kFrameHeight, {}, false);
        EXPECT_TRUE(sceneObjects.environmentSkiesKept && !sceneObjects.environmentStartDepthKept)
            << "each face's depth cleared";
        whole[1] = frame(200, 240, {}, true);
        whole[2] = frame(kFrameWidth, kFrameHeight, monitors, true);
    }
    SetUpScene();
    auto again = [] {  // the same frame once more, the flakes seeded as a new window's
        SeedRandom(7);
        snow.Init(snow.viewportSize, snow.projMat);
        RenderFrameAt(kTime, 2.0, 40.0);
        return ReadImage().rgba;
    };
    EXPECT_TRUE(again() == whole[0] && !sceneObjects.environmentFacesMasked) << "the first frame, its faces whole";
    EXPECT_TRUE(again() == whole[0]) << "the next, its faces masked";
    ASSERT_TRUE(sceneObjects.environmentFacesMasked && sceneObjects.environmentStartDepthKept);
    int texels = 0;
    for (int face = 0; face < 5; ++face) texels += sceneObjects.environmentFaceRead[face];
    EXPECT_EQ(texels, 5) << "some face is not read at all";
    EXPECT_TRUE(frame(200, 240, {}, false) == whole[1]) << "after a change of size";
    EXPECT_TRUE(frame(kFrameWidth, kFrameHeight, monitors, false) == whole[2]) << "after a change of monitors";
    SetUpScene();
}

// Side by side, stacked, and of different sizes and shapes with gaps: every monitor shows the
// whole dial in the middle of its part, as large against its shorter side as the others; what
// none shows is black.
TEST(Views, EachMonitorShowsTheWholeDialCentred) {
    struct Layout {
        int width, height;
        std::vector<ViewRect> monitors;
    };
    for (const Layout& layout : {Layout{320, 120, {{0, 0, 160, 120}, {160, 0, 160, 120}}},
                                 Layout{160, 240, {{0, 0, 160, 120}, {0, 120, 160, 120}}},
                                 Layout{320, 240, {{0, 0, 200, 150}, {200, 120, 90, 120}}}}) {
        const Image frame = FrameOf(layout.width, layout.height, layout.monitors);
        for (const ViewRect& m : layout.monitors) {
            const Extent dial = DialExtent(frame, layout.height, m);
            SCOPED_TRACE(testing::Message() << layout.width << "x" << layout.height << ", monitor at " << m.x << "," << m.y);
            EXPECT_TRUE(dial.left > m.x && dial.top > m.y && dial.right < m.x + m.width - 1 && dial.bottom < m.y + m.height - 1);
            EXPECT_NEAR(dial.CentreX(), m.x + (m.width - 1) / 2.0, 1.5);
            EXPECT_NEAR(dial.CentreY(), m.y + (m.height - 1) / 2.0, 1.5);
            const ViewRect& first = layout.monitors[0];
            EXPECT_NEAR(dial.Width() / std::min(m.width, m.height),
                        DialExtent(frame, layout.height, first).Width() / std::min(first.width, first.height), 0.02);
        }
    }
    // The last layout leaves the top right, the bottom left and the right edge to no monitor.
    const Image frame = ReadImage();
    int lit = 0;
    for (int y = 0; y < 240; ++y) {
        for (int x = 0; x < 320; ++x) {
            const unsigned char* p = frame.At(x, 239 - y);
            if (!((x < 200 && y < 150) || (x >= 200 && x < 290 && y >= 120))) lit += p[0] + p[1] + p[2] > 0;
        }
    }
    EXPECT_EQ(lit, 0);
    const GLuint sprites = pointSpriteObjects.pointSpriteProgram;  // the last view's snow was sized for it
    GLfloat viewport[2] = {};
    glGetUniformfv(sprites, glGetUniformLocation(sprites, "viewportSize"), viewport);
    EXPECT_EQ(viewport[0] * 1000 + viewport[1], 90 * 1000 + 120);
    FollowSceneSize(kFrameWidth, kFrameHeight);
}

// A view taller than wide keeps a square view's width of the scene: the dial as wide as in a
// square view of the same width, rim and all.
TEST(Views, APortraitViewShowsTheWholeRim) {
    const Extent square = DialExtent(FrameOf(135, 135), 135, {0, 0, 135, 135});
    const Extent portrait = DialExtent(FrameOf(135, 240), 240, {0, 0, 135, 240});
    EXPECT_TRUE(portrait.left > 0 && portrait.right < 134) << "the rim is cut";
    EXPECT_NEAR(portrait.Width(), square.Width(), 2.0);
    EXPECT_NEAR(portrait.CentreY(), 119.5, 2.0);
    FollowSceneSize(kFrameWidth, kFrameHeight);
}

}  // namespace
