#pragma once

#include <cmath>
#include <cstring>

// Vectors, quaternions and matrices as the 3D services take and give them.
// Matrices follow the row-vector convention: a point p is transformed as
// p · M, so the translation sits in the fourth row and A · B applies A first.

namespace rm {

struct Vector {
    float x = 0, y = 0, z = 0;

    bool operator==(const Vector&) const = default;
};

constexpr Vector operator+(const Vector& a, const Vector& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
constexpr Vector operator-(const Vector& a, const Vector& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
constexpr Vector operator*(const Vector& a, float k) { return {a.x * k, a.y * k, a.z * k}; }
constexpr float Dot(const Vector& a, const Vector& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
constexpr Vector Cross(const Vector& a, const Vector& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float Length(const Vector& a) { return std::sqrt(Dot(a, a)); }
// The zero vector stays zero.
inline Vector Normalize(const Vector& a) {
    const float length = Length(a);
    return length > 0 ? a * (1 / length) : a;
}

// A rotation quaternion: scalar part s, then the vector part x, y, z.
struct Quaternion {
    float s = 1, x = 0, y = 0, z = 0;
};

// The Hamilton product a · b: (sa·sb − va·vb, sa·vb + sb·va + va × vb).
constexpr Quaternion QuaternionMultiply(const Quaternion& a, const Quaternion& b) {
    return {
        a.s * b.s - (a.x * b.x + a.y * b.y + a.z * b.z),
        a.s * b.x + b.s * a.x + (a.y * b.z - a.z * b.y),
        a.s * b.y + b.s * a.y + (a.z * b.x - a.x * b.z),
        a.s * b.z + b.s * a.z + (a.x * b.y - a.y * b.x),
    };
}

// Spherical interpolation along the shorter arc; t from 0 (a) to 1 (b).
Quaternion QuaternionSlerp(const Quaternion& a, const Quaternion& b, float t);

struct Matrix4 {
    float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
};

inline Matrix4 IdentityMatrix() { return {}; }
Matrix4 Multiply(const Matrix4& a, const Matrix4& b);
// Inverse of an affine matrix; a singular one gives the identity.
Matrix4 Inverse(const Matrix4& a);
Matrix4 TranslationMatrix(const Vector& offset);
Matrix4 ScaleMatrix(const Vector& factors);
// Turns by `angle` radians about `axis` (normalised here); the same turn as the
// quaternion (cos(angle/2), sin(angle/2)·axis).
Matrix4 RotationMatrix(const Vector& axis, float angle);
// The turn q·p·q⁻¹ of a unit quaternion; q is normalised first.
Matrix4 QuaternionMatrix(const Quaternion& q);

inline Vector TransformPoint(const Vector& p, const Matrix4& a) {
    return {p.x * a.m[0][0] + p.y * a.m[1][0] + p.z * a.m[2][0] + a.m[3][0],
            p.x * a.m[0][1] + p.y * a.m[1][1] + p.z * a.m[2][1] + a.m[3][1],
            p.x * a.m[0][2] + p.y * a.m[1][2] + p.z * a.m[2][2] + a.m[3][2]};
}
inline Vector TransformDirection(const Vector& d, const Matrix4& a) {
    return {d.x * a.m[0][0] + d.y * a.m[1][0] + d.z * a.m[2][0], d.x * a.m[0][1] + d.y * a.m[1][1] + d.z * a.m[2][1],
            d.x * a.m[0][2] + d.y * a.m[1][2] + d.z * a.m[2][2]};
}
inline Vector Row(const Matrix4& a, int row) { return {a.m[row][0], a.m[row][1], a.m[row][2]}; }
// The row is written whole, in one store: a copy of the matrix that follows
// at once reads it in wide loads, which a store of each float would stall.
inline void SetRow(Matrix4& a, int row, const Vector& v) {
    const float whole[4] = {v.x, v.y, v.z, a.m[row][3]};
    std::memcpy(a.m[row], whole, sizeof whole);
}

}  // namespace rm
