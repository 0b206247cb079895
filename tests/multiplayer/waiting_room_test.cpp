// The waiting room with this machine's player in a session and test peers as
// the other machines; and the label-buttons of the three lobby windows.

#include "multiplayer/waiting_room.h"

#include "lobby_fixture.h"

#include "core/game_state.h"
#include "core/game_window.h"
#include "multiplayer/create_game.h"
#include "multiplayer/messages.h"
#include "multiplayer/receiver.h"
#include "multiplayer/session_list.h"
#include "multiplayer/session_setup.h"
#include "multiplayer/session_state.h"
#include "platform/play/direct_play.h"
#include "platform/ui/colour.h"
#include "platform/ui/message_box.h"
#include "player/player.h"
#include "support/program_ended.h"
#include "support/trace_log.h"
#include "support/ui_events.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace play_test;

namespace {

using System = std::pair<int32_t, int32_t>;

// The lobby's part of the machine under test: the waiting room shown, the
// game start counted instead of run.
class Lobby : public LobbyTest {
protected:
    void SetUp() override {
        LobbyTest::SetUp();
        SessionName = "Quellmar game (ENTREPOT)";
        NomMap = "entrepot";
        GameStartCall = [this] { ++starts_; };
    }
    static void ShowRoom() {
        WaitingWindow().Show();
        WaitingWindow().UpdateWaiting();
    }
    // Waits until `count` messages wait here, then one tick of the room's
    // timer.
    static void TickWhen(int32_t count) {
        ASSERT_TRUE(WaitFor([&] { return DPlay->GetMessageCount(IdLocalDP) >= count; }));
        WaitingWindow().Timer1_Timer();
    }
    std::vector<std::string> Players() const { return Rows(WaitingWindow().lstPlayers); }

    int starts_ = 0;
};

// This machine hosts a game of four, its waiting room shown.
class WaitingRoom : public Lobby {
protected:
    void SetUp() override {
        Lobby::SetUp();
        CreateSession(4);
        ShowRoom();
    }
    // A peer joined with player "bob", its creation drained.
    int32_t Joined(Peer& peer) {
        peer.Join();
        const int32_t id = peer.CreatePlayer("bob", "03");
        TickWhen(1);
        return id;
    }
};

// A peer hosts with player "carl"; this machine joined, its room shown.
class JoinedRoom : public Lobby {
protected:
    void SetUp() override {
        Lobby::SetUp();
        host_ = std::make_unique<ChildPeer>();
        host_->Create({"Carl game (COULOIRS)", 4});
        carl_ = host_->CreatePlayer("carl", "03");
        ASSERT_TRUE(WaitFor([&] { return !host_->Players().empty(); }));
        DPEnumSessions = SearchSessions(*DPlay, AppGuid, play::EnumSessionsAvailable);
        ASSERT_EQ(DPEnumSessions->GetCount(), 1);
        JoinSession(DPEnumSessions->GetItem(1));
        WaitingWindow().cmdStart.SetEnabled(false);
        ShowRoom();
        host_->ReceiveAtLeast(1);  // this machine's creation
    }
    std::unique_ptr<ChildPeer> host_;
    int32_t carl_ = 0;
};

TEST_F(WaitingRoom, PlayersWhoComeAndGoRefreshTheListWithoutAGame) {
    EXPECT_EQ(Players(), (std::vector<std::string>{"Ana (GIGN)"}));
    EXPECT_EQ(WaitingWindow().lbStatus.Caption(), "1 of 4 players ready...");
    EXPECT_TRUE(WaitingWindow().cmdStart.Enabled());
    ChildPeer peer;
    Joined(peer);
    EXPECT_EQ(Players(), (std::vector<std::string>{"Ana (GIGN)", "bob (TERRORIST)"}));
    EXPECT_EQ(WaitingWindow().lbStatus.Caption(), "2 of 4 players ready...");
    peer.Leave();
    TickWhen(1);
    EXPECT_EQ(Players(), (std::vector<std::string>{"Ana (GIGN)"}));
    EXPECT_FALSE(PartieEnCours);
    EXPECT_FALSE(Joueurs.Peek(0));
    EXPECT_EQ(starts_, 0);
}

TEST_F(WaitingRoom, StartSendsOneStartMessageAndStartsTheGameOnceHoweverOftenPressed) {
    ChildPeer peer;
    const int32_t bob = Joined(peer);
    peer.Receive();
    TraceLog log;
    // The second press arrives during the yield before the game start.
    int presses = 0;
    GameStartCall = [&] {
        ++starts_;
        if (++presses == 1) ui_events::Click(WaitingWindow().cmdStart);
    };
    ui_events::Click(WaitingWindow().cmdStart);
    ui_events::Click(WaitingWindow().cmdStart);
    EXPECT_EQ(starts_, 1);
    EXPECT_FALSE(WaitingWindow().Visible());
    EXPECT_FALSE(WaitingWindow().Timer1.Enabled());
    EXPECT_EQ(NbJoueurs, 2);
    EXPECT_EQ(IdsJoueurs[0], IdLocalDP);
    EXPECT_EQ(IdsJoueurs[1], bob);

    const auto received = peer.ReceiveAtLeast(1);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const auto later = peer.Receive();
    ASSERT_EQ(received.size() + later.size(), 1u);
    EXPECT_EQ(received[0].code, MSG_START);
    StartMessage start;
    ASSERT_TRUE(ReadStartMessage(*received[0].message, start));
    EXPECT_EQ(start.count, 2);
    EXPECT_EQ(start.ids[0], IdLocalDP);
    EXPECT_EQ(start.ids[1], bob);
    EXPECT_EQ(start.hostId, IdLocalDP);
    EXPECT_EQ(start.sessionName, "Quellmar game (ENTREPOT)");
    EXPECT_EQ(start.mapName, "entrepot");
    EXPECT_EQ(log.LinesStartingWith("start message sent 2").size(), 1u);
}

TEST_F(WaitingRoom, StartAloneStartsAGameOfOne) {
    ui_events::Click(WaitingWindow().cmdStart);
    EXPECT_EQ(starts_, 1);
    EXPECT_EQ(NbJoueurs, 1);
    EXPECT_EQ(IdsJoueurs[0], IdLocalDP);
}

// A start message that could not be sent leaves everybody waiting: the room
// polls again and START can be pressed again.
TEST_F(WaitingRoom, AStartThatFailsBeforeTheSendShowsWhyAndPollsAgain) {
    DPlay->Close();
    ui_events::Click(WaitingWindow().cmdStart);
    const auto seen = boxes_.Take();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_FALSE(seen[0].empty());
    EXPECT_EQ(starts_, 0);
    EXPECT_TRUE(WaitingWindow().Visible());
    EXPECT_TRUE(WaitingWindow().Timer1.Enabled());
    ui_events::Click(WaitingWindow().cmdStart);
    EXPECT_EQ(boxes_.Take().size(), 1u);
}

TEST_F(WaitingRoom, ChatLinesGoToThePeersAndIntoTheLog) {
    ChildPeer peer;
    const int32_t bob = Joined(peer);
    peer.Receive();
    frmWaiting& room = WaitingWindow();

    room.mess.SetText("   ");
    ui_events::Click(room.Command1);
    EXPECT_EQ(room.list_mess.Text(), "");
    EXPECT_EQ(room.mess.SelLength(), int(room.mess.Text().size()));

    room.mess.SetText("  hello all ");
    room.hWnd()->activateWindow();
    room.mess.SetFocus();
    ui_events::TypeKey(room, Qt::Key_Return, "\r");
    const auto received = peer.ReceiveAtLeast(1);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].code, MSG_CHAT);
    EXPECT_EQ(received[0].message->ReadString(), "hello all");
    EXPECT_TRUE(room.list_mess.Text().starts_with("\r\n\r\n"));
    EXPECT_TRUE(room.list_mess.Text().ends_with(" ana_login write: \r\nhello all"));
    EXPECT_EQ(room.mess.SelText(), "hello all");

    peer.Send(bob, 0, 0, Message(MSG_CHAT, std::string("hi <b>Ana</b>")));
    TickWhen(1);
    EXPECT_TRUE(room.list_mess.Text().ends_with(" bob write: \r\nhi <b>Ana</b>"));
    EXPECT_EQ(room.list_mess.SelStart(), int(room.list_mess.Text().size()));
    EXPECT_FALSE(GameWindow().IsLoaded());
}

