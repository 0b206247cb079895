#include "level_kit.h"

#include <algorithm>

namespace gen {

void AddFacing(Mesh& mesh, std::vector<Vec3> corners, Vec3 facing, int material, double tile) {
    if (Dot(Cross(corners[1] - corners[0], corners[2] - corners[0]), facing) < 0)
        std::reverse(corners.begin(), corners.end());
    mesh.AddTiledFace(corners, material, tile);
}

void AddFloor(Mesh& mesh, double x0, double x1, double z0, double z1, double y, int material, double tile) {
    AddFacing(mesh, {{x0, y, z0}, {x0, y, z1}, {x1, y, z1}, {x1, y, z0}}, {0, 1, 0}, material, tile);
}

void AddCeiling(Mesh& mesh, double x0, double x1, double z0, double z1, double y, int material, double tile) {
    AddFacing(mesh, {{x0, y, z0}, {x0, y, z1}, {x1, y, z1}, {x1, y, z0}}, {0, -1, 0}, material, tile);
}

void AddWallX(Mesh& mesh, double x, double z0, double z1, double y0, double y1, double facing, int material,
              double tile) {
    AddFacing(mesh, {{x, y1, z0}, {x, y1, z1}, {x, y0, z1}, {x, y0, z0}}, {facing, 0, 0}, material, tile);
}

void AddWallZ(Mesh& mesh, double z, double x0, double x1, double y0, double y1, double facing, int material,
              double tile) {
    AddFacing(mesh, {{x0, y1, z}, {x1, y1, z}, {x1, y0, z}, {x0, y0, z}}, {0, 0, facing}, material, tile);
}

Material Textured(const std::string& texture, double emissive) {
    Material m;
    m.texture = texture;
    m.emissive = emissive;
    return m;
}

LevelMeshes::LevelMeshes() {
    Material plain;
    plain.r = plain.g = plain.b = 0.6;
    for (Mesh* m : {&floors, &walls, &ceilings}) floor_material = m->AddMaterial(plain);
}

Frame Wrapped(const std::string& name, Mesh mesh) {
    mesh.name = name + "_mesh";
    return Frame{name, {}, {}, {mesh}, {}};
}

Mesh Scaled(Mesh mesh, double scale) {
    for (Vertex& v : mesh.vertices) v.position = v.position * scale;
    return mesh;
}

}  // namespace gen
