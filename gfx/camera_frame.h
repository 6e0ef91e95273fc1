// The camera frame: a position and an orientation from which the view transform is made. The
// global `CameraFrame` is the main view's camera; the cube-map faces use local frames.
#pragma once

#include "gfx/matrix.h"
#include "gfx/vector3.h"

struct CameraFrame {
    Vector3 origin;   // position in world coordinates
    Vector3 forward;  // where the camera looks; unit length
    Vector3 up;       // unit length and perpendicular to forward
};

// The global below hides the record's name, so code that declares frames of its own uses this.
using CameraFrameRecord = struct CameraFrame;

// The main view's camera: at first OpenGL's default view (at the origin, looking down -z with
// +y up); the scene set-up turns and moves it once.
extern CameraFrameRecord CameraFrame;

// Puts the global camera back at OpenGL's default view.
void ResetCameraFrame();

// The global frame's rotation, local to world: columns up × forward, up, forward.
void CameraToMatrix(Matrix4& result);

// `point`, given in the global camera's local coordinates, in world coordinates.
void CameraLocalToWorld(const Vector3& point, Vector3& result);

// Turns the global frame's forward and up by `angle` radians about the world direction
// (x, y, z) through its origin. Nothing is renormalised.
void RotateCameraFrame(float angle, float x, float y, float z);

// Multiplies the current OpenGL matrix by the view transform of `frame`: world points moved by
// -origin and expressed in the axes (forward × up, up, -forward).
void ApplyCameraTransform(const CameraFrameRecord& frame);

// The same view transform as a matrix, for the arithmetic that needs it without asking OpenGL.
Matrix4 CameraTransformMatrix(const CameraFrameRecord& frame);

// Multiplies the current OpenGL matrix by the inverse of the global camera's view rotation,
// which turns eye-space directions into world directions (for reflection lookups).
void MultInverseCameraRotation();
