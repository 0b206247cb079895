#pragma once

// Finding a vertex of a mesh builder by its position and texture coordinates
// without scanning the builder's vertices.

#include "platform/rm/mesh_builder.h"

#include <array>
#include <cstdint>
#include <unordered_map>

// The first vertex of one builder at each position and texture coordinates,
// compared as floats compare (0 and -0 alike, NaN like nothing). It takes in
// the vertices added since it last looked, so it stays right as long as the
// builder only grows and the vertices it has seen keep their coordinates.
class VertexIndex {
public:
    using Key = std::array<float, 5>;  // x, y, z, u, v

    // The first vertex of `builder` at the key's position with its texture
    // coordinates; -1 when there is none.
    int32_t Find(const rm::MeshBuilder& builder, const Key& key);

private:
    struct Hash {
        size_t operator()(const Key& key) const;
    };
    std::unordered_map<Key, int32_t, Hash> first_;
    size_t seen_ = 0;
};

// One index per builder, for the builders that one triangles block fills.
using VertexIndexes = std::unordered_map<const rm::MeshBuilder*, VertexIndex>;
