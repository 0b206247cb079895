#pragma once

// The game's messages between machines. Each is a session message whose
// fields are written one after the other; the first is a Long, the message
// type below. What callers get:
//  - the type numbers, which every sender writes and the receiver
//    (multiplayer/receiver.h) dispatches on;
//  - EnvoiTexte, the sender of chat lines and kill notices;
//  - one writer for each message the game sends, and one reader for each
//    that carries fields, so that senders and receiver cannot drift apart:
//      start: Byte n, n x Long player id, Long host id, String session name,
//             String map name;
//      state: 7 x Double, 10 x Long, 3 x Double, 2 x Long (StateMessage, in order);
//      hit:   3 x Double, Long damage (HitMessage);
//      kill and head-shot kill: the type alone;
//      chat line and kill notice: String text.
//  - NewMessage and SendUnguaranteed, the two calls every game sender makes.

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

// A new, empty message of the session (`DPlay`); a Failure without one.
std::shared_ptr<play::DirectPlayMessage> NewMessage();
// Sends `message` from `IdLocalDP` to the player `to` (0: every other
// player), not guaranteed. Failures pass to the caller.
void SendUnguaranteed(int32_t to, const std::shared_ptr<play::DirectPlayMessage>& message);

// Sends `text` as a message of type `code` (MSG_CHAT or MSG_TEXT) to every
// other player, not guaranteed. A chat line is worth no more than that: a
// failure is dropped and the caller hears nothing of it. A text the message
// cannot hold (over the layer's string cap) is not sent at all: a message
// with its type alone would fail on every receiver.
void EnvoiTexte(const std::string& text, int32_t code);

// Writes the type `code` (MSG_CHAT or MSG_TEXT) and `text`. A Failure when
// the text is over the string cap; the message then holds the type alone
// and must not be sent.
void WriteTextMessage(play::DirectPlayMessage& message, int32_t code, const std::string& text);

// Writes the type of a kill: MSG_HEADKILL for a head hit, else MSG_KILL.
void WriteKillMessage(play::DirectPlayMessage& message, bool headHit);

// The damage code of a hit on the head: it kills from any health.
inline constexpr int32_t kHeadHit = -1;

// A hit on the addressee's player, as the shooter's machine saw it.
struct HitMessage {
    std::array<double, 3> point{};  // world position where the shot met the player
    int32_t damage = 0;             // kHeadHit, or the shooter's weapon damage
};

// Writes the type MSG_HIT and then the fields of `hit`.
void WriteHitMessage(play::DirectPlayMessage& message, const HitMessage& hit);

// Reads a hit message from its second field on into `hit`. False, with
// `hit` as it was, when a field is missing or the message holds more than
// the hit's fields.
bool ReadHitMessage(play::DirectPlayMessage& message, HitMessage& hit);

// A coordinate another machine sent, in the single precision the 3D layer
// takes; NaN for one that is not a number or does not fit.
float SingleCoordinate(double value);

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

// A player's state as one machine sends it every frame, in wire order. The
// values are the sender's; nothing here vouches for them.
struct StateMessage {
    std::array<double, 3> position{};  // world position of the player's root
    std::array<double, 3> facing{};    // its world direction, a unit vector
    double pivot = 0;                  // spine tilt, radians
    int32_t colonne = 0;               // torso twist, degrees
    int32_t Anipos = 0;                // legs set
    int32_t AniBuste = 0;              // torso set, -1 none
    int32_t weapon = 0;                // held weapon index
    int32_t fps = 0;                   // legs clock, rounded
    int32_t fps2 = 0;                  // torso clock, rounded
    int32_t traversal = 0;             // 1 dead (drawn, not hit), 3 alive
    int32_t idson = 0;                 // current body sound
    int32_t idson2 = 0;                // weapon sound event: 1 shot, 4 reload, 0 none
    int32_t idson3 = 0;                // 1: hit sound event
    std::array<double, 3> blood{};     // world position of the blood decal
    int32_t bloodStep = 0;             // blood decal step
    int32_t flashStep = 0;             // muzzle-flash step

    bool operator==(const StateMessage&) const = default;
};

// Writes the type MSG_STATE and then every field of `state`.
void WriteStateMessage(play::DirectPlayMessage& message, const StateMessage& state);

// Reads a state message from its second field on into `state`. False, with
// `state` as it was, when a field is missing or the message holds more than
// the state's fields (another layout).
bool ReadStateMessage(play::DirectPlayMessage& message, StateMessage& state);

// Whether this machine can show a player with `state`: every double a
// finite number, and the coordinates (position, facing, blood) within single
// precision, which frames take; a facing that has a direction; the root's
// traversal of a dead (1) or living (3) player; the blood step 0 to 10 and
// the flash step 0 to 3, where their sequences run.
bool StateValuesUsable(const StateMessage& state);

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
// id, `SessionName` and `NomMap`. `roster`, when given, gets the count and
// the ids as written, so that the host starts from the roster it sent.
std::shared_ptr<play::DirectPlayMessage> BuildStartMessage(StartMessage* roster = nullptr);

// Reads a start message from its second field on. False, with `start` as it
// was, when a field is missing or of the wrong kind, or when it lists more
// than eight players.
bool ReadStartMessage(play::DirectPlayMessage& message, StartMessage& start);
