// The clock's meshes on the real driver, closed, facing out, their images the right way round;
// and in the world as the frame places them: meshing gears, the swinging pendulum, the hands.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "gfx/texture_image.h"
#include "gl_scene.h"
#include "platform/platform_posix_control.h"
#include "resources/resource_ids.h"
#include "scene/clock_time.h"
#include "scene/mesh_steps.h"
#include "scene/draw_scene.h"
#include "scene/render_frame.h"
#include "scene/scene_setup.h"
#include "scene/sky_box_faces.h"
#include "tools/images/sky_box_layout.h"

namespace {

// The list after `place`, seen down -z through a `pixels`-square window `half` wide each way:
// `lit` by a light at the viewer only, back faces culled; else unlit, by nearest texels, from
// 0.5 to 1.5 in front.
Image View(uint32_t list, bool lit, double half, int pixels, const std::function<void()>& place) {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glViewport(0, 0, pixels, pixels);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-half, half, -half, half, lit ? -100 : 0.5, lit ? 100 : 1.5);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const float towardsViewer[4] = {0, 0, 1, 0}, white[4] = {1, 1, 1, 1}, none[4] = {0, 0, 0, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, towardsViewer);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, white);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, none);
    glEnable(GL_NORMALIZE);
    glCullFace(GL_BACK);
    for (const GLenum capability : {GL_LIGHTING, GL_LIGHT0, GL_CULL_FACE}) lit ? glEnable(capability) : glDisable(capability);
    lit ? glDisable(GL_TEXTURE_2D) : glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    const auto filterImages = [](GLint filter) {
        for (const uint32_t texture : sceneObjects.sceneTextures) glBindTexture(GL_TEXTURE_2D, texture), glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    };
    filterImages(GL_NEAREST);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    place();
    glCallList(list);
    filterImages(GL_LINEAR_MIPMAP_LINEAR);
    glPopAttrib();
    return ReadImage(pixels, pixels);
}

// From both ends of each axis and of a slanting line a closed solid shows one outline, and each
// face it shows is lit by a light at the viewer: no face missing or inside out, normals outward.
TEST(Meshes, SolidsAreClosedAndFaceOutwards) {
    const std::pair<const char*, uint32_t> solids[] = {
        {"medium gear", sceneObjects.mediumGearList}, {"small gear", sceneObjects.smallGearList}, {"large gear", sceneObjects.largeGearList}, {"thin axle", sceneObjects.thinAxleList},
        {"pendulum", sceneObjects.pendulumList},      {"dial", sceneObjects.clockFaceList},       {"hour hand", sceneObjects.hourHandList},   {"minute hand", sceneObjects.minuteHandList}};
    for (const auto& [name, list] : solids) {
        double half = 0;
        glLoadIdentity();
        for (const Vector3d& p : Capture([list = list] { glPushMatrix(), glCallList(list), glPopMatrix(); })) {
            half = std::max({half, 1.1 * std::abs(p.x), 1.1 * std::abs(p.y), 1.1 * std::abs(p.z)});
        }
        const float turns[6][2] = {{0, 0}, {180, 0}, {90, 0}, {-90, 0}, {35, 30}, {215, -30}};  // about y, then about x
        int covered[6] = {};
        for (int v = 0; v < 6; ++v) {
            const Image image = View(list, true, half, 240, [&] { glRotatef(turns[v][1], 1, 0, 0), glRotatef(turns[v][0], 0, 1, 0); });
            int dark = 0;
            for (std::size_t i = 0; i < image.rgba.size(); i += 4) {
                if (image.rgba[i + 2] == 255 && image.rgba[i] == 0) continue;  // the blue background
                ++covered[v];
                dark += image.rgba[i] < 10;
            }
            EXPECT_GT(covered[v], 50) << name << ", view " << v;
            EXPECT_LT(dark, covered[v] / 50 + 2) << name << ", view " << v;
        }
        for (int v = 0; v < 6; v += 2) EXPECT_NEAR(covered[v], covered[v + 1], covered[v] / 100 + 30) << name << ", views " << v;
    }
}

