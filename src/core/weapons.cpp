#include "core/weapons.h"

#include "core/text.h"
#include "platform/ui/event_loop.h"

#include <array>

namespace {

struct WeaponRow {
    const char* file;
    const char* name;  // the file name after its "_", without ".QC"
    int32_t magazine;
    int32_t damage;
    int32_t level;  // the lowest rank that may use it
    bool scope;
};

constexpr std::array<WeaponRow, 13> kWeapons{{
    {"onehanded_mac10.QC", "mac10", 20, 10, 1, false},
    {"carbine_ump45.QC", "ump45", 20, 10, 1, false},
    {"carbine_aug.QC", "aug", 20, 10, 1, true},
    {"carbine_p90.QC", "p90", 20, 10, 1, false},
    {"mp5_mp5.QC", "mp5", 30, 10, 2, false},
    {"mp5_ak47.QC", "ak47", 30, 10, 2, false},
    {"rifle_m4a1.QC", "m4a1", 30, 20, 3, true},
    {"rifle_sg550.QC", "sg550", 30, 20, 3, true},
    {"rifle_sg552.QC", "sg552", 30, 20, 3, true},
    {"m249_m249.QC", "m249", 50, 20, 4, false},
    {"shotgun_m3.QC", "m3", 5, 50, 4, false},
    {"rifle_awp.QC", "awp", 1, 100, 4, true},
    {"m249_xm1014.QC", "xm1014", 10, 50, 4, false},
}};

}  // namespace

std::string NomFichierArme(int32_t index) {
    if (index < 0 || index >= static_cast<int32_t>(kWeapons.size())) return {};
    return kWeapons[static_cast<size_t>(index)].file;
}

void InfosArme(std::string_view name, int32_t& magazine, int32_t& damage, int32_t& level, bool& scope) {
    scope = false;
    // The names are all different, so the order of the rows does not change
    // which one an exact comparison finds.
    const std::string lowered = LCase(name);
    for (const WeaponRow& row : kWeapons) {
        if (lowered == row.name) {
            magazine = row.magazine;
            damage = row.damage;
            level = row.level;
            scope = row.scope;
            return;
        }
    }
    ui::DoEvents();
}
