#include "core/game_start.h"
#include "core/game_state.h"
#include "core/weapons.h"
#include "models/mdl.h"

// One player model serves both teams; the weapon models go by weapon index,
// with one empty slot after the last.
void ChargeModeles() {
    PlayerModels[0] = std::make_shared<MDL>();
    AjoutePointChargement();
    PlayerModels[0]->MultiMesh = false;
    PlayerModels[0]->Boite = true;
    PlayerModels[0]->Load(nullptr, "terror.qc", CheminJeu + "\\models\\", false);
    WeaponModels.resize(1);
    for (int32_t i = 0; i <= 12; ++i) {
        const std::string name = NomFichierArme(i);
        AjoutePointChargement();
        WeaponModels.resize(WeaponModels.size() + 1);
        auto& weapon = WeaponModels[WeaponModels.size() - 2];
        weapon = std::make_shared<MDL>();
        weapon->MultiMesh = true;
        weapon->Load(nullptr, name, CheminJeu + "\\weapons", true);
    }
}
