#include "multiplayer/waiting_room.h"

#include "core/game_state.h"
#include "core/object_ref.h"
#include "core/text.h"
#include "core/trace.h"
#include "launcher/settings.h"
#include "launcher/window_look.h"
#include "multiplayer/label_buttons.h"
#include "multiplayer/messages.h"
#include "multiplayer/receiver.h"
#include "multiplayer/session_list.h"
#include "multiplayer/session_setup.h"
#include "multiplayer/session_state.h"
#include "platform/os/program_end.h"
#include "platform/play/direct_play.h"
#include "platform/ui/beep.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/message_box.h"
#include "player/formal_name.h"

#include <QLocale>
#include <QTime>

#include <algorithm>
#include <string>

namespace {

constexpr int kPollMilliseconds = 100;
constexpr int kLineLength = 255;
constexpr int kEnter = 13;
constexpr char kEnumerationFailed[] = "Error in player enumeration.";

// "nickname (TERRORIST)" for side 0, else "nickname (GIGN)".
std::string PlayerRow(const std::string& nickname, const std::string& formalName) {
    return nickname + (ReadFormalName(formalName).side == 0 ? " (TERRORIST)" : " (GIGN)");
}

std::string TimeOfDay() { return QLocale::system().toString(QTime::currentTime(), QLocale::ShortFormat).toStdString(); }

// Where the last `characters` characters of a UTF-8 text begin.
size_t StartOfLast(const std::string& text, int32_t characters) {
    size_t at = text.size();
    for (int32_t counted = 0; at > 0 && counted < characters;) {
        --at;
        if ((static_cast<unsigned char>(text[at]) & 0xC0) != 0x80) ++counted;
    }
    return at;
}

// Drops whole lines from the top until the last `characters` characters are
// left; a last line longer than that alone keeps its end.
void KeepLast(std::string& log, int32_t characters) {
    const size_t cut = StartOfLast(log, characters);
    if (cut == 0) return;
    const size_t lineEnd = log.find("\r\n", cut >= 2 ? cut - 2 : 0);
    log.erase(0, lineEnd == std::string::npos ? cut : lineEnd + 2);
}

void SelectAll(ui::TextBox& box) {
    box.SetSelStart(0);
    box.SetSelLength(static_cast<int>(box.Text().size()));
}

}  // namespace

