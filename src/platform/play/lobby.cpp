#include "platform/play/lobby.h"

#include "platform/failure.h"
#include "platform/play/errors.h"

namespace play {

std::shared_ptr<DirectPlayAddress> DirectPlayLobby::CreateINetAddress(const std::string& ip, int32_t port) {
    if (port < 0 || port > 65535) throw Failure(error::InvalidParams, "port out of range");
    return std::make_shared<DirectPlayAddress>(ip, static_cast<uint16_t>(port));
}

std::shared_ptr<DirectPlayLobby> DirectPlayLobbyCreate() { return std::make_shared<DirectPlayLobby>(); }

}  // namespace play
