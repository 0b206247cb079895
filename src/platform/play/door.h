#pragma once

// The session host's door: a plain UDP socket on the default port that
// answers requests to list sessions (the datagrams are in wire.h), and the
// asking side of it. A reply is never longer than its request.

#include "platform/play/wire.h"

#include <enet/enet.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace play {

struct FoundSession {
    wire::Description description;
    int currentPlayers = 0;
    uint32_t hostIpv4 = 0;
    uint16_t linkPort = 0;
};

// Asks `hostText` (empty: this machine and the local network by broadcast)
// for its sessions of `application` and gathers the answers for up to
// `timeoutMs`. A named host has one door, so its first answer ends the wait.
std::vector<FoundSession> FindSessions(const std::string& hostText, uint16_t port, const std::string& application,
                                       uint32_t timeoutMs);

class Door {
public:
    Door() = default;
    Door(const Door&) = delete;
    Door& operator=(const Door&) = delete;
    ~Door();

    // False when the port is taken.
    bool Open(uint16_t port);
    void Close();
    bool IsOpen() const { return socket_ != ENET_SOCKET_NULL; }
    int Fd() const { return static_cast<int>(socket_); }

    // Answers every waiting request with what `answer` gives (nothing: no answer).
    using Answer = std::function<std::optional<wire::EnumReply>(const wire::EnumRequest&)>;
    void Serve(const Answer& answer);

private:
    ENetSocket socket_ = ENET_SOCKET_NULL;
};

}  // namespace play
