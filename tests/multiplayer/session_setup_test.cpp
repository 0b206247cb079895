// The program's side of a session, against test peers on loopback: the
// machine under test is the process's own game state.

#include "multiplayer/session_setup.h"

#include "core/game_state.h"
#include "core/game_window.h"
#include "multiplayer/session_state.h"
#include "platform/play/direct_play.h"
#include "platform/play/errors.h"
#include "platform/play/limits.h"
#include "player/formal_name.h"
#include "support/test_peer.h"

#include <gtest/gtest.h>

using namespace play_test;

namespace {

using System = std::pair<int32_t, int32_t>;

class SessionSetupTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        FriendlyName = "Ana";
        FormalName = MakeFormalName(1, "2");
        SessionName = "Quellmar game (ENTREPOT)";
    }
    void TearDown() override { LeaveSession(); }

    // As the launcher does before the lobby in LAN mode.
    static void ConnectOnLan() {
        InitDirectPlay();
        ConnectLan(0);
    }

    // The session's players as this machine lists them.
    static std::vector<PlayerInfo> PlayersHere() {
        const auto players = DPlay->GetDPEnumPlayers("", 0);
        std::vector<PlayerInfo> all;
        for (int32_t i = 1; i <= players->GetCount(); ++i) {
            const int32_t id = players->GetDPID(i);
            all.push_back({id, DPlay->GetPlayerFriendlyName(id), DPlay->GetPlayerFormalName(id)});
        }
        return all;
    }

    static SessionFailure CreateFailure(int32_t maxPlayers) {
        try {
            CreateSession(maxPlayers);
        } catch (const SessionFailure& failure) {
            return failure;
        }
        ADD_FAILURE() << "the create did not fail";
        return {SessionStep::Open, Failure(0, "")};
    }
};

TEST_F(SessionSetupTest, CreatedSessionIsFoundUnderTheKeyWithItsMaximumAndTheCreatorHosts) {
    for (const int32_t maxPlayers : {2, 4, 8}) {
        SCOPED_TRACE(maxPlayers);
        ConnectOnLan();
        CreateSession(maxPlayers);
        EXPECT_EQ(HostPlayerId, IdLocalDP);
        EXPECT_TRUE(IsHost);

        LocalPeer peer;
        EXPECT_EQ(peer.Find(), (std::vector<SessionInfo>{{SessionName, maxPlayers, 4, AppGuid, 1}}));
        EXPECT_TRUE(peer.Find("{AC330441-9B71-11D2-9AAB-0020781461AD}").empty());
        peer.Join();
        const int32_t bob = peer.CreatePlayer("bob", "03");
        EXPECT_EQ(peer.Players(), (std::vector<PlayerInfo>{{IdLocalDP, "Ana", "12"}, {bob, "bob", "03"}}));
        LeaveSession();
    }
}

TEST_F(SessionSetupTest, JoinerIsListedAfterTheHostOnBothSidesAndLeavesTheHostFlagsAlone) {
    LocalPeer peer;
    peer.Create();
    const int32_t carl = peer.CreatePlayer("carl", "0");
    ConnectOnLan();
    DPEnumSessions = SearchSessions(*DPlay, AppGuid, play::EnumSessionsAvailable);
    ASSERT_EQ(DPEnumSessions->GetCount(), 1);

    JoinSession(DPEnumSessions->GetItem(1));
    const std::vector<PlayerInfo> players{{carl, "carl", "0"}, {IdLocalDP, "Ana", "12"}};
    EXPECT_EQ(PlayersHere(), players);
    EXPECT_EQ(peer.Players(), players);
    EXPECT_EQ(SystemMessages(peer.ReceiveAtLeast(1)), (std::vector<System>{{3, IdLocalDP}}));
    EXPECT_EQ(HostPlayerId, 0);
    EXPECT_FALSE(IsHost);
}

