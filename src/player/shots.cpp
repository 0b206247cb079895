#include "core/game_sound_buffers.h"
#include "core/game_state.h"
#include "core/object_ref.h"
#include "models/mdl.h"
#include "multiplayer/messages.h"
#include "platform/failure.h"
#include "platform/rm/viewport.h"
#include "platform/ui/event_loop.h"
#include "player/division_by_zero.h"
#include "player/held_models.h"
#include "player/player.h"

#include <exception>
#include <string>

namespace {

constexpr int32_t kShotgun = 12;          // the cycling weapon: a shot waits for its fire sound
constexpr int32_t kCyclingBytes = 15000;  // the fire sound's last bytes before one second
constexpr int32_t kShotEvent = 1;         // idson2: the state message carries the shot
constexpr int32_t kFirstFlashStep = 1;
constexpr float kNoScope = 1;

}  // namespace

// One shot per run of the torso's shoot set is the rate of fire: the set's
// end lets the next one go.
void player::tir() {
    idson2 = 0;
    if (action == "shoot" || (IdArme == kShotgun && DSound && ShotgunCycling())) {
        if (IdArme == kShotgun) Fire = false;
        ui::DoEvents();
        return;
    }
    NbBastos -= 1;
    idson2 = kShotEvent;
    action = "shoot";
    fps2 = 0;
    const MDL& weapon = WeaponModel(IdArme);
    ani_lib = "ref_" + action + "_" + weapon.typ_arme;
    AniBuste = PlayerModel(MDLid).RenvAnimations(ani_lib);
    if (!flash) throw Failure(failure_number::ObjectNotSet, "The weapon " + weapon.lib_arme + " has no flash frame");
    flash->SetAppData(kFirstFlashStep);
    if (DSound) son::PlayFromStart(Armeson);
    PlaceArme();
    Ref(chasse).LookAt(devant, FrameMonde, 0);
    // Looking at another frame leaves the aim unscaled; the scope's aim is
    // five times finer.
    const double front = Ref(Vues.at(size_t(VueCourante))).GetFront();
    const auto scale = static_cast<float>(front == kNoScope ? 5 * EchelleJoueur : EchelleJoueur);
    chasse->AddScale(rm::combine::Before, scale, scale, scale);
    lance_une_Bastos(chasse);
}

// Cycling while the fire sound has started but not yet played its first
// second less kCyclingBytes; a sound that ended is back at 0.
bool player::ShotgunCycling() const {
    const int32_t cursor = son::GetCurrentPosition(Armeson);
    return cursor > 0 && cursor < son::GetAvgBytesPerSec(Armeson) - kCyclingBytes;
}

// One ray, no spread, no range. FrameJoueurs is the pick's reference: it
// carries no transform of its own, so the aim's world coordinates are its
// coordinates too. Only players hang below it, so no wall stops a bullet.
void player::lance_une_Bastos(const rm::FramePtr& qui) {
    try {
        rm::Ray ray;
        SkippingDivisionByZero([&] { ray.position = Ref(qui).GetPosition(FrameMonde); });
        SkippingDivisionByZero([&] {
            rm::Vector up;
            Ref(qui).GetOrientation(FrameMonde, ray.direction, up);
        });
        SkippingDivisionByZero([&] { Ref(FrameJoueurs).RayPick(FrameJoueurs, ray, shotPicks_); });
        if (shotPicks_.GetSize() < 1) return;
        // The nearest box only: a bullet stops in the first player it meets.
        rm::PickRecord hit;
        rm::VisualPtr box;
        SkippingDivisionByZero([&] { box = shotPicks_.GetPickVisual(0, hit); });
        // Every pickable visual under FrameJoueurs carries its player's slot.
        const int32_t slot = Ref(box).GetAppData();
        if (slot != IndiceLocal) EnvoieTouche(slot, box->GetName(), hit);
    } catch (...) {
        if (!IsFailure(std::current_exception())) throw;
    }
}

// The hit boxes are named after their bones: a box whose name holds "Head"
// is the head.
void player::EnvoieTouche(int32_t slot, const std::string& boxName, const rm::PickRecord& hit) {
    HitMessage sent{.point = {hit.position.x, hit.position.y, hit.position.z}, .damage = kHeadHit};
    if (boxName.find("Head") == std::string::npos) skip([&] { sent.damage = WeaponModel(IdArme).PowerBastos; });
    skip([&] {
        const auto message = NewMessage();
        WriteHitMessage(*message, sent);
        SendUnguaranteed(Joueurs[size_t(slot)].id, message);
    });
}
