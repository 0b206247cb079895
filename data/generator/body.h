#pragma once

#include <string>
#include <vector>

#include "mesh.h"
#include "smd.h"

// The player's body: blocks of one bone each, textured from a 256 x 256
// skin laid out in regions (face, head, chest, ...). Both teams share the
// skeleton; the GIGN body wears a helmet and a thicker vest.

namespace gen {

enum class Team { kTerrorist, kGign };

// Skin regions, in pixels of the 256 x 256 skin.
struct Region {
    int x, y, w, h;
};
namespace skin {
constexpr Region kFaceArea{0, 0, 64, 64}, kHeadArea{64, 0, 64, 64}, kChestArea{128, 0, 128, 64},
    kTorsoArea{0, 64, 128, 64}, kArmArea{128, 64, 64, 64}, kHandArea{192, 64, 64, 64}, kLegArea{0, 128, 128, 64},
    kBootArea{128, 128, 64, 64}, kBeltArea{192, 128, 64, 64}, kGearArea{0, 192, 256, 64};
}

struct Block {
    int bone;
    Vec3 low, high;  // design space, rest pose
    Region front, other;
};

std::vector<Block> BodyBlocks(Team team);

// The reference mesh of the body in file axes, skinned on the humanoid.
std::vector<SmdTriangle> BodyTriangles(Team team, const std::string& texture);
// The same body as a plain mesh, for the launcher's preview.
Mesh BodyMesh(Team team, const std::string& texture, double scale);

}  // namespace gen
