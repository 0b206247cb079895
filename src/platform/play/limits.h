#pragma once

#include <cstddef>
#include <cstdint>

namespace play {

// Caps on what a message may hold and what a datagram may claim. A writer
// that would go beyond them fails; a datagram that claims more is dropped.
inline constexpr size_t MaxMessageSize = 4096;   // bytes of one application message
inline constexpr size_t MaxStringLength = 1024;  // bytes of one string field or name
inline constexpr int MinSessionPlayers = 2;
inline constexpr int MaxSessionPlayers = 8;
// Player ids run from 1 to this; the rest of the 32-bit range stays unused,
// so that no id plus the skip a new host makes can overflow.
inline constexpr int32_t MaxPlayerId = 0x7FFF0000;

}  // namespace play
