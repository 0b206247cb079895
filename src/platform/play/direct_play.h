#pragma once

// Peer-to-peer game sessions over UDP (ENet): connections, sessions, players
// and messages, for machines that all run the same program. One machine is
// the session's host; when it leaves, another takes over (session.h tells
// how, wire.h what goes on the wire, message.h how fields are encoded).
//
// What callers get:
//  - One connection (UDP/IP). Initialise it once per object with an address
//    from the connection list or from DirectPlayLobby::CreateINetAddress.
//  - GetDPEnumSessions asks the address's host (or, for an empty host, this
//    machine and the local network) for sessions of the description's
//    application and waits up to the time-out (0: 500 ms); flag 1 keeps only
//    sessions that are not full. Open(data, 2) creates a session hosted here
//    on the address's port; Open(item, 1) joins a found one and fails when
//    it is full, refuses the password or is gone.
//  - Players have 32-bit ids, positive, unique in the session and never
//    reused, handed out by the host only; GetDPEnumPlayers lists them in
//    join order, the same on every machine. One machine may create at most
//    64 players over its time in the session. Names stay readable for a departed player until its destroy
//    message has been received.
//  - Send from a local player to one player or 0 (all others; the sender
//    never gets its own), flags 0 unguaranteed or 1 guaranteed (arrives
//    once, in order). The receiver takes the sender's id from the link it
//    came on, so a machine can send only as its own players.
//  - One receive queue per local player, in arrival order. System messages
//    come from sender 0: Long 3 created or 5 destroyed, then Long player type
//    (1) and Long id, on every machine but the owner's; Long 0x101 on the
//    machine that becomes host, after the destroy messages of the old host's
//    players. Receive flag 1 takes the oldest message of any local player.
//    A queue keeps at most 1024 unguaranteed messages (the oldest give way);
//    guaranteed and system messages are never dropped, but they may hold at
//    most 8 MiB of a queue: a machine whose message would go beyond that is
//    dropped from the session, as one that stopped answering.
//  - The network runs on a thread of the session's own; sends never block.
//  - Port 0 in an address is the default port, which QUELLMAR_PLAY_PORT
//    overrides (network.h).
//
// Failure numbers are in errors.h.

#include "platform/play/address.h"
#include "platform/play/enumerations.h"
#include "platform/play/message.h"
#include "platform/play/session_data.h"

#include <cstdint>
#include <memory>
#include <string>

namespace play {

class Session;

inline constexpr int32_t OpenJoin = 1;
inline constexpr int32_t OpenCreate = 2;
inline constexpr int32_t EnumSessionsAvailable = 1;
inline constexpr int32_t SendGuaranteed = 1;
inline constexpr int32_t ReceiveAll = 1;

class DirectPlay {
public:
    DirectPlay();
    ~DirectPlay();
    DirectPlay(const DirectPlay&) = delete;
    DirectPlay& operator=(const DirectPlay&) = delete;

    std::shared_ptr<DirectPlayEnumConnections> GetDPEnumConnections(const std::string& guid, int32_t flags);
    // A second call on the same object fails with 0x88770005.
    void InitializeConnection(const std::shared_ptr<DirectPlayAddress>& address);

    std::shared_ptr<DirectPlayEnumSessions> GetDPEnumSessions(const std::shared_ptr<DirectPlaySessionData>& data,
                                                              int32_t timeoutMs, int32_t flags);
    std::shared_ptr<DirectPlaySessionData> CreateSessionData();
    void GetSessionDesc(const std::shared_ptr<DirectPlaySessionData>& data);
    // Only the host may change the description (elsewhere 0x8877000A); a
    // description equal to the session's current one (its instance aside)
    // is accepted on every member and sends nothing.
    void SetSessionDesc(const std::shared_ptr<DirectPlaySessionData>& data);
    void Open(const std::shared_ptr<DirectPlaySessionData>& data, int32_t flags);
    // Leaves the session, if any; the connection stays initialised.
    void Close();

    int32_t CreatePlayer(const std::string& friendlyName, const std::string& formalName, int32_t receiveEvent,
                         int32_t flags);
    void DestroyPlayer(int32_t id);
    std::shared_ptr<DirectPlayEnumPlayers> GetDPEnumPlayers(const std::string& sessionKey, int32_t flags);
    std::string GetPlayerFriendlyName(int32_t id);
    // The same into `name`, reusing its storage: for callers that ask for
    // every message they receive.
    void GetPlayerFriendlyName(int32_t id, std::string& name);
    std::string GetPlayerFormalName(int32_t id);

    int32_t GetMessageCount(int32_t id);
    std::shared_ptr<DirectPlayMessage> Receive(int32_t& from, int32_t& to, int32_t flags);
    std::shared_ptr<DirectPlayMessage> CreateMessage();
    void Send(int32_t from, int32_t to, int32_t flags, const std::shared_ptr<DirectPlayMessage>& message);

private:
    Session& InSession(int32_t failureNumber) const;

    std::shared_ptr<DirectPlayAddress> address_;
    std::unique_ptr<Session> session_;
};

// The root object forwards to this; the only provider is the empty key.
std::shared_ptr<DirectPlay> DirectPlayCreate(const std::string& providerKey);

}  // namespace play
