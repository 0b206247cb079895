#pragma once

#include <cmath>

// Small vector and rotation maths for building the assets. Every position
// here is in the body's design space unless a name says otherwise: x to the
// right, y up, z forward, the scene's own axes when the model faces +z.

namespace gen {

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, double k) { return {a.x * k, a.y * k, a.z * k}; }
inline double Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 Cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline double Length(Vec3 a) { return std::sqrt(Dot(a, a)); }
inline Vec3 Normalised(Vec3 a) {
    const double l = Length(a);
    return l > 0 ? a * (1 / l) : a;
}

constexpr double kPi = 3.14159265358979323846;
inline double Radians(double degrees) { return degrees * kPi / 180; }

// A 3 x 3 matrix acting on column vectors: m[row][column].
struct Mat3 {
    double m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
};

inline Mat3 operator*(const Mat3& a, const Mat3& b) {
    Mat3 r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j];
    return r;
}

inline Vec3 operator*(const Mat3& a, Vec3 v) {
    return {a.m[0][0] * v.x + a.m[0][1] * v.y + a.m[0][2] * v.z, a.m[1][0] * v.x + a.m[1][1] * v.y + a.m[1][2] * v.z,
            a.m[2][0] * v.x + a.m[2][1] * v.y + a.m[2][2] * v.z};
}

inline Mat3 Transposed(const Mat3& a) {
    Mat3 r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r.m[i][j] = a.m[j][i];
    return r;
}

// Rotation by `angle` radians about a unit axis (Rodrigues). About y it
// takes +z towards +x, the turn the game makes with a positive angle.
inline Mat3 Rotation(Vec3 axis, double angle) {
    const double c = std::cos(angle), s = std::sin(angle), t = 1 - c;
    const Vec3 a = Normalised(axis);
    Mat3 r;
    r.m[0][0] = t * a.x * a.x + c;
    r.m[0][1] = t * a.x * a.y - s * a.z;
    r.m[0][2] = t * a.x * a.z + s * a.y;
    r.m[1][0] = t * a.x * a.y + s * a.z;
    r.m[1][1] = t * a.y * a.y + c;
    r.m[1][2] = t * a.y * a.z - s * a.x;
    r.m[2][0] = t * a.x * a.z - s * a.y;
    r.m[2][1] = t * a.y * a.z + s * a.x;
    r.m[2][2] = t * a.z * a.z + c;
    return r;
}

inline Mat3 RotX(double degrees) { return Rotation({1, 0, 0}, Radians(degrees)); }
inline Mat3 RotY(double degrees) { return Rotation({0, 1, 0}, Radians(degrees)); }
inline Mat3 RotZ(double degrees) { return Rotation({0, 0, 1}, Radians(degrees)); }

}  // namespace gen
