#pragma once

// The shared models a player wears and holds. Their indexes also arrive from
// other machines, so an index outside its list, or a slot that holds no
// model (such as the empty slot after the last weapon), is a Failure that
// names it, never a read out of bounds.

#include <cstdint>

class MDL;

// PlayerModels(MDLid), MDLid 0 to 2.
MDL& PlayerModel(int32_t MDLid);
// WeaponModels(IdArme), IdArme 0 to 12.
MDL& WeaponModel(int32_t IdArme);
// Whether WeaponModels(IdArme) holds a model with a hand frame to copy; for
// indexes that come from another machine, checked before anything changes.
bool HoldsWeaponModel(int32_t IdArme);
