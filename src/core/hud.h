#pragma once

// The HUD: text lines drawn over each frame's presented picture, at x = 10.
// The short panel shows the frame rate, "F1 INFOS", the health and the two
// info lines; F1 switches to the long panel (AfficheInfos) with the keys,
// the scores, the ammunition, the rank and both team rosters.

#include <array>
#include <cstdint>
#include <string>

class player;

// What the main loop knows of the frame: its frames per second and the
// rosters of both teams (each name followed by ", ").
struct HudBoucle {
    float imagesParSeconde = 0;
    const std::string& rosterTerroristes;
    const std::string& rosterGign;
};

struct HudLigne {
    int32_t y = 0;
    std::string texte;
};

// The lines of one frame's HUD, top to bottom as drawn. Their texts keep
// their storage from frame to frame.
struct HudLignes {
    static constexpr int32_t Largest = 17;
    std::array<HudLigne, Largest> lignes;
    int32_t nombre = 0;
};

// This frame's HUD lines, from AfficheInfos, Message1, Message2 and
// WeaponPower, the loop's figures and those of the local player. The result
// lives until the next call.
const HudLignes& LignesHUD(const HudBoucle& boucle, const player& local);

// Draws this frame's HUD with the game window's AfficheTexte.
void AfficheHUD(const HudBoucle& boucle, const player& local);
