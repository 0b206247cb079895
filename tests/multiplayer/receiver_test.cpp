// The message receiver against test peers on loopback: the machine under
// test is the process's own game state, the other machines are peers.

#include "multiplayer/receiver.h"

#include "core/game_state.h"
#include "core/game_window.h"
#include "multiplayer/messages.h"
#include "multiplayer/session_setup.h"
#include "multiplayer/session_state.h"
#include "platform/play/direct_play.h"
#include "platform/rm/rm.h"
#include "player/formal_name.h"
#include "player/player.h"
#include "player/player_fixture.h"
#include "sample_state.h"
#include "support/expect_near.h"
#include "support/test_peer.h"
#include "support/trace_log.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
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
    int32_t HostWithPeer(Peer& peer, const std::string& name = "bob", int32_t maxPlayers = 4) {
        InitDirectPlay();
        ConnectLan(0);
        CreateSession(maxPlayers);
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
        IndiceLocal = 0;
        Joueurs[0].id = IdLocalDP;
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
        {"kill", Message(MSG_KILL),
         [] {
             EXPECT_EQ(JoueurLocal().tueur, 1);
             EXPECT_EQ(JoueurLocal().snipper, 0);
         }},
        {"head-shot kill", Message(MSG_HEADKILL),
         [] {
             EXPECT_EQ(JoueurLocal().tueur, 1);
             EXPECT_EQ(JoueurLocal().snipper, 1);
         }},
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
        JoueurLocal().tueur = JoueurLocal().snipper = 0;
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

// A game runs here on "entrepot" with real players; peers join and leave it.
class RunningGameTest : public ReceiverTest {
protected:
    static void SetUpTestSuite() { PlayerFixture::SetUpTestSuite(); }
    static void TearDownTestSuite() { PlayerFixture::TearDownTestSuite(); }
    void SetUp() override {
        ReceiverTest::SetUp();
        PlayerFixture::UseScene();
    }

    // The game start's roster and players: one per id, in slot order.
    static void GameStartedWith(const std::vector<int32_t>& ids) {
        for (size_t i = 0; i < ids.size(); ++i) {
            IdsJoueurs[i] = ids[i];
            player& p = Joueurs[i];
            p.indice = int32_t(i);
            p.id = ids[i];
            p.nom = DPlay->GetPlayerFriendlyName(ids[i]);
            p.IdModele = ReadFormalName(DPlay->GetPlayerFormalName(ids[i])).side;
            p.texture = "TS01.bmp";
            if (ids[i] == IdLocalDP) IndiceLocal = int32_t(i);
            p.Initplayer();
        }
        NbJoueurs = 8;
        PartieEnCours = true;
    }

    static bool InGame(size_t slot) { return Joueurs.Peek(slot) && Joueurs.Peek(slot)->joueur; }

    // The start messages among the `count` messages `peer` waits for, to its
    // player `id`.
    static std::vector<StartMessage> StartsFor(Peer& peer, int32_t id, size_t count) {
        std::vector<StartMessage> starts;
        for (const Received& r : peer.ReceiveAtLeast(count)) {
            StartMessage start;
            if (r.code == MSG_START && r.to == id && ReadStartMessage(*r.message, start)) starts.push_back(start);
        }
        return starts;
    }
};

// This machine joined a session a peer hosts: it answers a late joiner
// although it is not the host, in the slot a departed player freed.
TEST_F(RunningGameTest, PlayerWhoLeavesIsRemovedAndOneWhoJoinsTakesTheFirstFreeSlot) {
    LocalPeer host, peer;
    host.Create();
    const int32_t carl = host.CreatePlayer("carl", "0");
    JoinAt(host);
    peer.Join();
    const int32_t bob = peer.CreatePlayer("bob", "1");
    const int32_t eve = peer.CreatePlayer("eve", "1");
    AwaitAndDrain(2);  // their creation, before the game
    GameStartedWith({carl, IdLocalDP, bob, eve});
    const auto roster = IdsJoueurs;

    peer.DestroyPlayer(bob);
    AwaitAndDrain(1);
    EXPECT_EQ(Message1, "bob leave the game.");
    EXPECT_FALSE(InGame(2));
    EXPECT_TRUE(InGame(3));
    peer.Receive();  // what the session told the peer so far

    const int32_t dave = peer.CreatePlayer("dave", "12");
    AwaitAndDrain(1);
    ASSERT_TRUE(InGame(2));
    const player& p = Joueurs[2];
    EXPECT_EQ(p.indice, 2);
    EXPECT_EQ(p.id, dave);
    EXPECT_EQ(p.nom, "dave");
    EXPECT_EQ(p.IdModele, 1);
    EXPECT_EQ(p.texture, "GS2.bmp");
    EXPECT_EQ(NbJoueurs, 8);
    EXPECT_EQ(IdsJoueurs, roster);
    EXPECT_FALSE(IsHost);

    const auto starts = StartsFor(peer, dave, 1);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].count, 4);
    const std::array<int32_t, 4> joinOrder = {carl, IdLocalDP, eve, dave};
    EXPECT_TRUE(std::equal(joinOrder.begin(), joinOrder.end(), starts[0].ids.begin()));
    EXPECT_EQ(starts[0].hostId, IdLocalDP);
    EXPECT_EQ(starts[0].sessionName, SessionName);
    EXPECT_EQ(starts[0].mapName, "entrepot");
}

