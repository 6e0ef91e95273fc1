// The camera frame: its local axes, the set-up's turn and the view transforms it hands to OpenGL,
// seen through the recording OpenGL layer.
#include <gtest/gtest.h>

#include "gfx/camera_frame.h"
#include "gfx/gl.h"
#include "tests/support/gl_recorder.h"

namespace {

// Taken during static initialisation, before any test turns the global camera.
const CameraFrameRecord initialCamera = CameraFrame;

using Point = std::array<double, 3>;

// Column-major 4 × 4 matrix (as recorded) applied to a point with w = 1.
Point Transform(const std::vector<double>& m, const Point& p) {
    return {m[0] * p[0] + m[4] * p[1] + m[8] * p[2] + m[12],  //
            m[1] * p[0] + m[5] * p[1] + m[9] * p[2] + m[13],  //
            m[2] * p[0] + m[6] * p[1] + m[10] * p[2] + m[14]};
}

void ExpectVector(const Vector3& v, float x, float y, float z, float tolerance = 0) {
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
}

class CameraFrameTest : public testing::Test {
protected:
    void TearDown() override { CameraFrame = initialCamera; }

    // What the scene set-up does to the camera.
    static void PlaceAsTheSceneDoes() {
        Vector3 axis;
        CameraLocalToWorld({0, 1, 0}, axis);
        RotateCameraFrame(3.14f, axis.x, axis.y, axis.z);
        CameraFrame.origin.x += 23 * CameraFrame.forward.x;
        CameraFrame.origin.y += 23 * CameraFrame.forward.y;
        CameraFrame.origin.z += 23 * CameraFrame.forward.z;
    }

