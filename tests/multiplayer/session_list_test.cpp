// The session list against test peers on loopback: what it lists, joining,
// and the ways out.

#include "multiplayer/session_list.h"

#include "lobby_fixture.h"

#include "core/game_state.h"
#include "launcher/launcher_window.h"
#include "launcher/settings.h"
#include "multiplayer/create_game.h"
#include "multiplayer/session_setup.h"
#include "multiplayer/session_state.h"
#include "multiplayer/waiting_room.h"
#include "platform/play/direct_play.h"
#include "platform/play/limits.h"
#include "support/trace_log.h"
#include "support/ui_events.h"
#include "web/game_list.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace play_test;

namespace {

constexpr char kNoGame[] = "Aucune partie en cours sur ce serveur !!";

using SessionList = LobbyTest;

struct ListingCase {
    std::string what;
    std::function<void(std::vector<std::unique_ptr<Peer>>&)> peers;
    std::vector<std::string> rows;
    std::string status;
};

TEST_F(SessionList, ListsTheAvailableGamesWithTheirPlayersAndSelectsTheFirst) {
    const std::vector<ListingCase> cases = {
        {"no game", [](auto&) {}, {}, kNoGame},
        {"one game",
         [](auto& peers) {
             peers.push_back(std::make_unique<ChildPeer>());
             peers.back()->Create({"Carl game (COULOIRS)", 4});
             peers.back()->CreatePlayer("carl", "03");
         },
         {"Carl game (COULOIRS) (1/4)"},
         "1 partie(s), click sur join pour rejoindre !!"},
        {"a full game",
         [](auto& peers) {
             peers.push_back(std::make_unique<ChildPeer>());
             peers.back()->Create({"Full (ENTREPOT)", 2});
             peers.back()->CreatePlayer("carl", "03");
             peers.push_back(std::make_unique<LocalPeer>());
             peers.back()->Join();
             peers.back()->CreatePlayer("dan", "1");
         },
         {},
         kNoGame},
    };
    for (const ListingCase& listing : cases) {
        SCOPED_TRACE(listing.what);
        std::vector<std::unique_ptr<Peer>> peers;
        listing.peers(peers);
        TraceLog log;
        EXPECT_TRUE(SessionsWindow().UpdateSessionList());
        EXPECT_EQ(Rows(SessionsWindow().lstSessions), listing.rows);
        EXPECT_EQ(SessionsWindow().lstSessions.ListIndex(), listing.rows.empty() ? -1 : 0);
        EXPECT_EQ(SessionsWindow().Label1.Caption(), listing.status);
        EXPECT_EQ(SessionsWindow().cmdJoin.Enabled(), !listing.rows.empty());
        EXPECT_EQ(log.LinesStartingWith("sessions listed").size(), 1u);
    }
    EXPECT_TRUE(boxes_.Seen().empty());
}

TEST_F(SessionList, ThreeGamesGiveThreeRowsInTheirOrder) {
    std::vector<std::shared_ptr<play::DirectPlaySessionData>> items;
    for (const auto& [name, players] :
         std::vector<std::pair<std::string, int32_t>>{{"a (X)", 1}, {"b (Y)", 3}, {"c", 7}}) {
        items.push_back(std::make_shared<play::DirectPlaySessionData>());
        items.back()->Fill({AppGuid, "", name, "", 8, 4}, players);
    }
    DPEnumSessions = std::make_shared<play::DirectPlayEnumSessions>(items);
    SessionsWindow().ListSessions();
    EXPECT_EQ(Rows(SessionsWindow().lstSessions), (std::vector<std::string>{"a (X) (1/8)", "b (Y) (3/8)", "c (7/8)"}));
    EXPECT_EQ(SessionsWindow().lstSessions.ListIndex(), 0);
    EXPECT_EQ(SessionsWindow().Label1.Caption(), "3 partie(s), click sur join pour rejoindre !!");
    EXPECT_TRUE(SessionsWindow().cmdJoin.Enabled());
}

TEST_F(SessionList, AFailingSearchLeavesJoinDisabledWithoutAMessage) {
    SessionsWindow().cmdJoin.SetEnabled(true);
    DPlay = play::DirectPlayCreate("");  // no connection yet
    EXPECT_FALSE(SessionsWindow().UpdateSessionList());
    EXPECT_TRUE(Rows(SessionsWindow().lstSessions).empty());
    EXPECT_FALSE(SessionsWindow().cmdJoin.Enabled());
    EXPECT_TRUE(boxes_.Seen().empty());
}

class SessionListWithAHost : public SessionList {
protected:
    void SetUp() override {
        SessionList::SetUp();
        peer_ = std::make_unique<ChildPeer>();
        peer_->Create({"Carl game (COULOIRS)", 4});
        peer_->CreatePlayer("carl", "03");
        SessionsWindow().Show();
        ASSERT_TRUE(SessionsWindow().UpdateSessionList());
    }
    std::unique_ptr<ChildPeer> peer_;  // made once the fixture has chosen the port
};

TEST_F(SessionListWithAHost, JoinGoesToTheWaitingRoomWithStartDisabledAndTheHostFlagsUntouched) {
    TraceLog log;
    // As the launch leaves it: the launcher loaded (with an object of its
    // own), and the list made on its connection.
    LauncherWindow().Load();
    boxes_.Take();
    ConnectLan(0);
    ASSERT_TRUE(SessionsWindow().UpdateSessionList());
    ui_events::Click(SessionsWindow().cmdJoin);
    EXPECT_TRUE(boxes_.Seen().empty());
    EXPECT_FALSE(LauncherWindow().IsLoaded());
    EXPECT_FALSE(SessionsWindow().Visible());
    ASSERT_TRUE(WaitingWindow().IsLoaded());
    EXPECT_TRUE(WaitingWindow().Visible());
    EXPECT_FALSE(WaitingWindow().cmdStart.Enabled());
    EXPECT_EQ(Rows(WaitingWindow().lstPlayers), (std::vector<std::string>{"carl (TERRORIST)", "Ana (GIGN)"}));
    EXPECT_EQ(WaitingWindow().lbStatus.Caption(), "2 of 4 players ready...");
    EXPECT_EQ(HostPlayerId, 0);
    EXPECT_FALSE(IsHost);
    EXPECT_EQ(peer_->Players().size(), 2u);
    EXPECT_EQ(log.LinesStartingWith("session joined Carl game (COULOIRS) (1/4) as ").size(), 1u);
}

TEST_F(SessionListWithAHost, AGameGoneBeforeTheJoinGivesItsMessageAndAFreshList) {
    peer_->Leave();
    ui_events::Click(SessionsWindow().cmdJoin);
    EXPECT_EQ(boxes_.Take(), (std::vector<std::string>{"Failed to join game."}));
    EXPECT_TRUE(SessionsWindow().Visible());
    EXPECT_TRUE(Rows(SessionsWindow().lstSessions).empty());
    EXPECT_EQ(SessionsWindow().Label1.Caption(), kNoGame);
    EXPECT_FALSE(SessionsWindow().cmdJoin.Enabled());
    EXPECT_FALSE(WaitingWindow().IsLoaded());
}

// The refused player leaves the game it had opened, so the next JOIN works.
TEST_F(SessionListWithAHost, AFailedPlayerCreationGivesItsMessageAndALaterJoinWorks) {
    FriendlyName.assign(play::MaxStringLength + 1, 'a');
    ui_events::Click(SessionsWindow().cmdJoin);
    EXPECT_EQ(boxes_.Take(), (std::vector<std::string>{"Failed to create player."}));
    EXPECT_TRUE(SessionsWindow().Visible());
    EXPECT_FALSE(WaitingWindow().IsLoaded());
    EXPECT_EQ(peer_->Players().size(), 1u);

    FriendlyName = "Ana";
    ui_events::Click(SessionsWindow().cmdJoin);
    EXPECT_TRUE(boxes_.Seen().empty());
    EXPECT_TRUE(WaitingWindow().Visible());
    EXPECT_EQ(peer_->Players().size(), 2u);
}

TEST_F(SessionListWithAHost, NewGameOpensTheCreateWindowAndRetourUnloadsTheListKeepingTheConnection) {
    LauncherWindow().Load();
    ui_events::Click(SessionsWindow().cmdCreate);
    EXPECT_FALSE(SessionsWindow().Visible());
    EXPECT_TRUE(CreateGameWindow().Visible());
    EXPECT_FALSE(LauncherWindow().IsLoaded());

    CreateGameWindow().Unload();
    // As the launch leaves it: loaded and hidden.
    LauncherWindow().Load();
    LauncherWindow().Hide();
    SessionsWindow().Show();
    const auto connection = DPlay;
    ui_events::Click(SessionsWindow().cmdCancel);
    EXPECT_FALSE(SessionsWindow().IsLoaded());
    EXPECT_EQ(DPlay, connection);
    EXPECT_TRUE(LauncherWindow().Visible());
    LauncherWindow().Unload();
}

TEST_F(SessionListWithAHost, RefreshListsAgainAndRefreshServerEmptiesTheCommentAndDisablesJoin) {
    ChildPeer joiner;
    joiner.Join();
    joiner.CreatePlayer("dan", "1");
    ui_events::Click(SessionsWindow().cmdrefresh);
    EXPECT_EQ(Rows(SessionsWindow().lstSessions), (std::vector<std::string>{"Carl game (COULOIRS) (2/4)"}));

    SessionsWindow().Frame1.SetEnabled(true);
    SessionsWindow().TxtComment.SetText("old comment");
    ui_events::Click(SessionsWindow().Label2);
    EXPECT_EQ(SessionsWindow().TxtComment.Text(), "");
    EXPECT_FALSE(SessionsWindow().cmdJoin.Enabled());
}

// A server of another release is refused before anything is closed; one of
// this release is reached by its address and its games listed.
TEST_F(SessionListWithAHost, AServerOfTheListIsRefusedForAnotherReleaseAndElseSearched) {
    ReleaseVersion = "2.11.0";
    WebServerHost = "games.test";
    WebServers = {
        {1, 7, "old", "2.11.1", "127.0.0.1", "old comment"}, {2, 8, "carl", "2.11.0", "127.0.0.1", "come in"}, {}};
    SessionsWindow().Frame1.SetEnabled(true);
    SessionsWindow().lstserv.AddItem("old");
    SessionsWindow().lstserv.AddItem("carl");
    SessionsWindow().lstSessions.Clear();
    const auto connection = DPlay;

    SessionsWindow().lstserv.SetListIndex(0);
    EXPECT_EQ(boxes_.Take(), (std::vector<std::string>{
                                 "You can't play with this Server you don't have the same Release Version:\r\n"
                                 "Server = 2.11.1 and Your Soft = 2.11.0\r\nCheck last Version on http://games.test"}));
    EXPECT_EQ(DPlay, connection);
    EXPECT_EQ(SessionsWindow().TxtComment.Text(), "");
    EXPECT_TRUE(Rows(SessionsWindow().lstSessions).empty());

    SessionsWindow().lstserv.SetListIndex(1);
    EXPECT_TRUE(boxes_.Seen().empty());
    EXPECT_NE(DPlay, connection);
    EXPECT_EQ(SessionsWindow().TxtComment.Text(), "come in");
    EXPECT_EQ(Rows(SessionsWindow().lstSessions), (std::vector<std::string>{"Carl game (COULOIRS) (1/4)"}));
}

}  // namespace
