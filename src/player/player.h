#pragma once

// One participant of a game, local or remote. The game keeps its players in
// Joueurs, by slot; every machine runs this class for every player. A new
// object holds zeros, false, empty texts and no objects, which is what an
// empty slot reads as.
//
// What callers get:
//  - Initplayer builds the player from the members set before it (indice,
//    id, nom, IdModele, MDLid, IdArme, texture; for the local player also the
//    settings and keys): its frames under FrameJoueurs, its copy of the body
//    model and of the held weapon, its sounds and decal pictures. The local
//    player is put at a spawn point. Every player starts hidden (root
//    traversal 0) until a state message shows it. The first failing step
//    ends it and passes the failure on; what was done stays.
//  - Destroy releases the player's frames (the camera and wall probe too)
//    and stops its current sound, each step tried on its own; afterwards the
//    slot reads as free (no root frame `joueur`).
//  - Avance, each frame for every player: steps the blood and muzzle-flash
//    decals; the local player then places its hit boxes and sends its state
//    to every machine; a remote player is shown from the members its last
//    state message set (pose, weapon, animation, sounds). Values from
//    another machine that would index outside a list, or poison a frame,
//    change nothing; other failures pass to the caller.
//  - PositionneBoite, each frame: hit boxes, network pose and deferred 3D
//    sound positions (the main loop commits them).
//  - The frames of one player, positions relative to `joueur` in its scaled
//    coordinates (the root is scaled by EchelleJoueur):
//      joueur   under FrameJoueurs       base, Peau (0, 12, 0), then (0, 6, 0)
//      Frmsang  under joueur (blood)     axe under joueur, axe2 under axe
//      chasse   under axe2 (0, 50, -80)  devant under axe2 (0, 30, 0)
//      cam      under FrameMonde (0, 10, 80)
//      Fleche   under FrameMurs (wall probe)
//      MDroite, tete inside the model instance; flash inside the weapon copy
//    Traversal: MDroite, tete, Peau and Frmsang drawn only; base picked only
//    (drawn too with ModeBox); the root 0 until shown.

#include "core/shared_state.h"
#include "platform/rm/frame.h"
#include "platform/rm/pick.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace rm {
class Texture;
}
namespace sound {
class Buffer;
class Buffer3D;
}  // namespace sound
class PlayerTestAccess;

// The spawn's random numbers, in [0, 1). Empty: a generator seeded from the
// nanosecond clock at each spawn, so machines spawning in the same second
// still pick different points.
inline std::function<double()> SpawnRandom = Initial(&SpawnRandom, {});