    // Where the recorded glMultMatrixf and glTranslatef, in that order, send a world point.
    static Point EyeCoordinates(const GlRecorder& gl, const Point& world) {
        const std::vector<std::string> expected = {"glMultMatrixf", "glTranslatef"};
        EXPECT_EQ(gl.Names(), expected);
        const std::vector<double>& t = gl.Calls().at(1).args;
        return Transform(gl.Calls().at(0).args, {world[0] + t[0], world[1] + t[1], world[2] + t[2]});
    }
};

TEST_F(CameraFrameTest, StartsAsOpenGlsDefaultView) {
    ExpectVector(initialCamera.origin, 0, 0, 0);
    ExpectVector(initialCamera.forward, 0, 0, -1);
    ExpectVector(initialCamera.up, 0, 1, 0);

    GlRecorder gl;
    ApplyCameraTransform(CameraFrame);
    ASSERT_EQ(gl.Count("glMultMatrixf"), 1u);
    const std::vector<double> identity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    EXPECT_EQ(gl.CallsOf("glMultMatrixf")[0].args, identity);
    EXPECT_EQ(gl.CallsOf("glTranslatef")[0].args, (std::vector<double>{0, 0, 0}));
}

TEST_F(CameraFrameTest, LocalAxesMapOntoTheFrame) {
    Matrix4 m;
    CameraToMatrix(m);
    // Columns: up × forward (the viewer's left, -x here), up, forward; no translation.
    const Matrix4 expected = {-1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1};
    EXPECT_EQ(m, expected);

    Vector3 world;
    CameraLocalToWorld({0, 1, 0}, world);
    ExpectVector(world, 0, 1, 0);

    CameraFrame.origin = {10, 20, 30};
    CameraLocalToWorld({1, 2, 3}, world);
    ExpectVector(world, 10 - 1, 20 + 2, 30 - 3);
    Vector3 same = {1, 2, 3};
    CameraLocalToWorld(same, same);  // the result may overwrite the point
    ExpectVector(same, 9, 22, 27);
}

TEST_F(CameraFrameTest, TheSceneTurnFallsJustShortOfHalfATurn) {
    PlaceAsTheSceneDoes();
    ExpectVector(CameraFrame.forward, -0.0015925f, 0, 0.9999987f, 1e-7f);
    ExpectVector(CameraFrame.up, 0, 1, 0, 1e-7f);
    ExpectVector(CameraFrame.origin, -0.0366286f, 0, 22.99997f, 1e-5f);
    EXPECT_NEAR(CameraFrame.origin.x, -0.0366286f, 1e-7);
}

TEST_F(CameraFrameTest, TurningAboutUpLeavesUpAndTheOriginAlone) {
    CameraFrame.origin = {1, 2, 3};
    RotateCameraFrame(0.5f, 0, 1, 0);
    EXPECT_EQ(CameraFrame.up.x, 0.0f);
    EXPECT_NEAR(CameraFrame.up.y, 1.0f, 1e-7);
    EXPECT_EQ(CameraFrame.up.z, 0.0f);
    ExpectVector(CameraFrame.origin, 1, 2, 3);
    // Looking down -z, a positive turn about +y swings the view towards -x.
    EXPECT_LT(CameraFrame.forward.x, 0.0f);
    EXPECT_NEAR(CameraFrame.forward.x * CameraFrame.forward.x + CameraFrame.forward.z * CameraFrame.forward.z,
                1.0, 1e-6);
}

TEST_F(CameraFrameTest, TurningAboutAnotherAxisMovesUpAndForwardTogether) {
    RotateCameraFrame(1.5707964f, 1, 0, 0);  // a quarter turn about +x lifts the view from -z to +y
    ExpectVector(CameraFrame.forward, 0, 1, 0, 1e-7f);
    ExpectVector(CameraFrame.up, 0, 0, 1, 1e-7f);
}

TEST_F(CameraFrameTest, ViewTransformPutsWhatTheCameraFacesOnTheNegativeEyeAxis) {
    GlRecorder gl;
    const CameraFrameRecord facingTheClock = {{0, 0, 23}, {0, 0, 1}, {0, 1, 0}};
    ApplyCameraTransform(facingTheClock);
    const Point eye = EyeCoordinates(gl, {0, 0, 40});
    EXPECT_DOUBLE_EQ(eye[0], 0);
    EXPECT_DOUBLE_EQ(eye[1], 0);
    EXPECT_DOUBLE_EQ(eye[2], -17);
    // The camera turned round has +x of the world on its left.
    gl.Clear();
    ApplyCameraTransform(facingTheClock);
    EXPECT_LT(EyeCoordinates(gl, {1, 0, 23})[0], 0);

    // The scene's own camera sees the clock centre almost straight ahead.
    PlaceAsTheSceneDoes();
    gl.Clear();
    ApplyCameraTransform(CameraFrame);
    const Point clock = EyeCoordinates(gl, {0, 0, 40});
    EXPECT_NEAR(clock[0], 0, 0.1);
    EXPECT_NEAR(clock[1], 0, 1e-9);
    EXPECT_NEAR(clock[2], -17, 1e-4);
}

TEST_F(CameraFrameTest, InverseRotationIsTheTransposeOfTheViewRotation) {
    PlaceAsTheSceneDoes();
    GlRecorder gl;
    ApplyCameraTransform(CameraFrame);
    MultInverseCameraRotation();
    const std::vector<GlCall> matrices = gl.CallsOf("glMultMatrixf");
    ASSERT_EQ(matrices.size(), 2u);
    const std::vector<double>& view = matrices[0].args;
    const std::vector<double>& inverse = matrices[1].args;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(inverse[4 * c + r], view[4 * r + c], 1e-6) << r << "," << c;
    }
    // Columns side, up and back: the eye's -z is the world direction the camera looks along.
    const Point ahead = Transform(inverse, {0, 0, -1});
    EXPECT_NEAR(ahead[0], CameraFrame.forward.x, 1e-6);
    EXPECT_NEAR(ahead[2], CameraFrame.forward.z, 1e-6);
    EXPECT_EQ(gl.Count("glTranslatef"), 1u);  // the inverse carries no translation
}

TEST_F(CameraFrameTest, ACollapsedFrameLeavesTheMatrixAsItIs) {
    CameraFrame.forward = {0, 1, 0};  // along up: no side vector, no inverse
    GlRecorder gl;
    MultInverseCameraRotation();
    ASSERT_EQ(gl.Count("glMultMatrixf"), 1u);
    const std::vector<double> identity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    EXPECT_EQ(gl.CallsOf("glMultMatrixf")[0].args, identity);
}

}  // namespace
