#pragma once

#include "platform/rm/material.h"
#include "platform/rm/math.h"
#include "platform/rm/texture.h"
#include "platform/rm/visual.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace rm {

class MeshBuilder;

// One vertex record of a mesh group, read and written whole.
struct MeshVertex {
    Vector position;
    Vector normal;
    float tu = 0, tv = 0;
    uint32_t color = 0xFFFFFFFF;
};

// A fixed mesh made from a mesh builder: one vertex group (group 0) whose
// vertex i is the builder's vertex i, and the builder's faces as triangles.
// Each triangle keeps the material and texture its face had when the mesh was
// made. Vertex records may be rewritten at any time (skinning does it every
// frame); nothing else changes.
class Mesh : public Visual {
public:
    static std::shared_ptr<Mesh> FromBuilder(const MeshBuilder& builder);

    int32_t GetGroupCount() const { return 1; }
    int32_t GetGroupVertexCount(int32_t group) const;
    // Copies `count` records from vertex `first` of the group; throws Failure
    // when the range does not lie inside the group.
    void GetVertices(int32_t group, int32_t first, int32_t count, MeshVertex* records) const;
    void SetVertices(int32_t group, int32_t first, int32_t count, const MeshVertex* records);

    // Triangles sharing one material and texture, as index ranges.
    struct Batch {
        MaterialPtr material;
        TexturePtr texture;
        int32_t firstIndex;
        int32_t indexCount;
    };
    const std::vector<MeshVertex>& Vertices() const { return vertices_; }
    const std::vector<uint32_t>& Indices() const { return indices_; }
    const std::vector<Batch>& Batches() const { return batches_; }
    // Grows with every change of the vertex records.
    uint64_t Revision() const { return revision_; }

    bool Intersect(const Vector& origin, const Vector& direction, float& t, int32_t& triangle) const;

private:
    Mesh() = default;
    void CheckRange(int32_t group, int32_t first, int32_t count) const;

    std::vector<MeshVertex> vertices_;
    std::vector<uint32_t> indices_;
    std::vector<Batch> batches_;
    uint64_t revision_ = 1;
};

using MeshPtr = std::shared_ptr<Mesh>;

}  // namespace rm
