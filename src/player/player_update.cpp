#include "core/game_sound_buffers.h"
#include "core/game_state.h"
#include "core/object_ref.h"
#include "core/text.h"
#include "models/mdl.h"
#include "multiplayer/messages.h"
#include "platform/failure.h"
#include "platform/play/direct_play.h"
#include "platform/rm/texture.h"
#include "platform/sound/sound_flags.h"
#include "player/held_models.h"
#include "player/player.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int32_t kLastBloodStep = 9;  // step 10 ends the sequence
constexpr int32_t kLastFlashStep = 2;  // step 3 ends it
constexpr float kFlashSize = 0.4f;
constexpr int32_t kFlashOrigin = 36;
constexpr uint32_t kBlack = 0;

constexpr int32_t kFootsteps = 0;
constexpr int32_t kHitSound = 2;
constexpr int32_t kDeathSound = 3;
constexpr int32_t kReloadSound = 4;
constexpr int32_t kSoundEvent = 1;            // idson2 1: a shot; idson3 1: a hit
constexpr int32_t kRemoteFootstepsHz = 8250;  // the local player runs at 8800

constexpr int32_t kAlive = 3;  // traversal: drawn and hit
constexpr int32_t kDead = 1;   // drawn only

// The sender keeps its tilt within this; more would bend the shared model.
constexpr double kMostPivot = 0.4;

const rm::Vector kUp{0, 1, 0};
constexpr int32_t kToAll = 0;

// One step of a decal: last frame's picture goes; steps 1 to `last` show
// their picture and move on; any other step (the end of the sequence, or a
// number from another machine outside it) shows nothing and goes back to 0.
template <size_t N>
rm::Texture* StepDecal(rm::Frame& frame, const std::array<std::shared_ptr<rm::Texture>, N>& pictures, int32_t last) {
    if (frame.GetVisualCount() > 0) frame.DeleteVisual(rm::VisualPtr(frame.GetVisual(0)));
    const int32_t step = frame.GetAppData();
    if (step < 1 || step > last || !pictures[size_t(step)]) {
        frame.SetAppData(0);
        return nullptr;
    }
    frame.AddVisual(pictures[size_t(step)]);
    frame.SetAppData(step + 1);
    return pictures[size_t(step)].get();
}

// A value another machine sent, as the single-precision coordinate the 3D
// layer takes: false for one that is not a number or does not fit.
bool AsCoordinate(double value, float& coordinate) {
    coordinate = SingleCoordinate(value);
    return !std::isnan(coordinate);
}

bool AsVector(double x, double y, double z, rm::Vector& vector) {
    return AsCoordinate(x, vector.x) && AsCoordinate(y, vector.y) && AsCoordinate(z, vector.z);
}

bool IsDirection(const rm::Vector& v) {
    const float length2 = v.x * v.x + v.y * v.y + v.z * v.z;
    return length2 > 0 && std::isfinite(length2);
}

}  // namespace

void player::Avance() {
    StepDecals();
    if (indice == IndiceLocal) {
        scrute_clavier();
        PositionneBoite();
        EnvoieEtat();
        return;
    }
    ShowRemote();
}

void player::StepDecals() {
    StepDecal(Ref(Frmsang), TexSang, kLastBloodStep);
    if (rm::Texture* shown = StepDecal(Ref(flash), TexFlash, kLastFlashStep)) {
        shown->SetDecalSize(kFlashSize, kFlashSize);
        shown->SetDecalOrigin(kFlashOrigin, kFlashOrigin);
        shown->SetDecalTransparency(true);
        shown->SetDecalTransparentColor(kBlack);
    }
}

