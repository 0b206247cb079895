#pragma once

// The receiver's state messages (multiplayer/receiver.h): another machine's
// player, as its latest state message shows it.

#include <cstdint>

namespace play {
class DirectPlayMessage;
}

// Applies the state message of player `from`, read from its second field on,
// to each slot in use that holds that player in the game. Every field is read
// and checked before any is applied: a message that fails to read, or whose
// values this machine cannot use (StateValuesUsable), changes nothing, and so
// does one whose sender holds no slot here. The first state of a player
// announces it on the first info line. Allocates nothing after that line.
void ReceiveState(int32_t from, play::DirectPlayMessage& message);
