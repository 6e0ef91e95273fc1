#include "gfx/camera_frame.h"

#include "gfx/gl.h"

namespace {

constexpr CameraFrameRecord kDefaultView = {{0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, -1.0f}, {0.0f, 1.0f, 0.0f}};

}  // namespace

CameraFrameRecord CameraFrame = kDefaultView;

void ResetCameraFrame() { CameraFrame = kDefaultView; }

namespace {

// The view rotation of `frame`: rows side, up and back (-forward).
Matrix4 ViewRotation(const CameraFrameRecord& frame) {
    const Vector3 back = {-frame.forward.x, -frame.forward.y, -frame.forward.z};
    const Vector3 side = Cross(frame.up, back);
    const Vector3& up = frame.up;
    return {side.x, up.x, back.x, 0.0f,  //
            side.y, up.y, back.y, 0.0f,  //
            side.z, up.z, back.z, 0.0f,  //
            0.0f,   0.0f, 0.0f,   1.0f};
}

Vector3 Rotate(const Matrix4& m, const Vector3& v) {
    return {m[0] * v.x + m[4] * v.y + m[8] * v.z,  //
            m[1] * v.x + m[5] * v.y + m[9] * v.z,  //
            m[2] * v.x + m[6] * v.y + m[10] * v.z};
}

}  // namespace

void CameraToMatrix(Matrix4& result) {
    const Vector3 side = Cross(CameraFrame.up, CameraFrame.forward);
    const Vector3& up = CameraFrame.up;
    const Vector3& forward = CameraFrame.forward;
    result = {side.x,    side.y,    side.z,    0.0f,  //
              up.x,      up.y,      up.z,      0.0f,  //
              forward.x, forward.y, forward.z, 0.0f,  //
              0.0f,      0.0f,      0.0f,      1.0f};
}

void CameraLocalToWorld(const Vector3& point, Vector3& result) {
    Matrix4 m;
    CameraToMatrix(m);
    const Vector3 turned = Rotate(m, point);
    result = {turned.x + CameraFrame.origin.x, turned.y + CameraFrame.origin.y, turned.z + CameraFrame.origin.z};
}

void RotateCameraFrame(float angle, float x, float y, float z) {
    Matrix4 rotation;
    MakeRotationMatrix(angle, x, y, z, rotation);
    CameraFrame.up = Rotate(rotation, CameraFrame.up);
    CameraFrame.forward = Rotate(rotation, CameraFrame.forward);
}

void ApplyCameraTransform(const CameraFrameRecord& frame) {
    const Matrix4 rotation = ViewRotation(frame);
    glMultMatrixf(rotation.data());
    glTranslatef(-frame.origin.x, -frame.origin.y, -frame.origin.z);
}

Matrix4 CameraTransformMatrix(const CameraFrameRecord& frame) {
    return MultiplyMatrices(ViewRotation(frame), TranslationMatrix(-frame.origin.x, -frame.origin.y, -frame.origin.z));
}

void MultInverseCameraRotation() {
    // A frame whose axes are unit and perpendicular always inverts; one that has collapsed has
    // no inverse, and then the matrix is left as it is rather than multiplied by garbage.
    Matrix4 inverse = identityMatrix;
    InvertMatrix(ViewRotation(CameraFrame), inverse);
    glMultMatrixf(inverse.data());
}
