#include "scene.h"

#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <assimp/Importer.hpp>
#include <fstream>
#include <iterator>

#include "data_files.h"

namespace data_test {

namespace {

void Collect(const aiScene* scene, const aiNode* node, const aiMatrix4x4& parent, MeshFile& out) {
    const aiMatrix4x4 world = parent * node->mTransformation;
    for (unsigned i = 0; i < node->mNumMeshes; ++i) {
        const aiMesh* mesh = scene->mMeshes[node->mMeshes[i]];
        out.normals = out.normals && mesh->HasNormals();
        out.texture_coordinates = out.texture_coordinates && mesh->HasTextureCoords(0);
        for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
            const aiFace& face = mesh->mFaces[f];
            for (unsigned k = 2; k < face.mNumIndices; ++k) {
                auto at = [&](unsigned idx) {
                    const aiVector3D v = world * mesh->mVertices[face.mIndices[idx]];
                    return glm::dvec3(v.x, v.y, v.z);
                };
                out.triangles.push_back({at(0), at(k - 1), at(k)});
            }
        }
    }
    for (unsigned c = 0; c < node->mNumChildren; ++c) Collect(scene, node->mChildren[c], world, out);
}

}  // namespace

MeshFile LoadMeshFile(const std::string& relative) {
    std::ifstream file(GamePath(relative), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    Assimp::Importer importer;
    // The importer turns the file into right-handed axes; this turns it back.
    const aiScene* scene = importer.ReadFileFromMemory(bytes.data(), bytes.size(),
                                                       aiProcess_ConvertToLeftHanded | aiProcess_Triangulate, "x");
    MeshFile out;
    if (!scene || !scene->mRootNode) {
        out.error = importer.GetErrorString();
        return out;
    }
    out.loaded = true;
    out.meshes = scene->mNumMeshes;
    out.root_children = scene->mRootNode->mNumChildren;
    for (unsigned m = 0; m < scene->mNumMaterials; ++m) {
        aiString texture;
        if (scene->mMaterials[m]->GetTexture(aiTextureType_DIFFUSE, 0, &texture) == AI_SUCCESS)
            out.textures.push_back(texture.C_Str());
    }
    Collect(scene, scene->mRootNode, aiMatrix4x4(), out);
    return out;
}

std::vector<Triangle> Transformed(const std::vector<Triangle>& triangles, const glm::dmat4& transform) {
    std::vector<Triangle> out;
    auto apply = [&](glm::dvec3 p) { return glm::dvec3(transform * glm::dvec4(p, 1)); };
    for (const Triangle& t : triangles) out.push_back({apply(t.a), apply(t.b), apply(t.c)});
    return out;
}

std::optional<double> Hit(const std::vector<Triangle>& triangles, glm::dvec3 origin, glm::dvec3 direction) {
    std::optional<double> best;
    for (const Triangle& t : triangles) {
        const glm::dvec3 e1 = t.b - t.a, e2 = t.c - t.a, p = glm::cross(direction, e2);
        const double det = glm::dot(e1, p);
        if (std::abs(det) < 1e-12) continue;
        const glm::dvec3 s = origin - t.a, q = glm::cross(s, e1);
        const double u = glm::dot(s, p) / det, v = glm::dot(direction, q) / det, d = glm::dot(e2, q) / det;
        if (u < 0 || v < 0 || u + v > 1 || d < 0) continue;
        if (!best || d < *best) best = d;
    }
    return best;
}

std::optional<double> FloorBelow(const std::vector<Triangle>& floors, glm::dvec3 from) {
    std::optional<double> best;
    for (const Triangle& t : floors) {
        // Where the vertical line through `from` meets the triangle's plane, if inside it.
        const glm::dvec2 p(from.x, from.z), a(t.a.x, t.a.z), b(t.b.x, t.b.z), c(t.c.x, t.c.z);
        const double area = (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
        if (std::abs(area) < 1e-12) continue;
        const double u = ((b.x - p.x) * (c.y - p.y) - (c.x - p.x) * (b.y - p.y)) / area;
        const double v = ((c.x - p.x) * (a.y - p.y) - (a.x - p.x) * (c.y - p.y)) / area;
        const double w = 1 - u - v;
        if (u < -1e-9 || v < -1e-9 || w < -1e-9) continue;
        const double y = u * t.a.y + v * t.b.y + w * t.c.y;
        if (y <= from.y + 1e-9 && (!best || y > *best)) best = y;
    }
    return best;
}

}  // namespace data_test
