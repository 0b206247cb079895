// Two and three machines of one session in one process, on loopback.

#include "support/play_fixture.h"

#include "platform/play/errors.h"
#include "platform/play/session.h"

#include <thread>

using namespace play_test;
using play::error::AccessDenied;

namespace {

using System = std::pair<int32_t, int32_t>;

class SessionTest : public PlayTest {};

TEST_F(SessionTest, SessionIsFoundJoinedAndPlayersAreTheSameEverywhere) {
    Machine a, b;
    EXPECT_EQ(b.Search()->GetCount(), 0);
    a.Host("alice", 4);

    auto found = b.Search();
    ASSERT_EQ(found->GetCount(), 1);
    EXPECT_EQ(found->GetItem(1)->GetSessionName(), "Game (ENTREPOT)");
    EXPECT_EQ(found->GetItem(1)->GetCurrentPlayers(), 1);
    EXPECT_EQ(found->GetItem(1)->GetMaxPlayers(), 4);
    b.Join("bob");

    EXPECT_NE(a.id, 0);
    EXPECT_NE(b.id, 0);
    EXPECT_NE(a.id, b.id);
    const std::vector<int32_t> order{a.id, b.id};
    EXPECT_EQ(b.PlayerIds(), order);
    ASSERT_TRUE(WaitFor([&] { return a.PlayerIds() == order; }));
    for (Machine* m : {&a, &b}) {
        EXPECT_EQ(m->dp->GetPlayerFriendlyName(b.id), "bob");
        EXPECT_EQ(m->dp->GetPlayerFormalName(b.id), "1bob");
        EXPECT_EQ(m->dp->GetPlayerFriendlyName(a.id), "alice");
        EXPECT_EQ(m->dp->GetDPEnumPlayers("", 0)->GetShortName(1), "alice");
    }
    EXPECT_EQ(SystemMessages(a.DrainAtLeast(1)), (std::vector<System>{{3, b.id}}));
    EXPECT_TRUE(b.Drain().empty()) << "no created message on the creator's machine";

    auto description = b.dp->CreateSessionData();
    b.dp->GetSessionDesc(description);
    EXPECT_EQ(description->GetSessionName(), "Game (ENTREPOT)");
    EXPECT_EQ(description->GetCurrentPlayers(), 2);
    b.dp->SetSessionDesc(description);  // written back unchanged: any member may
    a.dp->SetSessionDesc(description);
    description->SetSessionName("Renamed (ENTREPOT)");
    EXPECT_EQ(FailureNumberOf([&] { b.dp->SetSessionDesc(description); }), AccessDenied);
    auto kept = b.dp->CreateSessionData();
    b.dp->GetSessionDesc(kept);
    EXPECT_EQ(kept->GetSessionName(), "Game (ENTREPOT)") << "a refused change changes nothing";
    a.dp->SetSessionDesc(description);
    EXPECT_TRUE(WaitFor([&] {
        b.dp->GetSessionDesc(description);
        return description->GetSessionName() == "Renamed (ENTREPOT)";
    }));
}

TEST_F(SessionTest, FullSessionIsNotAvailableAndRefusesJoins) {
    Machine a, b, c;
    a.Host("alice", 2);
    b.Join("bob");
    ASSERT_TRUE(WaitFor([&] { return a.PlayerIds().size() == 2; }));

    EXPECT_EQ(c.Search(1)->GetCount(), 0);
    auto all = c.Search(0);
    ASSERT_EQ(all->GetCount(), 1);
    EXPECT_EQ(all->GetItem(1)->GetCurrentPlayers(), 2);
    EXPECT_EQ(FailureNumberOf([&] { c.dp->Open(all->GetItem(1), play::OpenJoin); }), play::error::SessionFull);
    EXPECT_EQ(a.PlayerIds().size(), 2u);

    // A session that ends after it was found can no longer be joined.
    a.dp->Close();
    b.dp->Close();
    EXPECT_EQ(FailureNumberOf([&] { c.dp->Open(all->GetItem(1), play::OpenJoin); }), play::error::NoSessions);
}

TEST_F(SessionTest, PasswordGuardsTheJoin) {
    Machine a, b;
    auto data = a.dp->CreateSessionData();
    data->SetGuidApplication(App);
    data->SetMaxPlayers(4);
    data->SetFlags(4);
    data->SetSessionPassword("secret");
    a.dp->Open(data, play::OpenCreate);
    auto item = b.Search()->GetItem(1);
    EXPECT_EQ(item->GetSessionPassword(), "") << "a search never shows the password";
    EXPECT_EQ(FailureNumberOf([&] { b.dp->Open(item, play::OpenJoin); }), AccessDenied);
    item->SetSessionPassword("secret");
    b.dp->Open(item, play::OpenJoin);
}

TEST_F(SessionTest, LocalPlayersOfOneMachineHearEachOther) {
    Machine a, b;
    a.Host("alice");
    const int32_t second = a.dp->CreatePlayer("ann", "0ann", 0, 0);
    b.Join("bob");
    ASSERT_TRUE(WaitFor([&] { return a.PlayerIds().size() == 3; }));
    int32_t from = 0, to = 0;
    while (a.dp->GetMessageCount(a.id) + a.dp->GetMessageCount(second) > 0) a.dp->Receive(from, to, play::ReceiveAll);
    auto message = a.dp->CreateMessage();
    message->WriteLong(9);
    a.dp->Send(a.id, 0, play::SendGuaranteed, message);

    ASSERT_EQ(a.dp->GetMessageCount(second), 1);
    EXPECT_EQ(a.dp->Receive(from, to, play::ReceiveAll)->ReadLong(), 9);
    EXPECT_EQ(from, a.id);
    EXPECT_EQ(to, second);
    EXPECT_EQ(a.dp->GetMessageCount(a.id), 0);
    const auto got = b.DrainAtLeast(1);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].from, a.id);
}

