// The arsenal page: the weapons of one level with their statistics and
// pictures, those above the player's rank greyed.

#include "core/game_state.h"
#include "core/paths.h"
#include "core/text.h"
#include "core/weapons.h"
#include "launcher/launcher_window.h"
#include "platform/os/executable.h"

namespace {

struct LevelWeapons {
    int32_t first;
    int32_t last;
};

// Weapon indices by level 1 to 4.
constexpr LevelWeapons kLevels[] = {{0, 3}, {4, 5}, {6, 8}, {9, 12}};
constexpr int32_t kLevelCount = 4;

LevelWeapons WeaponsOf(int32_t level) {
    return level >= 1 && level <= kLevelCount ? kLevels[level - 1] : LevelWeapons{0, 0};
}

// The weapon frames: two across, two down.
constexpr float kWeaponLeft = 120;
constexpr float kWeaponTop = 540;
constexpr float kWeaponWidth = 2340;
constexpr float kWeaponHeight = 2100;
constexpr float kWeaponGap = 120;

}  // namespace

void form2::DesignArsenalPage() {
    for (int k = 0; k < Framew.Count(); ++k) {
        const float left = kWeaponLeft + static_cast<float>(k % 2) * (kWeaponWidth + kWeaponGap);
        const float top = kWeaponTop + static_cast<float>(k / 2) * (kWeaponHeight + kWeaponGap);
        Framew(k).Move(left, top, kWeaponWidth, kWeaponHeight);
        Framew(k).SetVisible(false);
        img(k).SetContainer(Framew(k));
        img(k).SetStretch(true);
        img(k).Move(120, 240, 2100, 1000);
        lblrang(k).SetContainer(Framew(k));
        lblrang(k).Move(120, 1320, 2100, 225);
        lblammo(k).SetContainer(Framew(k));
        lblammo(k).Move(120, 1560, 2100, 225);
        lblsnipper(k).SetContainer(Framew(k));
        lblsnipper(k).Move(120, 1800, 2100, 225);
    }
}

// Each statement stands alone: a missing picture keeps the previous one, an
// unknown name keeps what the catalogue leaves in the statistics.
void form2::affiche_ARMES(int32_t level) {
    for (int k = 0; k < Framew.Count(); ++k) skip([&] { Framew(k).SetVisible(false); });
    const LevelWeapons weapons = WeaponsOf(level);
    skip([&] { Frame8.SetCaption("ARMES NIVEAU " + std::to_string(level)); });
    int k = 0;
    for (int32_t i = weapons.first; i <= weapons.last; ++i, ++k) {
        std::string name;
        int32_t magazine = 0, damage = 0, weaponLevel = 0;
        bool scope = false;
        skip([&] { Framew(k).SetVisible(true); });
        skip([&] {
            const std::string file = NomFichierArme(i);
            name = Mid(file, InStr(file, "_") + 1);
            name = ::Left(name, Len(name) - 3);
        });
        skip([&] { InfosArme(name, magazine, damage, weaponLevel, scope); });
        skip([&] { Framew(k).SetEnabled(WeaponPower >= weaponLevel); });
        skip([&] { lblrang(k).SetCaption("POWER: " + std::to_string(damage)); });
        skip([&] { lblammo(k).SetCaption("AMMO: " + std::to_string(magazine)); });
        skip([&] { lblsnipper(k).SetCaption(std::string("SNIPPER: ") + (scope ? "YES" : "NO")); });
        skip([&] { Framew(k).SetCaption(UCase(name)); });
        skip([&] {
            img(k).SetPicture(ui::LoadPicture(JoinPath(os::ExecutableFolder(), "weapons/640_" + name + ".bmp")));
        });
    }
}
