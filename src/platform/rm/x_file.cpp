#include "platform/rm/x_file.h"

#include "platform/failure.h"
#include "platform/rm/color.h"
#include "platform/rm/frame.h"
#include "platform/rm/search_path.h"
#include "platform/rm/x_scan.h"

#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <assimp/Importer.hpp>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <unordered_map>

namespace rm {
namespace {

// Undoes the importer's turn to right-handed axes, so that vertices, texture
// coordinates and corner order come back as the file has them.
constexpr unsigned kImportSteps =
    aiProcess_ConvertToLeftHanded | aiProcess_JoinIdenticalVertices | aiProcess_ValidateDataStructure;

const XLook kPlainLook{};

Failure Mismatch(const std::string& file) {
    return MalformedXFile(file, "the importer read it otherwise than it declares itself");
}

// aiMatrix4x4 is written for column vectors: its transpose is ours.
Matrix4 FromAssimp(const aiMatrix4x4& a) {
    Matrix4 m;
    const float* source = &a.a1;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column) m.m[column][row] = source[row * 4 + column];
    return m;
}

// The whole file, refused before it is read when it is no regular file (a
// pipe would never end) or too large.
std::string ReadBytes(const std::string& path, const std::string& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        throw Failure(failure_number::FileNotFound, "File not found: " + file);
    const uintmax_t size = std::filesystem::file_size(path, error);
    if (error) throw MalformedXFile(file, "it cannot be read");
    if (size > kMaxXFileBytes) throw MalformedXFile(file, "it is larger than 256 MiB");
    std::string bytes(size_t(size), '\0');
    std::ifstream in(path, std::ios::binary);
    if (!in.read(bytes.data(), std::streamsize(size))) throw MalformedXFile(file, "it cannot be read");
    return bytes;
}

class TextureResolver {
public:
    TextureResolver(const SearchPath* searchPath, const TextureCallback& callback)
        : searchPath_(searchPath), callback_(callback) {}

