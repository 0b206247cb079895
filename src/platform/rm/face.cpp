#include "platform/rm/face.h"

#include "platform/failure.h"
#include "platform/rm/color.h"
#include "platform/rm/mesh_builder.h"

namespace rm {

Face::Face(MeshBuilder* builder, uint32_t color, MaterialPtr material, TexturePtr texture)
    : builder_(builder), color_(color), material_(std::move(material)), texture_(std::move(texture)) {}

void Face::Changed(bool geometry) const {
    if (builder_) builder_->Changed(geometry);
}

void Face::AddVertex(float x, float y, float z) {
    if (!builder_) throw Failure(failure_number::ObjectNotSet, "The face belongs to no mesh builder");
    const int32_t vertex = builder_->AddVertex(x, y, z);
    corners_.push_back({vertex, -1});
    Changed(true);
}

void Face::AddVertexAndNormalIndexed(int32_t vertex, int32_t normal) {
    if (!builder_) throw Failure(failure_number::ObjectNotSet, "The face belongs to no mesh builder");
    if (vertex < 0 || vertex >= builder_->GetVertexCount() || normal < -1 || normal >= builder_->GetNormalCount())
        throw Failure(failure_number::SubscriptOutOfRange, "Vertex or normal index out of range");
    corners_.push_back({vertex, normal});
    Changed(true);
}

void Face::SetColorRGB(float r, float g, float b) { SetColor(CreateColorRGB(r, g, b)); }

void Face::SetColor(uint32_t color) {
    color_ = color;
    Changed(false);
}

void Face::SetMaterial(MaterialPtr material) {
    material_ = std::move(material);
    Changed(false);
}

void Face::SetTexture(TexturePtr texture) {
    texture_ = std::move(texture);
    Changed(false);
}

}  // namespace rm
