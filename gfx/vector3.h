// Directions and positions: in single precision as OpenGL takes them, and in double precision
// for points worked out before they are handed over (the meshes; the tests' and the image
// generator's geometry).
#pragma once

#include <cmath>

struct Vector3 {
    float x;
    float y;
    float z;
};

inline Vector3 Cross(const Vector3& a, const Vector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

struct Vector3d {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

inline Vector3d operator+(const Vector3d& a, const Vector3d& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vector3d operator-(const Vector3d& a, const Vector3d& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vector3d operator*(const Vector3d& v, double s) { return {v.x * s, v.y * s, v.z * s}; }
inline double Dot(const Vector3d& a, const Vector3d& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline double Length(const Vector3d& v) { return std::sqrt(Dot(v, v)); }
inline Vector3d Cross(const Vector3d& a, const Vector3d& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
