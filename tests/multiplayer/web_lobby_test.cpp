// The lobby in web mode, against the scripted site on loopback: a game
// created here goes on the web list with its comment, the list is fetched
// again on REFRESH SERVER, the host takes its game off when it leaves, and a
// machine that becomes host announces the game again.

#include "lobby_fixture.h"

#include "core/game_state.h"
#include "launcher/settings.h"
#include "multiplayer/create_game.h"
#include "multiplayer/receiver.h"
#include "multiplayer/session_list.h"
#include "multiplayer/session_setup.h"
#include "multiplayer/session_state.h"
#include "multiplayer/waiting_room.h"
#include "platform/os/executable.h"
#include "platform/play/direct_play.h"
#include "support/fake_web_server.h"
#include "support/scripted_web_site.h"
#include "support/ui_events.h"
#include "web/game_list.h"
#include "web/status_window.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <string>
#include <vector>

using namespace play_test;

namespace {

class WebLobby : public LobbyTest {
protected:
    void SetUp() override {
        LobbyTest::SetUp();
        ASSERT_NE(server_.Start(), 0);
        WebServerHost = server_.Host();
        IdSoft = 1;
        ProfileId = 42;
        ReleaseVersion = "2.11.0";
        site_.SetAccount(42, {.name = "Ana"});
        std::filesystem::create_directory(std::filesystem::path(game_.path().toStdString()) / "map");
        os::SetExecutableFolder(game_.path().toStdString());
    }
    void TearDown() override {
        LobbyTest::TearDown();
        os::SetExecutableFolder("");
    }

    // The create-game window as NEW GAME leaves it, with the comment typed.
    static void Create(const std::string& comment) {
        frmCreateGame& window = CreateGameWindow();
        window.Show();
        window.Combo1.SetText("ENTREPOT");
        window.TxtComment.SetText(comment);
        ui_events::Click(window.cmdCreate);
    }

    std::vector<std::string> Removals() const {
        std::vector<std::string> removals;
        for (const std::string& target : server_.Requests())
            if (target.rfind("/script/delete_server.php3", 0) == 0) removals.push_back(target);
        return removals;
    }