// The mean difference per channel between a 16 x 16 block of what the list shows and of the
// bitmap as the mip-map builder scales it (sides to the nearest power of two), about the texel
// farthest from mid-grey (a star, the dial's ink) whose texture coordinate `region` accepts.
// `at` gives the point of the list that (u, v) covers; it is seen from where the image reads.
double ShownVersusBitmap(uint32_t list, int bitmap, const std::function<bool(double, double)>& region,
                         const std::function<Vector3d(double, double)>& at) {
    const ResourceBytes resource = FindModuleResource("BITMAP", bitmap);
    const std::optional<TextureImage> image = ReadBitmapImage(resource.data, resource.size);
    if (!image) return 1e9;
    auto nearestPower = [](int n) { return 1 << static_cast<int>(std::lround(std::log2(n))); };
    const int w = nearestPower(image->width), h = nearestPower(image->height);
    std::vector<unsigned char> scaled(static_cast<std::size_t>(w) * h * 3);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    gluScaleImage(GL_BGR, image->width, image->height, GL_UNSIGNED_BYTE, image->Pixels(), w, h, GL_UNSIGNED_BYTE, scaled.data());
    auto texel = [&](int x, int y) { return &scaled[(static_cast<std::size_t>(y) * w + x) * 3]; };
    auto luminance = [&](int x, int y) { return texel(x, y)[0] + texel(x, y)[1] + texel(x, y)[2]; };
    int column = 0, row = 0, standsOut = -1;
    for (int y = 8; y < h - 8; ++y) {
        for (int x = 8; x < w - 8; ++x) {
            if (std::abs(luminance(x, y) - 382) <= standsOut || !region(static_cast<double>(x) / w, static_cast<double>(y) / h)) continue;
            standsOut = std::abs(luminance(x, y) - 382);
            column = x - 8, row = y - 8;
        }
    }
    const Vector3d centre = at((column + 8.0) / w, (row + 8.0) / h), du = at((column + 9.0) / w, (row + 8.0) / h) - centre,
               dv = at((column + 8.0) / w, (row + 9.0) / h) - centre, eye = centre + Cross(du, dv) * (1 / Length(Cross(du, dv)));
    const Image shown = View(list, false, 8 * Length(du), 16, [&] {
        glLoadIdentity();
        gluLookAt(eye.x, eye.y, eye.z, centre.x, centre.y, centre.z, dv.x, dv.y, dv.z);
    });
    double difference = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            for (int c = 0; c < 3; ++c) difference += std::abs(shown.At(x, y)[c] - texel(column + x, row + y)[2 - c]);
        }
    }
    return difference / (16 * 16 * 3);
}

// Each image on its surface: the dial on the dial's front, the metal across a gear's face, and
// every sky image on its face of the box where the image generator meant it.
TEST(Meshes, ImagesLieOnTheirSurfacesTheRightWayRound) {
    // A gear's face and the dial map their image once across a disc of radius 5 at z = +1.
    const auto disc = [](double u, double v) { return Vector3d{5 * (2 * u - 1), 5 * (2 * v - 1), 1}; };
    // Between the dial's one and two, where a mirrored image would show the ten.
    EXPECT_LT(ShownVersusBitmap(sceneObjects.clockFaceList, CLOCK_FACE_BITMAP, [](double u, double v) { return u > 0.6 && u < 0.85 && v > 0.6 && v < 0.85; },
                                disc), 3.0);
    // On the gear's face, clear of the hole and the teeth.
    EXPECT_LT(ShownVersusBitmap(sceneObjects.mediumGearList, METAL_BITMAP, [](double u, double v) { return std::abs(std::hypot(2 * u - 1, 2 * v - 1) - 0.6) < 0.35; },
                                disc), 3.0);
    for (int face = 0; face < skyBoxFaceCount; ++face) {
        const auto onFace = [face](double u, double v) { return Vector3d{SkyFacePoint(face, u, v).x, SkyFacePoint(face, u, v).y, SkyFacePoint(face, u, v).z}; };
        EXPECT_LT(ShownVersusBitmap(sceneObjects.skyBoxList, skyBoxFaces[face].bitmapId, [](double, double) { return true; }, onFace), 3.0) << face;
    }
}

constexpr double kPi = 3.14159265358979323846;

// What DrawScene draws in world coordinates, cut into its pieces (each the lists given); and
// where light 0 then stands.
std::vector<std::vector<Vector3d>> DrawnScene(bool forCubeMap, const std::vector<std::vector<uint32_t>>& pieces, Vector3d* light0 = nullptr) {
    UpdateScene();
    glMatrixMode(GL_PROJECTION);  // a view round the whole clockwork: no piece is left out as unseen
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-100, 100, -100, 100, -100, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const std::vector<Vector3d> corners = Capture([forCubeMap] { DrawScene(forCubeMap, CurrentCamera()); });
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    std::vector<std::vector<Vector3d>> cut;
    auto first = corners.begin();
    for (const auto& lists : pieces) {
        std::size_t count = 0;
        for (uint32_t list : lists) count += Capture([list] { glCallList(list); }).size();
        cut.emplace_back(first, first + static_cast<std::ptrdiff_t>(count));
        first += static_cast<std::ptrdiff_t>(count);
    }
    float light[4] = {};
    glGetLightfv(GL_LIGHT0, GL_POSITION, light);
    if (light0) *light0 = {light[0], light[1], light[2]};
    return cut;
}

