#pragma once

#include <string>

#include "mesh.h"

// Building blocks of the levels: faces turned towards the side they are
// seen from, and the three kinds of surface the game picks separately.

namespace gen {

// A flat face seen from `facing`: the corners' order is reversed when needed.
void AddFacing(Mesh& mesh, std::vector<Vec3> corners, Vec3 facing, int material, double tile);
// A floor (seen from above) or ceiling (from below), x0 < x1, z0 < z1.
void AddFloor(Mesh& mesh, double x0, double x1, double z0, double z1, double y, int material, double tile);
void AddCeiling(Mesh& mesh, double x0, double x1, double z0, double z1, double y, int material, double tile);
// A wall in the plane x = const (or z = const), seen from `facing`'s side.
void AddWallX(Mesh& mesh, double x, double z0, double z1, double y0, double y1, double facing, int material,
              double tile);
void AddWallZ(Mesh& mesh, double z, double x0, double x1, double y0, double y1, double facing, int material,
              double tile);

Material Textured(const std::string& texture, double emissive = 0);

// One level's surfaces: what is drawn, and the floors, walls and ceilings
// that the ground, wall and ceiling rays pick.
struct LevelMeshes {
    Mesh drawn, floors, walls, ceilings;
    LevelMeshes();
    int floor_material = 0;  // the plain material of the collision meshes
};

// One top-level frame holding the mesh, with no transform: the game loads
// a level file into a frame and works on that file frame's own meshes.
Frame Wrapped(const std::string& name, Mesh mesh);
// The same with every position multiplied by `scale` (a file that the game
// scales down again).
Mesh Scaled(Mesh mesh, double scale);

}  // namespace gen
