#include "player/player.h"

#include "core/frames.h"
#include "core/game_sound.h"
#include "core/game_sound_buffers.h"
#include "core/game_state.h"
#include "core/object_ref.h"
#include "core/paths.h"
#include "core/shared_state.h"
#include "models/mdl.h"
#include "platform/failure.h"
#include "platform/rm/direct3drm.h"
#include "platform/rm/texture.h"
#include "platform/sound/buffer.h"
#include "platform/sound/listener.h"
#include "platform/sound/sound_flags.h"
#include "player/held_models.h"

#include <map>
#include <string>

namespace {

constexpr uint32_t kBlack = 0;
constexpr int32_t kBloodPictures = 9;
constexpr int32_t kFlashPictures = 2;
constexpr int32_t kHit = 2;
constexpr int32_t kDeferred = sound::DS3D_DEFERRED;

// The player's own sounds, by number.
constexpr std::array<const char*, 5> kBodySounds = {
    "\\models\\pas.wav",     // 0 footsteps
    "\\models\\coeur.wav",   // 1 heartbeat
    "\\models\\touche.wav",  // 2 hit
    "\\models\\mort.wav",    // 3 death
    "\\models\\reload.wav",  // 4 reload
};

std::string InGameFolder(const std::string& gamePath) { return NativePath(CheminJeu + gamePath); }

rm::FramePtr NewFrame(const rm::FramePtr& parent) { return Ref(D3DRM).CreateFrame(parent); }

// The decal pictures by file, loaded once for every player: what steps a
// decal is the application data of each player's own frame, and a picture's
// settings are the same for all.
std::map<std::string, std::shared_ptr<rm::Texture>> DecalPictures = Initial(&DecalPictures, {});

std::shared_ptr<rm::Texture> DecalPicture(const std::string& gamePath) {
    const std::string file = InGameFolder(gamePath);
    if (const auto known = DecalPictures.find(file); known != DecalPictures.end()) return known->second;
    auto picture = Ref(D3DRM).LoadTexture(file);
    picture->SetDecalTransparency(true);
    picture->SetDecalTransparentColor(kBlack);
    DecalPictures.emplace(file, picture);
    return picture;
}

void SetWorldPosition(const std::shared_ptr<sound::Buffer3D>& sound, const rm::FramePtr& frame) {
    const rm::Vector at = Ref(frame).GetPosition(FrameMonde);
    son::SetPosition(sound, at.x, at.y, at.z, kDeferred);
}

// The listener stands at `frame`'s world position and looks along it.
void PutListenerAt(const rm::FramePtr& frame) {
    const rm::Vector at = Ref(frame).GetPosition(FrameMonde);
    rm::Vector front, top;
    frame->GetOrientation(FrameMonde, front, top);
    Ref(DSListener).SetPosition(at.x, at.y, at.z, kDeferred);
    DSListener->SetOrientation(front.x, front.y, front.z, top.x, top.y, top.z, kDeferred);
}

}  // namespace

player& JoueurLocal() {
    if (IndiceLocal < 0 || static_cast<size_t>(IndiceLocal) >= Joueurs.size())
        throw Failure(failure_number::SubscriptOutOfRange, "No local player");
    return Joueurs[size_t(IndiceLocal)];
}

void player::Initplayer() {
    pret = true;
    MakeFrames();
    WearModels();
    LoadSounds();
    LoadDecalPictures();
    MakeAimAndCamera();
    force = 100;
    base->SetTraversalOptions(ModeBox ? rm::traversal::Draw | rm::traversal::Pick : rm::traversal::Pick);
    Peau->SetTraversalOptions(rm::traversal::Draw);
    if (indice == IndiceLocal) PlaceJoueur();
    // Hidden and unpickable until a state message shows it.
    joueur->SetTraversalOptions(0);
    Attend();
}

// The root, scaled before its own transform, and the frames that carry the
// body and the blood.
void player::MakeFrames() {
    joueur = NewFrame(FrameJoueurs);
    const auto scale = static_cast<float>(EchelleJoueur);
    joueur->AddScale(rm::combine::Before, scale, scale, scale);
    base = NewFrame(joueur);
    Peau = NewFrame(joueur);
    Fleche = NewFrame(FrameMurs);
    Frmsang = NewFrame(joueur);
    Frmsang->SetTraversalOptions(rm::traversal::Draw);
    base->SetAppData(indice);
    Peau->SetAppData(indice);
    base->SetPosition(joueur, 0, 12, 0);
    Peau->SetPosition(joueur, 0, 12, 0);
}

