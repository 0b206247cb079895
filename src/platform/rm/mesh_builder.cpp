#include "platform/rm/mesh_builder.h"

#include "platform/failure.h"
#include "platform/rm/color.h"
#include "platform/rm/mesh.h"
#include "platform/rm/x_file.h"

#include <cmath>

namespace rm {
namespace {

Failure OutOfRange(const char* what) {
    return Failure(failure_number::SubscriptOutOfRange, std::string(what) + " index out of range");
}

// Newell's normal of a polygon, pointing to the side from which its corners
// run clockwise; not normalised (its length is twice the area).
Vector PolygonNormal(const Face& face, const std::vector<Vector>& positions) {
    Vector sum;
    const auto& corners = face.Corners();
    if (corners.size() < 3) return sum;
    const Vector& first = positions[corners[0].vertex];
    for (size_t i = 1; i + 1 < corners.size(); ++i)
        sum = sum + Cross(positions[corners[i].vertex] - first, positions[corners[i + 1].vertex] - first);
    return sum;
}

}  // namespace

MeshBuilder::MeshBuilder(std::shared_ptr<SearchPath> searchPath) : searchPath_(std::move(searchPath)) {}

MeshBuilder::~MeshBuilder() {
    for (const FacePtr& face : faces_) face->builder_ = nullptr;
}

void MeshBuilder::Changed(bool geometry) {
    ++revision_;
    if (geometry) ++geometryRevision_;
}

void MeshBuilder::CheckVertex(int32_t index) const {
    if (index < 0 || index >= GetVertexCount()) throw OutOfRange("Vertex");
}

void MeshBuilder::Clear() {
    for (const FacePtr& face : faces_) face->builder_ = nullptr;
    faces_.clear();
    positions_.clear();
    coordinates_.clear();
    normals_.clear();
    Changed(true);
}

void MeshBuilder::LoadFromFile(const std::string& file, const TextureCallback& callback) {
    const XScene scene = ReadXFile(file, searchPath_.get(), callback);
    Clear();
    AppendXNode(*this, scene, 0, scene.nodes[0].transform, true);
}

int32_t MeshBuilder::AddVertex(float x, float y, float z) {
    positions_.push_back({x, y, z});
    coordinates_.push_back({});
    Changed(true);
    return GetVertexCount() - 1;
}

int32_t MeshBuilder::AddNormal(float x, float y, float z) {
    normals_.push_back({x, y, z});
    Changed(false);
    return GetNormalCount() - 1;
}

FacePtr MeshBuilder::CreateFace() {
    faces_.push_back(FacePtr(new Face(this, color_, material_, texture_)));
    Changed(true);
    return faces_.back();
}

FacePtr MeshBuilder::GetFace(int32_t index) const {
    if (index < 0 || index >= GetFaceCount()) throw OutOfRange("Face");
    return faces_[index];
}

void MeshBuilder::DeleteFace(const FacePtr& face) {
    for (auto it = faces_.begin(); it != faces_.end(); ++it) {
        if (*it == face) {
            face->builder_ = nullptr;
            faces_.erase(it);
            Changed(true);
            return;
        }
    }
    throw Failure(failure_number::InvalidArgument, "The face is not part of this mesh builder");
}

void MeshBuilder::GenerateNormals(float crease, int32_t flags) {
    std::vector<Vector> faceNormals(faces_.size());
    std::vector<std::vector<int32_t>> facesOfVertex(positions_.size());
    for (size_t f = 0; f < faces_.size(); ++f) {
        faceNormals[f] = PolygonNormal(*faces_[f], positions_);
        for (const Face::Corner& corner : faces_[f]->Corners()) facesOfVertex[corner.vertex].push_back(int32_t(f));
    }
    normals_.clear();
    const bool useCrease = (flags & 2) != 0;
    if (!useCrease) {
        for (const auto& around : facesOfVertex) {
            Vector sum;
            for (int32_t f : around) sum = sum + faceNormals[f];
            normals_.push_back(Normalize(sum));
        }
        for (const FacePtr& face : faces_)
            for (Face::Corner& corner : face->corners_) corner.normal = corner.vertex;
    } else {
        const float limit = std::cos(crease);
        for (size_t f = 0; f < faces_.size(); ++f) {
            const Vector own = Normalize(faceNormals[f]);
            for (Face::Corner& corner : faces_[f]->corners_) {
                Vector sum;
                for (int32_t other : facesOfVertex[corner.vertex])
                    if (Dot(own, Normalize(faceNormals[other])) >= limit) sum = sum + faceNormals[other];
                normals_.push_back(Normalize(sum));
                corner.normal = GetNormalCount() - 1;
            }
        }
    }
    Changed(false);
}

void MeshBuilder::ScaleMesh(float sx, float sy, float sz) {
    for (Vector& p : positions_) p = {p.x * sx, p.y * sy, p.z * sz};
    Changed(true);
}

void MeshBuilder::SetColorRGB(float r, float g, float b) { SetColor(CreateColorRGB(r, g, b)); }

void MeshBuilder::SetColor(uint32_t color) {
    color_ = color;
    for (const FacePtr& face : faces_) face->color_ = color;
    Changed(false);
}

void MeshBuilder::SetMaterial(const MaterialPtr& material) {
    material_ = material;
    for (const FacePtr& face : faces_) face->material_ = material;
    Changed(false);
}

void MeshBuilder::SetTexture(const TexturePtr& texture) {
    texture_ = texture;
    for (const FacePtr& face : faces_) face->texture_ = texture;
    Changed(false);
}

void MeshBuilder::SetTextureCoordinates(int32_t vertex, float u, float v) {
    CheckVertex(vertex);
    coordinates_[vertex] = {u, v};
    Changed(false);
}

void MeshBuilder::GetTextureCoordinates(int32_t vertex, float& u, float& v) const {
    CheckVertex(vertex);
    u = coordinates_[vertex].u;
    v = coordinates_[vertex].v;
}

Vector MeshBuilder::GetVertex(int32_t index) const {
    CheckVertex(index);
    return positions_[index];
}

Vector MeshBuilder::GetNormal(int32_t index) const {
    if (index < 0 || index >= GetNormalCount()) throw OutOfRange("Normal");
    return normals_[index];
}

std::shared_ptr<MeshBuilder> MeshBuilder::Clone() const {
    auto copy = std::make_shared<MeshBuilder>(searchPath_);
    copy->positions_ = positions_;
    copy->coordinates_ = coordinates_;
    copy->normals_ = normals_;
    copy->color_ = color_;
    copy->material_ = material_;
    copy->texture_ = texture_;
    copy->faces_.reserve(faces_.size());
    for (const FacePtr& face : faces_) {
        FacePtr own(new Face(*face));
        own->builder_ = copy.get();
        copy->faces_.push_back(std::move(own));
    }
    copy->SetName(GetName());
    copy->SetAppData(GetAppData());
    return copy;
}

std::shared_ptr<Mesh> MeshBuilder::CreateMesh() const { return Mesh::FromBuilder(*this); }

Box MeshBuilder::GetBox() const {
    if (positions_.empty()) return {};
    Box box{positions_[0], positions_[0]};
    for (const Vector& p : positions_) {
        box.min = {std::min(box.min.x, p.x), std::min(box.min.y, p.y), std::min(box.min.z, p.z)};
        box.max = {std::max(box.max.x, p.x), std::max(box.max.y, p.y), std::max(box.max.z, p.z)};
    }
    return box;
}

bool MeshBuilder::Intersect(const Vector& origin, const Vector& direction, RayHit& hit) const {
    if (bvhRevision_ != geometryRevision_) {
        std::vector<Triangle> triangles;
        for (size_t f = 0; f < faces_.size(); ++f) {
            const auto& corners = faces_[f]->Corners();
            for (size_t i = 1; i + 1 < corners.size(); ++i)
                triangles.push_back({positions_[corners[0].vertex], positions_[corners[i].vertex],
                                     positions_[corners[i + 1].vertex], int32_t(f)});
        }
        bvh_.Build(std::move(triangles));
        bvhRevision_ = geometryRevision_;
    }
    return bvh_.Intersect(origin, direction, hit);
}

}  // namespace rm
