// The clock's meshes on a real OpenGL (Mesa, headless): each routine compiled into a display
// list as the scene set-up does, drawn under a fixed camera, and judged by its silhouette.
//
// With VINTREL_MESH_PICTURES set to a directory, every picture the tests look at is also
// written there as PNG, with a three-quarter view of each mesh besides.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "apps/egl_context.h"
#include "apps/png_writer.h"
#include "gfx/gl.h"
#include "scene/clock_face.h"
#include "scene/gear_geometry.h"
#include "scene/scene_setup.h"
#include "scene/sky_box.h"

namespace {

constexpr int imageSize = 512;
constexpr double pi = 3.14159265358979323846;

struct Colour {
    int r, g, b;
};

// Solid colours for the sky faces, so a view tells which face it sees.
const Colour skyColours[8] = {{0, 0, 0},     {255, 0, 0},   {0, 255, 0},   {0, 0, 255},
                              {255, 255, 0}, {0, 255, 255}, {255, 0, 255}, {0, 0, 0}};

GLuint MakeTexture(int width, int height, const std::function<Colour(int, int)>& texel) {
    std::vector<unsigned char> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Colour c = texel(x, y);
            pixels.insert(pixels.end(), {static_cast<unsigned char>(c.r), static_cast<unsigned char>(c.g),
                                         static_cast<unsigned char>(c.b)});
        }
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return name;
}

// An orthographic view of the square centred on (centreX, centreY) with half-size halfSize.
struct OrthoView {
    double centreX, centreY, halfSize;
};

class GeometryOnRealGl : public testing::Test {
protected:
    static void SetUpTestSuite() {
        context = std::make_unique<OffscreenContext>();
        contextMade = context->Create(imageSize, imageSize);
        if (!contextMade) return;
        // Pale metal with a darker check, a dial red on its left half and green on its right.
        sceneTextures[0] = MakeTexture(8, 8, [](int x, int y) {
            return (x + y) % 2 ? Colour{200, 200, 210} : Colour{150, 150, 160};
        });
        // Each sky face in its own colour with a white corner at texture coordinate (0, 0).
        for (int face = 1; face <= 6; ++face)
            sceneTextures[face] = MakeTexture(2, 2, [face](int x, int y) {
                return x == 0 && y == 0 ? Colour{255, 255, 255} : skyColours[face];
            });
        sceneTextures[7] = MakeTexture(2, 1, [](int x, int) { return x == 0 ? Colour{255, 0, 0} : Colour{0, 255, 0}; });
        sceneQuadric = gluNewQuadric();
    }
    static void TearDownTestSuite() {
        if (sceneQuadric) gluDeleteQuadric(sceneQuadric);
        sceneQuadric = nullptr;
        context.reset();
    }

