#include "multiplayer/session_list.h"

#include "core/game_state.h"
#include "core/object_ref.h"
#include "core/trace.h"
#include "launcher/launcher_window.h"
#include "launcher/settings.h"
#include "launcher/window_look.h"
#include "multiplayer/create_game.h"
#include "multiplayer/label_buttons.h"
#include "multiplayer/session_setup.h"
#include "multiplayer/session_state.h"
#include "multiplayer/waiting_room.h"
#include "platform/play/direct_play.h"
#include "platform/ui/beep.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/message_box.h"
#include "platform/ui/mouse_pointer.h"
#include "web/game_list.h"
#include "web/status_window.h"

#include <string>

namespace {

constexpr int kNoTimeout = 0;
constexpr char kSearching[] = "Recherche de partie en cours !!";
constexpr char kNoGame[] = "Aucune partie en cours sur ce serveur !!";
constexpr char kJoinFailed[] = "Failed to join game.";
constexpr char kPlayerFailed[] = "Failed to create player.";
constexpr char kEnumerationFailed[] = "Error in enumeration functions.";
constexpr char kOtherRelease[] = "You can't play with this Server you don't have the same Release Version:";

// "name (current/maximum)"
std::string SessionRow(const play::DirectPlaySessionData& session) {
    return session.GetSessionName() + " (" + std::to_string(session.GetCurrentPlayers()) + "/" +
           std::to_string(session.GetMaxPlayers()) + ")";
}

}  // namespace

