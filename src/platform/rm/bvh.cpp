#include "platform/rm/bvh.h"

#include <algorithm>
#include <limits>

namespace rm {
namespace {

constexpr int32_t kLeafSize = 4;
constexpr int kMaxDepth = 64;

Vector Min(const Vector& a, const Vector& b) { return {std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z)}; }
Vector Max(const Vector& a, const Vector& b) { return {std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z)}; }

float Axis(const Vector& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }

// Slab test against the box; `inverse` holds 1/direction per axis.
bool HitsBox(const Vector& origin, const Vector& inverse, const Vector& min, const Vector& max, float limit) {
    float near = 0, far = limit;
    for (int axis = 0; axis < 3; ++axis) {
        const float o = Axis(origin, axis), k = Axis(inverse, axis);
        float t0 = (Axis(min, axis) - o) * k, t1 = (Axis(max, axis) - o) * k;
        if (t0 > t1) std::swap(t0, t1);
        // A NaN (ray in the slab's plane, zero direction) keeps the bounds as they were.
        if (t0 > near) near = t0;
        if (t1 < far) far = t1;
        if (near > far) return false;
    }
    return true;
}

}  // namespace

bool IntersectTriangle(const Vector& origin, const Vector& direction, const Vector& a, const Vector& b, const Vector& c,
                       float& t) {
    const Vector e1 = b - a, e2 = c - a;
    const Vector p = Cross(direction, e2);
    const float determinant = Dot(e1, p);
    if (std::abs(determinant) < 1e-12f) return false;
    const float inverse = 1 / determinant;
    const Vector s = origin - a;
    const float u = Dot(s, p) * inverse;
    if (u < 0 || u > 1) return false;
    const Vector q = Cross(s, e1);
    const float v = Dot(direction, q) * inverse;
    if (v < 0 || u + v > 1) return false;
    t = Dot(e2, q) * inverse;
    return t >= 0;
}

void Bvh::Build(std::vector<Triangle> triangles) {
    triangles_ = std::move(triangles);
    nodes_.clear();
    if (triangles_.empty()) return;
    nodes_.reserve(2 * triangles_.size() / kLeafSize + 1);
    BuildNode(0, static_cast<int32_t>(triangles_.size()));
}

int32_t Bvh::BuildNode(int32_t first, int32_t count) {
    const int32_t index = static_cast<int32_t>(nodes_.size());
    nodes_.push_back({});
    Vector min = triangles_[first].a, max = min;
    Vector centreMin{std::numeric_limits<float>::max(), std::numeric_limits<float>::max(),
                     std::numeric_limits<float>::max()};
    Vector centreMax = centreMin * -1;
    for (int32_t i = first; i < first + count; ++i) {
        const Triangle& tri = triangles_[i];
        min = Min(min, Min(tri.a, Min(tri.b, tri.c)));
        max = Max(max, Max(tri.a, Max(tri.b, tri.c)));
        const Vector centre = (tri.a + tri.b + tri.c) * (1.0f / 3);
        centreMin = Min(centreMin, centre);
        centreMax = Max(centreMax, centre);
    }
    nodes_[index].min = min;
    nodes_[index].max = max;
    if (count <= kLeafSize) {
        nodes_[index].first = first;
        nodes_[index].count = count;
        return index;
    }
    // Split at the median along the widest spread of the centres.
    const Vector spread = centreMax - centreMin;
    const int axis = spread.x >= spread.y && spread.x >= spread.z ? 0 : spread.y >= spread.z ? 1 : 2;
    const int32_t half = count / 2;
    std::nth_element(triangles_.begin() + first, triangles_.begin() + first + half, triangles_.begin() + first + count,
                     [axis](const Triangle& l, const Triangle& r) {
                         return Axis(l.a + l.b + l.c, axis) < Axis(r.a + r.b + r.c, axis);
                     });
    BuildNode(first, half);
    const int32_t right = BuildNode(first + half, count - half);
    nodes_[index].first = right;
    nodes_[index].count = 0;
    return index;
}

bool Bvh::Intersect(const Vector& origin, const Vector& direction, RayHit& hit) const {
    if (nodes_.empty()) return false;
    const Vector inverse{1 / direction.x, 1 / direction.y, 1 / direction.z};
    float best = std::numeric_limits<float>::infinity();
    int32_t bestFace = -1;
    int32_t stack[kMaxDepth];
    int depth = 0;
    stack[depth++] = 0;
    while (depth > 0) {
        const Node& node = nodes_[stack[--depth]];
        if (!HitsBox(origin, inverse, node.min, node.max, best)) continue;
        if (node.count > 0) {
            for (int32_t i = node.first; i < node.first + node.count; ++i) {
                const Triangle& tri = triangles_[i];
                float t;
                if (IntersectTriangle(origin, direction, tri.a, tri.b, tri.c, t) && t < best) {
                    best = t;
                    bestFace = tri.face;
                }
            }
        } else if (depth + 2 <= kMaxDepth) {
            const int32_t self = static_cast<int32_t>(&node - nodes_.data());
            stack[depth++] = node.first;
            stack[depth++] = self + 1;
        }
    }
    if (bestFace < 0) return false;
    hit.t = best;
    hit.face = bestFace;
    return true;
}

}  // namespace rm
