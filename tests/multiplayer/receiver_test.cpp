// The message receiver against test peers on loopback: the machine under
// test is the process's own game state, the other machines are peers.

#include "multiplayer/receiver.h"

#include "core/game_state.h"
#include "core/game_window.h"
#include "multiplayer/messages.h"
#include "multiplayer/session_setup.h"
#include "multiplayer/session_state.h"
#include "platform/play/direct_play.h"
#include "support/test_peer.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace play_test;

namespace {

// What the game start would have started with.
struct Started {
    uint8_t count = 0;
    std::array<int32_t, 9> ids{};
    int32_t hostId = 0;
    std::string sessionName, mapName;
    bool operator==(const Started&) const = default;
};

// A message of raw bytes, for what no writer makes: a string cut short.
play::DirectPlayMessage Raw(std::vector<uint8_t> bytes) { return play::DirectPlayMessage(std::move(bytes)); }

class ReceiverTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        FriendlyName = "Ana";
        FormalName = "12";
        SessionName = "Quellmar game (ENTREPOT)";
        NomMap = "entrepot";
        GameStartCall = [this] { starts_.push_back({NbJoueurs, IdsJoueurs, HostPlayerId, SessionName, NomMap}); };
    }
    void TearDown() override { LeaveSession(); }

    // This machine hosts the session and `peer` joins it with one player.
    int32_t HostWithPeer(Peer& peer, const std::string& name = "bob") {
        InitDirectPlay();
        ConnectLan(0);
        CreateSession(4);
        peer.Join();
        const int32_t id = peer.CreatePlayer(name, "03");
        AwaitAndDrain(1);  // its creation
        return id;
    }

    // `host` has made the session with one player; this machine joins it.
    static void JoinAt(Peer& host) {
        InitDirectPlay();
        ConnectLan(0);
        ASSERT_TRUE(WaitFor([&] { return !host.Players().empty(); }));
        DPEnumSessions = SearchSessions(*DPlay, AppGuid, play::EnumSessionsAvailable);
        ASSERT_EQ(DPEnumSessions->GetCount(), 1);
        JoinSession(DPEnumSessions->GetItem(1));
    }

    // Waits until `count` messages wait here; then one drain.
    static void AwaitAndDrain(int32_t count) {
        ASSERT_TRUE(WaitFor([&] { return DPlay->GetMessageCount(IdLocalDP) >= count; }))
            << DPlay->GetMessageCount(IdLocalDP) << " of " << count;
        ReceiveMessages();
    }

    // A game runs here with this machine and the player `other`.
    static void GameRunsWith(int32_t other) {
        PartieEnCours = true;
        NbJoueurs = 8;
        IdsJoueurs = {IdLocalDP, other};
    }

    std::vector<Started> starts_;
};

