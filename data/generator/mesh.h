#pragma once

#include <string>
#include <vector>

#include "vec.h"

// Meshes as the level, sky-box and preview files hold them: flat faces of
// three or four corners, each with its own vertices, normals and texture
// coordinates, and one material a face.
//
// Winding: a face is seen from the side towards which the cross product
// (corner 1 - corner 0) x (corner 2 - corner 0) points, the clockwise-front
// rule of the left-handed scene.

namespace gen {

struct Material {
    double r = 1, g = 1, b = 1;
    double power = 10;
    double specular = 0.2;
    double emissive = 0;
    std::string texture;  // file name, empty for none
};

struct Vertex {
    Vec3 position;
    Vec3 normal;
    double u = 0, v = 0;
};

struct Mesh {
    std::string name;
    std::vector<Material> materials;
    std::vector<Vertex> vertices;
    std::vector<std::vector<int>> faces;
    std::vector<int> face_materials;

    int AddMaterial(const Material& material);
    // A flat face through the given corners (3 or 4) with the given texture
    // coordinates, one a corner.
    void AddFace(const std::vector<Vec3>& corners, const std::vector<std::pair<double, double>>& uvs, int material);
    // A flat face whose texture repeats every `tile` units, projected on the
    // face's own plane.
    void AddTiledFace(const std::vector<Vec3>& corners, int material, double tile);
    void Append(const Mesh& other);
};

// The six faces of the axis-aligned box from `low` to `high`, outward.
void AddBox(Mesh& mesh, Vec3 low, Vec3 high, int material, double tile);

struct Frame {
    std::string name;
    Mat3 rotation;
    Vec3 position;
    std::vector<Mesh> meshes;
    std::vector<Frame> children;
};

// A DirectX text mesh file ("xof 0303txt 0032") holding the frame tree.
void WriteX(const std::string& path, const Frame& root);

}  // namespace gen
