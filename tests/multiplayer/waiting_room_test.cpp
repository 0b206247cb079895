// The waiting room with this machine's player in a session and test peers as
// the other machines; and the label-buttons of the three lobby windows.

#include "multiplayer/waiting_room.h"

#include "lobby_fixture.h"

#include "core/game_state.h"
#include "multiplayer/create_game.h"
#include "multiplayer/session_list.h"
#include "multiplayer/session_setup.h"
#include "multiplayer/session_state.h"
#include "platform/ui/colour.h"
#include "support/program_ended.h"
#include "support/ui_events.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace play_test;

namespace {

using System = std::pair<int32_t, int32_t>;

// This machine hosts a game of four, its waiting room shown.
class WaitingRoom : public LobbyTest {
protected:
    void SetUp() override {
        LobbyTest::SetUp();
        SessionName = "Quellmar game (ENTREPOT)";
        NomMap = "entrepot";
        CreateSession(4);
        WaitingWindow().Show();
        WaitingWindow().UpdateWaiting();
    }
};

TEST_F(WaitingRoom, CancelAndTheCloseBoxLeaveTheSessionAndEndTheProgram) {
    for (const bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox ? "close box" : "CANCEL");
        if (!DPlay) {
            InitDirectPlay();
            ConnectLan(0);
            CreateSession(4);
            WaitingWindow().Show();
        }
        ChildPeer peer;
        peer.Join();
        peer.CreatePlayer("bob", "0");
        SessionsWindow().Hide();
        const int32_t leaving = IdLocalDP;
        EXPECT_THROW(closeBox ? ui_events::CloseBox(WaitingWindow()) : ui_events::Click(WaitingWindow().cmdCancel),
                     ProgramEnded);
        EXPECT_EQ(SystemMessages(peer.ReceiveAtLeast(2)), (std::vector<System>{{5, leaving}, {0x101, 0}}));
        EXPECT_FALSE(DPlay);
        EXPECT_FALSE(SessionsWindow().IsLoaded());
    }
}

TEST_F(WaitingRoom, TheChatLogKeepsItsLastCharactersInWholeLines) {
    const std::string padding(1000, 'x');
    for (int line = 0; line < 100; ++line) WaitingWindow().AppendChat("bob", "line " + std::to_string(line) + padding);
    const std::string log = WaitingWindow().list_mess.Text();
    EXPECT_LE(log.size(), size_t(kChatLogCharacters));
    EXPECT_GT(log.size(), size_t(kChatLogCharacters) - 1100);
    EXPECT_TRUE(log.ends_with("line 99" + padding));
    // The first line kept is a whole one.
    const std::string first = log.substr(0, log.find("\r\n"));
    EXPECT_TRUE(first.empty() || first.ends_with(" bob write: ") || first.ends_with(padding)) << first.substr(0, 40);
    EXPECT_EQ(WaitingWindow().list_mess.SelStart(), int(log.size()));
}

TEST_F(WaitingRoom, TheLineTakesAtMostTwoHundredFiftyFiveCharactersAndFocusSelectsIt) {
    EXPECT_EQ(WaitingWindow().mess.MaxLength(), 255);
    EXPECT_TRUE(WaitingWindow().list_mess.Locked());
    WaitingWindow().mess.SetText("hello");
    WaitingWindow().mess_GotFocus();
    EXPECT_EQ(WaitingWindow().mess.SelText(), "hello");
}

// Each label-button turns red under the mouse and white again over what lies
// behind it: the session list's frames, the other windows' backgrounds.
TEST_F(WaitingRoom, LabelButtonsTurnRedUnderTheMouseAndWhiteOverWhatLiesBehind) {
    struct Hover {
        ui::Form& form;
        ui::Label& button;
        QWidget* behind;
    };
    frmSessions& sessions = SessionsWindow();
    frmCreateGame& create = CreateGameWindow();
    frmWaiting& waiting = WaitingWindow();
    sessions.Frame1.SetEnabled(true);
    sessions.cmdJoin.SetEnabled(true);
    for (ui::Form* form : std::vector<ui::Form*>{&sessions, &create}) form->Show();
    const std::vector<Hover> cases = {
        {sessions, sessions.cmdrefresh, sessions.Frame2.hWnd()},
        {sessions, sessions.cmdJoin, sessions.Frame2.hWnd()},
        {sessions, sessions.cmdCreate, sessions.Frame2.hWnd()},
        {sessions, sessions.cmdCancel, sessions.Frame2.hWnd()},
        {sessions, sessions.Label2, sessions.Frame1.hWnd()},
        {create, create.cmdCreate, create.hWnd()},
        {create, create.cmdCancel, create.hWnd()},
        {waiting, waiting.cmdStart, waiting.hWnd()},
        {waiting, waiting.cmdCancel, waiting.hWnd()},
    };
    for (const Hover& hover : cases) {
        SCOPED_TRACE(hover.button.Parent().Name() + "." + hover.button.Name());
        ui_events::MoveMouse(hover.form, ui_events::MiddleOf(hover.button));
        EXPECT_EQ(hover.button.ForeColor(), ui::vbRed);
        ui_events::MoveMouse(hover.form, EmptySpotOf(hover.behind));
        EXPECT_EQ(hover.button.ForeColor(), ui::vbWhite);
    }
    // The window behind the session list's frames leaves the buttons alone.
    ui_events::MoveMouse(sessions, ui_events::MiddleOf(sessions.cmdJoin));
    ui_events::MoveMouse(sessions, EmptySpotOf(sessions.hWnd()));
    EXPECT_EQ(sessions.cmdJoin.ForeColor(), ui::vbRed);
}

}  // namespace
