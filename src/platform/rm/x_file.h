#pragma once

#include "platform/rm/material.h"
#include "platform/rm/math.h"
#include "platform/rm/mesh_builder.h"
#include "platform/rm/texture.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace rm {

class Frame;
class SearchPath;

// How the faces of one material of a file look.
struct XLook {
    uint32_t color = 0xFFFFFFFF;
    MaterialPtr material;
    TexturePtr texture;
};

// A DirectX mesh file as read, in its own left-handed coordinates and with its
// own texture coordinates and corner order. The faces are the file's, in its
// order, whatever their materials; faces of fewer than three corners are left
// out. Vertices that faces share in the file stay shared.
struct XMesh {
    static constexpr uint32_t kPlain = 0xFFFFFFFF;  // a face without material: plain white

    std::string name;
    std::vector<Vector> positions;
    std::vector<Vector> normals;  // empty or one per position
    std::vector<MeshBuilder::TextureCoordinates> coordinates;
    std::vector<std::vector<uint32_t>> faces;
    std::vector<uint32_t> faceLooks;  // per face, its look in the scene, or kPlain
};

struct XNode {
    std::string name;
    Matrix4 transform;
    std::vector<size_t> meshes;
    std::vector<size_t> children;
};

// Node 0 is the root. When the file has several top frames or meshes outside
// any frame, or none at all, the root is no frame of the file but their
// common holder, and holds the meshes outside any frame.
struct XScene {
    std::vector<XNode> nodes;
    std::vector<XMesh> meshes;
    std::vector<XLook> looks;
    bool rootIsFileFrame = false;
};

// Reads `file`, found through the search path (none: taken as it is). Each
// texture name of the file is resolved once: by the callback when there is
// one, else by loading that file through the search path; a texture that
// cannot be had leaves its faces untextured. A missing file, and a malformed
// one (x_scan.h says what is refused before the importer reads it), throws
// Failure.
XScene ReadXFile(const std::string& file, const SearchPath* searchPath, const TextureCallback& callback);

// Appends the meshes of `node`, brought into the builder's coordinates by
// `toBuilder`, and, when `withChildren`, those of its descendants through
// their own transforms too.
void AppendXNode(MeshBuilder& builder, const XScene& scene, size_t node, const Matrix4& toBuilder, bool withChildren);

// One child frame of `target` per frame of the file, each with a mesh builder
// of its own meshes as its visual; meshes outside any frame go to a mesh
// builder on `target` itself.
void AddXFrames(Frame& target, const XScene& scene, const std::shared_ptr<SearchPath>& searchPath);

}  // namespace rm
