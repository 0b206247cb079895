#pragma once

// The game's main loop: frames until QuitteJeu is set, then the end of the
// game and of the program.

#include "core/shared_state.h"

#include <cstdint>
#include <string>

// The slot of the other player whose model gets the full animation this
// frame; -1 when none.
inline int32_t JoueurRendu = Initial(&JoueurRendu, 0);
// This frame's players of each team, each name followed by ", ".
inline std::string RosterTerroristes = Initial(&RosterTerroristes, {});
inline std::string RosterGIGN = Initial(&RosterGIGN, {});

// Runs the game; never returns. Until the first frames-per-second sample a
// failure leaves the loop and passes to the caller (the game start ends the
// program with it); from then on every failing statement is skipped.
[[noreturn]] void BoucleJeu();

// Marks the chosen other player and the local player for full animation
// this frame; each mark is skipped when it fails.
void MarqueRendu();

// The rotation of JoueurRendu through one frame's pass over the slots: the
// first slot above the current choice that holds another player's frame
// becomes the choice; after the marking, a pass that found none sets -1, so
// the next pass starts again from the lowest slot.
class ChoixJoueurRendu {
public:
    // Slot `slot` holds a player with a frame.
    void Considere(int32_t slot, int32_t indiceLocal);
    // Called after the chosen players are marked.
    void Termine();

private:
    bool found_ = false;
};

// One frame's present: windowed, the device shows its picture; full screen,
// the back buffer is blitted to the primary surface, above the chat box's top
// edge while the chat box is open.
void PresenteImage();
