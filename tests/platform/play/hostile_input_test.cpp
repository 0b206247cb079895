// Datagrams from anywhere are untrusted: junk at the door and on the links,
// and a machine that forges other players' messages, change nothing.

#include "support/play_fixture.h"

#include "platform/play/wire.h"

#include <enet/enet.h>

#include <random>
#include <thread>

using namespace play_test;

namespace {

class HostileInputTest : public PlayTest {};

void SendRaw(uint16_t port, const std::vector<uint8_t>& bytes) {
    ENetSocket socket = enet_socket_create(ENET_SOCKET_TYPE_DATAGRAM);
    ENetAddress to{0, port};
    enet_address_set_host_ip(&to, "127.0.0.1");
    ENetBuffer buffer{const_cast<uint8_t*>(bytes.data()), bytes.size()};
    enet_socket_send(socket, &to, &buffer, 1);
    enet_socket_destroy(socket);
}

// A bare ENet client that speaks the session's packets as it likes.
class Intruder {
public:
    explicit Intruder(uint16_t linkPort) : host_(enet_host_create(nullptr, 1, 1, 0, 0)) {
        host_->checksum = enet_crc32;
        ENetAddress to{0, linkPort};
        enet_address_set_host_ip(&to, "127.0.0.1");
        peer_ = enet_host_connect(host_, &to, 1, 0);
        Service(ENET_EVENT_TYPE_CONNECT);
    }
    ~Intruder() {
        enet_peer_disconnect_now(peer_, 0);
        enet_host_destroy(host_);
    }
    void Send(const std::vector<uint8_t>& bytes) {
        enet_peer_send(peer_, 0, enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE));
        enet_host_flush(host_);
    }
    // Services the link until an event of `type` comes (or `rounds` of 10 ms
    // pass); true when it did.
    bool Service(ENetEventType type, int rounds = 200) {
        ENetEvent event;
        for (int i = 0; i < rounds; ++i) {
            if (enet_host_service(host_, &event, 10) <= 0) continue;
            if (event.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(event.packet);
            if (event.type == type) return true;
        }
        return false;
    }

private:
    ENetHost* host_;
    ENetPeer* peer_;
};

TEST_F(HostileInputTest, JunkAndForgeriesNeverReachTheQueues) {
    Machine a, b;
    a.Host("alice");
    b.Join("bob");
    ASSERT_TRUE(WaitFor([&] { return a.PlayerIds().size() == 2; }));
    a.Drain();
    const auto found = Machine().Search();
    ASSERT_EQ(found->GetCount(), 1);
    const uint16_t linkPort = found->GetItem(1)->LinkPort();
    const std::string instance = found->GetItem(1)->Description().instance;

    std::mt19937 random(7);
    std::vector<std::vector<uint8_t>> junk = {{}, {0x7E, 0xA1, 0x51, 0x50}, {0x7E, 0xA1, 0x51, 0x50, 1, 0, 0}};
    junk.push_back(play::wire::Encode(play::wire::EnumReply{1, {"x", "y", "z", "", 4, 4}, 1, 9}));
    for (size_t size : {1u, 17u, 600u, 1400u, 4000u}) {
        std::vector<uint8_t> bytes(size);
        for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
        junk.push_back(bytes);
    }
    for (const auto& bytes : junk) {
        SendRaw(port_, bytes);
        SendRaw(linkPort, bytes);
    }

    using namespace play::wire;
    // Knowing the session's instance is not enough to get in past the host.
    Intruder stranger(linkPort);
    stranger.Send(Encode(Hello{instance, 77, {}}));
    EXPECT_FALSE(stranger.Service(ENET_EVENT_TYPE_RECEIVE, 20)) << "a hello the host never admitted";
    stranger.Send(Encode(PlayerCreated{{5000, "mallory", "0"}}));

    // A machine that joined may speak only for players of its own.
    Intruder intruder(linkPort);
    for (const auto& bytes : junk) intruder.Send(bytes);
    intruder.Send(Encode(JoinRequest{instance, ""}));
    ASSERT_TRUE(intruder.Service(ENET_EVENT_TYPE_RECEIVE)) << "the join is answered";
    const std::vector<LinkPacket> forgeries = {
        Application{b.id, 0, {1, 0, 0, 0}},
        Application{a.id, a.id, {1, 0, 0, 0}},
        PlayerDestroyed{b.id},
        PlayerCreated{{a.id, "mallory", "0"}},
        SessionDesc{{found->GetItem(1)->GetGuidApplication(), instance, "Hijacked", "", 8, 4}},
        PlayerIdReply{1, 5000},
        JoinAccept{2, 77, 77, 0, 0, {"x", instance, "z", "", 4, 4}, {}, {}},
    };
    for (const auto& packet : forgeries) intruder.Send(Encode(packet));
    intruder.Service(ENET_EVENT_TYPE_NONE, 10);

    auto message = b.dp->CreateMessage();
    message->WriteLong(42);
    b.dp->Send(b.id, 0, play::SendGuaranteed, message);
    const auto got = a.DrainAtLeast(1);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].from, b.id);
    EXPECT_EQ(got[0].code, 42);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(a.Drain().empty());
    EXPECT_EQ(a.PlayerIds(), (std::vector<int32_t>{a.id, b.id}));
    EXPECT_EQ(a.dp->GetPlayerFriendlyName(a.id), "alice");
    auto description = a.dp->CreateSessionData();
    a.dp->GetSessionDesc(description);
    EXPECT_EQ(description->GetSessionName(), "Game (ENTREPOT)");
    EXPECT_EQ(Machine().Search()->GetCount(), 1) << "the door still answers";
}

}  // namespace
