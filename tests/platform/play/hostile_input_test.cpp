// Datagrams from anywhere are untrusted: junk at the door and on the links,
// strangers that try to get in, and machines that forge other players'
// messages or try to make another machine hold more and more, change nothing
// beyond fixed bounds.

#include "bare_client.h"
#include "session_test_access.h"
#include "support/play_fixture.h"

#include "platform/play/limits.h"
#include "platform/play/session.h"
#include "platform/play/wire.h"

#include <enet/enet.h>

#include <algorithm>
#include <random>
#include <thread>

using namespace play_test;
using namespace play::wire;
using namespace std::chrono_literals;

namespace {

class HostileInputTest : public PlayTest {
protected:
    // The link port and instance of the one session on the test's door.
    std::pair<uint16_t, std::string> FindSession() {
        const auto found = Machine().Search();
        EXPECT_EQ(found->GetCount(), 1);
        if (found->GetCount() != 1) return {};
        return {found->GetItem(1)->LinkPort(), found->GetItem(1)->Description().instance};
    }
};

class UdpSocket {
public:
    UdpSocket() : socket_(enet_socket_create(ENET_SOCKET_TYPE_DATAGRAM)) {}
    ~UdpSocket() { enet_socket_destroy(socket_); }
    void Send(uint16_t port, const std::vector<uint8_t>& bytes) {
        ENetAddress to{0, port};
        enet_address_set_host_ip(&to, "127.0.0.1");
        ENetBuffer buffer{const_cast<uint8_t*>(bytes.data()), bytes.size()};
        enet_socket_send(socket_, &to, &buffer, 1);
    }
    // The size of the first datagram that comes within the time-out.
    std::optional<size_t> Receive(uint32_t timeoutMs) {
        enet_uint32 condition = ENET_SOCKET_WAIT_RECEIVE;
        if (enet_socket_wait(socket_, &condition, timeoutMs) != 0 || !(condition & ENET_SOCKET_WAIT_RECEIVE))
            return std::nullopt;
        std::vector<uint8_t> bytes(8192);
        ENetAddress from{};
        ENetBuffer buffer{bytes.data(), bytes.size()};
        const int received = enet_socket_receive(socket_, &from, &buffer, 1);
        return received > 0 ? std::optional<size_t>(static_cast<size_t>(received)) : std::nullopt;
    }

private:
    ENetSocket socket_;
};

void SendRaw(uint16_t port, const std::vector<uint8_t>& bytes) { UdpSocket().Send(port, bytes); }

TEST_F(HostileInputTest, JunkAndForgeriesNeverReachTheQueues) {
    Machine a, b;
    a.Host("alice");
    b.Join("bob");
    ASSERT_TRUE(WaitFor([&] { return a.PlayerIds().size() == 2; }));
    a.Drain();
    const auto found = Machine().Search();
    ASSERT_EQ(found->GetCount(), 1);
    const auto [linkPort, instance] = FindSession();

    std::mt19937 random(7);
    std::vector<std::vector<uint8_t>> junk = {{}, {0x7E, 0xA1, 0x51, 0x50}, {0x7E, 0xA1, 0x51, 0x50, 1, 0, 0}};
    junk.push_back(Encode(EnumReply{1, {"x", "y", "z", "", 4, 4}, 1, 9}));
    for (size_t size : {1u, 17u, 600u, 1400u, 4000u}) {
        std::vector<uint8_t> bytes(size);
        for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
        junk.push_back(bytes);
    }
    for (const auto& bytes : junk) {
        SendRaw(port_, bytes);
        SendRaw(linkPort, bytes);
    }

    // Knowing the session's instance is not enough to get in past the host.
    BareClient stranger;
    const int door = stranger.Connect(linkPort);
    stranger.Send(door, Hello{instance, 77, 0, {}});
    EXPECT_FALSE(stranger.Next<HelloAck>(door, 200ms)) << "a hello the host never admitted";
    stranger.Send(door, PlayerCreated{{5000, "mallory", "0"}});

    // A machine that joined may speak only for players of its own.
    BareClient intruder;
    const auto accept = intruder.Join(linkPort, instance);
    ASSERT_TRUE(accept) << "the join is answered";
    const int link = intruder.LinkOf(accept->senderNumber);
    for (const auto& bytes : junk) intruder.SendBytes(link, bytes);
    const std::vector<LinkPacket> forgeries = {
        Application{b.id, 0, {1, 0, 0, 0}},
        Application{a.id, a.id, {1, 0, 0, 0}},
        PlayerDestroyed{b.id},
        PlayerCreated{{a.id, "mallory", "0"}},
        SessionDesc{{found->GetItem(1)->GetGuidApplication(), instance, "Hijacked", "", 8, 4}},
        PlayerIdReply{1, 5000},
        PlayerGranted{5000, accept->yourNumber},
        JoinAccept{2, 1, 77, 77, 0, 0, {"x", instance, "z", "", 4, 4}, {}, {}, {}},
    };
    for (const auto& packet : forgeries) intruder.Send(link, packet);
    std::this_thread::sleep_for(100ms);

    auto message = b.dp->CreateMessage();
    message->WriteLong(42);
    b.dp->Send(b.id, 0, play::SendGuaranteed, message);
    const auto got = a.DrainAtLeast(1);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].from, b.id);
    EXPECT_EQ(got[0].code, 42);
    std::this_thread::sleep_for(100ms);
    EXPECT_TRUE(a.Drain().empty());
    EXPECT_EQ(a.PlayerIds(), (std::vector<int32_t>{a.id, b.id}));
    EXPECT_EQ(a.dp->GetPlayerFriendlyName(a.id), "alice");
    auto description = a.dp->CreateSessionData();
    a.dp->GetSessionDesc(description);
    EXPECT_EQ(description->GetSessionName(), "Game (ENTREPOT)");
    EXPECT_EQ(Machine().Search()->GetCount(), 1) << "the door still answers";
}