play::DirectPlayMessage StateOf(const StateMessage& state) {
    play::DirectPlayMessage message;
    WriteStateMessage(message, state);
    return message;
}

// What a player here shows, in the fields of a state message.
StateMessage Shown(const player& p) {
    const rm::Vector blood = p.Frmsang->GetPosition(FrameMonde);
    return {.position = {p.gPlayerpositionx, p.gPlayerpositiony, p.gPlayerpositionz},
            .facing = {p.gPlayerori1x, p.gPlayerori1y, p.gPlayerori1z},
            .pivot = p.pivot,
            .colonne = p.colonne,
            .Anipos = p.Anipos,
            .AniBuste = p.AniBuste,
            .weapon = p.gPlayerArme,
            .fps = int32_t(p.fps),
            .fps2 = int32_t(p.fps2),
            .traversal = p.joueur->GetTraversalOptions(),
            .idson = p.idson,
            .idson2 = p.idson2,
            .idson3 = p.idson3,
            .blood = {blood.x, blood.y, blood.z},
            .bloodStep = p.Frmsang->GetAppData(),
            .flashStep = p.flash->GetAppData()};
}

// The blood decal goes through the root's scaled frame: within single
// precision, not exactly.
void ExpectShows(const player& p, const StateMessage& state) {
    StateMessage shown = Shown(p);
    ExpectNear(rm::Vector{float(shown.blood[0]), float(shown.blood[1]), float(shown.blood[2])},
               rm::Vector{float(state.blood[0]), float(state.blood[1]), float(state.blood[2])}, 1e-3f);
    shown.blood = state.blood;
    EXPECT_TRUE(shown == state) << "position x " << shown.position[0] << ", colonne " << shown.colonne << ", traversal "
                                << shown.traversal << ", flash step " << shown.flashStep;
}

// A state with one field changed by `change`.
StateMessage SampleStateBut(const std::function<void(StateMessage&)>& change) {
    StateMessage state = SampleState();
    change(state);
    return state;
}

