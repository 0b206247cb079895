#pragma once

#include <string>
#include <vector>

#include "smd.h"

// The body's sequences, in the order of the model description. The legs
// sets move the whole body; the torso sets ("..._blend" files) are read for
// the spine branch only and play over the legs.
//
// Order matters to the game's look-up, which returns the first set whose
// name occurs inside the requested name: "crouch_idle1" and "crouch_run"
// come before "idle1" and "run". Set 0, "stand", answers any request that
// names no set, so it is a quiet standing pose.
//
// One key time unit lasts 30 ms and the loader reads every other key block,
// so every sequence ends on an even time: its length is that last time.

namespace gen {

struct Sequence {
    std::string file;  // without ".smd"; the set name drops a "_blend" suffix
    int length;        // last key time
    std::vector<std::vector<SmdKey>> frames;
};

extern const char* const kWeaponTypes[6];

std::vector<Sequence> BodySequences();

}  // namespace gen