class player {
public:
    double mousesens = 0;  // mouse-look sensitivity, 1.0 to 2.0
    int32_t inverse = 0;   // vertical mouse-look factor: 1, or -1 inverted
    bool rendu = false;    // full skinned animation this frame
    bool echelle = false;  // standing at a ladder
    std::string texture;   // skin bitmap below "models\"
    int32_t NbBastos = 0;  // shots left in the magazine
    bool SourisBloque = false;
    std::string baisser;  // "" standing, "crouch_" crouching
    bool pret = false;    // may respawn
    std::shared_ptr<sound::Buffer> Armeson;
    std::shared_ptr<sound::Buffer3D> Armeson3D;
    int32_t posavant = 0;  // last team spawn slot used
    rm::FramePtr Peau;
    rm::FramePtr Frmsang;
    int32_t IdModele = 0;  // team: 0 terrorists, else GIGN; also the body mesh worn
    int32_t MDLid = 0;     // body model in PlayerModels
    int32_t Anipos = 0;    // legs animation set
    int32_t AniBuste = 0;  // torso animation set, -1 none
    rm::FramePtr Fleche;
    rm::FramePtr base;
    rm::FramePtr axe2;
    rm::FramePtr axe;
    double pivot = 0;    // pitch and spine tilt, radians
    int32_t IdArme = 0;  // held weapon in WeaponModels
    std::string action;  // "aim", "shoot" or "reload"
    std::string ani_pos_lib;
    std::string ani_lib;
    rm::FramePtr MDroite;
    int32_t colonne = 0;  // torso twist, degrees
    double fps = 0;       // legs clock
    double fps2 = 0;      // torso clock
    int32_t IdSkm = 0;
    rm::FramePtr tete;
    rm::FramePtr flash;
    bool Fire = false;
    int32_t indice = 0;  // own slot in Joueurs
    int32_t id = 0;      // session player id
    rm::FramePtr joueur;
    std::string nom;
    rm::FramePtr cam;
    rm::FramePtr chasse;  // aim frame: origin and direction of every shot
    rm::FramePtr devant;
    double ratio = 0;  // speed ratio of the last frame
    bool bloque = false;
    bool mort = false;
    int32_t idson = 0;   // current sound, 0 to 4
    int32_t idson2 = 0;  // weapon sound event of this frame: 1 shot, 4 reload
    int32_t idson3 = 0;  // 1: hit sound this frame
    bool vue = false;    // first-person view
    double vitesse = 0;
    double XX = 0;
    double ZZ = 0;
    int32_t K_up = 0;
    int32_t k_down = 0;
    int32_t k_right = 0;
    int32_t k_left = 0;
    int32_t k_Tir = 0;
    int32_t k_V1 = 0;
    int32_t k_V2 = 0;
    int32_t k_Arme = 0;
    int32_t k_Arme2 = 0;
    int32_t k_strafe = 0;
    int32_t k_baisser = 0;
    bool Souris = false;
    double gPlayerpositionx = 0;
    double gPlayerpositiony = 0;
    double gPlayerpositionz = 0;
    int32_t gPlayerArme = 0;
    double gPlayerori1x = 0;
    double gPlayerori1y = 0;
    double gPlayerori1z = 0;
    int32_t tueur = 0;
    int32_t tue = 0;
    int32_t snipper = 0;
    int32_t snipped = 0;
    int32_t force = 0;

    // Ground following of `qui`: a floor within SeuilSol below sets it on the
    // floor (or lowers it by 1 when it stands more than half a unit above)
    // and gives true; no floor, or one too far, leaves it and gives false.
    bool lance_une_RAY(const rm::FramePtr& qui);
    void Initplayer();
    // Makes `dest` a copy of the frame tree `Source`, sharing its visuals.
    // Into the hand, it also cuts NbBastos down to the weapon's magazine.
    void ColleArme(const rm::FramePtr& Source, const rm::FramePtr& dest);
    // Places `chasse` on `tete` and `devant` on `chasse` for the way the
    // held weapon is gripped (its type); an unknown type moves neither.
    void PlaceArme();
    // The idle, respectively running, legs set with its looping sound; only
    // a change of set restarts the clock and the sound.
    void Attend();
    void Court();
    void Destroy();
    void Avance();
    void PositionneBoite();
    // Makes sound `id` (0 to 4) the current one and plays it with flags
    // `looop`, from where the buffer stands; without sound only records it.
    void JoueSon(int32_t id, int32_t looop);
    // Puts the local player's root at a spawn point of the level.
    void PlaceJoueur();