// Each value on its own: one that fails is sent as 0, the rest as they are.
void player::EnvoieEtat() {
    StateMessage state{.position = {gPlayerpositionx, gPlayerpositiony, gPlayerpositionz},
                       .facing = {gPlayerori1x, gPlayerori1y, gPlayerori1z},
                       .pivot = pivot,
                       .colonne = colonne,
                       .Anipos = Anipos,
                       .AniBuste = AniBuste,
                       .weapon = IdArme,
                       .traversal = mort ? kDead : kAlive,
                       .idson = idson,
                       .idson2 = idson2,
                       .idson3 = idson3};
    skip([&] { state.fps = CLng(fps); });
    skip([&] { state.fps2 = CLng(fps2); });
    skip([&] {
        const rm::Vector at = Ref(Frmsang).GetPosition(FrameMonde);
        state.blood = {at.x, at.y, at.z};
    });
    skip([&] { state.bloodStep = Ref(Frmsang).GetAppData(); });
    skip([&] { state.flashStep = Ref(flash).GetAppData(); });
    skip([&] {
        const auto message = NewMessage();
        WriteStateMessage(*message, state);
        SendUnguaranteed(kToAll, message);
    });
    idson2 = 0;
    idson3 = 0;
}

void player::ShowRemote() {
    PlaceRemote();
    ChangeRemoteWeapon();
    pivot = std::isfinite(pivot) ? std::clamp(pivot, -kMostPivot, kMostPivot) : 0;
    PlayerModel(MDLid).Anime(*this);
    if (DSound) PlayRemoteSounds();
    PositionneBoite();
}

// A position or facing that is not a usable number keeps the last one: the
// root's transform would not recover from it.
void player::PlaceRemote() {
    rm::Frame& root = Ref(joueur);
    if (rm::Vector at; AsVector(gPlayerpositionx, gPlayerpositiony, gPlayerpositionz, at))
        root.SetPosition(FrameMonde, at.x, at.y, at.z);
    rm::Vector facing;
    if (!AsVector(gPlayerori1x, gPlayerori1y, gPlayerori1z, facing) || !IsDirection(facing)) return;
    root.SetOrientation(FrameMonde, facing, kUp);
    // Turning relative to another frame drops the scale.
    const auto scale = static_cast<float>(EchelleJoueur);
    root.AddScale(rm::combine::Before, scale, scale, scale);
}

// A weapon number that names no loaded model keeps the weapon held.
void player::ChangeRemoteWeapon() {
    if (gPlayerArme == IdArme || !HoldsWeaponModel(gPlayerArme)) return;
    IdArme = gPlayerArme;
    HoldWeapon();
}

// A fresh copy of the held weapon in the hand, with its flash and fire
// sound; both are drawn, never hit.
void player::HoldWeapon() {
    const rm::FramePtr& hand = WeaponModel(IdArme).Main;
    Ref(Peau).DeleteChild(MDroite);
    MDroite = Ref(hand).Clone();
    Peau->AddChild(MDroite);
    // The body's hand frame holds its 1-based bone number.
    MDroite->SetAppData(Ref(PlayerModel(MDLid).Main).GetAppData() - 1);
    ColleArme(hand, MDroite);
    LoadFireSound();
    MDroite->SetTraversalOptions(rm::traversal::Draw);
    Ref(flash).SetTraversalOptions(rm::traversal::Draw);
}

// A sound number outside the player's sounds changes no sound. The events
// play once per message that carried them.
void player::PlayRemoteSounds() {
    if (idson >= 0 && static_cast<size_t>(idson) < Sons.size() && SonCourant != Sons[size_t(idson)].buffer) {
        son::Stop(SonCourant);
        SonCourant = Sons[size_t(idson)].buffer;
        SonCourant3D = Sons[size_t(idson)].buffer3D;
        son::Play(SonCourant, idson == kDeathSound || idson == kReloadSound ? 0 : sound::DSBPLAY_LOOPING);
    }
    if (idson2 == kSoundEvent) son::PlayFromStart(Armeson);
    if (idson3 == kSoundEvent) son::PlayFromStart(Sons[kHitSound].buffer);
    if (idson == kFootsteps) son::SetFrequency(SonCourant, kRemoteFootstepsHz);
    idson2 = 0;
    idson3 = 0;
}
