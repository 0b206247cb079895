#pragma once

#include "platform/rm/math.h"

#include <cstdint>
#include <vector>

namespace rm {

struct RayHit {
    float t = 0;        // distance along the ray, in units of its direction
    int32_t face = -1;  // the polygon hit
};

struct Triangle {
    Vector a, b, c;
    int32_t face;
};

// A bounding-volume hierarchy over triangles, for ray tests in well under the
// time of testing every triangle.
class Bvh {
public:
    void Build(std::vector<Triangle> triangles);
    // Nearest crossing with t ≥ 0; both sides of a triangle count.
    bool Intersect(const Vector& origin, const Vector& direction, RayHit& hit) const;
    bool Empty() const { return triangles_.empty(); }

private:
    struct Node {
        Vector min, max;
        int32_t first;  // leaf: first triangle; inner: right child (left is the next node)
        int32_t count;  // triangles in a leaf, 0 for an inner node
    };
    int32_t BuildNode(int32_t first, int32_t count);

    std::vector<Triangle> triangles_;
    std::vector<Node> nodes_;
};

// Möller–Trumbore, both sides; t ≥ 0 only.
bool IntersectTriangle(const Vector& origin, const Vector& direction, const Vector& a, const Vector& b, const Vector& c,
                       float& t);

}  // namespace rm