    void SetUp() override {
        ASSERT_TRUE(contextMade) << context->error();
        while (glGetError() != GL_NO_ERROR) {
        }
    }
    void TearDown() override { EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)); }

    // Records the routine into a display list, as the scene set-up does.
    static GLuint Compile(const std::function<void()>& routine) {
        const GLuint list = glGenLists(1);
        glNewList(list, GL_COMPILE);
        routine();
        glEndList();
        return list;
    }

    // Draws the list lit by a light at the viewer, with back faces culled, under an orthographic
    // camera looking down -z after `turn` has been applied to the model.
    void DrawOrtho(GLuint list, const OrthoView& view, const std::function<void()>& turn = [] {}) {
        view_ = view;
        glViewport(0, 0, imageSize, imageSize);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(view.centreX - view.halfSize, view.centreX + view.halfSize, view.centreY - view.halfSize,
                view.centreY + view.halfSize, -100, 100);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        const float towardsViewer[4] = {0, 0, 1, 0};
        const float dimAmbient[4] = {0.25f, 0.25f, 0.25f, 1};
        glLightfv(GL_LIGHT0, GL_POSITION, towardsViewer);
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, dimAmbient);
        glEnable(GL_COLOR_MATERIAL);
        glEnable(GL_NORMALIZE);
        glEnable(GL_TEXTURE_2D);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glColor3f(0.8f, 0.8f, 0.8f);  // axles and the pendulum use the current colour
        glPushMatrix();
        turn();
        glCallList(list);
        glPopMatrix();
        ReadBack();
    }

    void ReadBack() {
        pixels_.assign(static_cast<size_t>(imageSize) * imageSize * 3, 0);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, imageSize, imageSize, GL_RGB, GL_UNSIGNED_BYTE, pixels_.data());
    }

    Colour PixelAt(int px, int py) const {
        const size_t i = (static_cast<size_t>(py) * imageSize + px) * 3;
        return {pixels_[i], pixels_[i + 1], pixels_[i + 2]};
    }

    // The pixel under the point (x, y) of the orthographic view.
    Colour At(double x, double y) const {
        const double scale = imageSize / (2 * view_.halfSize);
        const int px = static_cast<int>(std::floor((x - (view_.centreX - view_.halfSize)) * scale));
        const int py = static_cast<int>(std::floor((y - (view_.centreY - view_.halfSize)) * scale));
        return PixelAt(px, py);
    }
    bool Covered(double x, double y) const {
        const Colour c = At(x, y);
        return c.r + c.g + c.b > 30;
    }

    int CoveredPixels() const {
        int count = 0;
        for (int py = 0; py < imageSize; ++py)
            for (int px = 0; px < imageSize; ++px) {
                const Colour c = PixelAt(px, py);
                count += c.r + c.g + c.b > 30;
            }
        return count;
    }

    // Walks a circle of the given radius: the covered stretches along it, and the share of it
    // that is covered.
    int CoveredRunsAround(double radius) const {
        int runs = 0;
        bool previous = Covered(radius * std::cos(-2 * pi / circleSteps), radius * std::sin(-2 * pi / circleSteps));
        for (int i = 0; i < circleSteps; ++i) {
            const double a = 2 * pi * i / circleSteps;
            const bool now = Covered(radius * std::cos(a), radius * std::sin(a));
            if (now && !previous) ++runs;
            previous = now;
        }
        return runs;
    }
    double CoveredShareAround(double radius) const {
        int covered = 0;
        for (int i = 0; i < circleSteps; ++i) {
            const double a = 2 * pi * i / circleSteps;
            covered += Covered(radius * std::cos(a), radius * std::sin(a));
        }
        return static_cast<double>(covered) / circleSteps;
    }
    static constexpr int circleSteps = 3600;

    // Keeps what the test looked at when pictures are asked for.
    static void SavePicture(const std::string& name) {
        const char* directory = std::getenv("VINTREL_MESH_PICTURES");
        if (!directory || !*directory) return;
        EXPECT_TRUE(WriteFramePng(std::string(directory) + "/vintrel-mesh-" + name + ".png", imageSize, imageSize));
    }

    // A lit three-quarter view (turned about the origin) for the pictures; the mesh must show
    // in it too.
    void ThreeQuarterView(GLuint list, const std::string& name, const OrthoView& view) {
        DrawOrtho(list, view, [] {
            glRotatef(-30, 1, 0, 0);
            glRotatef(35, 0, 1, 0);
        });
        EXPECT_GT(CoveredPixels(), imageSize * imageSize / 50) << name;
        SavePicture(name + "-three-quarter");
    }

    static std::unique_ptr<OffscreenContext> context;
    static bool contextMade;

private:
    OrthoView view_{0, 0, 1};
    std::vector<unsigned char> pixels_;
};

std::unique_ptr<OffscreenContext> GeometryOnRealGl::context;
bool GeometryOnRealGl::contextMade = false;

struct GearView {
    std::string name;
    void (*draw)();
    double holeRadius, bodyRadius, tipRadius;
    int teeth;
};

