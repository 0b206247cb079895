#include "player/held_models.h"

#include "core/game_state.h"
#include "models/mdl.h"
#include "platform/failure.h"

#include <string>

namespace {

template <class Models>
MDL& ModelAt(const Models& models, int32_t index, const char* kind) {
    if (index < 0 || static_cast<size_t>(index) >= models.size() || !models[static_cast<size_t>(index)])
        throw Failure(failure_number::SubscriptOutOfRange, "No " + std::string(kind) + " " + std::to_string(index));
    return *models[static_cast<size_t>(index)];
}

}  // namespace

MDL& PlayerModel(int32_t MDLid) { return ModelAt(PlayerModels, MDLid, "player model"); }

MDL& WeaponModel(int32_t IdArme) { return ModelAt(WeaponModels, IdArme, "weapon model"); }

bool HoldsWeaponModel(int32_t IdArme) {
    return IdArme >= 0 && static_cast<size_t>(IdArme) < WeaponModels.size() && WeaponModels[size_t(IdArme)] &&
           WeaponModels[size_t(IdArme)]->Main;
}
