#pragma once

// The lists that the session layer hands out. Items count from 1; an index
// outside 1..GetCount fails.

#include "platform/play/address.h"
#include "platform/play/session.h"
#include "platform/play/session_data.h"

#include <memory>
#include <string>
#include <vector>

namespace play {

class DirectPlayEnumConnections {
public:
    int32_t GetCount() const { return 1; }
    // The one connection: UDP/IP, hosting here or finding sessions on the
    // local network.
    std::string GetName(int32_t index) const;
    std::shared_ptr<DirectPlayAddress> GetAddress(int32_t index) const;
};

class DirectPlayEnumSessions {
public:
    explicit DirectPlayEnumSessions(std::vector<std::shared_ptr<DirectPlaySessionData>> items)
        : items_(std::move(items)) {}
    int32_t GetCount() const { return static_cast<int32_t>(items_.size()); }
    std::shared_ptr<DirectPlaySessionData> GetItem(int32_t index) const;

private:
    std::vector<std::shared_ptr<DirectPlaySessionData>> items_;
};

class DirectPlayEnumPlayers {
public:
    explicit DirectPlayEnumPlayers(std::vector<PlayerEntry> players) : players_(std::move(players)) {}
    int32_t GetCount() const { return static_cast<int32_t>(players_.size()); }
    int32_t GetDPID(int32_t index) const { return At(index).id; }
    std::string GetShortName(int32_t index) const { return At(index).friendlyName; }
    std::string GetLongName(int32_t index) const { return At(index).formalName; }

private:
    const PlayerEntry& At(int32_t index) const;
    std::vector<PlayerEntry> players_;
};

}  // namespace play