const GearView gearViews[] = {
    {"medium-gear", DrawMediumGear, 1.0, 5.0, 7.0, 30},
    {"small-gear", DrawSmallGear, 0.5, 2.5, 4.5, 15},
    {"large-gear", DrawLargeGear, 2.0, 10.0, 12.0, 60},
};

// Seen from the front and from behind with back faces culled, a gear is a toothed washer: both
// faces wind the right way, the teeth stand where the rim leaves gaps, and the hole is open.
TEST_F(GeometryOnRealGl, GearsShowTheirTeethFromBothSides) {
    for (const GearView& gear : gearViews) {
        const GLuint list = Compile(gear.draw);
        const OrthoView view{0, 0, gear.tipRadius + 1};
        for (const bool fromBehind : {false, true}) {
            const std::string side = fromBehind ? "back" : "front";
            DrawOrtho(list, view, [fromBehind] {
                if (fromBehind) glRotatef(180, 0, 1, 0);
            });
            SavePicture(gear.name + "-" + side);
            const double toothMiddle = (gear.bodyRadius + gear.tipRadius) / 2;
            EXPECT_EQ(CoveredRunsAround(toothMiddle), gear.teeth) << gear.name << " " << side;
            EXPECT_EQ(CoveredShareAround((gear.holeRadius + gear.bodyRadius) / 2), 1.0) << gear.name << " " << side;
            EXPECT_EQ(CoveredShareAround(gear.tipRadius + 0.3), 0.0) << gear.name << " " << side;
            EXPECT_FALSE(Covered(0.0, 0.0)) << gear.name << " " << side;
            // The metal texture shows: both of its shades appear on the face.
            bool pale = false, dark = false;
            for (int i = 0; i < 360; ++i) {
                const double a = i * pi / 180, r = (gear.holeRadius + gear.bodyRadius) / 2;
                const Colour c = At(r * std::cos(a), r * std::sin(a));
                pale = pale || c.r > 185;
                dark = dark || (c.r > 120 && c.r < 170);
            }
            EXPECT_TRUE(pale && dark) << gear.name << " " << side;
        }
        ThreeQuarterView(list, gear.name, view);
    }
}

// End on, an axle is a disc of its radius (its cap faces outwards); side on, a bar of its
// length.
TEST_F(GeometryOnRealGl, AxleIsACappedShaftOfItsLength) {
    const GLuint list = Compile([] { DrawAxle(2.0f, 10.0f); });
    const OrthoView view{0, 0, 7};
    DrawOrtho(list, view);
    SavePicture("axle-end");
    EXPECT_TRUE(Covered(0.0, 0.0));
    EXPECT_TRUE(Covered(1.9, 0.0));
    EXPECT_TRUE(Covered(0.0, -1.9));
    EXPECT_FALSE(Covered(2.1, 0.0));
    EXPECT_FALSE(Covered(1.6, 1.6));

    DrawOrtho(list, view, [] { glRotatef(90, 0, 1, 0); });
    SavePicture("axle-side");
    EXPECT_TRUE(Covered(-4.9, 0.0));
    EXPECT_TRUE(Covered(4.9, 1.9));
    EXPECT_FALSE(Covered(5.1, 0.0));
    EXPECT_FALSE(Covered(-5.1, 0.0));
    EXPECT_FALSE(Covered(0.0, 2.1));
    ThreeQuarterView(list, "axle", view);
}