frmWaiting::frmWaiting() : ui::Form("frmWaiting") {
    cmdStart.Click = [this] { cmdStart_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
    Command1.Click = [this] { Command1_Click(); };
    Timer1.Tick = [this] { Timer1_Timer(); };
    mess.KeyPress = [this](int& keyAscii) { mess_KeyPress(keyAscii); };
    mess.GotFocus = [this] { mess_GotFocus(); };
    HoverRed(cmdStart);
    HoverRed(cmdCancel);
}

void frmWaiting::Design() {
    SetCaption("Waiting for Host to Start Game");
    SetBorderStyle(ui::vbFixedSingle);
    Move(0, 0, 9000, 6600);
    SetBackColor(0);
    Frame1.Move(3840, 120, 4920, 6000);
    Frame1.SetCaption("CHAT WITH OTHERS PLAYERS");
    Frame1.SetBackColor(0);
    mess.Move(120, 4920, 4680, 315);
    mess.SetMaxLength(kLineLength);
    Command1.Move(120, 5400, 4680, 420);
    Command1.SetCaption("SEND MESSAGE");
    list_mess.Move(120, 360, 4680, 4440);
    list_mess.SetLocked(true);
    Frame2.Move(120, 120, 3600, 4920);
    Frame2.SetCaption("Waiting Game");
    Frame2.SetBackColor(0);
    lstPlayers.Move(120, 360, 3360, 3480);
    lbStatus.Move(120, 3960, 3360, 720);
    cmdStart.Move(120, 5400, 1680, 420);
    cmdStart.SetCaption("START");
    cmdCancel.Move(2040, 5400, 1680, 420);
    cmdCancel.SetCaption("CANCEL");
    Timer1.SetInterval(kPollMilliseconds);
    Timer1.SetEnabled(false);
}

void frmWaiting::Form_Load() {
    HabilleForm(*this);
    starting_ = false;
    Timer1.SetEnabled(true);
    skip([this] { mess.SetFocus(); });
}

void frmWaiting::UpdateWaiting() {
    try {
        ListPlayers();
    } catch (const Failure& failure) {
        Trace("waiting room not listed: ", failure.Description());
        ui::MsgBox(kEnumerationFailed);
    }
}

void frmWaiting::ListPlayers() {
    play::DirectPlay& dp = Ref(DPlay);
    const auto players = dp.GetDPEnumPlayers("", 0);
    LobbyPlayerCount = static_cast<uint8_t>(players->GetCount());
    const auto description = dp.CreateSessionData();
    dp.GetSessionDesc(description);
    const std::string status =
        std::to_string(LobbyPlayerCount) + " of " + std::to_string(description->GetMaxPlayers()) + " players ready...";
    lbStatus.SetCaption(status);
    lstPlayers.Clear();
    std::string rows;
    for (int32_t item = 1; item <= LobbyPlayerCount; ++item) {
        const std::string row = PlayerRow(players->GetShortName(item), dp.GetPlayerFormalName(players->GetDPID(item)));
        lstPlayers.AddItem(row);
        rows += (item > 1 ? " | " : "") + row;
    }
    if (IsHost) cmdStart.SetEnabled(true);
    Trace("waiting room ", status, ": ", rows);
    ui::Beep();
}

void frmWaiting::AppendChat(const std::string& sender, const std::string& text) {
    std::string log = list_mess.Text() + "\r\n\r\n" + TimeOfDay() + " " + sender + " write: \r\n" + text;
    KeepLast(log, kChatLogCharacters);
    list_mess.SetText(log);
    list_mess.SetSelStart(static_cast<int>(log.size()));
    ui::Beep();
}

void frmWaiting::Timer1_Timer() { ReceiveMessages(); }

// Acts once: a second press that the yield below delivers finds the game
// starting. A failure before the send leaves everybody waiting, so the room
// polls again; once the message is out the others start, and so does this
// machine.
void frmWaiting::cmdStart_Click() {
    if (starting_) return;
    starting_ = true;
    Timer1.SetEnabled(false);
    try {
        SendStart();
    } catch (const Failure& failure) {
        Trace("start message not sent: ", failure.Description());
        starting_ = false;
        Timer1.SetEnabled(true);
        ui::MsgBox(failure.Description());
        return;
    }
    Hide();
    ui::DoEvents();
    CallGameStart();
}

// The roster sent is the roster this machine starts from.
void frmWaiting::SendStart() {
    StartMessage roster;
    const auto message = BuildStartMessage(&roster);
    Ref(DPlay).Send(IdLocalDP, 0, play::SendGuaranteed, message);
    NbJoueurs = roster.count;
    std::copy_n(roster.ids.begin(), roster.count, IdsJoueurs.begin());
    Trace("start message sent ", int32_t(roster.count), " players");
}

void frmWaiting::Command1_Click() {
    mess.SetText(Trim(mess.Text()));
    if (!mess.Text().empty()) {
        EnvoiTexte(mess.Text(), MSG_CHAT);
        Trace("chat sent ", mess.Text());
        AppendChat(ProfileLogin, mess.Text());
    }
    skip([this] { mess.SetFocus(); });
    SelectAll(mess);
}

// The session is left and the program ends: there is no way back.
void frmWaiting::cmdCancel_Click() {
    Trace("waiting room left");
    LeaveSession();
    SessionsWindow().Unload();
    os::EndProgram("CANCEL in the waiting room");
}

void frmWaiting::mess_KeyPress(int& keyAscii) {
    if (keyAscii != kEnter) return;
    keyAscii = 0;
    Command1_Click();
}

void frmWaiting::mess_GotFocus() { SelectAll(mess); }

void frmWaiting::Form_QueryUnload(int& /*cancel*/, int unloadMode) {
    if (unloadMode != ui::vbFormCode) cmdCancel_Click();
}

void frmWaiting::Form_MouseMove(int, int, float, float) { Whiten({&cmdStart, &cmdCancel}); }

bool WaitingRoomShown() { return WaitingWindow().IsLoaded() && WaitingWindow().Visible(); }

frmWaiting& WaitingWindow() {
    static frmWaiting* const window = new frmWaiting;
    return *window;
}
