#include "lobby_fixture.h"

#include "core/game_state.h"
#include "launcher/settings.h"
#include "multiplayer/create_game.h"
#include "multiplayer/session_list.h"
#include "multiplayer/session_setup.h"
#include "multiplayer/session_state.h"
#include "multiplayer/waiting_room.h"
#include "platform/ui/list_control.h"
#include "player/formal_name.h"

void LobbyTest::SetUp() {
    PlayTest::SetUp();
    FriendlyName = "Ana";
    FormalName = MakeFormalName(1, "2");
    ProfileLogin = "ana_login";
    InitDirectPlay();
    ConnectLan(0);
}

void LobbyTest::TearDown() {
    WaitingWindow().Unload();
    CreateGameWindow().Unload();
    SessionsWindow().Unload();
    LeaveSession();
}

std::vector<std::string> LobbyTest::Rows(ui::ListControl& list) {
    std::vector<std::string> rows;
    for (int row = 0; row < list.ListCount(); ++row) rows.push_back(list.List(row));
    return rows;
}

QPoint LobbyTest::EmptySpotOf(QWidget* widget) {
    const QPoint corner = widget->rect().bottomRight() - QPoint(4, 4);
    EXPECT_EQ(widget->childAt(corner), nullptr) << widget->objectName().toStdString();
    return widget->mapTo(widget->window(), corner);
}
