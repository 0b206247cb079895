#pragma once

#include "platform/play/address.h"

#include <cstdint>
#include <memory>
#include <string>

namespace play {

// Builds the addresses that a connection is initialised with.
class DirectPlayLobby {
public:
    // `ip` empty: this machine will host; otherwise the machine whose
    // sessions are looked for. `port` 0: the default port.
    std::shared_ptr<DirectPlayAddress> CreateINetAddress(const std::string& ip, int32_t port);
};

std::shared_ptr<DirectPlayLobby> DirectPlayLobbyCreate();

}  // namespace play