TEST_F(RunningGameTest, StateMessagesShowTheirPlayerAndBadOnesChangeNothing) {
    LocalPeer peer;
    const int32_t bob = HostWithPeer(peer, "bob", 8);  // side 0
    const int32_t eve = peer.CreatePlayer("eve", "1x");
    const int32_t cy = peer.CreatePlayer("cy", "1");  // its state follows each row
    const int32_t zed = peer.CreatePlayer("zed", "0");
    AwaitAndDrain(3);
    GameStartedWith({IdLocalDP, bob, eve, cy});  // zed is not in the game here
    const player& b = Joueurs[1];
    const player& e = Joueurs[2];
    // A shot's event followed by a message without one: no shot here.
    const StateMessage later = SampleStateBut([](StateMessage& s) {
        s.position = {4, 5, 6};
        s.idson2 = 0;
    });
    const StateMessage dead = SampleStateBut([](StateMessage& s) { s.traversal = 1; });
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* what;
        int32_t from;
        std::vector<play::DirectPlayMessage> messages;
        const char* line;          // the info line it leaves
        const StateMessage* eves;  // eve's state after it; null: as before
        const StateMessage* bobs;  // bob's
    };
    const auto bad = [&](const char* what, const std::function<void(StateMessage&)>& change) {
        return Case{what, bob, {StateOf(SampleStateBut(change))}, "", nullptr, nullptr};
    };
    const StateMessage first = SampleState();
    const std::vector<Case> cases = {
        {"first state of a side-1 player", eve, {StateOf(first)}, "The GIGN eve come in Game.", &first, nullptr},
        {"a later state of it", eve, {StateOf(later)}, "", &later, nullptr},
        {"first state of a side-0 player", bob, {StateOf(first)}, "The TERRORIST bob come in Game.", nullptr, &first},
        {"two states before a frame: the last counts", eve, {StateOf(first), StateOf(later)}, "", &later, nullptr},
        {"a dead state", bob, {StateOf(dead)}, "", nullptr, &dead},
        bad("position not a number", [&](StateMessage& s) { s.position[0] = nan; }),
        bad("facing infinite", [&](StateMessage& s) { s.facing[2] = -inf; }),
        bad("tilt not a number", [&](StateMessage& s) { s.pivot = nan; }),
        bad("blood beyond single precision", [](StateMessage& s) { s.blood[1] = 1e39; }),
        bad("zero facing",
            [](StateMessage& s) {
                s.facing = {0, 0, 0};
            }),
        bad("facing too short to turn to",
            [](StateMessage& s) {
                s.facing = {1e-30, 0, 0};
            }),
        bad("traversal 0", [](StateMessage& s) { s.traversal = 0; }),
        bad("traversal 2", [](StateMessage& s) { s.traversal = 2; }),
        bad("blood step -1", [](StateMessage& s) { s.bloodStep = -1; }),
        bad("blood step 11", [](StateMessage& s) { s.bloodStep = 11; }),
        bad("flash step -1", [](StateMessage& s) { s.flashStep = -1; }),
        bad("flash step 4", [](StateMessage& s) { s.flashStep = 4; }),
        {"cut short", bob, {Message(MSG_STATE, 1.0, 2.0, 3.0)}, "", nullptr, nullptr},
        {"from a player without a slot", zed, {StateOf(first)}, "", nullptr, nullptr},
    };
    peer.Send(cy, 0, 0, StateOf(first));  // its arrival line before the rows
    AwaitAndDrain(1);
    int32_t row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Message1 = "";
        const StateMessage eveBefore = Shown(e), bobBefore = Shown(b);
        for (const auto& message : c.messages) peer.Send(c.from, 0, 0, message);
        const StateMessage follows = SampleStateBut([&](StateMessage& s) { s.colonne = ++row; });
        peer.Send(cy, 0, 0, StateOf(follows));
        AwaitAndDrain(int32_t(c.messages.size()) + 1);
        EXPECT_EQ(Joueurs[3].colonne, row) << "the state after it still applies";
        EXPECT_EQ(Message1, c.line);
        ExpectShows(e, c.eves ? *c.eves : eveBefore);
        ExpectShows(b, c.bobs ? *c.bobs : bobBefore);
        for (size_t slot = 0; slot < 8; ++slot) EXPECT_NE(Joueurs[slot].id, zed);
    }
    EXPECT_EQ(b.joueur->GetTraversalOptions(), rm::traversal::Draw) << "the dead stay drawn and are no longer hit";
}

TEST_F(RunningGameTest, JoinersNamesFromAnotherMachineNeverFailTheirPlayer) {
    LocalPeer peer;
    const int32_t bob = HostWithPeer(peer);
    GameStartedWith({IdLocalDP, bob});
    struct Case {
        const char* formal;
        int32_t side;
        const char* texture;
    };
    const Case cases[] = {{"x", 0, "TS.bmp"}, {"", 0, "TS.bmp"}, {"1../skin", 1, "GS.bmp"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.formal);
        const int32_t id = peer.CreatePlayer("joiner", c.formal);
        AwaitAndDrain(1);
        ASSERT_TRUE(InGame(2));
        EXPECT_EQ(Joueurs[2].id, id);
        EXPECT_EQ(Joueurs[2].IdModele, c.side);
        EXPECT_EQ(Joueurs[2].texture, c.texture);
        EXPECT_EQ(StartsFor(peer, id, 1).size(), 1u);
        peer.DestroyPlayer(id);  // its slot is the next joiner's
        AwaitAndDrain(1);
    }
}

TEST_F(RunningGameTest, JoinerGetsNoSecondSlotAndWithAllSlotsTakenNoneAtAll) {
    LocalPeer peer;
    const int32_t bob = HostWithPeer(peer);
    // Created before this machine's game started, and listed by its start.
    const int32_t dave = peer.CreatePlayer("dave", "0");
    ASSERT_TRUE(WaitFor([] { return DPlay->GetMessageCount(IdLocalDP) == 1; }));
    GameStartedWith({IdLocalDP, bob, dave});
    ReceiveMessages();
    EXPECT_FALSE(InGame(3)) << "a second player for dave";
    EXPECT_EQ(StartsFor(peer, dave, 1).size(), 1u) << "it is still answered";

    for (size_t slot = 3; slot < 8; ++slot) Joueurs[slot].joueur = D3DRM->CreateFrame(FrameJoueurs);
    const int32_t eve = peer.CreatePlayer("eve", "0");
    AwaitAndDrain(1);
    EXPECT_FALSE(Joueurs.Peek(8));
    for (size_t slot = 0; slot < 8; ++slot) EXPECT_NE(Joueurs[slot].id, eve);
    // Guaranteed messages keep their order: a start message for eve would
    // come before this one.
    SendNewHost();
    bool marker = false;
    for (const Received& r : peer.ReceiveAtLeast(1)) {
        EXPECT_FALSE(r.code == MSG_START && r.to == eve) << "eve was started";
        marker = marker || r.code == MSG_HOST;
    }
    EXPECT_TRUE(marker);
}

