#pragma once

#include "platform/play/wire.h"

#include <cstdint>
#include <string>

namespace play {

struct JoinTarget;

// A session's description: what the creator sets, what a search finds and
// what a join needs. GetCurrentPlayers is filled by searches and by
// GetSessionDesc.
class DirectPlaySessionData {
public:
    void SetGuidApplication(const std::string& guid) { description_.application = guid; }
    std::string GetGuidApplication() const { return description_.application; }
    void SetSessionName(const std::string& name) { description_.name = name; }
    std::string GetSessionName() const { return description_.name; }
    void SetMaxPlayers(int32_t count) { description_.maxPlayers = count; }
    int32_t GetMaxPlayers() const { return description_.maxPlayers; }
    void SetFlags(int32_t flags) { description_.flags = flags; }
    int32_t GetFlags() const { return description_.flags; }
    void SetSessionPassword(const std::string& password) { description_.password = password; }
    std::string GetSessionPassword() const { return description_.password; }
    int32_t GetCurrentPlayers() const { return currentPlayers_; }

    // The layer's own use.
    const wire::Description& Description() const { return description_; }
    void Fill(const wire::Description& description, int32_t currentPlayers) {
        description_ = description;
        currentPlayers_ = currentPlayers;
    }
    void SetHost(uint32_t ipv4, uint16_t linkPort) {
        hostIpv4_ = ipv4;
        linkPort_ = linkPort;
    }
    uint32_t HostIpv4() const { return hostIpv4_; }
    uint16_t LinkPort() const { return linkPort_; }

private:
    wire::Description description_;
    int32_t currentPlayers_ = 0;
    uint32_t hostIpv4_ = 0;
    uint16_t linkPort_ = 0;  // 0: not found by a search, so not joinable
};

}  // namespace play
