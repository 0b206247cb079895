#pragma once

#include <cstdint>

namespace play {

// The port sessions are hosted and looked for on when an address says 0.
// The environment variable QUELLMAR_PLAY_PORT overrides it, so that tests
// and several copies of the program can run side by side.
inline constexpr uint16_t BuiltInDefaultPort = 47811;
uint16_t DefaultPort();

// ENet is set up once per process, before the first socket.
void EnsureEnet();

}  // namespace play