frmSessions::frmSessions() : ui::Form("frmSessions") {
    cmdrefresh.Click = [this] { cmdrefresh_Click(); };
    cmdJoin.Click = [this] { cmdJoin_Click(); };
    cmdCreate.Click = [this] { cmdCreate_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
    Label2.Click = [this] { Label2_Click(); };
    lstserv.Click = [this] { lstserv_Click(); };
    for (ui::Label* button : {&cmdrefresh, &cmdJoin, &cmdCreate, &cmdCancel, &Label2}) HoverRed(*button);
    WhitenOnHover(Frame2, {&cmdrefresh, &cmdJoin, &cmdCreate, &cmdCancel});
    WhitenOnHover(Frame1, {&Label2});
}

void frmSessions::Design() {
    SetCaption("Join or Create Game");
    SetBorderStyle(ui::vbFixedSingle);
    Move(0, 0, 9000, 6300);
    SetBackColor(0);
    Frame2.Move(120, 120, 5040, 5640);
    Frame2.SetCaption("AVAILABLES GAMES");
    Frame2.SetBackColor(0);
    lstSessions.Move(120, 360, 4800, 2640);
    Label1.Move(120, 3120, 4800, 480);
    Label1.SetCaption("CLICK ON GAME TO JOIN");
    cmdrefresh.Move(120, 3840, 2280, 360);
    cmdrefresh.SetCaption("REFRESH");
    cmdJoin.Move(2640, 3840, 2280, 360);
    cmdJoin.SetCaption("JOIN GAME");
    cmdJoin.SetEnabled(false);
    cmdCreate.Move(120, 4560, 2280, 360);
    cmdCreate.SetCaption("NEW GAME");
    cmdCancel.Move(2640, 4560, 2280, 360);
    cmdCancel.SetCaption("RETOUR");
    Frame1.Move(5280, 120, 3480, 3600);
    Frame1.SetCaption("AVAILABLES SERVER");
    Frame1.SetBackColor(0);
    Frame1.SetEnabled(false);
    lstserv.Move(120, 360, 3240, 2280);
    Label3.Move(120, 2700, 3240, 420);
    Label3.SetCaption("CLICK ON SERVER TO SEARCH GAME");
    Label2.Move(120, 3120, 3240, 360);
    Label2.SetCaption("REFRESH SERVER");
    lblmess.Move(5280, 3840, 3480, 300);
    lblmess.SetCaption("MESSAGE FROM SERVER");
    TxtComment.Move(5280, 4200, 3480, 1560);
}

void frmSessions::Form_Load() { HabilleForm(*this); }

bool frmSessions::UpdateSessionList() {
    ui::SetMousePointer(ui::vbHourglass);
    lstSessions.Clear();
    Label1.SetCaption(kSearching);
    try {
        auto description = Ref(DPlay).CreateSessionData();
        description->SetGuidApplication(AppGuid);
        description->SetSessionPassword("");
        DPEnumSessions = Ref(DPlay).GetDPEnumSessions(description, kNoTimeout, play::EnumSessionsAvailable);
    } catch (const Failure& failure) {
        cmdJoin.SetEnabled(false);
        ui::SetMousePointer(ui::vbDefault);
        Trace("sessions not listed: ", failure.Description());
        return false;
    }
    try {
        ListSessions();
    } catch (const Failure& failure) {
        ui::MsgBox(kEnumerationFailed);
        ui::SetMousePointer(ui::vbDefault);
        Trace("sessions not listed: ", failure.Description());
        return false;
    }
    ui::SetMousePointer(ui::vbDefault);
    return true;
}

void frmSessions::ListSessions() {
    const int32_t count = Ref(DPEnumSessions).GetCount();
    std::string rows;
    for (int32_t item = 1; item <= count; ++item) {
        const std::string row = SessionRow(*DPEnumSessions->GetItem(item));
        lstSessions.AddItem(row);
        rows += (item > 1 ? " | " : "") + row;
    }
    Label1.SetCaption(count > 0 ? std::to_string(count) + " partie(s), click sur join pour rejoindre !!" : kNoGame);
    cmdJoin.SetEnabled(count > 0);
    if (lstSessions.ListCount() > 0) lstSessions.SetListIndex(0);
    Trace("sessions listed ", count, ": ", rows);
}

void frmSessions::cmdJoin_Click() {
    try {
        JoinSession(Ref(DPEnumSessions).GetItem(lstSessions.ListIndex() + 1));
    } catch (const SessionFailure& failure) {
        return ShowJoinFailure(failure);
    } catch (const Failure& failure) {
        // No such row any more: as a game gone before the join.
        return ShowJoinFailure(SessionFailure(SessionStep::Open, failure));
    }
    Trace("session joined ", lstSessions.Text(), " as ", IdLocalDP);
    // Only the creator, or a player who becomes host, may start.
    WaitingWindow().cmdStart.SetEnabled(false);
    LauncherWindow().Unload();
    Hide();
    WaitingWindow().Show();
    WaitingWindow().UpdateWaiting();
}

// A join that could not open the game shows the list again; one that could
// not make the player has left the game again, so a later JOIN can work.
void frmSessions::ShowJoinFailure(const SessionFailure& failure) {
    Trace("session not joined: ", failure.Description());
    if (failure.Step() == SessionStep::LocalPlayer) {
        ui::MsgBox(kPlayerFailed);
        return;
    }
    ui::MsgBox(kJoinFailed);
    UpdateSessionList();
}

void frmSessions::cmdCreate_Click() {
    LauncherWindow().Unload();
    Hide();
    CreateGameWindow().Show();
    skip([] { CreateGameWindow().txtGameName.SetFocus(); });
}

void frmSessions::cmdCancel_Click() { Unload(); }

// Back to the launcher, which was only hidden, on the same connection; a
// list unloaded while hidden (the waiting room's CANCEL) brings nothing back.
void frmSessions::Form_Unload(int& /*cancel*/) {
    if (Visible()) LauncherWindow().Show();
}

void frmSessions::cmdrefresh_Click() {
    ui::SetMousePointer(ui::vbHourglass);
    UpdateSessionList();
    ui::SetMousePointer(ui::vbDefault);
}

void frmSessions::Label2_Click() {
    TxtComment.SetText("");
    cmdJoin.SetEnabled(false);
    StatusWindow().server_en_cours(*this);
    ZOrder(0);
}

// A game of another release would not understand this one's messages: it is
// refused before anything is closed.
void frmSessions::lstserv_Click() {
    const int row = lstserv.ListIndex();
    if (row < 0 || size_t(row) >= WebServers.size()) return;
    const ServerEntry server = WebServers[size_t(row)];
    if (server.VERSION != ReleaseVersion) {
        ui::Beep();
        ui::MsgBox(std::string(kOtherRelease) + "\r\nServer = " + server.VERSION +
                   " and Your Soft = " + ReleaseVersion + "\r\nCheck last Version on http://" + WebServerHost);
        return;
    }
    ui::SetMousePointer(ui::vbHourglass);
    TxtComment.SetText(server.COMMENT);
    ui::DoEvents();
    try {
        ConnectTcpIp(server.IP);
        UpdateSessionList();
    } catch (const Failure& failure) {
        ui::Beep();
        ui::MsgBox(failure.Description());
        Trace("server not reached ", server.IP, ": ", failure.Description());
    }
    ui::SetMousePointer(ui::vbDefault);
}

frmSessions& SessionsWindow() {
    static frmSessions* const window = new frmSessions;
    return *window;
}
