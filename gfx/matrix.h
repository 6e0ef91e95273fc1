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