TEST_F(ReceiverTest, MessagesOfEveryTypeApplyAndTheNextMessageStillDoes) {
    LocalPeer peer;
    const int32_t bob = HostWithPeer(peer);
    GameRunsWith(bob);
    const auto next = Message(MSG_HOST, int32_t{4242});
    struct Case {
        const char* what;
        play::DirectPlayMessage message;
        std::function<void()> check;
    };
    const std::vector<Case> cases = {
        {"chat line", Message(MSG_CHAT, std::string("hello")), [] { EXPECT_EQ(Message1, "bob says: hello"); }},
        {"kill notice", Message(MSG_TEXT, std::string("This FUCKING Ana kill ME !!!")),
         [] { EXPECT_EQ(Message2, "bob says: This FUCKING Ana kill ME !!!"); }},
        {"next roster slot", Message(MSG_NEXT), [] { EXPECT_EQ(RosterPos, 1); }},
        {"type 7 without this machine's record", Message(MSG_7, int32_t{5}, int32_t{6}), [] {}},
        {"type 7 with this machine's record",
         Message(MSG_7, int32_t{5}, IdLocalDP, 1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0, 9.0, 10.0, 11.0, 12.0,
                 uint8_t{1}, int32_t{2}, 3.0, 4.0),
         [] {}},
        {"type 2", Message(int32_t{2}, int32_t{1}), [] {}},
        {"type 3", Message(int32_t{3}), [] {}},
        {"type 6", Message(int32_t{6}, std::string("x")), [] {}},
        {"type 13", Message(int32_t{13}), [] {}},
        {"type -1", Message(int32_t{-1}, 1.0), [] {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Message1 = Message2 = "";
        RosterPos = 0;
        HostPlayerId = 0;
        peer.Send(bob, 0, 0, c.message);
        peer.Send(bob, 0, 0, next);
        AwaitAndDrain(2);
        c.check();
        EXPECT_EQ(HostPlayerId, 4242) << "the message after it still applies";
        EXPECT_EQ(DPlay->GetMessageCount(IdLocalDP), 0);
    }
}

TEST_F(ReceiverTest, MalformedMessagesAreDroppedWholeAndTheQueueIsStillRead) {
    LocalPeer peer;
    const int32_t bob = HostWithPeer(peer);
    GameRunsWith(bob);
    const int32_t me = IdLocalDP;
    const std::string name = "Game (DOCKS)";
    struct Case {
        const char* what;
        play::DirectPlayMessage message;
    };
    const std::vector<Case> cases = {
        {"empty message", Raw({})},
        {"type cut short", Raw({5, 0})},
        {"chat without its text", Message(MSG_CHAT)},
        {"text cut short", Raw({11, 0, 0, 0, 9, 0, 'a', 'b'})},
        {"host id of the wrong kind", Message(MSG_HOST, uint8_t{3})},
        {"type 7 record cut short", Message(MSG_7, me, 1.0, 2.0)},
        {"start with no player", Message(MSG_START, uint8_t{0}, me, name, std::string("docks"))},
        {"start with nine players",
         Message(MSG_START, uint8_t{9}, me, bob, 3, 4, 5, 6, 7, 8, 9, me, name, std::string("docks"))},
        {"start with 255 players", Message(MSG_START, uint8_t{255}, me, bob, me, name, std::string("docks"))},
        {"start without this machine", Message(MSG_START, uint8_t{1}, bob, bob, name, std::string("docks"))},
        {"start cut short", Message(MSG_START, uint8_t{2}, me, bob, me, name)},
    };
    const Started before{NbJoueurs, IdsJoueurs, 0, SessionName, NomMap};
    for (const bool running : {true, false}) {
        PartieEnCours = running;
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (running ? " in a game" : " before one"));
            Message1 = Message2 = "";
            HostPlayerId = 0;
            peer.Send(bob, 0, 0, c.message);
            peer.Send(bob, 0, 0, Message(MSG_CHAT, std::string("still read")));
            AwaitAndDrain(2);
            EXPECT_EQ(Message1, "bob says: still read");
            EXPECT_EQ(Message2, "");
            EXPECT_EQ((Started{NbJoueurs, IdsJoueurs, HostPlayerId, SessionName, NomMap}), before);
            EXPECT_TRUE(starts_.empty());
            EXPECT_EQ(PartieEnCours, running);
        }
    }
}

TEST_F(ReceiverTest, FirstStartMessageStartsTheGameAndLaterOnesChangeNothing) {
    LocalPeer peer;
    const int32_t bob = HostWithPeer(peer);
    const int32_t me = IdLocalDP;
    const auto start = [&](int32_t host, const std::string& session, const std::string& map) {
        return Message(MSG_START, uint8_t{2}, bob, me, host, session, map);
    };
    peer.Send(bob, me, play::SendGuaranteed, start(bob, "Bob game (DOCKS)", "docks"));
    peer.Send(bob, me, play::SendGuaranteed, start(77, "Other (ENTREPOT)", "entrepot"));
    AwaitAndDrain(2);
    const Started first{2, {bob, me}, bob, "Bob game (DOCKS)", "docks"};
    ASSERT_EQ(starts_, std::vector<Started>{first});
    EXPECT_TRUE(PartieEnCours);
    EXPECT_EQ(DPlay->GetMessageCount(IdLocalDP), 0) << "the second one was read";

    peer.Send(bob, me, play::SendGuaranteed, start(78, "Third (COULOIRS)", "couloirs"));
    AwaitAndDrain(1);
    EXPECT_EQ(starts_.size(), 1u);
    EXPECT_EQ((Started{NbJoueurs, IdsJoueurs, HostPlayerId, SessionName, NomMap}), first);
}

TEST_F(ReceiverTest, OneDrainReadsOnlyWhatWaitedWhenItBegan) {
    LocalPeer peer;
    const int32_t bob = HostWithPeer(peer);
    const int32_t me = IdLocalDP;
    peer.Send(bob, me, play::SendGuaranteed, Message(MSG_START, uint8_t{2}, me, bob, bob, SessionName, NomMap));
    peer.Send(bob, 0, play::SendGuaranteed, Message(MSG_CHAT, std::string("first")));
    // A message that comes while the drain runs waits for the next one.
    GameStartCall = [&] {
        peer.Send(bob, 0, play::SendGuaranteed, Message(MSG_CHAT, std::string("later")));
        ASSERT_TRUE(WaitFor([] { return DPlay->GetMessageCount(IdLocalDP) == 2; }));
    };
    AwaitAndDrain(2);
    EXPECT_EQ(Message1, "bob says: first");
    EXPECT_EQ(DPlay->GetMessageCount(IdLocalDP), 1);
    ReceiveMessages();
    EXPECT_EQ(Message1, "bob says: later");

    ReceiveMessages();  // an empty queue
    EXPECT_EQ(Message1, "bob says: later");
    LeaveSession();
    ReceiveMessages();  // no session object
    EXPECT_FALSE(DPlay);
}

