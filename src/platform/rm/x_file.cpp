#include "platform/rm/x_file.h"

#include "platform/failure.h"
#include "platform/rm/color.h"
#include "platform/rm/frame.h"
#include "platform/rm/search_path.h"

#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <assimp/Importer.hpp>

#include <map>

namespace rm {
namespace {

// Undoes the importer's turn to right-handed axes, so that vertices, texture
// coordinates and corner order come back as the file has them.
constexpr unsigned kImportSteps =
    aiProcess_ConvertToLeftHanded | aiProcess_JoinIdenticalVertices | aiProcess_ValidateDataStructure;

Failure Malformed(const std::string& file, const std::string& why) {
    return Failure(failure_number::InvalidArgument, "Cannot read the mesh file " + file + ": " + why);
}

// aiMatrix4x4 is written for column vectors: its transpose is ours.
Matrix4 FromAssimp(const aiMatrix4x4& a) {
    Matrix4 m;
    const float* source = &a.a1;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column) m.m[column][row] = source[row * 4 + column];
    return m;
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

struct MaterialLook {
    uint32_t color = 0xFFFFFFFF;
    MaterialPtr material;
    TexturePtr texture;
};

MaterialLook ReadMaterial(const aiMaterial& source, TextureResolver& textures) {
    MaterialLook look;
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

XMesh ReadMesh(const aiMesh& source, const std::vector<MaterialLook>& looks, const std::string& file) {
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
            if (index >= count) throw Malformed(file, "a face names a vertex that does not exist");
        if (corners.size() >= 3) mesh.faces.push_back(std::move(corners));
    }
    if (source.mMaterialIndex < looks.size()) {
        const MaterialLook& look = looks[source.mMaterialIndex];
        mesh.color = look.color;
        mesh.material = look.material;
        mesh.texture = look.texture;
    }
    return mesh;
}

size_t ReadNode(const aiNode& source, const aiScene& scene, XScene& result, const std::string& file, int depth) {
    if (depth > 256) throw Malformed(file, "frames nested too deep");
    const size_t index = result.nodes.size();
    result.nodes.push_back({source.mName.C_Str(), FromAssimp(source.mTransformation), {}, {}});
    for (unsigned i = 0; i < source.mNumMeshes; ++i) {
        if (source.mMeshes[i] >= scene.mNumMeshes) throw Malformed(file, "a frame names a mesh that does not exist");
        result.nodes[index].meshes.push_back(source.mMeshes[i]);
    }
    for (unsigned i = 0; i < source.mNumChildren; ++i) {
        const size_t child = ReadNode(*source.mChildren[i], scene, result, file, depth + 1);
        result.nodes[index].children.push_back(child);
    }
    return index;
}

}  // namespace

XScene ReadXFile(const std::string& file, const SearchPath* searchPath, const TextureCallback& callback) {
    const std::string path = searchPath ? searchPath->Find(file) : NativeFileName(file);
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, kImportSteps);
    if (!scene || !scene->mRootNode || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE))
        throw Malformed(file, importer.GetErrorString());
    TextureResolver textures(searchPath, callback);
    std::vector<MaterialLook> looks;
    for (unsigned i = 0; i < scene->mNumMaterials; ++i) looks.push_back(ReadMaterial(*scene->mMaterials[i], textures));
    XScene result;
    for (unsigned i = 0; i < scene->mNumMeshes; ++i) result.meshes.push_back(ReadMesh(*scene->mMeshes[i], looks, file));
    ReadNode(*scene->mRootNode, *scene, result, file, 0);
    // The importer puts a holder of its own above several top frames.
    result.rootIsFileFrame = std::string(scene->mRootNode->mName.C_Str()) != "$dummy_root";
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
        for (const auto& corners : mesh.faces) {
            const FacePtr face = builder.CreateFace();
            face->SetColor(mesh.color);
            face->SetMaterial(mesh.material);
            face->SetTexture(mesh.texture);
            for (uint32_t index : corners)
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