TEST_F(HostileInputTest, DoorAnswersOnlyItsApplicationAndNeverSendsMoreThanItGot) {
    Machine a;
    a.Host("alice");
    const struct {
        std::string application;
        uint16_t padding;
        bool answered;
        const char* what;
    } cases[] = {
        {App, 1100, true, "a padded request for the application"},
        {App, 0, false, "a request shorter than its reply"},
        {"", 1100, false, "a request that names no application"},
        {"{ANOTHER}", 1100, false, "a request for another application"},
    };
    for (const auto& c : cases) {
        const auto request = Encode(EnumRequest{9, c.application, c.padding});
        UdpSocket socket;
        socket.Send(port_, request);
        const auto reply = socket.Receive(300);
        EXPECT_EQ(reply.has_value(), c.answered) << c.what;
        EXPECT_LE(reply.value_or(0), request.size()) << c.what;
    }
}

TEST_F(HostileInputTest, OnlyTheMachineTheHostLetInTakesItsPlace) {
    Machine a, b;
    a.Host("alice");
    b.Join("bob");
    const auto [linkPort, instance] = FindSession();

    // A joiner the host let in learns the member's port and its own token.
    BareClient joiner, stranger;
    const int host = joiner.Connect(linkPort);
    joiner.Send(host, JoinRequest{instance, ""});
    const auto accept = joiner.Next<JoinAccept>(host);
    ASSERT_TRUE(accept);
    ASSERT_EQ(accept->members.size(), 1u);
    const uint16_t memberPort = accept->members[0].port;
    const Hello hello{instance, accept->yourNumber, accept->yourToken, {}};
    Hello wrongToken = hello;
    wrongToken.token ^= 1;

    // Its token from another address, and a wrong token from its address,
    // are turned away; its place stays kept for it.
    const int elsewhere = stranger.Connect(memberPort);
    stranger.Send(elsewhere, hello);
    const int wrong = joiner.Connect(memberPort);
    joiner.Send(wrong, wrongToken);
    EXPECT_TRUE(WaitFor([&] { return stranger.Closed(elsewhere) && joiner.Closed(wrong); }));
    EXPECT_FALSE(stranger.Next<HelloAck>(elsewhere, 0ms));
    EXPECT_FALSE(joiner.Next<HelloAck>(wrong, 0ms));
    const int member = joiner.Connect(memberPort);
    joiner.Send(member, hello);
    EXPECT_TRUE(joiner.Next<HelloAck>(member));
    joiner.Send(host, Goodbye{});
    joiner.Send(member, Goodbye{});

    // A hello for the next number, sent before that machine joins, does not
    // take its place, and the real joiner gets in.
    const int early = stranger.Connect(memberPort);
    stranger.Send(early, Hello{instance, accept->yourNumber + 1, 0, {{9999, "mallory", "0"}}});
    Machine c;
    c.Join("carol");
    EXPECT_TRUE(WaitFor([&] { return stranger.Closed(early); }));
    EXPECT_FALSE(stranger.Next<HelloAck>(early, 0ms));
    const std::vector<int32_t> everyone{a.id, b.id, c.id};
    EXPECT_TRUE(WaitFor([&] { return a.PlayerIds() == everyone && b.PlayerIds() == everyone; }));
    EXPECT_EQ(c.PlayerIds(), everyone);
}