// Seen across its swing, the pendulum is a rod from the pivot down to a round bob around
// depth 30; edge on, the bob is only 4 thick.
TEST_F(GeometryOnRealGl, PendulumIsARodWithARoundFlatBob) {
    const GLuint list = Compile([] { DrawPendulum(1.0f, 30.0f); });
    const OrthoView view{0, -18, 20};
    DrawOrtho(list, view, [] { glRotatef(-90, 1, 0, 0); });
    SavePicture("pendulum-face");
    EXPECT_TRUE(Covered(0.0, -0.5));
    EXPECT_TRUE(Covered(0.0, -15.0));
    EXPECT_FALSE(Covered(0.0, 0.5));
    EXPECT_FALSE(Covered(1.5, -15.0));
    EXPECT_TRUE(Covered(4.7, -30.0));
    EXPECT_FALSE(Covered(5.3, -30.0));
    EXPECT_TRUE(Covered(0.0, -34.7));
    EXPECT_FALSE(Covered(0.0, -35.3));
    EXPECT_TRUE(Covered(3.4, -33.4));
    EXPECT_FALSE(Covered(3.8, -33.8));

    DrawOrtho(list, view, [] {
        glRotatef(90, 0, 1, 0);
        glRotatef(-90, 1, 0, 0);
    });
    SavePicture("pendulum-edge");
    EXPECT_TRUE(Covered(1.8, -30.0));
    EXPECT_FALSE(Covered(2.3, -30.0));
    EXPECT_TRUE(Covered(0.0, -34.7));
    ThreeQuarterView(list, "pendulum", {-9, -9, 16});
}

// From inside, with front faces culled as the scene draws it, every direction meets the face
// with that direction's image, the right way round; with the usual back-face culling the box is
// invisible.
TEST_F(GeometryOnRealGl, SkyBoxSurroundsTheViewerFromInsideOnly) {
    const GLuint list = Compile(DrawSkyBox);
    enum Quadrant { bottomLeft, bottomRight, topLeft, topRight };
    struct Look {
        std::string name;
        std::function<void()> turn;
        int texture;
        Quadrant imageCorner;  // where the image's (0, 0) corner shows
    };
    // The four walls read upright from inside. The ceiling is drawn a quarter turn round, which
    // puts its image's origin at the far right; the floor, half a turn round, at the near left.
    const Look looks[] = {
        {"z-", [] {}, 5, bottomLeft},
        {"z+", [] { glRotatef(180, 0, 1, 0); }, 6, bottomLeft},
        {"x-", [] { glRotatef(-90, 0, 1, 0); }, 3, bottomLeft},
        {"x+", [] { glRotatef(90, 0, 1, 0); }, 4, bottomLeft},
        {"y+", [] { glRotatef(-90, 1, 0, 0); }, 1, topRight},
        {"y-", [] { glRotatef(90, 1, 0, 0); }, 2, bottomLeft},
    };
    const int quarter = imageSize / 4;
    const std::pair<int, int> quadrantCentres[4] = {
        {quarter, quarter}, {3 * quarter, quarter}, {quarter, 3 * quarter}, {3 * quarter, 3 * quarter}};
    for (const GLenum culled : {GL_FRONT, GL_BACK}) {
        for (const Look& look : looks) {
            glViewport(0, 0, imageSize, imageSize);
            glMatrixMode(GL_PROJECTION);
            glLoadIdentity();
            gluPerspective(90, 1, 0.1, 100);
            glMatrixMode(GL_MODELVIEW);
            glLoadIdentity();
            glClearColor(0, 0, 0, 1);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glDisable(GL_LIGHTING);
            glEnable(GL_TEXTURE_2D);
            glEnable(GL_CULL_FACE);
            glCullFace(culled);
            glColor3f(1, 1, 1);
            look.turn();
            glPushMatrix();
            glScalef(10, 10, 10);
            glCallList(list);
            glPopMatrix();
            ReadBack();
            glCullFace(GL_BACK);
            if (culled == GL_BACK) {
                EXPECT_EQ(CoveredPixels(), 0) << look.name << " shows with back faces culled";
                continue;
            }
            SavePicture("sky-box-" + look.name);
            for (int q = 0; q < 4; ++q) {
                const Colour c = PixelAt(quadrantCentres[q].first, quadrantCentres[q].second);
                const Colour expected = q == look.imageCorner ? Colour{255, 255, 255} : skyColours[look.texture];
                EXPECT_TRUE(c.r == expected.r && c.g == expected.g && c.b == expected.b)
                    << look.name << " quadrant " << q << ": " << c.r << "," << c.g << "," << c.b;
            }
            // The whole 90-degree view lies on the one face; no seam lets the clear colour through.
            EXPECT_EQ(CoveredPixels(), imageSize * imageSize) << look.name;
        }
    }
}

