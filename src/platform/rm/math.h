#pragma once

// Vectors and quaternions as the 3D services take and give them.

namespace rm {

struct Vector {
    float x = 0, y = 0, z = 0;
};

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

}  // namespace rm
