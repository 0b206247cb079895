#pragma once

#include "platform/rm/bvh.h"
#include "platform/rm/face.h"
#include "platform/rm/math.h"
#include "platform/rm/visual.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace rm {

class Mesh;
class SearchPath;

// Given a texture name that a loading file asks for, returns the texture for
// it, or none to leave those faces untextured.
using TextureCallback = std::function<TexturePtr(const std::string& name)>;

// Enable flags of a mesh builder.
namespace enable {
inline constexpr int32_t Render = 1;
inline constexpr int32_t Pick = 2;
}  // namespace enable

struct Box {
    Vector min, max;
};

// An editable mesh: vertices with one texture coordinate pair each, normals,
// and polygon faces. Colour, material and texture set on the builder go to
// every face it has and become those of faces created later. Indexes count
// from 0; an index out of range throws Failure.
//
// Enable flags (new builders: drawn and picked) say whether the builder is
// drawn and whether ray picks see it. A clone is a new visual: it copies the
// geometry, colours, materials and textures, takes the name and application
// data it is given afterwards, and starts enabled for drawing and picking
// whatever the original's flags; the hit boxes of the player model rely on
// this (their originals are drawn-only, their per-player copies are picked).
class MeshBuilder : public Visual {
public:
    explicit MeshBuilder(std::shared_ptr<SearchPath> searchPath = {});
    ~MeshBuilder() override;
    MeshBuilder(const MeshBuilder&) = delete;
    MeshBuilder& operator=(const MeshBuilder&) = delete;

    // Replaces the content with every mesh of a DirectX mesh file (.x, text
    // or binary), found through the search path. Textures named by the file
    // come from the callback (once per name), else from the search path; a
    // texture that cannot be had leaves its faces untextured.
    void LoadFromFile(const std::string& file, const TextureCallback& callback = {});

    int32_t AddVertex(float x, float y, float z);
    int32_t AddNormal(float x, float y, float z);
    FacePtr CreateFace();
    FacePtr GetFace(int32_t index) const;
    int32_t GetFaceCount() const { return static_cast<int32_t>(faces_.size()); }
    void DeleteFace(const FacePtr& face);

    // Flag 2 uses the crease angle (radians): a corner averages only the faces
    // round its vertex that lie within that angle of its own face. Without it
    // every vertex gets the average of the faces that share it.
    void GenerateNormals(float crease, int32_t flags);
    void ScaleMesh(float sx, float sy, float sz);

    void SetColorRGB(float r, float g, float b);
    void SetColor(uint32_t color);
    void SetMaterial(const MaterialPtr& material);
    void SetTexture(const TexturePtr& texture);
    uint32_t GetColor() const { return color_; }
    const TexturePtr& GetTexture() const { return texture_; }

    void SetTextureCoordinates(int32_t vertex, float u, float v);
    void GetTextureCoordinates(int32_t vertex, float& u, float& v) const;
    Vector GetVertex(int32_t index) const;
    int32_t GetVertexCount() const { return static_cast<int32_t>(positions_.size()); }
    Vector GetNormal(int32_t index) const;
    int32_t GetNormalCount() const { return static_cast<int32_t>(normals_.size()); }

    void Enable(int32_t flags) { enable_ = flags; }
    int32_t GetEnable() const { return enable_; }

    std::shared_ptr<MeshBuilder> Clone() const;
    // A mesh of one vertex group whose vertex i is this builder's vertex i,
    // with the colours, materials and textures the faces have now.
    std::shared_ptr<Mesh> CreateMesh() const;

    // Bounds of the vertices in the builder's own coordinates (zero when empty).
    Box GetBox() const;
    // Nearest crossing of the ray (builder coordinates, t ≥ 0 along
    // `direction`), either side of a face counting.
    bool Intersect(const Vector& origin, const Vector& direction, RayHit& hit) const;

    // Grows whenever anything drawn changes.
    uint64_t Revision() const { return revision_; }
    const std::vector<FacePtr>& Faces() const { return faces_; }
    const std::vector<Vector>& Positions() const { return positions_; }
    const std::vector<Vector>& Normals() const { return normals_; }
    struct TextureCoordinates {
        float u = 0, v = 0;
    };
    const std::vector<TextureCoordinates>& Coordinates() const { return coordinates_; }

private:
    friend class Face;
    void Changed(bool geometry);
    void CheckVertex(int32_t index) const;
    void Clear();

    std::shared_ptr<SearchPath> searchPath_;
    std::vector<Vector> positions_;
    std::vector<TextureCoordinates> coordinates_;
    std::vector<Vector> normals_;
    std::vector<FacePtr> faces_;
    uint32_t color_ = 0xFFFFFFFF;
    MaterialPtr material_;
    TexturePtr texture_;
    int32_t enable_ = enable::Render | enable::Pick;
    uint64_t revision_ = 1;
    mutable Bvh bvh_;
    mutable uint64_t bvhRevision_ = 0;
    uint64_t geometryRevision_ = 1;
};

using MeshBuilderPtr = std::shared_ptr<MeshBuilder>;

}  // namespace rm