    TexturePtr Resolve(const std::string& name) {
        const auto known = resolved_.find(name);
        if (known != resolved_.end()) return known->second;
        TexturePtr texture;
        if (callback_) {
            texture = callback_(name);
        } else {
            try {
                texture = Texture::FromFile(searchPath_ ? searchPath_->Find(name) : NativeFileName(name));
            } catch (const Failure&) {
                // A missing picture leaves its faces untextured; the mesh still loads.
            }
        }
        resolved_.emplace(name, texture);
        return texture;
    }

private:
    const SearchPath* searchPath_;
    const TextureCallback& callback_;
    std::map<std::string, TexturePtr> resolved_;
};

XLook ReadLook(const aiMaterial& source, TextureResolver& textures) {
    XLook look;
    aiString name;
    source.Get(AI_MATKEY_NAME, name);
    // The importer's stand-in for meshes without a material has no name:
    // such meshes are plain white, as they are without the importer.
    if (name.length == 0) return look;
    aiColor4D diffuse(1, 1, 1, 1), specular(0, 0, 0, 1), emissive(0, 0, 0, 1);
    float power = 0;
    source.Get(AI_MATKEY_COLOR_DIFFUSE, diffuse);
    source.Get(AI_MATKEY_COLOR_SPECULAR, specular);
    source.Get(AI_MATKEY_COLOR_EMISSIVE, emissive);
    source.Get(AI_MATKEY_SHININESS, power);
    look.color = CreateColorRGB(diffuse.r, diffuse.g, diffuse.b);
    look.material = std::make_shared<Material>(power);
    look.material->SetSpecular(specular.r, specular.g, specular.b);
    look.material->SetEmissive(emissive.r, emissive.g, emissive.b);
    look.material->SetName(name.C_Str());
    aiString path;
    if (source.GetTexture(aiTextureType_DIFFUSE, 0, &path) == AI_SUCCESS && path.length > 0)
        look.texture = textures.Resolve(path.C_Str());
    return look;
}

// A mesh that the importer left whole.
XMesh ReadMesh(const aiMesh& source, const std::string& file) {
    XMesh mesh;
    mesh.name = source.mName.C_Str();
    const unsigned count = source.mNumVertices;
    mesh.positions.reserve(count);
    for (unsigned i = 0; i < count; ++i)
        mesh.positions.push_back({source.mVertices[i].x, source.mVertices[i].y, source.mVertices[i].z});
    if (source.mNormals)
        for (unsigned i = 0; i < count; ++i)
            mesh.normals.push_back({source.mNormals[i].x, source.mNormals[i].y, source.mNormals[i].z});
    mesh.coordinates.resize(count);
    if (source.HasTextureCoords(0))
        for (unsigned i = 0; i < count; ++i)
            mesh.coordinates[i] = {source.mTextureCoords[0][i].x, source.mTextureCoords[0][i].y};
    for (unsigned f = 0; f < source.mNumFaces; ++f) {
        const aiFace& face = source.mFaces[f];
        std::vector<uint32_t> corners(face.mIndices, face.mIndices + face.mNumIndices);
        for (uint32_t index : corners)
            if (index >= count) throw MalformedXFile(file, "a face names a vertex that does not exist");
        if (corners.size() < 3) continue;
        mesh.faces.push_back(std::move(corners));
        mesh.faceLooks.push_back(source.mMaterialIndex);
    }
    return mesh;
}

// A vertex of one part, bit for bit: the parts of a mesh share it when all of
// it is equal, as the vertices of one part were joined.
struct VertexKey {
    std::array<uint32_t, 8> bits;
    bool operator==(const VertexKey&) const = default;
};

struct VertexKeyHash {
    size_t operator()(const VertexKey& key) const {
        uint64_t hash = 14695981039346656037ull;
        for (uint32_t word : key.bits) hash = (hash ^ word) * 1099511628211ull;
        return size_t(hash);
    }
};

// Gathers the vertices of a mesh's parts into the mesh, each shared vertex once.
class VertexMerger {
public:
    VertexMerger(XMesh& mesh, const aiMesh* const* parts, size_t count, const std::string& file)
        : mesh_(mesh), parts_(parts), file_(file), merged_(count) {
        size_t vertices = 0;
        normals_ = true;
        for (size_t p = 0; p < count; ++p) {
            merged_[p].assign(parts[p]->mNumVertices, kNone);
            vertices += parts[p]->mNumVertices;
            normals_ = normals_ && parts[p]->mNormals;
        }
        known_.reserve(vertices);
    }

    uint32_t Vertex(size_t part, uint32_t index) {
        const aiMesh& source = *parts_[part];
        if (index >= source.mNumVertices) throw MalformedXFile(file_, "a face names a vertex that does not exist");
        uint32_t& merged = merged_[part][index];
        if (merged != kNone) return merged;
        const aiVector3D position = source.mVertices[index];
        const aiVector3D normal = normals_ ? source.mNormals[index] : aiVector3D();
        const aiVector3D uv = source.HasTextureCoords(0) ? source.mTextureCoords[0][index] : aiVector3D();
        const float values[8] = {position.x, position.y, position.z, normal.x, normal.y, normal.z, uv.x, uv.y};
        VertexKey key;
        std::memcpy(key.bits.data(), values, sizeof values);
        const auto [known, added] = known_.try_emplace(key, uint32_t(mesh_.positions.size()));
        if (added) {
            mesh_.positions.push_back({position.x, position.y, position.z});
            if (normals_) mesh_.normals.push_back({normal.x, normal.y, normal.z});
            mesh_.coordinates.push_back({uv.x, uv.y});
        }
        return merged = known->second;
    }

private:
    static constexpr uint32_t kNone = 0xFFFFFFFF;

