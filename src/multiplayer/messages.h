#pragma once

// The game's messages between machines. Each is a session message whose
// fields are written one after the other; the first is a Long, the message
// type below. What callers get:
//  - the type numbers, which every sender writes and the receiver
//    (multiplayer/receiver.h) dispatches on;
//  - EnvoiTexte, the sender of chat lines and kill notices;
//  - the start message, with one writer and one reader of its layout:
//      Byte n, n x Long player id, Long host id, String session name,
//      String map name.

#include "platform/failure.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace play {
class DirectPlayMessage;
}

inline constexpr int32_t MSG_START = 0;      // the roster and names a game starts with; guaranteed
inline constexpr int32_t MSG_STATE = 1;      // a player's whole state, every frame
inline constexpr int32_t MSG_NEXT = 4;       // no fields; nothing sends it
inline constexpr int32_t MSG_CHAT = 5;       // String text
inline constexpr int32_t MSG_7 = 7;          // per-slot records; nothing sends it
inline constexpr int32_t MSG_HOST = 8;       // Long the new host's id; guaranteed
inline constexpr int32_t MSG_HIT = 9;        // Double x, y, z of the impact, Long damage (-1 a head hit)
inline constexpr int32_t MSG_KILL = 10;      // no fields: the addressee killed the sender
inline constexpr int32_t MSG_TEXT = 11;      // String text, a kill notice
inline constexpr int32_t MSG_HEADKILL = 12;  // no fields: a head-shot kill

// Sends `text` as a message of type `code` (MSG_CHAT or MSG_TEXT) to every
// other player, not guaranteed. A chat line is worth no more than that: any
// failing step is skipped and the caller hears nothing of it.
void EnvoiTexte(const std::string& text, int32_t code);

// Runs `read`, which reads a message's fields into a record of its own, and
// tells whether every field was there and of its kind. A message that fails
// to read is the sender's fault: the caller drops it whole and goes on.
template <class Read>
bool ReadFields(Read&& read) {
    try {
        read();
        return true;
    } catch (const Failure&) {
        return false;
    }
}

// A start message's fields after its type, as read.
struct StartMessage {
    static constexpr size_t kMostPlayers = 8;
    uint8_t count = 0;
    std::array<int32_t, kMostPlayers> ids{};  // the players' ids, in the session's join order
    int32_t hostId = 0;
    std::string sessionName;
    std::string mapName;
};

// A start message from this machine: the session description read and
// written back unchanged (either failure passes to the caller and nothing is
// built), then the session's players in join order, `IdLocalDP` as the host
// id, `SessionName` and `NomMap`.
std::shared_ptr<play::DirectPlayMessage> BuildStartMessage();

// Reads a start message from its second field on. False, with `start` as it
// was, when a field is missing or of the wrong kind, or when it lists more
// than eight players.
bool ReadStartMessage(play::DirectPlayMessage& message, StartMessage& start);