// This machine joined a session that a peer hosts and another peer joined
// later; the host leaves, and this machine, the oldest member left, takes
// over and tells the other.
TEST_F(ReceiverTest, NewHostAnnouncesItselfToTheOthers) {
    LocalPeer host, other;
    host.Create();
    const int32_t old = host.CreatePlayer("carl", "0");
    JoinAt(host);
    other.Join();
    other.CreatePlayer("dave", "1");
    AwaitAndDrain(1);  // its creation
    GameRunsWith(old);

    host.Leave();
    AwaitAndDrain(2);  // the host's departure, then the host role
    EXPECT_TRUE(IsHost);
    EXPECT_EQ(HostPlayerId, IdLocalDP);
    EXPECT_EQ(Message1, "You are now the host.");
    bool told = false;
    for (const Received& r : other.ReceiveAtLeast(2))
        if (r.from == IdLocalDP && r.code == MSG_HOST) told = r.message->ReadLong() == IdLocalDP;
    EXPECT_TRUE(told);
}

TEST_F(ReceiverTest, StartMessageListsEveryPlayerInJoinOrderAndNamesItsSenderAsHost) {
    LocalPeer host;
    host.Create();
    const int32_t carl = host.CreatePlayer("carl", "0");
    JoinAt(host);
    ASSERT_FALSE(IsHost);
    host.ReceiveAtLeast(1);  // this machine's creation
    NomMap = "docks";

    SendStartGame(carl);  // a member that is not the host answers too
    const auto got = host.ReceiveAtLeast(1);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].from, IdLocalDP);
    EXPECT_EQ(got[0].to, carl);
    ASSERT_EQ(got[0].code, MSG_START);
    StartMessage start;
    ASSERT_TRUE(ReadStartMessage(*got[0].message, start));
    EXPECT_EQ(start.count, 2);
    EXPECT_EQ(start.ids[0], carl);
    EXPECT_EQ(start.ids[1], IdLocalDP);
    EXPECT_EQ(start.hostId, IdLocalDP);
    EXPECT_EQ(start.sessionName, SessionName);
    EXPECT_EQ(start.mapName, "docks");
}

TEST_F(ReceiverTest, ChatBoxAndKillNoticesReachEveryOtherPlayer) {
    LocalPeer peer;
    const int32_t bob = HostWithPeer(peer);
    Form1& window = GameWindow();
    window.Text1.SetText("gg");
    window.Text1_LostFocus();
    window.Text1_LostFocus();  // an empty line is sent too
    EnvoiTexte("This FUCKING bob kill ME !!!", MSG_TEXT);
    const auto got = peer.ReceiveAtLeast(3);
    ASSERT_EQ(got.size(), 3u);
    const std::pair<int32_t, std::string> sent[] = {
        {MSG_CHAT, "gg"}, {MSG_CHAT, ""}, {MSG_TEXT, "This FUCKING bob kill ME !!!"}};
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].from, IdLocalDP);
        EXPECT_EQ(got[i].to, bob);
        EXPECT_EQ(got[i].code, sent[i].first);
        EXPECT_EQ(got[i].message->ReadString(), sent[i].second);
    }
    LeaveSession();
    EnvoiTexte("nobody hears it", MSG_CHAT);  // no session object: nothing, and no failure
}

TEST(NextRosterSlot, FindsTheNextFilledSlotCyclicallyAndStopsOnAnEmptyRoster) {
    struct Case {
        std::array<int32_t, 9> ids;
        int16_t from, to;
    };
    const Case cases[] = {
        {{1, 2, 0, 4}, 0, 1},
        {{1, 2, 0, 4}, 1, 3},
        {{1, 2, 0, 4}, 3, 0},
        {{0, 0, 0, 0, 0, 0, 0, 7}, 7, 7},     // one full turn back to itself
        {{0, 0, 0, 0, 0, 0, 0, 0, 9}, 2, 2},  // slot 8 is not in the turn
        {{}, 5, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from);
        IdsJoueurs = c.ids;
        RosterPos = c.from;
        NextRosterSlot();
        EXPECT_EQ(RosterPos, c.to);
    }
}

}  // namespace