// The player's instance of the body model, its aiming set and the copy of
// the held weapon.
void player::WearModels() {
    MDL& body = PlayerModel(MDLid);
    body.RenvMesh(*this);
    // The skin names its player to a pick as the hit boxes do.
    if (!ModeBox) Peau->GetVisual(0)->SetAppData(indice);
    Anipos = 0;
    ani_pos_lib.clear();
    action = "aim";
    ani_lib = "ref_" + action + "_" + WeaponModel(IdArme).typ_arme;
    AniBuste = body.RenvAnimations(ani_lib);
    ColleArme(WeaponModel(IdArme).Main, MDroite);
    // When the head frame is a box frame, that box is drawn, never hit.
    Ref(MDroite).SetTraversalOptions(rm::traversal::Draw);
    Ref(tete).SetTraversalOptions(rm::traversal::Draw);
}

// A missing sound file leaves its buffer unset: the player is silent there.
void player::LoadSounds() {
    LoadFireSound();
    for (size_t i = 0; i < Sons.size(); ++i)
        ChargeSon(InGameFolder(kBodySounds[i]), DSound, Sons[i].buffer, Sons[i].buffer3D, true);
}

void player::LoadFireSound() {
    ChargeSon(InGameFolder("\\weapons\\" + WeaponModel(IdArme).lib_arme + "-1.wav"), DSound, Armeson, Armeson3D, true);
}

// A missing picture fails.
void player::LoadDecalPictures() {
    for (int32_t i = 1; i <= kBloodPictures; ++i) {
        TexSang[size_t(i)] = DecalPicture("\\models\\blood00" + std::to_string(i) + ".bmp");
        TexSang[size_t(i)]->SetDecalSize(0.5f, 0.5f);
        TexSang[size_t(i)]->SetDecalOrigin(8, 8);
    }
    // Their size and origin are set when shown.
    for (int32_t i = 1; i <= kFlashPictures; ++i)
        TexFlash[size_t(i)] = DecalPicture("\\weapons\\muzz" + std::to_string(i) + ".bmp");
}

void player::MakeAimAndCamera() {
    axe = NewFrame(joueur);
    axe2 = NewFrame(axe);
    chasse = NewFrame(axe2);
    devant = NewFrame(axe2);
    cam = NewFrame(FrameMonde);
    cam->SetPosition(joueur, 0, 10, 80);
    chasse->SetPosition(joueur, 0, 50, -80);
    devant->SetPosition(joueur, 0, 30, 0);
}

void player::Destroy() {
    skip([&] {
        Ref(joueur);
        DetruitEnfants(joueur);
    });
    skip([&] {
        Ref(joueur);
        Ref(FrameJoueurs).DeleteChild(joueur);
    });
    skip([&] { joueur = {}; });
    // The camera and the wall probe hang outside the root.
    skip([&] {
        Ref(cam);
        Ref(FrameMonde).DeleteChild(cam);
    });
    skip([&] { cam = {}; });
    skip([&] {
        Ref(Fleche);
        Ref(FrameMurs).DeleteChild(Fleche);
    });
    skip([&] { Fleche = {}; });
    // Footsteps and heartbeat loop until stopped.
    skip([&] { son::Stop(SonCourant); });
    skip([&] { chasse = {}; });
    skip([&] { devant = {}; });
}

void player::PositionneBoite() {
    Ref(base).SetPosition(joueur, 0, 6, 0);
    Ref(Peau).SetPosition(joueur, 0, 6, 0);
    const rm::Vector at = Ref(joueur).GetPosition(FrameMonde);
    rm::Vector direction, up;
    joueur->GetOrientation(FrameMonde, direction, up);
    gPlayerpositionx = at.x;
    gPlayerpositiony = at.y;
    gPlayerpositionz = at.z;
    gPlayerori1x = direction.x;
    gPlayerori1y = direction.y;
    gPlayerori1z = direction.z;
    if (!DSound) return;
    SetWorldPosition(Armeson3D, flash);
    SetWorldPosition(SonCourant3D, joueur);
    SetWorldPosition(Sons[kHit].buffer3D, joueur);
    if (indice == IndiceLocal) PutListenerAt(vue ? chasse : cam);
}

void player::JoueSon(int32_t id, int32_t looop) {
    idson = id;
    if (!DSound) return;
    if (id < 0 || static_cast<size_t>(id) >= Sons.size())
        throw Failure(failure_number::SubscriptOutOfRange, "No player sound " + std::to_string(id));
    son::Stop(SonCourant);
    SonCourant = Sons[size_t(id)].buffer;
    SonCourant3D = Sons[size_t(id)].buffer3D;
    son::Play(SonCourant, looop);
}