    XMesh& mesh_;
    const aiMesh* const* parts_;
    const std::string& file_;
    bool normals_;
    std::vector<std::vector<uint32_t>> merged_;  // per part and vertex, its index in the mesh
    std::unordered_map<VertexKey, uint32_t, VertexKeyHash> known_;
};

// A mesh that the importer split by material, put back in the file's face
// order: each part holds its material's faces in file order.
XMesh MergeParts(const aiMesh* const* parts, const XLayout::Mesh& layout, const std::string& file) {
    XMesh mesh;
    mesh.name = parts[0]->mName.C_Str();
    VertexMerger vertices(mesh, parts, layout.partFaces.size(), file);
    std::vector<uint32_t> next(layout.partFaces.size(), 0);
    for (const uint32_t part : layout.faceParts) {
        if (part == XLayout::kNoPart) continue;  // a face without corners
        const aiFace& face = parts[part]->mFaces[next[part]++];
        if (face.mNumIndices < 3) continue;
        std::vector<uint32_t> corners;
        corners.reserve(face.mNumIndices);
        for (unsigned c = 0; c < face.mNumIndices; ++c) corners.push_back(vertices.Vertex(part, face.mIndices[c]));
        mesh.faces.push_back(std::move(corners));
        mesh.faceLooks.push_back(parts[part]->mMaterialIndex);
    }
    return mesh;
}

// One mesh of the file from its parts, which must hold the faces the file
// gives them.
XMesh ReadFileMesh(const aiMesh* const* parts, const XLayout::Mesh& layout, const std::string& file) {
    for (size_t p = 0; p < layout.partFaces.size(); ++p)
        if (parts[p]->mNumFaces != layout.partFaces[p]) throw Mismatch(file);
    return layout.partFaces.size() == 1 ? ReadMesh(*parts[0], file) : MergeParts(parts, layout, file);
}

size_t ReadNode(const aiNode& source, XScene& result, const std::string& file, int depth) {
    if (depth > kMaxXNesting) throw MalformedXFile(file, "frames nested too deep");
    const size_t index = result.nodes.size();
    result.nodes.push_back({source.mName.C_Str(), FromAssimp(source.mTransformation), {}, {}});
    for (unsigned i = 0; i < source.mNumChildren; ++i) {
        const size_t child = ReadNode(*source.mChildren[i], result, file, depth + 1);
        result.nodes[index].children.push_back(child);
    }
    return index;
}

// The file's frames, in the importer's nodes, under a holder of our own
// when the file has no single top frame or has meshes outside its frames.
// The importer puts a holder above several top frames ("$dummy_root") or
// above meshes without frame ("$dummy_node"); a single top frame it makes
// the root, and gives it the meshes outside any frame in place of its own.
void ReadFrames(const aiScene& scene, const XLayout& layout, XScene& result, const std::string& file) {
    const bool outside = std::any_of(layout.meshes.begin(), layout.meshes.end(),
                                     [](const XLayout::Mesh& mesh) { return mesh.frame < 0; });
    result.rootIsFileFrame = layout.topFrameCount == 1 && !outside;
    if (!result.rootIsFileFrame) result.nodes.push_back({"", Matrix4{}, {}, {}});
    const aiNode& root = *scene.mRootNode;
    if (layout.topFrameCount == 1) {
        const size_t top = ReadNode(root, result, file, 1);
        if (outside) result.nodes[0].children.push_back(top);
    } else {
        const std::string name = root.mName.C_Str();
        if (name != "$dummy_root" && name != "$dummy_node") throw Mismatch(file);
        for (unsigned i = 0; i < root.mNumChildren; ++i) {
            const size_t top = ReadNode(*root.mChildren[i], result, file, 1);
            result.nodes[0].children.push_back(top);
        }
    }
    if (result.nodes.size() != size_t(layout.frameCount) + (result.rootIsFileFrame ? 0 : 1)) throw Mismatch(file);
}

// The importer's meshes, a run of parts per mesh of the file, taken in the
// layout's order and given to the frames that hold them.
void ReadMeshes(const aiScene& scene, const XLayout& layout, XScene& result, const std::string& file) {
    const size_t firstFrame = result.rootIsFileFrame ? 0 : 1;
    size_t next = 0;
    for (const XLayout::Mesh& mesh : layout.meshes) {
        const size_t parts = mesh.partFaces.size();
        if (parts == 0) continue;  // nothing to draw: the importer made nothing of it
        if (next + parts > scene.mNumMeshes) throw Mismatch(file);
        result.meshes.push_back(ReadFileMesh(scene.mMeshes + next, mesh, file));
        next += parts;
        const size_t node = mesh.frame < 0 ? 0 : firstFrame + size_t(mesh.frame);
        result.nodes[node].meshes.push_back(result.meshes.size() - 1);
    }
    if (next != scene.mNumMeshes) throw Mismatch(file);
}

}  // namespace