TEST_F(SessionTest, GuaranteedMessagesArriveOnceInOrderAndBroadcastsAreNotEchoed) {
    Machine a, b, c;
    a.Host("alice");
    b.Join("bob");
    c.Join("carol");
    ASSERT_TRUE(WaitFor([&] { return a.PlayerIds().size() == 3 && b.PlayerIds().size() == 3; }));
    for (Machine* m : {&a, &b, &c}) m->Drain();

    constexpr int Count = 300;
    for (int i = 0; i < Count; ++i) {
        auto message = a.dp->CreateMessage();
        message->WriteLong(i);
        message->WriteString("payload");
        a.dp->Send(a.id, 0, play::SendGuaranteed, message);
    }
    auto direct = b.dp->CreateMessage();
    direct->WriteLong(-7);
    b.dp->Send(b.id, c.id, play::SendGuaranteed, direct);

    for (Machine* m : {&b, &c}) {
        auto got = m->DrainAtLeast(Count + (m == &c ? 1 : 0));
        int expected = 0;
        for (const Received& r : got) {
            if (r.from == b.id) {
                EXPECT_EQ(r.code, -7);
                continue;
            }
            ASSERT_EQ(r.from, a.id);
            EXPECT_EQ(r.code, expected++);
            EXPECT_EQ(r.message->ReadString(), "payload");
        }
        EXPECT_EQ(expected, Count);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(a.Drain().empty()) << "a broadcast never comes back to its sender";
    EXPECT_TRUE(b.Drain().empty()) << "a message to one player reaches only that player";
}

TEST_F(SessionTest, UnguaranteedMessagesArriveWhole) {
    Machine a, b;
    a.Host("alice");
    b.Join("bob");
    ASSERT_TRUE(WaitFor([&] { return a.PlayerIds().size() == 2; }));
    a.Drain();
    for (int i = 0; i < 20; ++i) {
        auto message = b.dp->CreateMessage();
        message->WriteLong(1);
        message->WriteDouble(i + 0.5);
        b.dp->Send(b.id, 0, 0, message);
    }
    auto got = a.DrainAtLeast(20, std::chrono::milliseconds(1000));
    ASSERT_FALSE(got.empty());
    for (const Received& r : got) {
        EXPECT_EQ(r.from, b.id);
        EXPECT_EQ(r.code, 1);
        const double value = r.message->ReadDouble();
        EXPECT_EQ(value - static_cast<int>(value), 0.5);
        EXPECT_THROW(r.message->ReadByte(), Failure);
    }
}

TEST_F(SessionTest, QueuesStayBoundedAndLinksLiveWhileTheGameThreadIsBusy) {
    Machine a, b;
    a.Host("alice");
    b.Join("bob");
    ASSERT_TRUE(WaitFor([&] { return a.PlayerIds().size() == 2; }));
    a.Drain();

    // Nobody reads alice's queue while bob floods it; guaranteed messages
    // are kept, the oldest unguaranteed ones give way.
    constexpr int Flood = 3000;
    for (int i = 0; i < Flood; ++i) {
        auto message = b.dp->CreateMessage();
        message->WriteLong(i);
        b.dp->Send(b.id, a.id, i % 500 == 0 ? play::SendGuaranteed : 0, message);
        if (i % 100 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    // Longer than a silent link lives: only the layer's own thread keeps it.
    std::this_thread::sleep_for(std::chrono::milliseconds(3500));
    EXPECT_EQ(a.PlayerIds().size(), 2u);
    EXPECT_EQ(b.PlayerIds().size(), 2u);

    const auto got = a.Drain();
    EXPECT_LE(got.size(), play::Session::QueueUnguaranteedCap + Flood / 500);
    std::vector<int32_t> guaranteed;
    int32_t last = -1;
    for (const Received& r : got) {
        EXPECT_GT(r.code, last) << "arrival order";
        last = r.code;
        if (r.code % 500 == 0) guaranteed.push_back(r.code);
    }
    EXPECT_EQ(guaranteed, (std::vector<int32_t>{0, 500, 1000, 1500, 2000, 2500}));
}

TEST_F(SessionTest, DestroyedPlayersAreAnnouncedAndTheirIdsNeverReturn) {
    Machine a, b, c;
    a.Host("alice");
    b.Join("bob");
    c.Join("carol");
    ASSERT_TRUE(WaitFor([&] { return a.PlayerIds().size() == 3 && b.PlayerIds().size() == 3; }));
    for (Machine* m : {&a, &b, &c}) m->Drain();

    const int32_t old = c.id;
    c.dp->DestroyPlayer(old);
    EXPECT_EQ(FailureNumberOf([&] { c.dp->GetPlayerFriendlyName(old); }), play::error::InvalidPlayer);
    ASSERT_TRUE(WaitFor([&] { return a.dp->GetMessageCount(a.id) == 1 && b.dp->GetMessageCount(b.id) == 1; }));
    EXPECT_EQ(a.dp->GetPlayerFriendlyName(old), "carol") << "readable until the destroy message is received";
    EXPECT_EQ(SystemMessages(a.Drain()), (std::vector<System>{{5, old}}));
    EXPECT_EQ(FailureNumberOf([&] { a.dp->GetPlayerFriendlyName(old); }), play::error::InvalidPlayer);
    EXPECT_EQ(SystemMessages(b.Drain()), (std::vector<System>{{5, old}}));

    c.id = c.dp->CreatePlayer("carol", "1carol", 0, 0);
    EXPECT_GT(c.id, old);
    EXPECT_EQ(SystemMessages(a.DrainAtLeast(1)), (std::vector<System>{{3, c.id}}));
    EXPECT_EQ(FailureNumberOf([&] { c.dp->DestroyPlayer(a.id); }), play::error::InvalidPlayer);
    auto message = c.dp->CreateMessage();
    message->WriteLong(1);
    EXPECT_EQ(FailureNumberOf([&] { c.dp->Send(a.id, 0, 0, message); }), play::error::InvalidPlayer)
        << "a machine sends only as its own players";
    EXPECT_EQ(FailureNumberOf([&] { c.dp->Send(c.id, old, 0, message); }), play::error::InvalidPlayer);
}

TEST_F(SessionTest, HostThatClosesHandsOverAndTheNewHostTakesJoins) {
    Machine a, b, c;
    a.Host("alice");
    b.Join("bob");
    c.Join("carol");
    ASSERT_TRUE(WaitFor([&] { return a.PlayerIds().size() == 3 && b.PlayerIds().size() == 3; }));
    for (Machine* m : {&a, &b, &c}) m->Drain();

    const int32_t oldHost = a.id;
    a.dp->DestroyPlayer(a.id);
    a.dp->Close();
    EXPECT_EQ(SystemMessages(b.DrainAtLeast(2)), (std::vector<System>{{5, oldHost}, {0x101, 0}}));
    EXPECT_EQ(SystemMessages(c.DrainAtLeast(1)), (std::vector<System>{{5, oldHost}}));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(c.Drain().empty()) << "only one machine becomes host";

    auto description = c.dp->CreateSessionData();
    c.dp->GetSessionDesc(description);
    EXPECT_EQ(description->GetSessionName(), "Game (ENTREPOT)");
    c.dp->SetSessionDesc(description);
    description->SetMaxPlayers(6);
    EXPECT_EQ(FailureNumberOf([&] { c.dp->SetSessionDesc(description); }), AccessDenied);
    b.dp->SetSessionDesc(description);

    // A late joiner finds the session at the new host and meets everyone.
    Machine d;
    ASSERT_TRUE(WaitFor([&] { return d.Search()->GetCount() == 1; }));
    d.Join("dave");
    EXPECT_GT(d.id, c.id);
    EXPECT_EQ(d.PlayerIds(), (std::vector<int32_t>{b.id, c.id, d.id}));
    EXPECT_EQ(SystemMessages(b.DrainAtLeast(1)), (std::vector<System>{{3, d.id}}));
    EXPECT_EQ(SystemMessages(c.DrainAtLeast(1)), (std::vector<System>{{3, d.id}}));
    auto hello = d.dp->CreateMessage();
    hello->WriteLong(5);
    d.dp->Send(d.id, 0, play::SendGuaranteed, hello);
    for (Machine* m : {&b, &c}) {
        auto got = m->DrainAtLeast(1);
        ASSERT_EQ(got.size(), 1u);
        EXPECT_EQ(got[0].from, d.id);
        EXPECT_EQ(got[0].code, 5);
    }
}

TEST_F(SessionTest, ConnectionAndSessionCallsFailCleanlyOutOfOrder) {
    auto dp = play::DirectPlayCreate("");
    auto connections = dp->GetDPEnumConnections("", 1);
    ASSERT_EQ(connections->GetCount(), 1);
    EXPECT_FALSE(connections->GetName(1).empty());
    EXPECT_THROW(connections->GetAddress(2), Failure);

    auto data = dp->CreateSessionData();
    data->SetMaxPlayers(4);
    EXPECT_EQ(FailureNumberOf([&] { dp->Open(data, play::OpenCreate); }), play::error::Uninitialized);
    dp->InitializeConnection(connections->GetAddress(1));
    EXPECT_EQ(FailureNumberOf([&] { dp->InitializeConnection(connections->GetAddress(1)); }),
              play::error::AlreadyInitialized);
    EXPECT_NE(FailureNumberOf([&] { dp->CreatePlayer("x", "0", 0, 0); }), 0);
    EXPECT_NE(FailureNumberOf([&] { dp->Open(data, play::OpenJoin); }), 0) << "not a found session";
    data->SetMaxPlayers(9);
    EXPECT_EQ(FailureNumberOf([&] { dp->Open(data, play::OpenCreate); }), play::error::InvalidParams);

    data->SetMaxPlayers(2);
    data->SetFlags(4);
    dp->Open(data, play::OpenCreate);
    EXPECT_EQ(FailureNumberOf([&] { dp->Open(data, play::OpenCreate); }), play::error::AlreadyInSession);
    Machine other;
    EXPECT_NE(FailureNumberOf([&] { other.Host("second host on the same port"); }), 0);
    const int32_t first = dp->CreatePlayer("one", "0", 0, 0);
    dp->CreatePlayer("two", "0", 0, 0);
    EXPECT_EQ(FailureNumberOf([&] { dp->CreatePlayer("three", "0", 0, 0); }), play::error::CantAddPlayer);
    int32_t from = 0, to = 0;
    EXPECT_EQ(FailureNumberOf([&] { dp->Receive(from, to, play::ReceiveAll); }), play::error::NoMessages);
    EXPECT_EQ(FailureNumberOf([&] { dp->GetMessageCount(12345); }), play::error::InvalidPlayer);
    EXPECT_EQ(FailureNumberOf([&] { dp->Send(first, 0, 0, nullptr); }), failure_number::ObjectNotSet);
}

}  // namespace
