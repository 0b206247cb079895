#pragma once

// Lets the player tests and benchmarks reach a player's private state.

#include "core/game_state.h"
#include "player/control.h"
#include "player/player.h"

class PlayerTestAccess {
public:
    static auto& TexSang(player& p) { return p.TexSang; }
    static auto& TexFlash(player& p) { return p.TexFlash; }
    static std::shared_ptr<sound::Buffer>& Son(player& p, size_t i) { return p.Sons.at(i).buffer; }
    static std::shared_ptr<sound::Buffer3D>& Son3D(player& p, size_t i) { return p.Sons.at(i).buffer3D; }
    static std::shared_ptr<sound::Buffer>& SonCourant(player& p) { return p.SonCourant; }
    static std::shared_ptr<sound::Buffer3D>& SonCourant3D(player& p) { return p.SonCourant3D; }
    static void EnvoieEtat(player& p) { p.EnvoieEtat(); }
    // The movement step from where the player stands now.
    static void MovementStep(player& p) {
        player::Control c;
        c.start = p.joueur->GetPosition(FrameMonde);
        p.MovementStep(c);
    }
};
