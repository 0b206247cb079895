#pragma once

// The multiplayer side of the shared game state: the session objects beside
// `DPlay` (core/game_state.h), who hosts, the session's name and the names the
// local player goes by in it. Declared with `Initial`, so the reset for tests
// covers them.

#include "core/shared_state.h"

#include <cstdint>
#include <memory>
#include <string>

namespace play {
class DirectPlayEnumConnections;
class DirectPlayEnumSessions;
class DirectPlayLobby;
class DirectPlayAddress;
}  // namespace play

// Every session this program creates carries this key, and every search asks
// for it only.
inline constexpr char AppGuid[] = "{AC330441-9B71-11D2-9AAB-0020781461AC}";

// The session objects: the machine's connections, the last session search,
// and the lobby object with the address it built for a TCP/IP connection.
inline std::shared_ptr<play::DirectPlayEnumConnections> DPEnumConnections = Initial(&DPEnumConnections, {});
inline std::shared_ptr<play::DirectPlayEnumSessions> DPEnumSessions = Initial(&DPEnumSessions, {});
inline std::shared_ptr<play::DirectPlayLobby> DPLobby = Initial(&DPLobby, {});
inline std::shared_ptr<play::DirectPlayAddress> DPAddress = Initial(&DPAddress, {});

// The host's player id, and whether this machine is the host.
inline int32_t HostPlayerId = Initial(&HostPlayerId, 0);
inline bool IsHost = Initial(&IsHost, false);

// The game's name and its map as listed: "Quellmar game (ENTREPOT)".
inline std::string SessionName = Initial(&SessionName, {});

// The local player's names in the session: the nickname, and the side digit
// followed by the skin code (player/formal_name.h).
inline std::string FriendlyName = Initial(&FriendlyName, {});
inline std::string FormalName = Initial(&FormalName, {});

// The lobby's and the receiver's counters: a cursor into `IdsJoueurs`, and the
// waiting room's player count at its last refresh.
inline int16_t RosterPos = Initial(&RosterPos, 0);
inline uint8_t LobbyPlayerCount = Initial(&LobbyPlayerCount, 0);