    FakeWebServer server_;
    ScriptedWebSite site_{server_};
    QTemporaryDir game_;
};

TEST_F(WebLobby, CreateAnnouncesTheGameWithItsCommentHostsItAndItsTeardownRemovesIt) {
    Create("come & play");
    EXPECT_TRUE(boxes_.Seen().empty());
    ASSERT_EQ(site_.Games().size(), 1u);
    EXPECT_EQ(site_.Games()[0], (SiteGame{ServerKey, 42, "Ana", "2.11.0", "127.0.0.1", "come & play"}));
    LocalPeer peer;
    EXPECT_EQ(peer.Find(), (std::vector<SessionInfo>{{"Quellmar game (ENTREPOT)", 4, 4, AppGuid, 1}}));
    EXPECT_TRUE(IsHost);
    EXPECT_TRUE(WaitingWindow().Visible());

    LeaveSession();
    EXPECT_TRUE(site_.Games().empty());
    EXPECT_EQ(Removals(),
              std::vector<std::string>{"/script/delete_server.php3?CLE_SERVEUR=" + std::to_string(ServerKey)});
}

TEST_F(WebLobby, ARefusedAnnounceCreatesNothingAndKeepsTheWindow) {
    site_.RefuseAnnounces(true);
    Create("");
    EXPECT_TRUE(boxes_.Seen().empty());
    EXPECT_TRUE(CreateGameWindow().Visible());
    EXPECT_FALSE(WaitingWindow().IsLoaded());
    EXPECT_FALSE(DPlay);
    EXPECT_FALSE(IsHost);
    LocalPeer peer;
    EXPECT_TRUE(peer.Find().empty());

    // The next try makes the game.
    site_.RefuseAnnounces(false);
    ui_events::Click(CreateGameWindow().cmdCreate);
    EXPECT_TRUE(WaitingWindow().Visible());
    EXPECT_EQ(peer.Find().size(), 1u);
}

// REFRESH SERVER lists the site's games; one of another release is refused
// with its message and changes nothing.
TEST_F(WebLobby, RefreshServerListsTheSitesGamesAndAnotherReleaseIsRefused) {
    ReleaseVersion = "2.10.0";
    ASSERT_TRUE(StatusWindow().devenir_server(nullptr, "old one"));
    ReleaseVersion = "2.11.0";
    frmSessions& window = SessionsWindow();
    window.Show();
    window.Frame1.SetEnabled(true);
    window.TxtComment.SetText("before");
    ui_events::Click(window.Label2);
    EXPECT_EQ(window.TxtComment.Text(), "");
    ASSERT_EQ(Rows(window.lstserv).size(), 1u);
    EXPECT_EQ(Rows(window.lstserv)[0].substr(0, 32), "SERVER Ana On version 2.10.0    ");
    EXPECT_EQ(Rows(window.lstserv)[0].substr(100), "127.0.0.1");
    EXPECT_TRUE(window.Enabled());

    const auto connection = DPlay;
    window.lstserv.SetListIndex(0);
    EXPECT_EQ(boxes_.Take(),
              (std::vector<std::string>{"You can't play with this Server you don't have the same Release Version:\r\n"
                                        "Server = 2.10.0 and Your Soft = 2.11.0\r\nCheck last Version on http://" +
                                        server_.Host()}));
    EXPECT_EQ(DPlay, connection);
    EXPECT_EQ(window.TxtComment.Text(), "");
}

// A machine that only joined sends nothing when it leaves, nor does a host
// in LAN mode.
TEST_F(WebLobby, OnlyTheHostInWebModeRemovesAGame) {
    {
        LocalPeer host;
        host.Create();
        host.CreatePlayer("carl", "0");
        DPEnumSessions = SearchSessions(*DPlay, AppGuid, play::EnumSessionsAvailable);
        ASSERT_EQ(DPEnumSessions->GetCount(), 1);
        JoinSession(DPEnumSessions->GetItem(1));
        LeaveSession();
    }

    WebServerHost = "";
    InitDirectPlay();
    ConnectLan(0);
    Create("");
    EXPECT_TRUE(boxes_.Seen().empty());
    ASSERT_TRUE(IsHost);
    LeaveSession();
    EXPECT_TRUE(server_.Requests().empty());
}

// The host leaves the lobby; this machine, which joined, becomes host,
// announces the game again and may start it, whatever the site answers.
TEST_F(WebLobby, ANewHostAnnouncesTheGameAndMayStartEvenOnAnUnreadableAnswer) {
    for (const bool readable : {true, false}) {
        SCOPED_TRACE(readable ? "a game key" : "12abc");
        if (!readable) server_.ServeFixed("/script/set_server.php3", "<SERVEUR>12abc</SERVEUR>");
        ServerKey = 5;
        LocalPeer host;
        host.Create();
        host.CreatePlayer("carl", "0");
        InitDirectPlay();
        ConnectLan(0);
        DPEnumSessions = SearchSessions(*DPlay, AppGuid, play::EnumSessionsAvailable);
        ASSERT_EQ(DPEnumSessions->GetCount(), 1);
        JoinSession(DPEnumSessions->GetItem(1));
        WaitingWindow().Show();
        WaitingWindow().cmdStart.SetEnabled(false);

        host.Leave();
        ASSERT_TRUE(WaitFor([] { return IsHost || (ReceiveMessages(), IsHost); }));
        EXPECT_EQ(boxes_.Take(), std::vector<std::string>{"You are now the host."});
        EXPECT_TRUE(WaitingWindow().cmdStart.Enabled());
        if (readable) {
            ASSERT_EQ(site_.Games().size(), 1u);
            EXPECT_EQ(site_.Games()[0].key, ServerKey);
            EXPECT_EQ(site_.Games()[0].comment, "");
        } else {
            EXPECT_EQ(ServerKey, 5);
        }
        WaitingWindow().Unload();
        LeaveSession();
    }
}

}  // namespace
