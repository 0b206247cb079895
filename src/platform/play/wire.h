#pragma once

// What the session layer's machines say to each other, and its byte encoding.
//
// Two kinds of datagram exist:
//  - Door datagrams: plain UDP to and from the session host's door port (the
//    default port), used to find sessions. They start with the 4 bytes
//    7E A1 51 50 and then a kind byte. The first two bytes can never begin a
//    valid ENet datagram to us (they name peer 0xEA1, beyond any host here).
//  - Link packets: the payload of one ENet packet on channel 0 between two
//    machines of a session, starting with a kind byte. ENet runs with its
//    CRC-32 datagram checksum on, so a damaged datagram is a lost one.
// Numbers are little-endian; u8/u16/u32/u64 unsigned, i32 two's complement;
// text = u16 byte count + UTF-8 bytes (at most MaxStringLength).
//
//   description  = text application, text instance, text name, text password,
//                  i32 maxPlayers (2..8), i32 flags
//   id           = i32 player id, 1..MaxPlayerId (limits.h)
//   player       = id, text friendlyName, text formalName
//   players      = u8 count (<= 8), count x player
//   grant        = id, u32 number: the host gave this id to that machine
//
// Door datagrams:
//   1 EnumRequest  u32 nonce, text application, u16 padding + that many zero
//                  bytes. The door answers only a request that names its
//                  application and is at least as long as the reply, so that
//                  it never sends more than it was sent.
//   2 EnumReply    u32 nonce, description (password always ""), u8 currentPlayers,
//                  u16 linkPort (the host's ENet port; its IP is the reply's source)
//
// Link packets:
//   1 JoinRequest      text instance, text password            (joiner -> host)
//   2 JoinAccept       u32 yourNumber, u64 yourToken, u32 hostNumber, u32 senderNumber,
//                      i32 highestId (0..MaxPlayerId), u32 highestNumber, description,
//                      players (the host's own), u8 grantCount (<= 8), grantCount x
//                      grant (the other machines' players, made or still to be made),
//                      u8 memberCount (<= 8), memberCount x (u32 number, u32 ipv4 as
//                      on the wire, u16 port)                  (host -> joiner)
//   3 JoinRefused      i32 failureNumber                       (host -> joiner)
//   4 Hello            text instance, u32 senderNumber, u64 token, players (the
//                      sender's own)
//   5 HelloAck         same as Hello; its token is 0
//   6 PlayerIdRequest  u32 tag, text friendlyName, text formalName   (-> host)
//   7 PlayerIdReply    u32 tag, i32 id (0: refused)             (host ->)
//   8 PlayerCreated    player (one of the sender's own)
//   9 PlayerDestroyed  id (one of the sender's own)
//  10 SessionDesc      description                             (host ->)
//  11 Application      id from, i32 to (0: all, else an id), the message bytes (the
//                      rest, at most MaxMessageSize); guaranteed when the ENet
//                      packet is reliable
//  12 Goodbye          nothing: the sender leaves the session
//  13 Admit            u32 number, u32 ipv4, u16 port, u64 token: a joiner the host
//                      let in, at the address the host saw it at, and the token
//                      the host gave it; the other members answer only its Hello
//                                                              (host ->)
//  14 PlayerGranted    grant: another machine's new player     (host ->)
//  15 PlayerGrantSeen  id: the grant arrived                   (-> host)
// Decoding checks every count, length and range and that nothing trails the
// last field; anything else is no packet at all.

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace play::wire {

struct Description {
    std::string application;
    std::string instance;
    std::string name;
    std::string password;
    int32_t maxPlayers = 0;
    int32_t flags = 0;
    bool operator==(const Description&) const = default;
};

struct Player {
    int32_t id = 0;
    std::string friendlyName;
    std::string formalName;
    bool operator==(const Player&) const = default;
};

struct Member {
    uint32_t number = 0;
    uint32_t ipv4 = 0;  // as ENet holds it (network byte order)
    uint16_t port = 0;
    bool operator==(const Member&) const = default;
};

struct EnumRequest {
    uint32_t nonce = 0;
    std::string application;
    uint16_t padding = 0;
    bool operator==(const EnumRequest&) const = default;
};
struct EnumReply {
    uint32_t nonce = 0;
    Description description;
    uint8_t currentPlayers = 0;
    uint16_t linkPort = 0;
    bool operator==(const EnumReply&) const = default;
};
using DoorDatagram = std::variant<EnumRequest, EnumReply>;

struct JoinRequest {
    std::string instance;
    std::string password;
    bool operator==(const JoinRequest&) const = default;
};
struct PlayerGranted {
    int32_t id = 0;
    uint32_t number = 0;
    bool operator==(const PlayerGranted&) const = default;
};
struct JoinAccept {
    uint32_t yourNumber = 0;
    uint64_t yourToken = 0;
    uint32_t hostNumber = 0;
    uint32_t senderNumber = 0;
    int32_t highestId = 0;
    uint32_t highestNumber = 0;
    Description description;
    std::vector<Player> players;
    std::vector<PlayerGranted> grants;
    std::vector<Member> members;
    bool operator==(const JoinAccept&) const = default;
};
struct JoinRefused {
    int32_t failureNumber = 0;
    bool operator==(const JoinRefused&) const = default;
};
struct Hello {
    std::string instance;
    uint32_t senderNumber = 0;
    uint64_t token = 0;
    std::vector<Player> players;
    bool operator==(const Hello&) const = default;
};
struct HelloAck : Hello {};
struct PlayerIdRequest {
    uint32_t tag = 0;
    std::string friendlyName;
    std::string formalName;
    bool operator==(const PlayerIdRequest&) const = default;
};
struct PlayerIdReply {
    uint32_t tag = 0;
    int32_t id = 0;
    bool operator==(const PlayerIdReply&) const = default;
};
struct PlayerCreated {
    Player player;
    bool operator==(const PlayerCreated&) const = default;
};
struct PlayerDestroyed {
    int32_t id = 0;
    bool operator==(const PlayerDestroyed&) const = default;
};
struct SessionDesc {
    Description description;
    bool operator==(const SessionDesc&) const = default;
};
struct Application {
    int32_t from = 0;
    int32_t to = 0;
    std::vector<uint8_t> message;
    bool operator==(const Application&) const = default;
};
struct Goodbye {
    bool operator==(const Goodbye&) const = default;
};
struct Admit {
    uint32_t number = 0;
    uint32_t ipv4 = 0;  // as ENet holds it (network byte order)
    uint16_t port = 0;
    uint64_t token = 0;
    bool operator==(const Admit&) const = default;
};
struct PlayerGrantSeen {
    int32_t id = 0;
    bool operator==(const PlayerGrantSeen&) const = default;
};
using LinkPacket =
    std::variant<JoinRequest, JoinAccept, JoinRefused, Hello, HelloAck, PlayerIdRequest, PlayerIdReply, PlayerCreated,
                 PlayerDestroyed, SessionDesc, Application, Goodbye, Admit, PlayerGranted, PlayerGrantSeen>;

std::vector<uint8_t> Encode(const DoorDatagram& datagram);
std::vector<uint8_t> Encode(const LinkPacket& packet);

// Nothing when the bytes are not exactly one well-formed datagram or packet.
std::optional<DoorDatagram> DecodeDoor(const uint8_t* data, size_t size);
std::optional<LinkPacket> DecodeLink(const uint8_t* data, size_t size);

}  // namespace play::wire
