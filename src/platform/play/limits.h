#pragma once

#include <cstddef>

namespace play {

// Caps on what a message may hold and what a datagram may claim. A writer
// that would go beyond them fails; a datagram that claims more is dropped.
inline constexpr size_t MaxMessageSize = 4096;   // bytes of one application message
inline constexpr size_t MaxStringLength = 1024;  // bytes of one string field or name
inline constexpr int MinSessionPlayers = 2;
inline constexpr int MaxSessionPlayers = 8;

}  // namespace play
