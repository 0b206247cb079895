#pragma once

#include <string>

namespace gen {

// media/: the two built-in levels, their textures and the logo bitmaps.
//
// "couloirs": a hall 70 wide (x 0 to 69.9762) running from z 14 down to a
// flight of stairs at z -150 that climbs 9 units to a landing. The game
// shows a second copy turned half a turn about y at (69.9762, 0, -399.9594),
// whose landing meets this one at z -199.98: everything is laid out so the
// two copies join. The floor is at y -5.5, 2.5 below the spawn height -3;
// the steps rise 0.9, which a crouching player can still climb.
//
// "entrepot": a warehouse whose ground floor lies at y -27 and whose two
// galleries (z beyond 50 and before -50) lie at y 2, joined by two ramps;
// the roof is at y 24, above the lamp. Its three files hold a frame whose
// first child the game scales by 0.1, so they are written ten times larger.
void WriteLevels(const std::string& media);

}  // namespace gen
