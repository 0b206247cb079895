#include "core/object_ref.h"
#include "models/mdl.h"
#include "player/held_models.h"
#include "player/player.h"

#include <array>
#include <string_view>

namespace {

// Where the aim sits for each way of holding a weapon: `chasse` in the
// head's coordinates, `devant` in the aim's.
struct AimPlacement {
    std::string_view type;
    rm::Vector aim;
    rm::Vector target;
};

constexpr std::array<AimPlacement, 6> kAimPlacements = {{
    {"onehanded", {0, 11, 1}, {0, 0, 5}},
    {"carbine", {0, 6, 2}, {0, 0, 5}},
    {"mp5", {0, 10, 1}, {0, 0, 5}},
    {"rifle", {0, 8, 6}, {0, 0, 6}},
    {"m249", {2, 4, 0}, {0, 0, 5}},
    {"shotgun", {0, 4, 2}, {0, 0, 5}},
}};

}  // namespace

// A type of no known grip leaves the aim where it was.
void player::PlaceArme() {
    const std::string& type = WeaponModel(IdArme).typ_arme;
    for (const AimPlacement& placement : kAimPlacements) {
        if (type != placement.type) continue;
        Ref(chasse).SetPosition(tete, placement.aim.x, placement.aim.y, placement.aim.z);
        Ref(devant).SetPosition(chasse, placement.target.x, placement.target.y, placement.target.z);
        return;
    }
}
