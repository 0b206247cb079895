#include "core/frames.h"
#include "core/game_sound_buffers.h"
#include "core/game_state.h"
#include "core/game_window.h"
#include "core/object_ref.h"
#include "core/rank.h"
#include "models/mdl.h"
#include "multiplayer/messages.h"
#include "platform/rm/texture.h"
#include "platform/rm/viewport.h"
#include "player/held_models.h"
#include "player/player.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace {

constexpr int32_t kHitSound = 2;
constexpr int32_t kDeathSound = 3;
constexpr int32_t kHitEvent = 1;  // idson3: the state message carries the hit sound
constexpr int32_t kFirstBloodStep = 1;
constexpr int32_t kNoTorsoSet = -1;
constexpr int kEnter = 13;
constexpr float kNoScope = 1;

// Info sounds of the kill notices (core/game_sound.h).
constexpr int32_t kSoundKilled = 3;
constexpr int32_t kSoundHeadShot = 4;

// The player in slot `slot`, or none when the slot holds no player in the
// game (no root frame), so that nothing goes to the id 0 of an empty slot:
// that id means every player.
const player* PlayerIn(int32_t slot) {
    if (slot < 0 || static_cast<size_t>(slot) >= Joueurs.size()) return nullptr;
    const auto& p = Joueurs.Peek(size_t(slot));
    return p && p->joueur ? p.get() : nullptr;
}

}  // namespace

// The sound and the blood come before the damage, so a failure in the
// damage step leaves them shown.
void player::Toucher(int32_t balle, int32_t tireur, float x, float y, float z) {
    if (mort) return;
    idson3 = kHitEvent;
    if (DSound) son::PlayFromStart(Sons[kHitSound].buffer);
    ShowBlood(x, y, z);
    TakeDamage(balle);
    if (force >= 1) return;
    Meurt();
    EnvoieMort(tireur, balle);
}

// The point comes from another machine: one that is not a number leaves
// the decal where it was, since this machine's state would send it on to
// everyone.
void player::ShowBlood(float x, float y, float z) {
    rm::Frame& blood = Ref(Frmsang);
    if (blood.GetVisualCount() > 0) blood.DeleteVisual(rm::VisualPtr(blood.GetVisual(0)));
    blood.AddVisual(TexSang[kFirstBloodStep]);
    blood.SetAppData(kFirstBloodStep);
    if (std::isfinite(x) && std::isfinite(y) && std::isfinite(z)) blood.SetPosition(FrameMonde, x, y, z);
}

// Any damage another machine sends is taken without overflow; health may
// go below 0.
void player::TakeDamage(int32_t balle) {
    if (balle < 0) {
        force = 0;
        snipped += 1;
        return;
    }
    force = static_cast<int32_t>(std::max<int64_t>(int64_t{force} - balle, std::numeric_limits<int32_t>::min()));
}

void player::Meurt() {
    int enter = kEnter;
    GameWindow().Text1_KeyPress(enter);
    mort = true;
    // Without a view there is no scope to turn off; the death still counts.
    if (const auto& view = Vues.at(size_t(VueCourante))) view->SetFront(kNoScope);
    rm::Frame& sight = Ref(devant);
    DeleteVisuals(sight);
    TexViseurCourant = TexViseur;
    if (vue) sight.AddVisual(TexViseurCourant);
    tue += 1;
    JoueSon(kDeathSound, 0);
    AniBuste = kNoTorsoSet;
    ani_pos_lib = "death1";
    fps = 0;
    Anipos = PlayerModel(0).RenvAnimations(ani_pos_lib);
    pret = false;
    CalculeRang();
}

// A shooter slot without a player gets no kill message; the death is
// still told to everyone.
void player::EnvoieMort(int32_t tireur, int32_t balle) {
    const bool head = balle < 0;
    const player* shooter = PlayerIn(tireur);
    if (shooter) {
        skip([&] {
            const auto message = NewMessage();
            WriteKillMessage(*message, head);
            SendUnguaranteed(shooter->id, message);
        });
    }
    const std::string name = shooter ? shooter->nom : std::string();
    const std::string text = "This FUCKING " + name + (head ? " SNIPPE ME in the HEAD !!!" : " kill ME !!!");
    EnvoiTexte(text, MSG_TEXT);
    skip([&] { GameWindow().AfficheMessage2(text, head ? kSoundHeadShot : kSoundKilled); });
}
