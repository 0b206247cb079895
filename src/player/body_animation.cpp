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
constexpr int32_t kReloadSound = 4;
constexpr int32_t kReloadEvent = 4;          // idson2: the state message carries the reload
constexpr int32_t kRunningFrequency = 8800;  // Hz; other machines play them at 8250
constexpr int32_t kNoTorsoSet = -1;
constexpr std::string_view kDeathSet = "death1";

// `name` is `prefix` followed by `set`; compared without making the name,
// since the local player asks every frame.
bool IsSet(const std::string& name, std::string_view prefix, std::string_view set) {
    return name.size() == prefix.size() + set.size() && name.starts_with(prefix) && name.ends_with(set);
}

}  // namespace

void player::Attend() {
    if (IsSet(ani_pos_lib, baisser, "idle1")) return;
    ani_pos_lib = baisser + "idle1";
    fps = 0;
    Anipos = PlayerModel(0).RenvAnimations(ani_pos_lib);
    JoueSon(kHeartbeat, sound::DSBPLAY_LOOPING);
}

void player::Court() {
    if (IsSet(ani_pos_lib, baisser, "run")) return;
    fps = 0;
    ani_pos_lib = baisser + "run";
    Anipos = PlayerModel(0).RenvAnimations(ani_pos_lib);
    JoueSon(kFootsteps, sound::DSBPLAY_LOOPING);
    if (DSound) son::SetFrequency(SonCourant, kRunningFrequency);
}

// One clock unit per 30 ms of real time: a ratio of 1 is a 20 ms frame.
void player::animation() {
    MDL& body = PlayerModel(MDLid);
    const double step = ratio * 20 / 30;
    const bool dying = ani_pos_lib == kDeathSet;
    const int32_t legsEnd = body.RenvAniMax(Anipos);
    if (dying && fps >= legsEnd) {
        fps = legsEnd;
        pret = true;
    } else {
        fps += step;
        if (fps >= legsEnd) fps = dying ? legsEnd : 0;
    }
    fps2 += step;
    // Unlike the legs, the torso must pass the set's end.
    if (AniBuste != kNoTorsoSet && fps2 > body.RenvAniMax(AniBuste)) EndTorsoSet();
    if (action != "shoot" && NbBastos < 1) Reload();
    body.Anime(*this);
}

// With the trigger held the set of the last shot runs again, and the next
// shot may leave.
void player::EndTorsoSet() {
    fps2 = 0;
    action = "aim";
    const std::string& type = WeaponModel(IdArme).typ_arme;
    if (IsSet(ani_lib, "ref_aim_", type) || Fire) return;
    ani_lib = "ref_aim_" + type;
    AniBuste = PlayerModel(MDLid).RenvAnimations(ani_lib);
}

// The magazine is full as the reload starts; no shot leaves until its set
// has run out.
void player::Reload() {
    NbBastos = WeaponModel(IdArme).NbBastos;
    idson2 = kReloadEvent;
    action = "reload";
    fps2 = 0;
    ani_lib = "ref_reload_" + WeaponModel(IdArme).typ_arme;
    AniBuste = PlayerModel(MDLid).RenvAnimations(ani_lib);
    JoueSon(kReloadSound, 0);
}
