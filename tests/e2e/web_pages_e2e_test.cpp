// The launcher's pages that talk to the game's web site, on a copy of the
// built program with the site scripted in this process on loopback and named
// to it by QUELLMAR_WEB_HOST: the player board's account and totals, the
// public message board read and posted to, the maps page's list and the
// download of a map with its counted wait, and a newer release offered,
// installed and ending the program.
//
// What a page shows is judged against the same page of a launcher made in
// this process, driven the same way against the same site: the program's
// grab of each control must match this launcher's picture of it.

#include "e2e/launcher_steps.h"
#include "e2e/lobby_player.h"
#include "e2e/program_copy.h"

#include "core/game_state.h"
#include "launcher/launcher_window.h"
#include "launcher/settings.h"
#include "platform/os/executable.h"
#include "platform/registry/registry.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/message_box.h"
#include "support/fake_web_server.h"
#include "support/file_bytes.h"
#include "support/free_port.h"
#include "support/hive_values.h"
#include "support/scripted_web_site.h"
#include "support/ui_events.h"
#include "support/zip_builder.h"
#include "web/status_window.h"
#include "web/web_host.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <QWidget>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace lobby;

namespace {

// The menu buttons by index: ARSENAL & MAPS and CREDITS on the first page,
// MAPS on the next, then MESSAGES BOARD, ABOUT & RELEASE and PLAYER BOARD on
// the credits page.
constexpr int kArsenalMaps = 3, kCredits = 4, kMaps = 14, kMessageBoard = 17, kRelease = 18, kPlayerBoard = 25;
constexpr int32_t kAccount = 41;
// A control matches when this share of its pixels does: a changed digit in a
// label is about one in a hundred.
constexpr double kSame = 0.999;
// The wait after a map's unpacking counts ten ticks of a second and ends on
// the eleventh.
constexpr int kCountedWaitMilliseconds = 10000;
constexpr int kDownloadMilliseconds = 40000;

// Where the control lies in its window's inner area, in pixels.
QRect RectOf(ui::Control& control) {
    QWidget* widget = control.hWnd();
    return {widget->mapTo(widget->window(), QPoint(0, 0)), widget->size()};
}

class WebPagesEndToEnd : public testing::Test {
protected:
    WebPagesEndToEnd() {
        EXPECT_NE(server_.Start(), 0);
        FixedWebHost = server_.Host();
        ui::SetMessageBoxHandler([](const ui::MessageBoxSeen&) { return ui::vbOK; });
        StatusWindow().Show();
        statusSize_ = StatusWindow().hWnd()->size();
        StatusWindow().Unload();
        registry::SetHiveFolder(player_.Copy().HiveFolder().string());
        hive_values::SetText(kProfileKey, "Id", std::to_string(kAccount));
        // This process's launcher: on a hive and in a folder of its own,
        // where the player page finds no model to preview.
        registry::SetHiveFolder(hereFolder_.filePath("hive").toStdString());
        os::SetExecutableFolder(HereFolder().string());
        here_.Show();
        site_.SetAccount(kAccount, {.name = "Ana", .killer = 30, .killed = 4, .snipper = 2, .snipped = 1});
    }
    ~WebPagesEndToEnd() override {
        here_.Unload();
        registry::SetHiveFolder({});
        os::SetExecutableFolder({});
    }

    ProgramCopy& Copy() { return player_.Copy(); }
    fs::path HereFolder() const { return hereFolder_.path().toStdString(); }

    // The program from its start to the launcher, and a page opened from
    // the first menu page in both launchers.
    ShownWindow OpenPage(int page, int button) {
        player_.Launch(FreeUdpPort(), {{"QUELLMAR_WEB_HOST", QString::fromStdString(server_.Host())}});
        const ShownWindow launcher = launcher_steps::ToTheLauncher(Copy());
        if (!launcher.Found()) return launcher;
        for (const int index : {page, button}) {
            here_.btn_Click(index);
            Copy().Click(launcher, ui_events::MiddleOf(here_.lebouton(index)));
        }
        return launcher;
    }

    void Click(const ShownWindow& launcher, ui::Control& control) {
        Copy().Click(launcher, ui_events::MiddleOf(control));
    }

    // This launcher's pictures of the controls.
    std::vector<QImage> PicturesHere(const std::vector<ui::Control*>& controls) {
        ui::DoEvents();
        std::vector<QImage> pictures;
        for (ui::Control* control : controls)
            pictures.push_back(here_.hWnd()->grab(RectOf(*control)).toImage().convertToFormat(QImage::Format_RGB32));
        return pictures;
    }