    // The local player's control, once a frame from Avance: keyboard, mouse
    // and cursor; turning, firing, weapon, view and scope; the movement
    // against the world; the aim and the camera. Device failures, and a key
    // member outside 0 to 255, pass to the caller with what was done kept.
    void scrute_clavier();
    // Wall probe from `qui` along its facing times `signe`, which also tests
    // for a ladder ahead of the player: blocks the world x (XX) or z (ZZ)
    // axis when the nearest wall ahead lies within 3 units on it. Returns
    // false.
    bool Collisions(const rm::FramePtr& qui, int32_t signe);
    // Sets `echelle` when a ladder lies ahead of `qui` within 3 units
    // across, at its height or 5 below or above. Returns false.
    bool CollisionsEchelles(const rm::FramePtr& qui, int32_t signe);
    // On "couloirs": shows the corridor copies that can be seen from the
    // position of `qui` and lets only the ones near it stop the player.
    void AfficheSecteur(const rm::FramePtr& qui);
    // The local player's body animation of one frame: both clocks advance
    // by ratio x 20 / 30; the legs loop (the death pose holds at its end
    // and makes the player ready to respawn); a torso set that has run out
    // goes back to aiming, or runs again while the trigger is held; an
    // empty magazine outside a shot reloads. Then the model is posed.
    void animation();
    // Fires one shot when the weapon is ready: not while the shoot set of
    // the last shot runs, and for the cycling shotgun (weapon 12) not while
    // its fire sound is early in its play. A weapon copy without a flash
    // frame is a Failure; other failures pass to the caller.
    void tir();
    // The bullet: a ray from `qui` along its direction through the players'
    // frames only (walls never stop it). The first box it meets, when it is
    // another player's, is reported to that player's machine.
    void lance_une_Bastos(const rm::FramePtr& qui);
    // A hit of damage code `balle` (kHeadHit: the head, which kills) from
    // the player in slot `tireur`, at world point (x, y, z): the hit sound,
    // the blood there (a point that is not a number leaves it where it
    // was), the damage; a death tells the shooter and everyone. A dead
    // player takes nothing.
    void Toucher(int32_t balle, int32_t tireur, float x, float y, float z);
    // Death: the chat box sent and closed, the scope off, the death pose,
    // the death counted and the rank recomputed.
    void Meurt();

private:
    friend class PlayerTestAccess;

    struct Son {
        std::shared_ptr<sound::Buffer> buffer;
        std::shared_ptr<sound::Buffer3D> buffer3D;
    };

    void MakeFrames();
    void WearModels();
    void LoadSounds();
    void LoadDecalPictures();
    void MakeAimAndCamera();
    void LoadFireSound();
    void StepDecals();
    void EnvoieEtat();
    void ShowRemote();
    void PlaceRemote();
    void ChangeRemoteWeapon();
    void HoldWeapon();

    struct Control;  // one frame's input and working values
    void ReadDevices(Control& c);
    void AdjustSensitivity(const Control& c);
    void Respawn();
    void MouseLook(Control& c);
    void TurnAndPitch(Control& c);
    void Trigger(const Control& c);
    void RecentreCursor(const Control& c);
    void ChangeWeapon(const Control& c);
    void SwitchView(const Control& c);
    void Scope(const Control& c);
    void PitchLock(const Control& c);
    void MovementKeys(Control& c);
    void TurnForStrafe(const Control& c);
    void MovementStep(Control& c);
    void ChaseFactor(Control& c);
    void PlaceAimAndCamera(const Control& c);
    void PlaceChaseCamera(const Control& c);
    void RememberKeys(const Control& c);
    bool LadderAhead(rm::Vector from, const rm::Vector& direction);
    void PlayRemoteSounds();
    void EndTorsoSet();
    void Reload();
    bool ShotgunCycling() const;
    void EnvoieTouche(int32_t slot, const std::string& boxName, const rm::PickRecord& hit);
    void ShowBlood(float x, float y, float z);
    void TakeDamage(int32_t balle);
    void EnvoieMort(int32_t tireur, int32_t balle);

    std::array<std::shared_ptr<rm::Texture>, 11> TexSang;  // blood decals 1 to 9
    std::array<std::shared_ptr<rm::Texture>, 5> TexFlash;  // muzzle-flash decals 1 and 2
    std::array<Son, 5> Sons;                               // 0 footsteps, 1 heartbeat, 2 hit, 3 death, 4 reload
    std::shared_ptr<sound::Buffer> SonCourant;
    std::shared_ptr<sound::Buffer3D> SonCourant3D;
    double savedPitch_ = 0;      // pivot held while the pitch is locked
    rm::PickArray groundPicks_;  // the ground ray's hits, storage kept between frames
    rm::PickArray wallPicks_;    // the wall probe's, likewise
    rm::PickArray ladderPicks_;  // the ladder test's, likewise
    rm::PickArray shotPicks_;    // the last bullet's hits, likewise
};

// Joueurs(IndiceLocal): the local player; a Failure while there is none.
player& JoueurLocal();
