// Machines of one session in separate processes: the one in the child
// process leaves cleanly, or is killed.

#include "bare_client.h"
#include "support/test_peer.h"

#include "platform/play/limits.h"

#include <thread>

using namespace play_test;

namespace {

using System = std::pair<int32_t, int32_t>;

// A peer in a child process that hosts a session, or joins the one there is,
// with one player.
struct HostingPeer : ChildPeer {
    explicit HostingPeer(const std::string& name) {
        Create();
        id = CreatePlayer(name, "0" + name);
    }
    int32_t id = 0;
};
struct JoiningPeer : ChildPeer {
    explicit JoiningPeer(const std::string& name) {
        Join();
        id = CreatePlayer(name, "0" + name);
    }
    int32_t id = 0;
};

class ProcessTest : public PlayTest {};

TEST_F(ProcessTest, MachinesInSeparateProcessesShareASession) {
    HostingPeer host("carl");
    Machine b;
    b.Join("bob");
    EXPECT_EQ(b.PlayerIds(), (std::vector<int32_t>{host.id, b.id}));
    EXPECT_EQ(b.dp->GetPlayerFriendlyName(host.id), "carl");
    EXPECT_EQ(b.dp->GetPlayerFormalName(host.id), "0carl");

    auto message = b.dp->CreateMessage();
    message->WriteLong(77);
    b.dp->Send(b.id, host.id, play::SendGuaranteed, message);
    const auto got = host.ReceiveAtLeast(2);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(SystemMessages({got[0]}), (std::vector<System>{{3, b.id}}));
    EXPECT_EQ(got[1].from, b.id);
    EXPECT_EQ(got[1].code, 77);
    host.Send(host.id, b.id, play::SendGuaranteed, Message(78));
    const auto answer = b.DrainAtLeast(1);
    ASSERT_EQ(answer.size(), 1u);
    EXPECT_EQ(answer[0].from, host.id);
    EXPECT_EQ(answer[0].code, 78);

    ASSERT_TRUE(host.Quit());
    EXPECT_EQ(SystemMessages(b.DrainAtLeast(2)), (std::vector<System>{{5, host.id}, {0x101, 0}}));
}

TEST_F(ProcessTest, KilledHostIsDestroyedEverywhereAndOneMachineTakesOver) {
    HostingPeer host("carl");
    Machine b, c;
    b.Join("bob");
    c.Join("cleo");
    ASSERT_TRUE(WaitFor([&] { return b.PlayerIds().size() == 3; }));
    b.Drain();

    host.Kill();
    EXPECT_EQ(SystemMessages(b.DrainAtLeast(2, std::chrono::seconds(6))),
              (std::vector<System>{{5, host.id}, {0x101, 0}}));
    EXPECT_EQ(SystemMessages(c.DrainAtLeast(1, std::chrono::seconds(6))), (std::vector<System>{{5, host.id}}));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(c.Drain().empty()) << "only one machine becomes host";

    Machine d;
    ASSERT_TRUE(WaitFor([&] { return d.Search()->GetCount() == 1; }));
    d.Join("dora");
    EXPECT_EQ(d.PlayerIds(), (std::vector<int32_t>{b.id, c.id, d.id}));
    EXPECT_EQ(SystemMessages(b.DrainAtLeast(1)), (std::vector<System>{{3, d.id}}));
    EXPECT_EQ(SystemMessages(c.DrainAtLeast(1)), (std::vector<System>{{3, d.id}}));
}

TEST_F(ProcessTest, OnlyIdsTheHostGaveAreTakenAndIdsStayUniqueAfterTheHostIsKilled) {
    using namespace play::wire;
    HostingPeer host("carl");
    Machine b;
    b.Join("bob");
    const auto found = Machine().Search();
    ASSERT_EQ(found->GetCount(), 1);
    BareClient member;
    const auto accept = member.Join(found->GetItem(1)->LinkPort(), found->GetItem(1)->Description().instance);
    ASSERT_TRUE(accept);
    ASSERT_EQ(accept->members.size(), 1u);
    const std::vector<int> links{member.LinkOf(accept->senderNumber), member.LinkOf(accept->members[0].number)};
    b.Drain();

    // Ids nobody gave this machine, taken ones, and ones out of range.
    for (int32_t id : {6000, 3, host.id, b.id, -7, 0, 2147483647, play::MaxPlayerId + 1}) {
        for (int link : links) {
            member.Send(link, PlayerCreated{{id, "mallory", "0"}});
            member.Send(link, Application{id, 0, {1, 0, 0, 0}});
        }
    }
    // The id the host gives it is taken everywhere.
    member.Send(links[0], PlayerIdRequest{1, "mallory", "0"});
    const auto granted = member.Next<PlayerIdReply>(links[0]);
    ASSERT_TRUE(granted);
    ASSERT_GT(granted->id, 0);
    for (int link : links) member.Send(link, PlayerCreated{{granted->id, "mallory", "0"}});
    EXPECT_EQ(SystemMessages(b.DrainAtLeast(1)), (std::vector<System>{{3, granted->id}}));
    EXPECT_EQ(b.PlayerIds(), (std::vector<int32_t>{host.id, b.id, granted->id}));
    for (int link : links) member.Send(link, Goodbye{});
    EXPECT_EQ(SystemMessages(b.DrainAtLeast(1)), (std::vector<System>{{5, granted->id}}));

    host.Kill();
    EXPECT_EQ(SystemMessages(b.DrainAtLeast(2, std::chrono::seconds(6))),
              (std::vector<System>{{5, host.id}, {0x101, 0}}));
    Machine d;
    ASSERT_TRUE(WaitFor([&] { return d.Search()->GetCount() == 1; }));
    d.Join("dora");
    EXPECT_GT(d.id, granted->id) << "an id no machine held before";
    const std::vector<int32_t> members{b.id, d.id};
    EXPECT_EQ(d.PlayerIds(), members);
    EXPECT_TRUE(WaitFor([&] { return b.PlayerIds() == members; }));
}

TEST_F(ProcessTest, MachineThatStopsAnsweringIsDestroyedEverywhere) {
    Machine a;
    a.Host("alice");
    JoiningPeer joiner("jon");
    ASSERT_TRUE(WaitFor([&] { return a.PlayerIds().size() == 2; }));
    a.Drain();

    joiner.Stop();
    EXPECT_EQ(SystemMessages(a.DrainAtLeast(1, std::chrono::seconds(6))), (std::vector<System>{{5, joiner.id}}));
    EXPECT_EQ(a.PlayerIds(), (std::vector<int32_t>{a.id}));
}

}  // namespace
