#include "platform/play/enumerations.h"

#include "platform/failure.h"
#include "platform/play/errors.h"
#include "platform/play/network.h"

namespace play {
namespace {

void CheckIndex(int32_t index, size_t count) {
    if (index < 1 || static_cast<size_t>(index) > count)
        throw Failure(error::InvalidParams, "no such item in the list");
}

}  // namespace

uint16_t DirectPlayAddress::Port() const { return port_ != 0 ? port_ : DefaultPort(); }

std::string DirectPlayEnumConnections::GetName(int32_t index) const {
    CheckIndex(index, 1);
    return "UDP/IP connection (local network and Internet)";
}

std::shared_ptr<DirectPlayAddress> DirectPlayEnumConnections::GetAddress(int32_t index) const {
    CheckIndex(index, 1);
    return std::make_shared<DirectPlayAddress>(std::string(), 0);
}

std::shared_ptr<DirectPlaySessionData> DirectPlayEnumSessions::GetItem(int32_t index) const {
    CheckIndex(index, items_.size());
    return items_[static_cast<size_t>(index - 1)];
}

const PlayerEntry& DirectPlayEnumPlayers::At(int32_t index) const {
    CheckIndex(index, players_.size());
    return players_[static_cast<size_t>(index - 1)];
}

}  // namespace play