XScene ReadXFile(const std::string& file, const SearchPath* searchPath, const TextureCallback& callback) {
    const std::string path = searchPath ? searchPath->Find(file) : NativeFileName(file);
    const XFileContent content = ScanXFile(ReadBytes(path, file), file);
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFileFromMemory(content.bytes.data(), content.bytes.size(), kImportSteps, "x");
    if (!scene || !scene->mRootNode || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE))
        throw MalformedXFile(file, importer.GetErrorString());
    XScene result;
    TextureResolver textures(searchPath, callback);
    for (unsigned i = 0; i < scene->mNumMaterials; ++i)
        result.looks.push_back(ReadLook(*scene->mMaterials[i], textures));
    ReadFrames(*scene, content.layout, result, file);
    ReadMeshes(*scene, content.layout, result, file);
    return result;
}

void AppendXNode(MeshBuilder& builder, const XScene& scene, size_t node, const Matrix4& toBuilder, bool withChildren) {
    const XNode& source = scene.nodes[node];
    const Matrix4& transform = toBuilder;
    for (size_t meshIndex : source.meshes) {
        const XMesh& mesh = scene.meshes[meshIndex];
        const int32_t firstVertex = builder.GetVertexCount();
        const int32_t firstNormal = builder.GetNormalCount();
        for (size_t i = 0; i < mesh.positions.size(); ++i) {
            const Vector p = TransformPoint(mesh.positions[i], transform);
            const int32_t vertex = builder.AddVertex(p.x, p.y, p.z);
            builder.SetTextureCoordinates(vertex, mesh.coordinates[i].u, mesh.coordinates[i].v);
        }
        for (const Vector& n : mesh.normals) {
            const Vector turned = Normalize(TransformDirection(n, transform));
            builder.AddNormal(turned.x, turned.y, turned.z);
        }
        for (size_t f = 0; f < mesh.faces.size(); ++f) {
            const XLook& look = mesh.faceLooks[f] < scene.looks.size() ? scene.looks[mesh.faceLooks[f]] : kPlainLook;
            const FacePtr face = builder.CreateFace();
            face->SetColor(look.color);
            face->SetMaterial(look.material);
            face->SetTexture(look.texture);
            for (uint32_t index : mesh.faces[f])
                face->AddVertexAndNormalIndexed(firstVertex + int32_t(index),
                                                mesh.normals.empty() ? -1 : firstNormal + int32_t(index));
        }
    }
    if (withChildren)
        for (size_t child : source.children)
            AppendXNode(builder, scene, child, Multiply(scene.nodes[child].transform, transform), true);
}

namespace {

void AddFrame(Frame& parent, const XScene& scene, size_t node, const std::shared_ptr<SearchPath>& searchPath) {
    const XNode& source = scene.nodes[node];
    const FramePtr frame = Frame::Create(parent.shared_from_this(), searchPath);
    frame->SetName(source.name);
    frame->AddTransform(combine::Replace, source.transform);
    if (!source.meshes.empty()) {
        auto builder = std::make_shared<MeshBuilder>(searchPath);
        builder->SetName(scene.meshes[source.meshes.front()].name);
        AppendXNode(*builder, scene, node, IdentityMatrix(), false);
        frame->AddVisual(builder);
    }
    for (size_t child : source.children) AddFrame(*frame, scene, child, searchPath);
}

}  // namespace

void AddXFrames(Frame& target, const XScene& scene, const std::shared_ptr<SearchPath>& searchPath) {
    if (scene.rootIsFileFrame) {
        AddFrame(target, scene, 0, searchPath);
        return;
    }
    const XNode& root = scene.nodes[0];
    if (!root.meshes.empty()) {
        auto builder = std::make_shared<MeshBuilder>(searchPath);
        AppendXNode(*builder, scene, 0, IdentityMatrix(), false);
        target.AddVisual(builder);
    }
    for (size_t child : root.children) AddFrame(target, scene, child, searchPath);
}

}  // namespace rm
