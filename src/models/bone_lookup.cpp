// Finding bones by name or number, and vertices for reuse.

#include "models/mdl.h"

#include <bit>
#include <cmath>

rm::FramePtr MDL::ChercheFrames(std::string_view nom) const {
    for (const rm::FramePtr& frame : Frames)
        if (frame->GetName() == nom) return frame;
    return {};
}

rm::FramePtr MDL::RenvoieFrame(std::string_view nom, int32_t id) const {
    if (!nom.empty()) return ChercheFrames(nom);
    if (id < 0 || id >= static_cast<int32_t>(Frames.size())) return {};
    return Frames[static_cast<size_t>(id)];
}

// Outside a triangles block the builder's vertices are indexed for this one
// search, which costs what a scan costs.
int32_t MDL::ChercheVertex(const rm::MeshBuilder& mb, float x, float y, float z, float tu, float tv) const {
    const VertexIndex::Key key{x, y, z, tu, tv};
    if (vertexIndexes_) return (*vertexIndexes_)[&mb].Find(mb, key);
    VertexIndex once;
    return once.Find(mb, key);
}

namespace {

bool HasNaN(const VertexIndex::Key& key) {
    for (const float f : key)
        if (std::isnan(f)) return true;
    return false;
}

}  // namespace

// Each float's bits stirred in with a full 64-bit mix, so that coordinates
// that differ only in their high bits (whole numbers) still spread.
size_t VertexIndex::Hash::operator()(const Key& key) const {
    uint64_t hash = 0;
    for (const float f : key) {
        // 0 and -0 compare equal, so they hash alike.
        hash += std::bit_cast<uint32_t>(f == 0 ? 0.0f : f) + 0x9e3779b97f4a7c15ull;
        hash = (hash ^ (hash >> 30)) * 0xbf58476d1ce4e5b9ull;
        hash = (hash ^ (hash >> 27)) * 0x94d049bb133111ebull;
        hash ^= hash >> 31;
    }
    return static_cast<size_t>(hash);
}

int32_t VertexIndex::Find(const rm::MeshBuilder& builder, const Key& key) {
    const std::vector<rm::Vector>& positions = builder.Positions();
    const std::vector<rm::MeshBuilder::TextureCoordinates>& coordinates = builder.Coordinates();
    for (; seen_ < positions.size(); ++seen_) {
        const rm::Vector& p = positions[seen_];
        const Key vertex{p.x, p.y, p.z, coordinates[seen_].u, coordinates[seen_].v};
        // A NaN equals nothing, so such a vertex is never found.
        if (!HasNaN(vertex)) first_.try_emplace(vertex, static_cast<int32_t>(seen_));
    }
    if (HasNaN(key)) return -1;
    const auto found = first_.find(key);
    return found == first_.end() ? -1 : found->second;
}
