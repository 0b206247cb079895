#pragma once

#include <string>
#include <vector>

#include "vec.h"

// Skeleton, mesh and animation files (.smd) in the layout the model loader
// reads: one blank between fields, "." as the decimal point, lines that are
// exactly their keywords. Everything here is already in the file's own axes.

namespace gen {

struct SmdNode {
    std::string name;
    int parent = -1;
};

struct SmdKey {
    Vec3 position;
    Vec3 rotation;  // rx, ry, rz in radians
};

struct SmdVertex {
    int bone = 0;
    Vec3 position;
    Vec3 normal;
    double u = 0, v = 0;
};

// Corners in the order in which the loader adds them: it reverses the
// file's order, so the file gets them from last to first.
struct SmdTriangle {
    std::string texture;
    SmdVertex corners[3];
};

// `frames` holds one key block a time step, from time 0; a reference file
// has exactly one.
void WriteSmd(const std::string& path, const std::vector<SmdNode>& nodes,
              const std::vector<std::vector<SmdKey>>& frames, const std::vector<SmdTriangle>& triangles);

}  // namespace gen
