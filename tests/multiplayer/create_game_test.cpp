// The create-game window: its rows, CREATE against a test peer that looks for
// the game, refused input, and the ways out.

#include "multiplayer/create_game.h"

#include "lobby_fixture.h"

#include "core/game_state.h"
#include "multiplayer/session_state.h"
#include "multiplayer/waiting_room.h"
#include "platform/os/executable.h"
#include "platform/play/limits.h"
#include "support/program_ended.h"
#include "support/trace_log.h"
#include "support/ui_events.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace play_test;

namespace {

class CreateGame : public LobbyTest {
protected:
    void SetUp() override {
        LobbyTest::SetUp();
        std::filesystem::create_directory(Game() / "map");
        os::SetExecutableFolder(Game().string());
    }
    void TearDown() override {
        LobbyTest::TearDown();
        os::SetExecutableFolder("");
    }
    std::filesystem::path Game() const { return game_.path().toStdString(); }

    // Shows the window and chooses the map row `map`.
    static frmCreateGame& ShownOn(const std::string& map) {
        frmCreateGame& window = CreateGameWindow();
        window.Show();
        window.Combo1.SetText(map);
        return window;
    }

    QTemporaryDir game_;
};

TEST_F(CreateGame, OffersTheMapFolderMapsInNameOrderThenTheBuiltInLevels) {
    for (const char* file : {"zone.map", "Dust2.map", "a.b.map", "readme.txt"})
        std::ofstream(Game() / "map" / file) << "x";
    frmCreateGame& window = CreateGameWindow();
    EXPECT_EQ(Rows(window.Combo1), (std::vector<std::string>{"A", "DUST2", "ZONE", "ENTREPOT", "COULOIRS"}));
    EXPECT_EQ(window.Combo1.Text(), "A");
    EXPECT_EQ(Rows(window.cmbnb), (std::vector<std::string>{"2", "3", "4", "5", "6", "7", "8"}));
    EXPECT_EQ(window.cmbnb.Text(), "4");
    EXPECT_EQ(window.txtGameName.Text(), "Quellmar game");
    EXPECT_EQ(window.TxtComment.MaxLength(), 100);
}

TEST_F(CreateGame, CreateWithAnEmptyNameHostsTheDefaultGameAndOpensTheWaitingRoomWithStart) {
    TraceLog log;
    frmCreateGame& window = ShownOn("ENTREPOT");
    window.txtGameName.SetText("");
    ui_events::Click(window.cmdCreate);
    EXPECT_TRUE(boxes_.Seen().empty());

    LocalPeer peer;
    EXPECT_EQ(peer.Find(), (std::vector<SessionInfo>{{"Quellmar game (ENTREPOT)", 4, 4, AppGuid, 1}}));
    EXPECT_EQ(NomMap, "entrepot");
    EXPECT_EQ(SessionName, "Quellmar game (ENTREPOT)");
    EXPECT_TRUE(IsHost);
    EXPECT_EQ(HostPlayerId, IdLocalDP);
    EXPECT_FALSE(window.Visible());
    EXPECT_TRUE(WaitingWindow().Visible());
    EXPECT_TRUE(WaitingWindow().cmdStart.Enabled());
    EXPECT_EQ(Rows(WaitingWindow().lstPlayers), (std::vector<std::string>{"Ana (GIGN)"}));
    EXPECT_EQ(WaitingWindow().lbStatus.Caption(), "1 of 4 players ready...");
    EXPECT_EQ(log.LinesStartingWith("session created Quellmar game (ENTREPOT) max 4 as ").size(), 1u);
}

TEST_F(CreateGame, RefusesBadFieldsBeforeOpeningAnythingAndStaysOpen) {
    struct Refused {
        std::string what, maximum, map, name;
    };
    const std::vector<Refused> cases = {
        {"maximum 9", "9", "ENTREPOT", "g"},
        {"maximum 1", "1", "ENTREPOT", "g"},
        {"maximum not a number", "four", "ENTREPOT", "g"},
        {"map with a blank", "4", "DUST 2", "g"},
        {"map out of the folder", "4", "../X", "g"},
        {"name beyond the layer's cap", "4", "ENTREPOT", std::string(play::MaxStringLength, 'n')},
    };
    frmCreateGame& window = ShownOn("ENTREPOT");
    for (const Refused& refused : cases) {
        SCOPED_TRACE(refused.what);
        window.cmbnb.SetText(refused.maximum);
        window.Combo1.SetText(refused.map);
        window.txtGameName.SetText(refused.name);
        ui_events::Click(window.cmdCreate);
        EXPECT_EQ(boxes_.Take(), (std::vector<std::string>{"Failed to create game."}));
        EXPECT_TRUE(window.Visible());
        EXPECT_EQ(IdLocalDP, 0);
        EXPECT_FALSE(IsHost);
        EXPECT_TRUE(NomMap.empty());
    }
    EXPECT_FALSE(WaitingWindow().IsLoaded());
}

TEST_F(CreateGame, AFailedPlayerLeavesTheWindowOpenAndTheNextCreateWorks) {
    frmCreateGame& window = ShownOn("COULOIRS");
    FriendlyName.assign(play::MaxStringLength + 1, 'a');
    ui_events::Click(window.cmdCreate);
    EXPECT_EQ(boxes_.Take(), (std::vector<std::string>{"Failed to create player."}));
    EXPECT_TRUE(window.Visible());
    EXPECT_FALSE(WaitingWindow().IsLoaded());

    FriendlyName = "Ana";
    ui_events::Click(window.cmdCreate);
    EXPECT_TRUE(boxes_.Seen().empty());
    EXPECT_TRUE(WaitingWindow().Visible());
}

TEST_F(CreateGame, TheCloseBoxDoesNothingAndCancelEndsTheProgram) {
    frmCreateGame& window = ShownOn("COULOIRS");
    ui_events::CloseBox(window);
    EXPECT_TRUE(window.IsLoaded());
    EXPECT_TRUE(window.Visible());
    EXPECT_THROW(ui_events::Click(window.cmdCancel), ProgramEnded);
}

}  // namespace
