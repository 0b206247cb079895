#include "core/game_state.h"

#include "core/shared_state.h"

void ResetGameState() { shared_state::RestoreAll(); }
