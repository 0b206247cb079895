#pragma once

// The program's side of a session: the one session object `DPlay` and its
// connection, a session created or joined with the local player in it, and
// the way out. What callers get:
//  - InitDirectPlay: a fresh `DPlay` and the machine's connection list; a
//    failure here ends the program after its message.
//  - ConnectLan / ConnectTcpIp: `DPlay` connected, on the launcher's chosen
//    connection or by TCP/IP to an address (a fresh object each time).
//    CloseConnection: ConnectTcpIp's first half, the old object closed and
//    released with its lobby object and address.
//  - CreateSession / JoinSession: the session opened and the local player
//    made in it from `FriendlyName` and `FormalName`; `IdLocalDP` is its id.
//    A failure throws SessionFailure with the layer's number and the step it
//    stopped at, and leaves no session open.
//  - LeaveSession and CloseDirectPlay: the local player gone from the
//    session, the objects released, the flags down; in web mode the host's
//    game taken off the web list; nothing fails.
// Shared state: multiplayer/session_state.h and `DPlay`, `IdLocalDP`,
// `PartieEnCours` of core/game_state.h.

#include "platform/failure.h"

#include <cstdint>
#include <memory>
#include <string>

namespace play {
class DirectPlaySessionData;
}

// The step a create or join stopped at: the lobby windows word their message
// by it ("Failed to join game." or "Failed to create player.").
enum class SessionStep { Open, LocalPlayer };

class SessionFailure : public Failure {
public:
    SessionFailure(SessionStep step, const Failure& failure) : Failure(failure), step_(step) {}
    SessionStep Step() const { return step_; }

private:
    SessionStep step_;
};

void InitDirectPlay();

// `listPosition` is the connection's place in the launcher's list, from 0.
// A second connection on the same object fails with 0x88770005.
void ConnectLan(int32_t listPosition);
// `address` empty: this machine will host; else the machine whose sessions
// are wanted. Closes any session of the old object first.
void ConnectTcpIp(const std::string& address);
void CloseConnection();

// Creates a session of `maxPlayers` (2 to 8) named `SessionName`, where the
// host role moves on when the host leaves; this machine is its host.
void CreateSession(int32_t maxPlayers);
// Joins `item`, one of `DPEnumSessions`; `HostPlayerId` and `IsHost` stay.
void JoinSession(const std::shared_ptr<play::DirectPlaySessionData>& item);

// The local player leaves, the session closes, and CloseDirectPlay.
void LeaveSession();
void CloseDirectPlay();