    // Waits until the program shows the controls as this launcher does, and
    // returns the last grab.
    QImage ExpectShownAsHere(const ShownWindow& launcher, const std::vector<ui::Control*>& controls,
                             const std::string& name, int milliseconds = 10000) {
        const std::vector<QImage> pictures = PicturesHere(controls);
        const auto shown = [&](const QImage& grab, size_t i) {
            return Matching(grab, pictures[i], RectOf(*controls[i]).topLeft());
        };
        const QImage grab = Copy().GrabWhen(
            launcher,
            [&](const QImage& g) {
                for (size_t i = 0; i < controls.size(); ++i)
                    if (shown(g, i) < kSame) return false;
                return true;
            },
            name, milliseconds);
        for (size_t i = 0; i < controls.size(); ++i) EXPECT_GE(shown(grab, i), kSame) << controls[i]->Name();
        return grab;
    }

    // A box the program shows over the launcher, not the status window.
    ShownWindow BoxOver(const ShownWindow& launcher, const ShownWindow& before = {}) {
        return Copy().WaitForWindow(
            [&](const ShownWindow& w) {
                return w.id != launcher.id && w.id != before.id && w.size != statusSize_ &&
                       Copy().Title(w) == "Quellmar";
            },
            kLobbyMilliseconds);
    }

