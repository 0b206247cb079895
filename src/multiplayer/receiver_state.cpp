#include "multiplayer/receiver_state.h"

#include "core/game_state.h"
#include "core/game_window.h"
#include "core/trace.h"
#include "multiplayer/messages.h"
#include "platform/rm/frame.h"
#include "player/player.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <string>

namespace {

constexpr int32_t kSoundAnnounce = 0;  // info sound of arrivals
constexpr auto kTraceInterval = std::chrono::seconds(1);

// When each slot's position was last traced.
std::array<std::chrono::steady_clock::time_point, decltype(Joueurs)::size()> positionTraced;

// A player of the game here: its root and the decal frames a state places.
bool CanShow(const player& p) { return p.joueur && p.Frmsang && p.flash && FrameMonde; }

// A hidden root (traversal 0, as Initplayer leaves it) has had no state yet.
void AnnounceFirstState(const player& p) {
    if (p.joueur->GetTraversalOptions() != 0) return;
    GameWindow().AfficheMessage(
        "The " + std::string(p.IdModele == 0 ? "TERRORIST " : "GIGN ") + p.nom + " come in Game.", kSoundAnnounce);
}

void Apply(player& p, const StateMessage& state) {
    AnnounceFirstState(p);
    p.gPlayerpositionx = state.position[0];
    p.gPlayerpositiony = state.position[1];
    p.gPlayerpositionz = state.position[2];
    p.gPlayerori1x = state.facing[0];
    p.gPlayerori1y = state.facing[1];
    p.gPlayerori1z = state.facing[2];
    p.pivot = state.pivot;
    p.colonne = state.colonne;
    p.Anipos = state.Anipos;
    p.AniBuste = state.AniBuste;
    p.gPlayerArme = state.weapon;  // Avance changes the weapon held
    p.fps = state.fps;
    p.fps2 = state.fps2;
    p.joueur->SetTraversalOptions(state.traversal);
    p.idson = state.idson;
    p.idson2 = state.idson2;
    p.idson3 = state.idson3;
    p.Frmsang->SetPosition(FrameMonde, static_cast<float>(state.blood[0]), static_cast<float>(state.blood[1]),
                           static_cast<float>(state.blood[2]));
    p.Frmsang->SetAppData(state.bloodStep);
    p.flash->SetAppData(state.flashStep);
}

// Where this machine shows another player, in the diagnostic log: its first
// state, then at most once a second, so a test can see it move.
void TracePosition(int32_t slot, const player& p) {
    if (!trace::On()) return;
    const auto now = std::chrono::steady_clock::now();
    auto& traced = positionTraced.at(size_t(slot));
    if (now - traced < kTraceInterval) return;
    traced = now;
    Trace("player shown ", p.nom, " ", p.gPlayerpositionx, " ", p.gPlayerpositiony, " ", p.gPlayerpositionz);
}

}  // namespace

void ReceiveState(int32_t from, play::DirectPlayMessage& message) {
    StateMessage state;
    if (!ReadStateMessage(message, state) || !StateValuesUsable(state)) return;
    const int32_t used = std::min<int32_t>(NbJoueurs, int32_t(Joueurs.size()));
    for (int32_t i = 0; i < used; ++i) {
        const auto& p = Joueurs.Peek(size_t(i));
        if (!p || p->id != from || !CanShow(*p)) continue;
        Apply(*p, state);
        TracePosition(i, *p);
    }
}