// The dial's image lies on the front only, the right way round; the back is plain.
TEST_F(GeometryOnRealGl, DialShowsItsImageOnTheFrontOnly) {
    const GLuint list = Compile(DrawClockFace);
    const OrthoView view{0, 0, 6};
    DrawOrtho(list, view);
    SavePicture("clock-face-front");
    const Colour right = At(3.0, 0.0), left = At(-3.0, 0.0);
    EXPECT_GT(right.g, 150);
    EXPECT_LT(right.r, 30);
    EXPECT_GT(left.r, 150);
    EXPECT_LT(left.g, 30);
    EXPECT_TRUE(Covered(4.9, 0.0));
    EXPECT_TRUE(Covered(0.0, 4.9));
    EXPECT_FALSE(Covered(5.1, 0.0));
    EXPECT_FALSE(Covered(3.6, 3.6));
    EXPECT_FALSE(Covered(0.0, 0.0)) << "the hole for the hands' spindle";

    DrawOrtho(list, view, [] { glRotatef(180, 0, 1, 0); });
    SavePicture("clock-face-back");
    for (const double x : {-3.0, 3.0}) {
        const Colour c = At(x, 0.0);
        EXPECT_GT(c.r, 150);
        EXPECT_EQ(c.r, c.g);
        EXPECT_EQ(c.g, c.b);
    }
    ThreeQuarterView(list, "clock-face", view);
}

struct HandView {
    std::string name;
    std::function<void()> draw;
    double rodHalfWidth, pointAt, wideHalfWidth;
};

// Each hand points to twelve: hub round the spindle hole, rod, then the arrowhead's point.
TEST_F(GeometryOnRealGl, HandsPointToTwelve) {
    const HandView hands[] = {
        {"hour-hand", [] { DrawHourHand(1.0f, 10.0f); }, 0.3, 4.125, 0.6},
        {"minute-hand", [] { DrawMinuteHand(0.6f, 12.0f); }, 0.18, 4.65, 0.36},
    };
    for (const HandView& hand : hands) {
        const GLuint list = Compile(hand.draw);
        const OrthoView view{0, 2.2, 2.8};
        DrawOrtho(list, view);
        SavePicture(hand.name);
        EXPECT_TRUE(Covered(0.0, -0.45)) << hand.name;
        EXPECT_TRUE(Covered(0.35, 0.0)) << hand.name;
        EXPECT_FALSE(Covered(0.0, -0.55)) << hand.name;
        EXPECT_FALSE(Covered(0.45, 0.0)) << hand.name;
        EXPECT_FALSE(Covered(0.0, 0.0)) << hand.name << ": the hole stays open";
        EXPECT_TRUE(Covered(0.0, 2.0)) << hand.name;
        EXPECT_TRUE(Covered(hand.rodHalfWidth - 0.04, 2.0)) << hand.name;
        EXPECT_FALSE(Covered(hand.rodHalfWidth + 0.04, 2.0)) << hand.name;
        // The arrowhead narrows over 0.7 from its wide end to its point, and is wider than the rod.
        const double y = hand.pointAt - 0.6, halfWidth = hand.wideHalfWidth * 0.6 / 0.7;
        EXPECT_TRUE(Covered(0.9 * halfWidth, y)) << hand.name << ": arrowhead";
        EXPECT_FALSE(Covered(1.1 * halfWidth, y)) << hand.name << ": arrowhead";
        EXPECT_TRUE(Covered(0.0, hand.pointAt - 0.05)) << hand.name;
        EXPECT_FALSE(Covered(0.0, hand.pointAt + 0.05)) << hand.name;
        ThreeQuarterView(list, hand.name, view);
    }
}

}  // namespace
