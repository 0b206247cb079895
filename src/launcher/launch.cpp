// The launch: from the launcher's play page to the session list. The choices
// of the set-up pages are taken, stored and named only once the list stands,
// so a launch that fails leaves the game state, the settings and the
// launcher as they were.

#include "core/game_state.h"
#include "core/text.h"
#include "launcher/launcher_window.h"
#include "launcher/settings.h"
#include "launcher/video_rows.h"
#include "multiplayer/session_list.h"
#include "multiplayer/session_setup.h"
#include "multiplayer/session_state.h"
#include "platform/play/errors.h"
#include "platform/ui/message_box.h"
#include "platform/ui/mouse_pointer.h"
#include "web/status_window.h"

#include <optional>
#include <string>

namespace {

constexpr int kLanOption = 0;
constexpr char kConnectionFailed[] = "Failed to initialize connection.";

SessionListing& Listing() {
    static SessionListing listing;
    return listing;
}

bool ListSessions() { return Listing() ? Listing()() : SessionsWindow().UpdateSessionList(); }

// The selected row's text; a failure when no row is selected.
std::string SelectedRow(ui::ListControl& list) { return list.List(list.ListIndex()); }

// "1024 X 768     ": the trimmed text before the first "X", or after it.
int32_t ResolutionPart(const std::string& row, bool height) {
    const int32_t x = InStr(row, "X");
    return CLng(Trim(height ? Mid(row, x + 1) : Left(row, x - 1)));
}

// The failure's number; none when the connection is made.
std::optional<int32_t> Connect(int32_t position) {
    try {
        ConnectLan(position);
        return std::nullopt;
    } catch (const Failure& failure) {
        return failure.Number();
    }
}

// An object still initialised from an earlier launch (the session list's
// RETOUR keeps it so) is in no session: a fresh one takes the connection.
// Only the second try's failure ends the launch.
bool ConnectChosen(int32_t position) {
    std::optional<int32_t> failure = Connect(position);
    if (failure == play::error::AlreadyInitialized) {
        InitDirectPlay();
        failure = Connect(position);
    }
    if (!failure) return true;
    ui::SetMousePointer(ui::vbDefault);
    if (failure != play::error::AlreadyInitialized) ui::MsgBox(kConnectionFailed, ui::vbOKOnly);
    return false;
}

}  // namespace

void SetSessionListing(SessionListing listing) { Listing() = std::move(listing); }

void form2::LanceJeu() {
    ui::SetMousePointer(ui::vbHourglass);
    if (Trim(txtYourName.Text()).empty()) txtYourName.SetText(cmbtyp.Text());
    ProfileName = txtYourName.Text();
    SkinLocal = Combo3.Text();
    if (!(Option2(kLanOption).Value() ? OpenLanList() : OpenWebList())) return;
    CopySettings();
    SetupDone = true;
    Ecrit_Ini();
    skip([&] { FriendlyName = txtYourName.Text(); });
    FormalName = std::to_string(IdModeleLocal) + SkinLocal;
}

bool form2::OpenLanList() {
    WebServerHost = "";
    if (!ConnectChosen(lstConnections.ListIndex())) return false;
    if (!ListSessions()) {
        InitDirectPlay();
        return false;
    }
    Hide();
    SessionsWindow().Show();
    return true;
}

// The account's totals and the release come first; without the game list
// the launcher stays, with a fresh session object.
bool form2::OpenWebList() {
    WebServerHost = servertxt.Text();
    StatusWindow().InfoJoueur(this);
    if (!StatusWindow().server_en_cours(*this)) {
        InitDirectPlay();
        return false;
    }
    Hide();
    SessionsWindow().Frame1.SetEnabled(true);
    SessionsWindow().Show();
    return true;
}

// A control that cannot be read leaves its variable as it was; the check box
// is read as not ticked.
void form2::CopySettings() {
    skip([&] { ResIndex = list_display.ListIndex(); });
    skip([&] { DDrawIndex = list_DDraw.ListIndex(); });
    skip([&] { D3DIndex = list_d3d7.ListIndex(); });
    skip([&] { TexIndex = Combo1.ListIndex(); });
    skip([&] { QualityIndex = Combo2.ListIndex(); });
    FullScreen = false;
    skip([&] { FullScreen = Check1.Value() == ui::vbChecked; });
    skip([&] { IdModeleLocal = cmbtyp.ListIndex(); });
    skip([&] { BitDepth = CInt(list_bit.Text()); });
    skip([&] { ScreenWidth = ResolutionPart(SelectedRow(list_display), false); });
    skip([&] { ScreenHeight = ResolutionPart(SelectedRow(list_display), true); });
    skip([&] { DDrawGuid = GuidOfRow(SelectedRow(list_DDraw)); });
    skip([&] { D3DDeviceGuid = GuidOfRow(SelectedRow(list_d3d7)); });
    skip([&] { TextureQuality = Combo1.ItemData(Combo1.ListIndex()); });
    skip([&] { RenderQuality = Combo2.ItemData(Combo2.ListIndex()); });
    skip([&] { ScreenMode = Option1(0).Value() ? 1 : 0; });
    skip([&] { ModeBox = optrnd(1).Value(); });
    skip([&] { ConnectionIndex = lstConnections.ListIndex(); });
    skip([&] { NetMode = Option2(kLanOption).Value() ? 0 : 1; });
}