    FakeWebServer server_;
    ScriptedWebSite site_{server_};
    Player player_{"Ana", 0};
    QSize statusSize_;
    QTemporaryDir hereFolder_;
    form2& here_ = LauncherWindow();
};

// SEND & CHECK INFORMATIONS sends the typed login with the account's number
// and shows the totals the site keeps, which the hive then holds with the
// rank they give.
TEST_F(WebPagesEndToEnd, ThePlayerBoardShowsAndStoresTheAccountTheSiteKeeps) {
    const ShownWindow launcher = OpenPage(kCredits, kPlayerBoard);
    ASSERT_TRUE(launcher.Found());
    const std::vector<ui::Control*> board{&here_.num_joueur, &here_.lbl(0), &here_.lbl(1),
                                          &here_.lbl(2),     &here_.lbl(3), &here_.lbl(4)};
    ProfileId = kAccount;
    here_.ChargeInfos();
    const QImage before = ExpectShownAsHere(launcher, board, "player-board-before");
    Click(launcher, here_.txtlog);
    Copy().Type(launcher, "ana");
    Click(launcher, here_.btcsoft);

    here_.txtlog.SetText("ana");
    ui_events::Click(here_.btcsoft);
    EXPECT_LT(Matching(before, PicturesHere({&here_.lbl(0)})[0], RectOf(here_.lbl(0)).topLeft()), kSame);
    ExpectShownAsHere(launcher, board, "player-board");
    EXPECT_EQ(site_.Account(kAccount)->login, "ana");

    const std::pair<const char*, std::string> stored[] = {
        {"Killer", "30"}, {"Killed", "4"}, {"Snipper", "2"}, {"Snipped", "1"}, {"Power", std::to_string(WeaponPower)}};
    for (const auto& [name, value] : stored) EXPECT_EQ(Stored(Copy(), kGameKey, name), value) << name;
    EXPECT_EQ(Stored(Copy(), kProfileKey, "Id"), std::to_string(kAccount));
    EXPECT_EQ(Stored(Copy(), kProfileKey, "Login"), "ana");
}

// The board opens reading the public board; another player's message is on
// it. A message posted in the SEND mode is on the next CHECK.
TEST_F(WebPagesEndToEnd, TheMessageBoardListsThePublicBoardAndShowsASentMessageOnTheNextCheck) {
    ProfileId = 43;
    site_.SetAccount(43, {.name = "Cy"});
    here_.ChargeInfos();
    here_.btn_Click(kCredits);
    here_.btn_Click(kMessageBoard);
    here_.cmbmess(0).SetListIndex(0);
    here_.message.SetText("anyone for a game on DOCKS tonight");
    ui_events::Click(here_.btcmess);
    ASSERT_EQ(site_.Board(0).size(), 1u);

    const ShownWindow launcher = OpenPage(kCredits, kMessageBoard);
    ASSERT_TRUE(launcher.Found());
    here_.cmbmess(0).SetListIndex(1);
    Click(launcher, here_.btcmess);
    ui_events::Click(here_.btcmess);
    ASSERT_NE(here_.message.Text().find("DOCKS tonight"), std::string::npos);
    ExpectShownAsHere(launcher, {&here_.message}, "message-board");

    launcher_steps::ChooseRow(Copy(), launcher, ui_events::MiddleOf(here_.cmbmess(0)), 0);  // SEND
    Click(launcher, here_.message);
    Copy().Type(launcher, "Ana here: count me in");
    Click(launcher, here_.btcmess);
    QElapsedTimer waited;
    waited.start();
    while (site_.Board(0).size() < 2 && waited.elapsed() < kLobbyMilliseconds) QThread::msleep(kPollMilliseconds);
    ASSERT_EQ(site_.Board(0).size(), 2u);
    EXPECT_EQ(site_.Board(0)[1].sender, "Ana");
    EXPECT_EQ(site_.Board(0)[1].text, "Ana here: count me in");

    launcher_steps::ChooseRow(Copy(), launcher, ui_events::MiddleOf(here_.cmbmess(0)), 1);  // CHECK
    Click(launcher, here_.btcmess);
    ui_events::Click(here_.btcmess);
    ASSERT_NE(here_.message.Text().find("count me in"), std::string::npos);
    ExpectShownAsHere(launcher, {&here_.message}, "message-board-after");
}

// CHECK lists the site's maps; DOWNLOAD with QUAY chosen shows the status
// window through the counted wait, then lists QUAY among the installed maps.
TEST_F(WebPagesEndToEnd, TheMapsPageListsTheSitesMapsAndInstallsQuayAfterTheCountedWait) {
    site_.OfferMap("QUAY", SampleMapPackage("quay"));
    site_.OfferMap("Harbour");
    const ShownWindow launcher = OpenPage(kArsenalMaps, kMaps);
    ASSERT_TRUE(launcher.Found());
    Click(launcher, here_.Command3);
    ui_events::Click(here_.Command3);
    ASSERT_EQ(here_.List2.ListCount(), 2);
    ExpectShownAsHere(launcher, {&here_.List2, &here_.Label2(1)}, "maps-offered");

    Copy().Click(launcher, FirstRowOf(here_.List2));
    QElapsedTimer waited;
    waited.start();
    Click(launcher, here_.Command2);
    const ShownWindow status =
        Copy().WaitForWindow([&](const ShownWindow& w) { return w.size == statusSize_; }, kLobbyMilliseconds);
    EXPECT_TRUE(status.Found()) << "no status window";
    // The installed maps as this launcher lists a folder with both maps.
    fs::create_directories(HereFolder() / "map");
    for (const char* file : {"docks.map", "quay.map"}) std::ofstream(HereFolder() / "map" / file) << "x";
    here_.ChargeMap();
    ExpectShownAsHere(launcher, {&here_.List1, &here_.Label2(0)}, "maps-installed", kDownloadMilliseconds);
    EXPECT_GE(waited.elapsed(), kCountedWaitMilliseconds);
    EXPECT_FALSE(Copy().Shown(status));
    for (const char* file : {"quay.map", "quay.sol", "quay.mur", "quay.pla", "quay.lad"})
        EXPECT_TRUE(fs::is_regular_file(Copy().Game() / "map" / file)) << file;
    const std::vector<std::string> requests = server_.Requests();
    EXPECT_EQ(std::count(requests.begin(), requests.end(), "/quellmar/map/quay.exe"), 1);
}

// A newer release is announced by the account request and again by the
// page, whose button then downloads it: its files land in the game folder
// and the program ends.
TEST_F(WebPagesEndToEnd, ANewerReleaseIsOfferedAndItsDownloadInstallsItAndEndsTheProgram) {
    site_.SetRelease("2.12.0", server_.Url("/quellmar/release.exe"));
    const std::string package = BuildZip({{"notes/2.12.0.txt", "what is new"}});
    site_.SetReleasePackage(package);
    const ShownWindow launcher = OpenPage(kCredits, kRelease);
    ASSERT_TRUE(launcher.Found());
    Click(launcher, here_.Command4);
    ShownWindow box;
    for (const char* which : {"account", "page"}) {
        box = BoxOver(launcher, box);
        ASSERT_TRUE(box.Found()) << "no \"New version\" box from the " << which;
        KeepGrab(Copy().Grab(box), std::string("release-offered-by-the-") + which);
        Copy().Key(box, "Return");
    }
    ui_events::Click(here_.Command4);
    ASSERT_EQ(here_.Command4.Caption(), "DOWNLOAD");
    // The button under the mouse is highlighted: its DOWNLOAD shows in the
    // kept grab, and in what its next click does.
    ExpectShownAsHere(launcher, {&here_.lblver, &here_.txtver}, "release-offered");

    Click(launcher, here_.Command4);
    ASSERT_TRUE(Copy().WaitForEnd(kDownloadMilliseconds));
    EXPECT_EQ(Copy().Program().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(Copy().Program().exitCode(), 0);
    EXPECT_EQ(FileBytes(Copy().Game() / "notes" / "2.12.0.txt"), "what is new");
    EXPECT_EQ(FileBytes(Copy().Game() / "release.exe"), package);
}

}  // namespace
