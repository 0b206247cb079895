#pragma once

// Mesh files of the data set loaded with Assimp in their own (left-handed)
// axes, and the downward rays the game's ground following casts on them.

#include <optional>
#include <string>
#include <vector>

#include <glm/glm.hpp>

namespace data_test {

struct Triangle {
    glm::dvec3 a, b, c;
};

struct MeshFile {
    bool loaded = false;
    std::string error;
    unsigned meshes = 0, root_children = 0;
    bool normals = true, texture_coordinates = true;
    std::vector<std::string> textures;
    std::vector<Triangle> triangles;  // with the frames' transforms applied
};

MeshFile LoadMeshFile(const std::string& relative);

// Every triangle moved by `transform` (a world matrix, column vectors).
std::vector<Triangle> Transformed(const std::vector<Triangle>& triangles, const glm::dmat4& transform);

// The distance to the nearest triangle along a ray (either side of it).
std::optional<double> Hit(const std::vector<Triangle>& triangles, glm::dvec3 origin, glm::dvec3 direction);

// The height of the nearest floor hit by a ray straight down from `from`.
std::optional<double> FloorBelow(const std::vector<Triangle>& floors, glm::dvec3 from);

}  // namespace data_test