// Clip coordinates of a world point under the projection and view matrices current now.
struct ViewMatrices {
    float projection[16], view[16];
    ViewMatrices() { glGetFloatv(GL_PROJECTION_MATRIX, projection), glGetFloatv(GL_MODELVIEW_MATRIX, view); }
    Vector3d Eye(const Vector3d& p) const {
        const float* m = view;
        return {m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12], m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
                m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]};
    }
    // w + x, w - x, w + y, w - y and w + z: all at least 0 inside the view.
    std::array<double, 5> Sides(const Vector3d& world) const {
        const Vector3d e = Eye(world);
        double clip[4];
        for (int r = 0; r < 4; ++r) clip[r] = projection[r] * e.x + projection[4 + r] * e.y + projection[8 + r] * e.z + projection[12 + r];
        return {clip[3] + clip[0], clip[3] - clip[0], clip[3] + clip[1], clip[3] - clip[1], clip[3] + clip[2]};
    }
    // Every point beyond one and the same side: nothing of them can show.
    bool AllBeyondOneSide(const std::vector<Vector3d>& points) const {
        for (int side = 0; side < 5; ++side) {
            if (std::all_of(points.begin(), points.end(), [&](const Vector3d& p) { return Sides(p)[side] < 0; })) return true;
        }
        return false;
    }
};