TEST_F(HostileInputTest, CreateAndDestroyLoopLeavesTheHostsMemoryFlat) {
    auto host = play::Session::Create({App, "{LOOP}", "loop", "", 8, 4}, port_);
    const int32_t own = host->CreatePlayer("alice", "0");
    const auto [linkPort, instance] = FindSession();
    BareClient member;
    const auto accept = member.Join(linkPort, instance);
    ASSERT_TRUE(accept);
    const int link = member.LinkOf(accept->senderNumber);

    // Each round asks for an id and makes and ends a player with it, and
    // forges a pair with an id nobody gave.
    constexpr uint32_t Rounds = 3 * play::Session::CreationsPerMachine;
    uint32_t granted = 0;
    for (uint32_t tag = 1; tag <= Rounds; ++tag) {
        member.Send(link, PlayerCreated{{100000 + static_cast<int32_t>(tag), "forged", "0"}});
        member.Send(link, PlayerDestroyed{100000 + static_cast<int32_t>(tag)});
        member.Send(link, PlayerIdRequest{tag, "mallory", "0"});
        const auto reply = member.Next<PlayerIdReply>(link);
        ASSERT_TRUE(reply);
        if (reply->id == 0) continue;
        ++granted;
        member.Send(link, PlayerCreated{{reply->id, "mallory", "0"}});
        member.Send(link, PlayerDestroyed{reply->id});
    }
    EXPECT_EQ(granted, play::Session::CreationsPerMachine) << "the rest are refused";

    // The game has read nothing: its queue holds one created and one
    // destroyed message per granted player, and the names of those destroyed
    // only until the game takes their messages.
    ASSERT_TRUE(WaitFor([&] { return SessionTestAccess::Of(*host).queued == 2 * granted; }));
    auto held = SessionTestAccess::Of(*host);
    EXPECT_EQ(held.players, 1u);
    EXPECT_EQ(held.grants, 0u);
    EXPECT_EQ(held.pendingGrants, 0u);
    EXPECT_EQ(held.departed, granted);
    while (host->MessageCount(own) > 0) host->Receive();
    held = SessionTestAccess::Of(*host);
    EXPECT_EQ(held.queued, 0u);
    EXPECT_EQ(held.departed, 0u);
}

TEST_F(HostileInputTest, GuaranteedFloodDropsTheFloodingMachineAndKeepsTheOthers) {
    Machine a, b, c;
    a.Host("alice");
    b.Join("bob");
    c.Join("carol");
    ASSERT_TRUE(WaitFor([&] { return a.PlayerIds().size() == 3; }));
    a.Drain();

    // alice's game reads nothing while bob sends her more than a queue holds.
    // A Long and four strings fill a message.
    const std::string filler((play::MaxMessageSize - 4) / 4 - 2, 'x');
    constexpr int Flood = 3000;
    for (int i = 0; i < Flood; ++i) {
        auto message = b.dp->CreateMessage();
        message->WriteLong(i);
        for (int s = 0; s < 4; ++s) message->WriteString(filler);
        if (FailureNumberOf([&] { b.dp->Send(b.id, a.id, play::SendGuaranteed, message); }) != 0) break;
    }
    ASSERT_TRUE(WaitFor([&] { return a.PlayerIds() == std::vector<int32_t>{a.id, c.id}; }, 30s));

    // What came before the drop waits in order, within the bound.
    const auto got = a.Drain();
    ASSERT_FALSE(got.empty());
    for (size_t i = 0; i + 1 < got.size(); ++i) {
        ASSERT_EQ(got[i].from, b.id);
        ASSERT_EQ(got[i].code, static_cast<int32_t>(i));
    }
    EXPECT_EQ(SystemMessages({got.back()}), (std::vector<std::pair<int32_t, int32_t>>{{5, b.id}}));
    const size_t kept = got.size() - 1;
    EXPECT_LE(kept * play::MaxMessageSize, play::Session::QueueGuaranteedBytes);
    EXPECT_GT(kept * play::MaxMessageSize, play::Session::QueueGuaranteedBytes / 2);

    auto message = c.dp->CreateMessage();
    message->WriteLong(-1);
    c.dp->Send(c.id, a.id, play::SendGuaranteed, message);
    const auto fromCarol = a.DrainAtLeast(1);
    ASSERT_EQ(fromCarol.size(), 1u);
    EXPECT_EQ(fromCarol[0].from, c.id);
}

TEST_F(HostileInputTest, BurstOfHalfOpenLinksDoesNotStopAJoin) {
    Machine a;
    a.Host("alice");
    const auto [linkPort, instance] = FindSession();
    constexpr int Burst = 32;
    BareClient burst(Burst);
    std::vector<int> links;
    for (int i = 0; i < Burst; ++i) links.push_back(burst.Open(linkPort));
    const auto stillOpen = [&] {
        return std::count_if(links.begin(), links.end(), [&](int l) { return burst.Connected(l) && !burst.Closed(l); });
    };
    EXPECT_TRUE(WaitFor([&] {
        return std::count_if(links.begin(), links.end(), [&](int l) { return burst.Closed(l); }) >=
               Burst - static_cast<int>(play::Session::HalfOpenPerAddress);
    }));
    EXPECT_LE(stillOpen(), static_cast<long>(play::Session::HalfOpenPerAddress));

    Machine b;
    b.Join("bob");
    EXPECT_TRUE(WaitFor([&] { return a.PlayerIds() == std::vector<int32_t>{a.id, b.id}; }));
}

}  // namespace
