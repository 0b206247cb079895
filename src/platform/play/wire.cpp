#include "platform/play/wire.h"

#include "platform/failure.h"
#include "platform/play/byte_io.h"
#include "platform/play/limits.h"

#include <algorithm>
#include <array>
#include <type_traits>

namespace play::wire {
namespace {

constexpr std::array<uint8_t, 4> DoorMagic{0x7E, 0xA1, 0x51, 0x50};
constexpr size_t MaxListed = MaxSessionPlayers;

// Kind bytes are the variant's alternative index + 1.
template <class Variant>
uint8_t KindOf(const Variant& v) {
    return static_cast<uint8_t>(v.index() + 1);
}

void Put(ByteWriter& w, const Description& d) {
    w.Text(d.application);
    w.Text(d.instance);
    w.Text(d.name);
    w.Text(d.password);
    w.I32(d.maxPlayers);
    w.I32(d.flags);
}
void Put(ByteWriter& w, const Player& p) {
    w.I32(p.id);
    w.Text(p.friendlyName);
    w.Text(p.formalName);
}
void Put(ByteWriter& w, const std::vector<Player>& players) {
    w.U8(static_cast<uint8_t>(players.size()));
    for (const Player& p : players) Put(w, p);
}
void Put(ByteWriter& w, const EnumRequest& m) {
    w.U32(m.nonce);
    w.Text(m.application);
    w.U16(m.padding);
    w.Zeros(m.padding);
}
void Put(ByteWriter& w, const EnumReply& m) {
    w.U32(m.nonce);
    Put(w, m.description);
    w.U8(m.currentPlayers);
    w.U16(m.linkPort);
}
void Put(ByteWriter& w, const JoinRequest& m) {
    w.Text(m.instance);
    w.Text(m.password);
}
void Put(ByteWriter& w, const PlayerGranted& m) {
    w.I32(m.id);
    w.U32(m.number);
}
void Put(ByteWriter& w, const JoinAccept& m) {
    w.U32(m.yourNumber);
    w.U64(m.yourToken);
    w.U32(m.hostNumber);
    w.U32(m.senderNumber);
    w.I32(m.highestId);
    w.U32(m.highestNumber);
    Put(w, m.description);
    Put(w, m.players);
    w.U8(static_cast<uint8_t>(m.grants.size()));
    for (const PlayerGranted& grant : m.grants) Put(w, grant);
    w.U8(static_cast<uint8_t>(m.members.size()));
    for (const Member& member : m.members) {
        w.U32(member.number);
        w.U32(member.ipv4);
        w.U16(member.port);
    }
}
void Put(ByteWriter& w, const JoinRefused& m) { w.I32(m.failureNumber); }
void Put(ByteWriter& w, const Hello& m) {
    w.Text(m.instance);
    w.U32(m.senderNumber);
    w.U64(m.token);
    Put(w, m.players);
}
void Put(ByteWriter& w, const PlayerIdRequest& m) {
    w.U32(m.tag);
    w.Text(m.friendlyName);
    w.Text(m.formalName);
}
void Put(ByteWriter& w, const PlayerIdReply& m) {
    w.U32(m.tag);
    w.I32(m.id);
}
void Put(ByteWriter& w, const PlayerCreated& m) { Put(w, m.player); }
void Put(ByteWriter& w, const PlayerDestroyed& m) { w.I32(m.id); }
void Put(ByteWriter& w, const SessionDesc& m) { Put(w, m.description); }
void Put(ByteWriter& w, const Application& m) {
    w.I32(m.from);
    w.I32(m.to);
    w.Bytes(m.message.data(), m.message.size());
}
void Put(ByteWriter&, const Goodbye&) {}
void Put(ByteWriter& w, const Admit& m) {
    w.U32(m.number);
    w.U32(m.ipv4);
    w.U16(m.port);
    w.U64(m.token);
}
void Put(ByteWriter& w, const PlayerGrantSeen& m) { w.I32(m.id); }

void Require(bool condition) {
    if (!condition) ByteReader::Fail("malformed packet");
}

int32_t PlayerId(ByteReader& r) {
    const int32_t id = r.I32();
    Require(id > 0 && id <= MaxPlayerId);
    return id;
}
// A player id, or 0 where the field allows none.
int32_t PlayerIdOrZero(ByteReader& r) {
    const int32_t id = r.I32();
    Require(id >= 0 && id <= MaxPlayerId);
    return id;
}
uint32_t Number(ByteReader& r) {
    const uint32_t number = r.U32();
    Require(number != 0);
    return number;
}
void Get(ByteReader& r, Description& d) {
    d.application = r.Text(MaxStringLength);
    d.instance = r.Text(MaxStringLength);
    d.name = r.Text(MaxStringLength);
    d.password = r.Text(MaxStringLength);
    d.maxPlayers = r.I32();
    Require(d.maxPlayers >= MinSessionPlayers && d.maxPlayers <= MaxSessionPlayers);
    d.flags = r.I32();
}
void Get(ByteReader& r, Player& p) {
    p.id = PlayerId(r);
    p.friendlyName = r.Text(MaxStringLength);
    p.formalName = r.Text(MaxStringLength);
}
void Get(ByteReader& r, std::vector<Player>& players) {
    const size_t count = r.U8();
    Require(count <= MaxListed);
    players.resize(count);
    for (Player& p : players) Get(r, p);
}
void Get(ByteReader& r, EnumRequest& m) {
    m.nonce = r.U32();
    m.application = r.Text(MaxStringLength);
    m.padding = r.U16();
    r.Zeros(m.padding);
}
void Get(ByteReader& r, EnumReply& m) {
    m.nonce = r.U32();
    Get(r, m.description);
    m.currentPlayers = r.U8();
    Require(m.currentPlayers <= MaxSessionPlayers);
    m.linkPort = r.U16();
    Require(m.linkPort != 0);
}
void Get(ByteReader& r, JoinRequest& m) {
    m.instance = r.Text(MaxStringLength);
    m.password = r.Text(MaxStringLength);
}
void Get(ByteReader& r, PlayerGranted& m) {
    m.id = PlayerId(r);
    m.number = Number(r);
}
void Get(ByteReader& r, JoinAccept& m) {
    m.yourNumber = Number(r);
    m.yourToken = r.U64();
    m.hostNumber = Number(r);
    m.senderNumber = Number(r);
    m.highestId = PlayerIdOrZero(r);
    m.highestNumber = r.U32();
    Get(r, m.description);
    Get(r, m.players);
    const size_t grants = r.U8();
    Require(grants <= MaxListed);
    m.grants.resize(grants);
    for (PlayerGranted& grant : m.grants) Get(r, grant);
    const size_t count = r.U8();
    Require(count <= MaxListed);
    m.members.resize(count);
    for (Member& member : m.members) {
        member.number = Number(r);
        member.ipv4 = r.U32();
        member.port = r.U16();
        Require(member.port != 0);
    }
}
void Get(ByteReader& r, JoinRefused& m) { m.failureNumber = r.I32(); }
void Get(ByteReader& r, Hello& m) {
    m.instance = r.Text(MaxStringLength);
    m.senderNumber = Number(r);
    m.token = r.U64();
    Get(r, m.players);
}
void Get(ByteReader& r, PlayerIdRequest& m) {
    m.tag = r.U32();
    m.friendlyName = r.Text(MaxStringLength);
    m.formalName = r.Text(MaxStringLength);
}
void Get(ByteReader& r, PlayerIdReply& m) {
    m.tag = r.U32();
    m.id = PlayerIdOrZero(r);
}
void Get(ByteReader& r, PlayerCreated& m) { Get(r, m.player); }
void Get(ByteReader& r, PlayerDestroyed& m) { m.id = PlayerId(r); }
void Get(ByteReader& r, SessionDesc& m) { Get(r, m.description); }
void Get(ByteReader& r, Application& m) {
    m.from = PlayerId(r);
    m.to = PlayerIdOrZero(r);
    Require(r.Left() <= MaxMessageSize);
    m.message = r.Rest();
}
void Get(ByteReader&, Goodbye&) {}
void Get(ByteReader& r, Admit& m) {
    m.number = Number(r);
    m.ipv4 = r.U32();
    m.port = r.U16();
    Require(m.port != 0);
    m.token = r.U64();
}
void Get(ByteReader& r, PlayerGrantSeen& m) { m.id = PlayerId(r); }

template <class Variant, size_t... I>
Variant MakeAlternative(size_t index, std::index_sequence<I...>) {
    Variant v;
    ((index == I ? (v.template emplace<I>(), 0) : 0), ...);
    return v;
}

template <class Variant>
std::optional<Variant> DecodeBody(ByteReader& r) {
    try {
        const size_t kind = r.U8();
        if (kind < 1 || kind > std::variant_size_v<Variant>) return std::nullopt;
        Variant v = MakeAlternative<Variant>(kind - 1, std::make_index_sequence<std::variant_size_v<Variant>>{});
        std::visit([&](auto& alternative) { Get(r, alternative); }, v);
        if (!r.AtEnd()) return std::nullopt;
        return v;
    } catch (const Failure&) {
        return std::nullopt;
    }
}

}  // namespace

std::vector<uint8_t> Encode(const DoorDatagram& datagram) {
    std::vector<uint8_t> out(DoorMagic.begin(), DoorMagic.end());
    ByteWriter w(out);
    w.U8(KindOf(datagram));
    std::visit([&](const auto& m) { Put(w, m); }, datagram);
    return out;
}

std::vector<uint8_t> Encode(const LinkPacket& packet) {
    std::vector<uint8_t> out;
    ByteWriter w(out);
    w.U8(KindOf(packet));
    std::visit([&](const auto& m) { Put(w, static_cast<const std::decay_t<decltype(m)>&>(m)); }, packet);
    return out;
}

std::optional<DoorDatagram> DecodeDoor(const uint8_t* data, size_t size) {
    if (size < DoorMagic.size() || !std::equal(DoorMagic.begin(), DoorMagic.end(), data)) return std::nullopt;
    ByteReader r(data + DoorMagic.size(), size - DoorMagic.size());
    return DecodeBody<DoorDatagram>(r);
}

std::optional<LinkPacket> DecodeLink(const uint8_t* data, size_t size) {
    ByteReader r(data, size);
    return DecodeBody<LinkPacket>(r);
}

}  // namespace play::wire
