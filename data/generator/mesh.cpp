#include "mesh.h"

#include <cmath>

#include "file_out.h"

namespace gen {

int Mesh::AddMaterial(const Material& material) {
    materials.push_back(material);
    return int(materials.size()) - 1;
}

void Mesh::AddFace(const std::vector<Vec3>& corners, const std::vector<std::pair<double, double>>& uvs, int material) {
    const Vec3 normal = Normalised(Cross(corners[1] - corners[0], corners[2] - corners[0]));
    std::vector<int> face;
    for (size_t i = 0; i < corners.size(); ++i) {
        face.push_back(int(vertices.size()));
        vertices.push_back({corners[i], normal, uvs[i].first, uvs[i].second});
    }
    faces.push_back(face);
    face_materials.push_back(material);
}

void Mesh::AddTiledFace(const std::vector<Vec3>& corners, int material, double tile) {
    const Vec3 normal = Normalised(Cross(corners[1] - corners[0], corners[2] - corners[0]));
    // The texture's v runs down the face when it stands, along -z when it lies.
    const bool lying = std::abs(normal.y) > 0.7;
    const Vec3 down = lying ? Vec3{0, 0, -1} : Vec3{0, -1, 0};
    const Vec3 across = Normalised(Cross(down, normal));
    std::vector<std::pair<double, double>> uvs;
    for (const Vec3& c : corners) uvs.emplace_back(Dot(c, across) / tile, Dot(c, down) / tile);
    AddFace(corners, uvs, material);
}

void Mesh::Append(const Mesh& other) {
    const int base_vertex = int(vertices.size());
    const int base_material = int(materials.size());
    materials.insert(materials.end(), other.materials.begin(), other.materials.end());
    vertices.insert(vertices.end(), other.vertices.begin(), other.vertices.end());
    for (size_t f = 0; f < other.faces.size(); ++f) {
        std::vector<int> face;
        for (int i : other.faces[f]) face.push_back(i + base_vertex);
        faces.push_back(face);
        face_materials.push_back(other.face_materials[f] + base_material);
    }
}

void AddBox(Mesh& mesh, Vec3 l, Vec3 h, int material, double tile) {
    mesh.AddTiledFace({{h.x, l.y, l.z}, {h.x, h.y, l.z}, {h.x, h.y, h.z}, {h.x, l.y, h.z}}, material, tile);  // +x
    mesh.AddTiledFace({{l.x, l.y, h.z}, {l.x, h.y, h.z}, {l.x, h.y, l.z}, {l.x, l.y, l.z}}, material, tile);  // -x
    mesh.AddTiledFace({{l.x, h.y, l.z}, {l.x, h.y, h.z}, {h.x, h.y, h.z}, {h.x, h.y, l.z}}, material, tile);  // +y
    mesh.AddTiledFace({{l.x, l.y, h.z}, {l.x, l.y, l.z}, {h.x, l.y, l.z}, {h.x, l.y, h.z}}, material, tile);  // -y
    mesh.AddTiledFace({{h.x, l.y, h.z}, {h.x, h.y, h.z}, {l.x, h.y, h.z}, {l.x, l.y, h.z}}, material, tile);  // +z
    mesh.AddTiledFace({{l.x, l.y, l.z}, {l.x, h.y, l.z}, {h.x, h.y, l.z}, {h.x, l.y, l.z}}, material, tile);  // -z
}

namespace {

std::string Indent(int depth) { return std::string(static_cast<size_t>(depth) * 1, ' '); }

void WriteMaterial(std::string& out, const Material& m, int depth) {
    const std::string in = Indent(depth);
    out += in + "Material {\n";
    out += in + " " + Num(m.r) + ";" + Num(m.g) + ";" + Num(m.b) + ";1.0;;\n";
    out += in + " " + Num(m.power) + ";\n";
    out += in + " " + Num(m.specular) + ";" + Num(m.specular) + ";" + Num(m.specular) + ";;\n";
    out += in + " " + Num(m.emissive * m.r) + ";" + Num(m.emissive * m.g) + ";" + Num(m.emissive * m.b) + ";;\n";
    if (!m.texture.empty()) out += in + " TextureFilename {\n" + in + "  \"" + m.texture + "\";\n" + in + " }\n";
    out += in + "}\n";
}

std::string Faces(const Mesh& mesh) {
    std::string out = " " + std::to_string(mesh.faces.size()) + ";\n";
    for (size_t f = 0; f < mesh.faces.size(); ++f) {
        out += " " + std::to_string(mesh.faces[f].size()) + ";";
        for (size_t i = 0; i < mesh.faces[f].size(); ++i) out += (i ? "," : "") + std::to_string(mesh.faces[f][i]);
        out += f + 1 < mesh.faces.size() ? ";,\n" : ";;\n";
    }
    return out;
}

std::string Vectors(const Mesh& mesh, bool normals) {
    std::string out = " " + std::to_string(mesh.vertices.size()) + ";\n";
    for (size_t i = 0; i < mesh.vertices.size(); ++i) {
        const Vec3 v = normals ? mesh.vertices[i].normal : mesh.vertices[i].position;
        out += " " + Num(v.x) + ";" + Num(v.y) + ";" + Num(v.z) + (i + 1 < mesh.vertices.size() ? ";,\n" : ";;\n");
    }
    return out;
}

void WriteMesh(std::string& out, const Mesh& mesh, int depth) {
    const std::string in = Indent(depth);
    out += in + "Mesh " + mesh.name + " {\n" + Vectors(mesh, false) + Faces(mesh);
    out += in + " MeshNormals {\n" + Vectors(mesh, true) + Faces(mesh) + in + " }\n";
    out += in + " MeshTextureCoords {\n " + std::to_string(mesh.vertices.size()) + ";\n";
    for (size_t i = 0; i < mesh.vertices.size(); ++i)
        out += " " + Num(mesh.vertices[i].u) + ";" + Num(mesh.vertices[i].v) +
               (i + 1 < mesh.vertices.size() ? ";,\n" : ";;\n");
    out += in + " }\n";
    out += in + " MeshMaterialList {\n " + std::to_string(mesh.materials.size()) + ";\n " +
           std::to_string(mesh.faces.size()) + ";\n";
    for (size_t f = 0; f < mesh.face_materials.size(); ++f)
        out += " " + std::to_string(mesh.face_materials[f]) + (f + 1 < mesh.face_materials.size() ? ",\n" : ";;\n");
    for (const Material& m : mesh.materials) WriteMaterial(out, m, depth + 2);
    out += in + " }\n" + in + "}\n";
}

void WriteFrame(std::string& out, const Frame& frame, int depth) {
    const std::string in = Indent(depth);
    out += in + "Frame " + frame.name + " {\n";
    // Row vectors: the rows are the images of the axes, then the position.
    out += in + " FrameTransformMatrix {\n" + in + "  ";
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) out += Num(frame.rotation.m[col][row]) + ",";
        out += "0.0,";
    }
    out += Num(frame.position.x) + "," + Num(frame.position.y) + "," + Num(frame.position.z) + ",1.0;;\n";
    out += in + " }\n";
    for (const Mesh& mesh : frame.meshes) WriteMesh(out, mesh, depth + 1);
    for (const Frame& child : frame.children) WriteFrame(out, child, depth + 1);
    out += in + "}\n";
}

}  // namespace

void WriteX(const std::string& path, const Frame& root) {
    std::string out = "xof 0303txt 0032\n\n";
    WriteFrame(out, root, 0);
    SaveText(path, out);
}

}  // namespace gen