TEST_F(SessionSetupTest, TcpIpConnectionFindsAPeerSessionEachTimeOnAFreshObject) {
    LocalPeer peer;
    peer.Create();
    peer.CreatePlayer("carl", "0");

    ConnectTcpIp("127.0.0.1");
    const auto first = DPlay;
    ASSERT_TRUE(DPLobby && DPAddress);
    DPEnumSessions = SearchSessions(*DPlay, AppGuid, play::EnumSessionsAvailable);
    ASSERT_EQ(DPEnumSessions->GetCount(), 1);
    JoinSession(DPEnumSessions->GetItem(1));
    const int32_t joined = IdLocalDP;

    // Connecting again leaves the session the old object was in.
    ConnectTcpIp("127.0.0.1");
    EXPECT_NE(DPlay, first);
    EXPECT_EQ(SystemMessages(peer.ReceiveAtLeast(2)), (std::vector<System>{{3, joined}, {5, joined}}));
    DPEnumSessions = SearchSessions(*DPlay, AppGuid, play::EnumSessionsAvailable);
    ASSERT_EQ(DPEnumSessions->GetCount(), 1);
    EXPECT_EQ(DPEnumSessions->GetItem(1)->GetSessionName(), SessionInfo{}.name);
}

// What a player sees: the game is listed on another machine, joined, both
// sides show both players' nickname, side and skin, and the game window's
// closing takes the local player out.
TEST_F(SessionSetupTest, PeerInAnotherProcessListsJoinsAndSeesTheGameWindowLeave) {
    ConnectOnLan();
    CreateSession(4);
    ChildPeer peer;
    EXPECT_EQ(peer.Find(), (std::vector<SessionInfo>{{SessionName, 4, 4, AppGuid, 1}}));
    peer.Join();
    const int32_t bob = peer.CreatePlayer("bob", MakeFormalName(0, "3"));

    const std::vector<PlayerInfo> players{{IdLocalDP, "Ana", "12"}, {bob, "bob", "03"}};
    EXPECT_EQ(PlayersHere(), players);
    EXPECT_EQ(peer.Players(), players);
    const FormalNameParts ana = ReadFormalName(PlayersHere()[0].formalName);
    const FormalNameParts seenByPeer = ReadFormalName(peer.Players()[1].formalName);
    EXPECT_EQ(std::pair(ana.side, ana.skin), std::pair(1, std::string("2")));
    EXPECT_EQ(std::pair(seenByPeer.side, seenByPeer.skin), std::pair(0, std::string("3")));

    const int32_t leaving = IdLocalDP;
    PartieEnCours = true;
    DPEnumSessions = SearchSessions(*DPlay, AppGuid, 0);
    GameWindow().Show();
    GameWindow().Unload();
    EXPECT_EQ(SystemMessages(peer.ReceiveAtLeast(2)), (std::vector<System>{{5, leaving}, {0x101, 0}}));
    EXPECT_FALSE(DPlay);
    EXPECT_FALSE(DPEnumConnections);
    EXPECT_FALSE(DPEnumSessions);
    EXPECT_FALSE(IsHost);
    EXPECT_FALSE(PartieEnCours);
}

TEST_F(SessionSetupTest, RefusedCreateGivesTheLayerNumberAndLeavesNothingOpen) {
    const std::string overCap(play::MaxStringLength + 1, 'n');
    struct Case {
        int32_t maxPlayers;
        std::string sessionName, friendlyName, formalName;
        SessionStep step;
    };
    const Case cases[] = {
        {9, "Game (COULOIRS)", "Ana", "12", SessionStep::Open},
        {1, "Game (COULOIRS)", "Ana", "12", SessionStep::Open},
        {4, overCap, "Ana", "12", SessionStep::Open},
        {4, "Game (COULOIRS)", overCap, "12", SessionStep::LocalPlayer},
        {4, "Game (COULOIRS)", "Ana", overCap, SessionStep::LocalPlayer},
    };
    LocalPeer peer;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.maxPlayers);
        ConnectOnLan();
        SessionName = c.sessionName;
        FriendlyName = c.friendlyName;
        FormalName = c.formalName;
        const SessionFailure failure = CreateFailure(c.maxPlayers);
        EXPECT_EQ(failure.Number(), play::error::InvalidParams);
        EXPECT_EQ(failure.Step(), c.step);
        EXPECT_FALSE(IsHost);
        EXPECT_TRUE(peer.Find().empty());

        SessionName = "Game (COULOIRS)";
        FriendlyName = "Ana";
        FormalName = "12";
        CreateSession(4);
        EXPECT_EQ(peer.Find().size(), 1u);
        LeaveSession();
    }
}

}  // namespace