// A view leaves out the pendulum or a gear only where none of it could show: every cube face,
// and from the camera's place views of common, very wide and very narrow shape turned all
// round, whose sides cut through the pieces, as the pendulum swings through a period and the
// gears turn. Each piece the view drew is found, in order, where the view puts it.
TEST(Machinery, AViewLeavesOutOnlyPiecesOfWhichNothingWouldShow) {
    const SceneObjects& o = sceneObjects;
    const Vector3d dome{domeCentre[0], domeCentre[1], domeCentre[2]};
    int skipped = 0;
    for (double seconds = 0.0; seconds < 6.3; seconds += 1.3) {
        RewindAnimationStopwatches(seconds);
        for (const bool forCubeMap : {true, false}) {
            std::vector<std::vector<uint32_t>> lists{{o.pendulumList}};
            if (!forCubeMap) lists.insert(lists.end(), {{o.hourHandList}, {o.minuteHandList}});
            for (uint32_t gear : {o.mediumGearList, o.mediumGearList, o.mediumGearList, o.smallGearList, o.largeGearList}) lists.push_back({gear});
            const uint32_t axles[5] = {o.mediumAxleList, o.mediumAxleList, o.mediumAxleList, o.thinAxleList, o.thickAxleList};
            for (int g = 0; g < 5; ++g) lists[lists.size() - 5 + g].push_back(axles[g]);
            const std::vector<std::vector<Vector3d>> pieces = DrawnScene(forCubeMap, lists);
            const Vector3d axes[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
            for (int v = 0; v < (forCubeMap ? 6 : 36); ++v) {
                glMatrixMode(GL_PROJECTION);
                glPushMatrix();
                glLoadIdentity();
                gluPerspective(forCubeMap ? 90.0 : 35.0, forCubeMap ? 1.0 : std::array{4 / 3.0, 32 / 9.0, 0.25}[v % 3], 0.1, 1e5);
                glMatrixMode(GL_MODELVIEW);
                glLoadIdentity();
                const double turn = v / 3 * kPi / 6;
                const Vector3d eye = forCubeMap ? dome : Vector3d{0, 0, 23};
                const Vector3d at = eye + (forCubeMap ? axes[v] : Vector3d{std::sin(turn), 0.3 * std::cos(3 * turn), std::cos(turn)});
                const Vector3d up = forCubeMap && axes[v].y != 0 ? Vector3d{0, 0, 1} : Vector3d{0, 1, 0};
                gluLookAt(eye.x, eye.y, eye.z, at.x, at.y, at.z, up.x, up.y, up.z);
                const ViewMatrices view;
                const std::vector<Vector3d> drawn = Capture([forCubeMap] { DrawScene(forCubeMap, CurrentCamera()); });
                glMatrixMode(GL_PROJECTION);
                glPopMatrix();
                glMatrixMode(GL_MODELVIEW);
                std::size_t next = 0;
                for (std::size_t k = 0; k < pieces.size(); ++k) {
                    const Vector3d expected = view.Eye(pieces[k][0]);
                    if (next < drawn.size() && Length(drawn[next] - expected) < 1e-3 * (1 + Length(expected))) {
                        next += pieces[k].size();
                        continue;
                    }
                    ++skipped;
                    EXPECT_TRUE(view.AllBeyondOneSide(pieces[k])) << "piece " << k << " of view " << v << " at " << seconds << " s";
                }
            }
        }
    }
    EXPECT_GT(skipped, 100) << "the views left out next to nothing: the test shows nothing";
}

// A gear as placed: its axle's centre, the axis its first face (the first triangle) looks
// along, and its teeth counted as the runs of points at the tip radius around the axis.
struct PlacedGear {
    Vector3d centre, axis;
    std::vector<Vector3d> points;
    double tipRadius = 0, bodyRadius = 0;
    int teeth = 0;

    PlacedGear(const std::vector<Vector3d>& gear, const std::vector<Vector3d>& axle) : centre(BoxCentre(axle)), points(gear) {
        axis = Cross(points[1] - points[0], points[2] - points[0]);
        axis = axis * (1.0 / Length(axis));
        for (const Vector3d& p : points) tipRadius = std::max(tipRadius, Radius(p));
        std::vector<double> tips;
        for (const Vector3d& p : points) {
            if (Radius(p) > tipRadius - 0.3) tips.push_back(Angle(p));
            if (Radius(p) < tipRadius - 1.0) bodyRadius = std::max(bodyRadius, Radius(p));
        }
        std::sort(tips.begin(), tips.end());
        for (std::size_t i = 0; i < tips.size(); ++i) teeth += (i + 1 < tips.size() ? tips[i + 1] : tips[0] + 2 * kPi) - tips[i] > 0.06;
    }
    double Radius(const Vector3d& p) const { return Length((p - centre) - axis * Dot(p - centre, axis)); }
    // About the axis, from a fixed direction across it.
    double Angle(const Vector3d& p) const {
        const Vector3d u = Cross(axis, std::abs(axis.x) < 0.9 ? Vector3d{1, 0, 0} : Vector3d{0, 1, 0}), v = Cross(axis, u);
        return std::atan2(Dot(p - centre, v), Dot(p - centre, u));
    }
};

// The five gears with their axles (the cube faces draw the pendulum first, and no hands).
std::vector<PlacedGear> GearsAt(double clockSeconds) {
    RewindAnimationStopwatches(clockSeconds);
    const auto pieces = DrawnScene(true, {{sceneObjects.pendulumList}, {sceneObjects.mediumGearList}, {sceneObjects.mediumAxleList}, {sceneObjects.mediumGearList}, {sceneObjects.mediumAxleList},
                                          {sceneObjects.mediumGearList}, {sceneObjects.mediumAxleList}, {sceneObjects.smallGearList}, {sceneObjects.thinAxleList}, {sceneObjects.largeGearList}, {sceneObjects.thickAxleList}});
    std::vector<PlacedGear> gears;
    for (int g = 0; g < 5; ++g) gears.emplace_back(pieces[1 + 2 * g], pieces[2 + 2 * g]);
    return gears;
}

// Gear 1 drives gears 2, 4 and 5 in its plane, gear 2 drives gear 3 across it. Side by side,
// centres lie the pitch radii (midway between body and tips) apart, and turn opposite ways.
TEST(Machinery, NeighbouringGearsMeshAndTurnToothForTooth) {
    const std::vector<PlacedGear> before = GearsAt(3.0), after = GearsAt(3.1);
    double rates[5];  // radians per second about each gear's axis
    for (int g = 0; g < 5; ++g) {
        EXPECT_GT(before[g].teeth, 10) << g;
        std::size_t tip = 0;
        while (before[g].Radius(before[g].points[tip]) < before[g].tipRadius - 0.3) ++tip;
        rates[g] = std::remainder(after[g].Angle(after[g].points[tip]) - before[g].Angle(before[g].points[tip]), 2 * kPi) / 0.1;
        EXPECT_GT(std::abs(rates[g]), 0.5) << "gear " << g + 1 << " stands still";
    }
    for (const auto& [a, b] : {std::pair{0, 1}, {0, 3}, {0, 4}, {1, 2}}) {
        SCOPED_TRACE(testing::Message() << "gears " << a + 1 << " and " << b + 1);
        const PlacedGear &first = before[a], &second = before[b];
        EXPECT_NEAR(std::abs(rates[a]) * first.teeth, std::abs(rates[b]) * second.teeth, 0.01 * std::abs(rates[a]) * first.teeth);
        const double alike = Dot(first.axis, second.axis);
        if (std::abs(alike) > 0.99) {
            EXPECT_NEAR(Dot(second.centre - first.centre, first.axis), 0.0, 0.01);
            EXPECT_NEAR(Length(second.centre - first.centre), (first.tipRadius + first.bodyRadius + second.tipRadius + second.bodyRadius) / 2, 0.1);
            EXPECT_LT(rates[a] * rates[b] * alike, 0.0);
        } else {
            EXPECT_NEAR(alike, 0.0, 0.01);
            double closest = 1e9;
            for (const Vector3d& p : first.points) for (const Vector3d& q : second.points) closest = std::min(closest, Length(p - q));
            EXPECT_LT(closest, 1.0) << "the teeth do not reach each other";
        }
    }
}

// The rod turns about its top from straight down by 50 sin(t) degrees, towards +x for a
// positive sine, with the bob at its end and light 0 at the bob.
TEST(Machinery, ThePendulumSwingsAboutItsPivotWithTheLightAtItsBob) {
    const std::size_t rodCorners = Capture([] { EmitCappedCylinder(1.0, 0.0, -30.0); }).size();  // the list draws the rod first
    Vector3d restingPivot{};
    for (const auto& [seconds, sine] : {std::pair{0.0, 0.0}, {kPi / 2, 1.0}, {3 * kPi / 2, -1.0}}) {
        SCOPED_TRACE(seconds);
        RewindAnimationStopwatches(seconds);
        Vector3d light{};
        const std::vector<Vector3d> points = DrawnScene(true, {{sceneObjects.pendulumList}}, &light)[0];
        const std::vector<Vector3d> rod(points.begin(), points.begin() + static_cast<std::ptrdiff_t>(rodCorners));
        const Vector3d bob = BoxCentre({points.begin() + static_cast<std::ptrdiff_t>(rodCorners), points.end()});
        const Vector3d middle = BoxCentre(rod), pivot = middle * 2.0 - bob, hang = bob - pivot;
        double rodLength = 0;
        for (const Vector3d& p : rod) rodLength = std::max(rodLength, 2 * std::abs(Dot(p - middle, hang)) / Length(hang));
        EXPECT_NEAR(Length(hang), rodLength, 1e-3) << "the bob is not at the end of the rod";
        EXPECT_NEAR(Length(light - bob), 0.0, 1e-3) << "light 0 is not at the bob";
        if (sine == 0.0) restingPivot = pivot;
        EXPECT_NEAR(Length(pivot - restingPivot), 0.0, 1e-3) << "the pivot moved";
        EXPECT_NEAR(std::atan2(hang.x, -hang.y) * 180 / kPi, 50 * sine, 0.01);
        EXPECT_NEAR(hang.z, 0.0, 1e-3);
    }
}

// The hands' farthest points, clockwise from twelve as the viewer sees them (+x on the left).
TEST(Machinery, TheHandsShowTheTime) {
    for (const LocalTimeOfDay& t : {LocalTimeOfDay{3, 0, 0, 0}, {9, 30, 0, 0}, {15, 0, 0, 0}, {10, 9, 30, 0}, {23, 59, 59, 999}, {0, 0, 0, 0}}) {
        SCOPED_TRACE(testing::Message() << t.hour << ":" << t.minute << ":" << t.second << "." << t.millisecond);
        FreezeLocalTime(t);
        const auto pieces = DrawnScene(false, {{sceneObjects.pendulumList}, {sceneObjects.hourHandList}, {sceneObjects.minuteHandList}});
        const double seconds = t.second + t.millisecond / 1000.0;
        const double expected[2] = {(t.hour % 12) * 30 + t.minute * 0.5 + seconds / 120, t.minute * 6 + seconds * 0.1};
        for (int hand = 0; hand < 2; ++hand) {
            const Vector3d tip = *std::max_element(pieces[1 + hand].begin(), pieces[1 + hand].end(),
                                               [](auto& a, auto& b) { return std::hypot(a.x, a.y) < std::hypot(b.x, b.y); });
            EXPECT_NEAR(std::remainder(std::atan2(-tip.x, tip.y) * 180 / kPi - expected[hand], 360.0), 0.0, 0.05) << hand;
        }
    }
}

}  // namespace
