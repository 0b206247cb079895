#include "core/game_sound_buffers.h"
#include "core/game_state.h"
#include "models/mdl.h"
#include "platform/sound/sound_flags.h"
#include "player/held_models.h"
#include "player/player.h"

#include <string>
#include <string_view>

namespace {

constexpr int32_t kFootsteps = 0;
constexpr int32_t kHeartbeat = 1;
constexpr int32_t kRunningFrequency = 8800;  // Hz; other machines play them at 8250

// `name` is `prefix` followed by `set`; compared without making the name,
// since the local player asks every frame.
bool IsLegsSet(const std::string& name, const std::string& prefix, std::string_view set) {
    return name.size() == prefix.size() + set.size() && name.starts_with(prefix) && name.ends_with(set);
}

}  // namespace

void player::Attend() {
    if (IsLegsSet(ani_pos_lib, baisser, "idle1")) return;
    ani_pos_lib = baisser + "idle1";
    fps = 0;
    Anipos = PlayerModel(0).RenvAnimations(ani_pos_lib);
    JoueSon(kHeartbeat, sound::DSBPLAY_LOOPING);
}

void player::Court() {
    if (IsLegsSet(ani_pos_lib, baisser, "run")) return;
    fps = 0;
    ani_pos_lib = baisser + "run";
    Anipos = PlayerModel(0).RenvAnimations(ani_pos_lib);
    JoueSon(kFootsteps, sound::DSBPLAY_LOOPING);
    if (DSound) son::SetFrequency(SonCourant, kRunningFrequency);
}
