#pragma once

#include <string>
#include <vector>

#include "picture.h"
#include "vec.h"

// The weapons' shapes: blocks in the hand's frame (the wrist at the top of
// the grip, the barrel along +z, up along +y), each painted with one band of
// the weapon's 64 x 64 texture.

namespace gen {

enum Band { kDark, kLight, kFurniture, kAccent };

struct WeaponBlock {
    Vec3 low, high;
    Band band;
};

struct WeaponShape {
    std::string file;  // description file, e.g. "rifle_m4a1.QC"
    std::string name;  // e.g. "m4a1"
    std::vector<WeaponBlock> blocks;
    Vec3 muzzle;
    Rgb furniture, accent;
};

// The thirteen weapons in catalogue order.
const std::vector<WeaponShape>& WeaponShapes();

}  // namespace gen