// A peer's start message ends the lobby here; one cut short changes nothing.
TEST_F(JoinedRoom, APeersStartMessageHidesTheRoomAndStartsTheGameOnce) {
    host_->Send(carl_, 0, play::SendGuaranteed, Message(MSG_START, uint8_t(2), carl_));
    TickWhen(1);
    EXPECT_EQ(starts_, 0);
    EXPECT_TRUE(WaitingWindow().Visible());
    EXPECT_TRUE(WaitingWindow().Timer1.Enabled());

    host_->Send(carl_, 0, play::SendGuaranteed,
                Message(MSG_START, uint8_t(2), carl_, IdLocalDP, carl_, std::string("Carl game (COULOIRS)"),
                        std::string("couloirs")));
    TickWhen(1);
    EXPECT_EQ(starts_, 1);
    EXPECT_FALSE(WaitingWindow().Visible());
    EXPECT_FALSE(WaitingWindow().Timer1.Enabled());
    EXPECT_EQ(HostPlayerId, carl_);
    EXPECT_EQ(NomMap, "couloirs");
}

// The box of the first drain waits while the timer would drain again: the
// second drain is refused, and the chat line behind the host's departure is
// applied once, by the first.
TEST_F(JoinedRoom, WhenTheHostLeavesThisMachineHostsAndMayStart) {
    std::vector<std::string> prompts;
    ui::SetMessageBoxHandler([&](const ui::MessageBoxSeen& box) {
        prompts.push_back(box.prompt);
        ReceiveMessages();
        EXPECT_EQ(WaitingWindow().list_mess.Text(), "") << "a second drain ran in the box";
        return ui::vbOK;
    });
    ChildPeer other;
    other.Join();
    const int32_t dan = other.CreatePlayer("dan", "1");
    TickWhen(1);
    other.ReceiveAtLeast(1);
    host_->Leave();
    ASSERT_TRUE(WaitFor([&] { return DPlay->GetMessageCount(IdLocalDP) >= 2; }));
    other.Send(dan, 0, 0, Message(MSG_CHAT, std::string("where is carl")));
    TickWhen(3);
    EXPECT_EQ(prompts, (std::vector<std::string>{"You are now the host."}));
    EXPECT_TRUE(IsHost);
    EXPECT_EQ(HostPlayerId, IdLocalDP);
    EXPECT_TRUE(WaitingWindow().cmdStart.Enabled());
    EXPECT_EQ(Players(), (std::vector<std::string>{"Ana (GIGN)", "dan (GIGN)"}));
    EXPECT_TRUE(WaitingWindow().list_mess.Text().ends_with(" dan write: \r\nwhere is carl"));
}

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
