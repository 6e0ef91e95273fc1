// 4 × 4 matrices laid out as OpenGL takes them: the element of row r and column c is at index
// 4c + r, so indices 12, 13 and 14 hold the translation.
#pragma once

#include <array>

using Matrix4 = std::array<float, 16>;

extern const Matrix4 identityMatrix;

// The rotation by `angle` radians about the axis (x, y, z), counter-clockwise when the axis
// points at the viewer, as glRotatef gives it. The axis need not be unit; a zero axis yields the
// identity.
void MakeRotationMatrix(float angle, float x, float y, float z, Matrix4& result);

// Gauss-Jordan inverse with partial pivoting. Returns false and leaves `result` as it was when
// the matrix is singular (a pivot is exactly zero). `result` may be `m` itself.
bool InvertMatrix(const Matrix4& m, Matrix4& result);

// a times b, as glMultMatrixf(b) on a current a gives it (worked out in double precision).
Matrix4 MultiplyMatrices(const Matrix4& a, const Matrix4& b);

// What glTranslatef, glRotatef (degrees) and glScalef multiply by.
Matrix4 TranslationMatrix(float x, float y, float z);
Matrix4 RotationMatrixDegrees(float degrees, float x, float y, float z);
Matrix4 ScaleMatrix(float x, float y, float z);

// What gluPerspective multiplies by: fieldOfView degrees from bottom to top.
Matrix4 PerspectiveMatrix(double fieldOfView, double aspect, double nearPlane, double farPlane);
