#include "platform/rm/mesh.h"

#include "platform/failure.h"
#include "platform/rm/bvh.h"
#include "platform/rm/mesh_builder.h"

#include <algorithm>
#include <limits>
#include <map>

namespace rm {

std::shared_ptr<Mesh> Mesh::FromBuilder(const MeshBuilder& builder) {
    std::shared_ptr<Mesh> mesh(new Mesh);
    mesh->SetName(builder.GetName());
    mesh->SetAppData(builder.GetAppData());
    const auto& positions = builder.Positions();
    const auto& coordinates = builder.Coordinates();
    const auto& normals = builder.Normals();
    mesh->vertices_.resize(positions.size());
    std::vector<bool> seen(positions.size(), false);
    for (size_t i = 0; i < positions.size(); ++i) {
        MeshVertex& v = mesh->vertices_[i];
        v.position = positions[i];
        v.tu = coordinates[i].u;
        v.tv = coordinates[i].v;
        v.color = builder.GetColor();
    }
    // A vertex takes the normal and colour of the first face corner that uses it.
    std::map<std::pair<Material*, Texture*>, std::vector<uint32_t>> byLook;
    std::vector<std::pair<MaterialPtr, TexturePtr>> looks;
    for (const FacePtr& face : builder.Faces()) {
        const auto& corners = face->Corners();
        for (const Face::Corner& corner : corners) {
            if (seen[corner.vertex]) continue;
            seen[corner.vertex] = true;
            MeshVertex& v = mesh->vertices_[corner.vertex];
            if (corner.normal >= 0 && corner.normal < int32_t(normals.size())) v.normal = normals[corner.normal];
            v.color = face->GetColor();
        }
        const auto key = std::make_pair(face->GetMaterial().get(), face->GetTexture().get());
        auto found = byLook.find(key);
        if (found == byLook.end()) {
            found = byLook.emplace(key, std::vector<uint32_t>{}).first;
            looks.emplace_back(face->GetMaterial(), face->GetTexture());
        }
        for (size_t i = 1; i + 1 < corners.size(); ++i) {
            found->second.push_back(uint32_t(corners[0].vertex));
            found->second.push_back(uint32_t(corners[i].vertex));
            found->second.push_back(uint32_t(corners[i + 1].vertex));
        }
    }
    for (const auto& [material, texture] : looks) {
        const auto& indices = byLook[{material.get(), texture.get()}];
        mesh->batches_.push_back({material, texture, int32_t(mesh->indices_.size()), int32_t(indices.size())});
        mesh->indices_.insert(mesh->indices_.end(), indices.begin(), indices.end());
    }
    return mesh;
}

int32_t Mesh::GetGroupVertexCount(int32_t group) const {
    CheckRange(group, 0, 0);
    return int32_t(vertices_.size());
}

void Mesh::CheckRange(int32_t group, int32_t first, int32_t count) const {
    if (group != 0) throw Failure(failure_number::SubscriptOutOfRange, "Mesh group index out of range");
    if (first < 0 || count < 0 || int64_t(first) + count > int64_t(vertices_.size()))
        throw Failure(failure_number::SubscriptOutOfRange, "Mesh vertex range out of range");
}

void Mesh::GetVertices(int32_t group, int32_t first, int32_t count, MeshVertex* records) const {
    CheckRange(group, first, count);
    std::copy_n(vertices_.begin() + first, count, records);
}

void Mesh::SetVertices(int32_t group, int32_t first, int32_t count, const MeshVertex* records) {
    CheckRange(group, first, count);
    std::copy_n(records, count, vertices_.begin() + first);
    ++revision_;
}

bool Mesh::Intersect(const Vector& origin, const Vector& direction, float& t, int32_t& triangle) const {
    float best = std::numeric_limits<float>::infinity();
    int32_t found = -1;
    for (size_t i = 0; i + 2 < indices_.size(); i += 3) {
        float hit;
        if (IntersectTriangle(origin, direction, vertices_[indices_[i]].position, vertices_[indices_[i + 1]].position,
                              vertices_[indices_[i + 2]].position, hit) &&
            hit < best) {
            best = hit;
            found = int32_t(i / 3);
        }
    }
    if (found < 0) return false;
    t = best;
    triangle = found;
    return true;
}

}  // namespace rm
