#pragma once

#include "platform/rm/material.h"
#include "platform/rm/texture.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace rm {

class MeshBuilder;

// One polygon of a mesh builder: corners as indexes into the builder's
// vertices and normals (a normal index of -1 means none), with its own colour,
// material and texture. Corners are listed clockwise as seen from the front.
class Face {
public:
    struct Corner {
        int32_t vertex;
        int32_t normal;
    };

    // Adds a new vertex at (x, y, z) to the builder and uses it as a corner.
    void AddVertex(float x, float y, float z);
    // Throws Failure when either index is out of range (normal may be -1).
    void AddVertexAndNormalIndexed(int32_t vertex, int32_t normal);
    void SetColorRGB(float r, float g, float b);
    void SetColor(uint32_t color);
    void SetMaterial(MaterialPtr material);
    void SetTexture(TexturePtr texture);

    int32_t GetVertexCount() const { return static_cast<int32_t>(corners_.size()); }
    const std::vector<Corner>& Corners() const { return corners_; }
    uint32_t GetColor() const { return color_; }
    const MaterialPtr& GetMaterial() const { return material_; }
    const TexturePtr& GetTexture() const { return texture_; }

private:
    friend class MeshBuilder;
    Face(MeshBuilder* builder, uint32_t color, MaterialPtr material, TexturePtr texture);
    void Changed(bool geometry) const;

    MeshBuilder* builder_;  // the builder owns the face and outlives every use through it
    std::vector<Corner> corners_;
    uint32_t color_;
    MaterialPtr material_;
    TexturePtr texture_;
};

using FacePtr = std::shared_ptr<Face>;

}  // namespace rm
