#include "multiplayer/create_game.h"

#include "core/game_state.h"
#include "core/map_level.h"
#include "core/paths.h"
#include "core/text.h"
#include "core/trace.h"
#include "core/val_long.h"
#include "launcher/settings.h"
#include "launcher/window_look.h"
#include "multiplayer/label_buttons.h"
#include "multiplayer/session_setup.h"
#include "multiplayer/session_state.h"
#include "multiplayer/waiting_room.h"
#include "platform/os/executable.h"
#include "platform/os/files.h"
#include "platform/os/program_end.h"
#include "platform/play/errors.h"
#include "platform/play/limits.h"
#include "platform/ui/message_box.h"
#include "web/game_list.h"
#include "web/status_window.h"

#include <string>

namespace {

constexpr char kDefaultGameName[] = "Quellmar game";
constexpr char kCreateFailed[] = "Failed to create game.";
constexpr char kPlayerFailed[] = "Failed to create player.";
constexpr char kInvalidPlayer[] = "INVALIDPLAYER";
constexpr int kMaximumRowFour = 2;
constexpr int kCommentLength = 100;

// What the session layer and the map loader would refuse later, once the
// session is open or the game is loading.
bool CanCreate(int32_t maximum, const std::string& mapName, const std::string& sessionName) {
    return maximum >= play::MinSessionPlayers && maximum <= play::MaxSessionPlayers && IsPlainMapName(mapName) &&
           sessionName.size() <= play::MaxStringLength;
}

void ShowCreateFailure(const SessionFailure& failure) {
    Trace("session not created: ", failure.Description());
    if (failure.Step() == SessionStep::Open) {
        ui::MsgBox(kCreateFailed);
        return;
    }
    ui::MsgBox(kPlayerFailed);
    if (failure.Number() == play::error::InvalidPlayer) ui::MsgBox(kInvalidPlayer);
}

}  // namespace

frmCreateGame::frmCreateGame() : ui::Form("frmCreateGame") {
    cmdCreate.Click = [this] { cmdCreate_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
    HoverRed(cmdCreate);
    HoverRed(cmdCancel);
}

void frmCreateGame::Design() {
    SetCaption("Create Game");
    SetBorderStyle(ui::vbFixedSingle);
    Move(0, 0, 6240, 4080);
    SetBackColor(0);
    Label1.Move(240, 240, 2400, 315);
    Label1.SetCaption("&Name of Game");
    txtGameName.Move(2760, 240, 3120, 315);
    txtGameName.SetText(kDefaultGameName);
    Label2.Move(240, 720, 2400, 315);
    Label2.SetCaption("&Nbre de joueurs");
    cmbnb.Move(2760, 720, 1200, 315);
    for (int count = play::MinSessionPlayers; count <= play::MaxSessionPlayers; ++count)
        cmbnb.AddItem(std::to_string(count));
    Label3.Move(240, 1200, 2400, 315);
    Label3.SetCaption("Select the map");
    Combo1.Move(2760, 1200, 3120, 315);
    Label4.Move(240, 1680, 5640, 315);
    Label4.SetCaption("Message for your game");
    TxtComment.Move(240, 2040, 5640, 315);
    TxtComment.SetMaxLength(kCommentLength);
    cmdCreate.Move(240, 2880, 2400, 420);
    cmdCreate.SetCaption("CREATE");
    cmdCancel.Move(3480, 2880, 2400, 420);
    cmdCancel.SetCaption("CANCEL");
}

void frmCreateGame::Form_Load() {
    HabilleForm(*this);
    TxtComment.SetText("");
    cmbnb.SetListIndex(kMaximumRowFour);
    ListMaps();
}

// The map folder's maps, then the built-in levels.
void frmCreateGame::ListMaps() {
    Combo1.Clear();
    for (const std::string& file : os::FilesEndingWith(JoinPath(os::ExecutableFolder(), "map"), ".map"))
        Combo1.AddItem(UCase(file.substr(0, file.find('.'))));
    Combo1.AddItem("ENTREPOT");
    Combo1.AddItem("COULOIRS");
    Combo1.SetListIndex(0);
}

void frmCreateGame::cmdCreate_Click() {
    if (txtGameName.Text().empty()) txtGameName.SetText(kDefaultGameName);
    const std::string map = Combo1.Text();
    const std::string sessionName = txtGameName.Text() + " (" + map + ")";
    const int32_t maximum = ValLong(std::string_view(cmbnb.Text()));
    if (!CanCreate(maximum, LCase(map), sessionName)) {
        Trace("session not created: refused ", sessionName, " max ", cmbnb.Text());
        ui::MsgBox(kCreateFailed);
        return;
    }
    NomMap = LCase(map);
    SessionName = sessionName;
    if (!WebServerHost.empty() && !AnnounceOnTheWeb()) return;
    try {
        CreateSession(maximum);
    } catch (const SessionFailure& failure) {
        return ShowCreateFailure(failure);
    }
    Trace("session created ", SessionName, " max ", maximum, " as ", IdLocalDP);
    Hide();
    WaitingWindow().UpdateWaiting();
    WaitingWindow().Show();
}

// The game goes on the web list before its session opens, on a new
// connection of its own. A refused announce ends the creation without a
// word; the session object stays released until the next try.
bool frmCreateGame::AnnounceOnTheWeb() {
    CloseConnection();
    if (!StatusWindow().devenir_server(this, TxtComment.Text())) {
        Trace("game not announced");
        return false;
    }
    Trace("game announced ", ServerKey);
    try {
        ConnectTcpIp("");
    } catch (const Failure& failure) {
        Trace("session not created: ", failure.Description());
        ui::MsgBox(kCreateFailed);
        return false;
    }
    return true;
}

void frmCreateGame::cmdCancel_Click() { os::EndProgram("CANCEL in the create-game window"); }

// The way on from here is CREATE or CANCEL: the close box does nothing.
void frmCreateGame::Form_QueryUnload(int& cancel, int unloadMode) { cancel = unloadMode != ui::vbFormCode; }

void frmCreateGame::Form_MouseMove(int, int, float, float) { Whiten({&cmdCreate, &cmdCancel}); }

frmCreateGame& CreateGameWindow() {
    static frmCreateGame* const window = new frmCreateGame;
    return *window;
}