TEST_F(RunningGameTest, LeaveOfAPlayerWithoutASlotChangesNothing) {
    LocalPeer peer;
    const int32_t bob = HostWithPeer(peer);
    const int32_t zed = peer.CreatePlayer("zed", "0");  // not in this machine's game
    AwaitAndDrain(1);
    GameStartedWith({IdLocalDP, bob});
    peer.DestroyPlayer(zed);
    peer.Send(bob, 0, 0, Message(MSG_CHAT, std::string("still read")));
    AwaitAndDrain(2);
    EXPECT_EQ(Message1, "bob says: still read");
    EXPECT_TRUE(InGame(0));
    EXPECT_TRUE(InGame(1));
}

// Bob joined the session before eve but holds slot 2 here: a hit is taken
// from the slot that holds its sender's id on this machine.
TEST_F(RunningGameTest, HitsTakeTheShootersSlotHereAndBadOnesChangeNothing) {
    LocalPeer peer;
    const int32_t bob = HostWithPeer(peer);
    const int32_t eve = peer.CreatePlayer("eve", "1");
    const int32_t zed = peer.CreatePlayer("zed", "0");  // not in this machine's game
    AwaitAndDrain(2);
    GameStartedWith({IdLocalDP, eve, bob});
    player& me = JoueurLocal();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* what;
        int32_t from;
        play::DirectPlayMessage message;
        int32_t force;
        rm::Vector blood;
    };
    const std::vector<Case> cases = {
        {"a body hit", bob, Message(MSG_HIT, 1.0, 2.0, 3.0, int32_t{10}), 90, {1, 2, 3}},
        {"a point that is no number", bob, Message(MSG_HIT, nan, 2.0, 3.0, int32_t{10}), 90, {0, 0, 0}},
        {"a point beyond single precision", bob, Message(MSG_HIT, 1e300, 2.0, 3.0, int32_t{10}), 90, {0, 0, 0}},
        {"a hit cut short", bob, Message(MSG_HIT, 1.0, 2.0, 3.0), 100, {0, 0, 0}},
        {"damage of the wrong kind", bob, Message(MSG_HIT, 1.0, 2.0, 3.0, 4.0), 100, {0, 0, 0}},
        {"a hit with more fields", bob, Message(MSG_HIT, 1.0, 2.0, 3.0, int32_t{10}, int32_t{1}), 100, {0, 0, 0}},
        {"a hit from an id without a slot", zed, Message(MSG_HIT, 1.0, 2.0, 3.0, int32_t{10}), 100, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        me.force = 100;
        me.Frmsang->SetPosition(FrameMonde, 0, 0, 0);
        Message1 = "";
        peer.Send(c.from, IdLocalDP, play::SendGuaranteed, c.message);
        peer.Send(bob, 0, play::SendGuaranteed, Message(MSG_CHAT, std::string("still read")));
        AwaitAndDrain(2);
        EXPECT_EQ(me.force, c.force);
        ExpectNear(me.Frmsang->GetPosition(FrameMonde), c.blood);
        EXPECT_EQ(Message1, "bob says: still read");
    }

    // A hit the local player fails to take is dropped alone, and said so.
    TraceLog log;
    const rm::FramePtr blood = me.Frmsang;
    me.Frmsang = nullptr;
    Message1 = "";
    peer.Send(bob, IdLocalDP, play::SendGuaranteed, Message(MSG_HIT, 1.0, 2.0, 3.0, int32_t{10}));
    peer.Send(bob, 0, play::SendGuaranteed, Message(MSG_CHAT, std::string("still read")));
    AwaitAndDrain(2);
    me.Frmsang = blood;
    EXPECT_EQ(Message1, "bob says: still read");
    EXPECT_EQ(log.LinesStartingWith("hit dropped"),
              std::vector<std::string>{"hit dropped: Object variable not set: 91"});

    peer.Receive();
    peer.Send(bob, IdLocalDP, play::SendGuaranteed, Message(MSG_HIT, 0.0, 0.0, 0.0, int32_t{-1}));
    AwaitAndDrain(1);
    EXPECT_TRUE(me.mort);
    EXPECT_EQ(me.tue, 1);
    EXPECT_EQ(me.snipped, 1);
    EXPECT_EQ(Message2, "This FUCKING bob SNIPPE ME in the HEAD !!!");
    bool told = false;
    for (const Received& r : peer.ReceiveAtLeast(3)) told = told || (r.code == MSG_HEADKILL && r.to == bob);
    EXPECT_TRUE(told) << "the kill goes to the shooter's id";
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
