// The launcher's pages that talk to the web server, against the scripted
// site on loopback: the profile board with the about and release page, the
// message board in both modes, and the installed maps.

#include "launcher/launcher_window.h"

#include "core/game_state.h"
#include "launcher/settings.h"
#include "launcher/splash.h"
#include "platform/os/executable.h"
#include "platform/registry/registry.h"
#include "platform/ui/beep.h"
#include "platform/ui/mouse_pointer.h"
#include "support/fake_web_server.h"
#include "support/message_boxes.h"
#include "support/program_ended.h"
#include "support/scripted_web_site.h"
#include "support/ui_events.h"
#include "support/zip_builder.h"
#include "web/status_window.h"
#include "web/web_host.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Menu pages and buttons.
constexpr int kArsenalMapsPage = 3;
constexpr int kCreditsPage = 4;
constexpr int kMapsButton = 14;
constexpr int kMessageBoardButton = 17;
constexpr int kReleaseButton = 18;
constexpr int kProfileBoardButton = 25;

constexpr char kAccountScript[] = "/script/nouveaujoueur.php3";
constexpr char kPostScript[] = "/script/nouveaumess.php3";
constexpr char kReadScript[] = "/script/getmess.php3";

class WebPages : public UiTest {
protected:
    WebPages() {
        os::SetExecutableFolder(folder_.path().toStdString());
        registry::SetHiveFolder(folder_.filePath("hive").toStdString());
        EXPECT_NE(server_.Start(), 0);
        FixedWebHost = server_.Host();
        ProductTitle = "Quellmar";
        IdSoft = 1;
        ReleaseVersion = "2.11.0";
        WaitTickMilliseconds = 10;
    }
    ~WebPages() override {
        window.Unload();
        StatusWindow().Unload();
        SplashWindow().Unload();
        registry::SetHiveFolder({});
        os::SetExecutableFolder({});
    }

    fs::path Game() const { return folder_.path().toStdString(); }

    void Start() {
        window.Show();
        boxes.Take();
    }

    // Opens a page through the menu, as the player does.
    void Open(int page, int button) {
        window.btn_Click(6);
        window.btn_Click(page);
        window.btn_Click(button);
    }

    // The scripts the site was asked for since the last call, without their
    // queries.
    std::vector<std::string> Scripts() {
        std::vector<std::string> scripts;
        const std::vector<std::string> targets = server_.Requests();
        for (size_t i = seen_; i < targets.size(); ++i) scripts.push_back(targets[i].substr(0, targets[i].find('?')));
        seen_ = targets.size();
        return scripts;
    }
    std::string LastTarget() { return server_.Requests().back(); }

    std::vector<std::string> Rows(ui::ListBox& list) {
        std::vector<std::string> rows;
        for (int i = 0; i < list.ListCount(); ++i) rows.push_back(list.List(i));
        return rows;
    }

    QTemporaryDir folder_;
    FakeWebServer server_;
    ScriptedWebSite site_{server_};
    form2& window = LauncherWindow();
    MessageBoxes boxes;
    size_t seen_ = 0;
};

TEST_F(WebPages, TheStartFillsTheProfileBoardAndOpensTheMessageBoardReading) {
    Start();
    EXPECT_TRUE(server_.Requests().empty());
    EXPECT_EQ(window.num_joueur.Caption(), "0");
    EXPECT_EQ(window.lblsoft.Caption(), "Quellmar 2.11.0");
    EXPECT_EQ(window.lbl(0).Caption(), "KILLER: 0");
    EXPECT_EQ(window.lbl(4).Caption(), "WEAPON RANK: 1");
    EXPECT_EQ(window.lblver.Caption(), "VERSION on SERVER:?.?.?");
    EXPECT_EQ(window.txtver.Text(), "Check on the server !!");
    EXPECT_EQ(window.Command4.Caption(), "COMPARER VERSION SUR SERVEUR");
    EXPECT_EQ(window.txtpass.PasswordChar(), "*");
    EXPECT_EQ(window.txtpass2.PasswordChar(), "*");

    ASSERT_EQ(window.cmbmess(0).ListCount(), 2);
    EXPECT_EQ(window.cmbmess(0).List(0), "SEND Messages To");
    EXPECT_EQ(window.cmbmess(0).Text(), "CHECK Messages From");
    ASSERT_EQ(window.cmbmess(1).ListCount(), 2);
    EXPECT_EQ(window.cmbmess(1).Text(), "OTHERS PLAYERS (PUBLIC)");
    EXPECT_EQ(window.cmbmess(1).List(1), "Dravonik (PRIVATE)");
    EXPECT_EQ(window.btcmess.Caption(), "CHECK !");
    EXPECT_EQ(window.message.Text(), "");
}

TEST_F(WebPages, ChargeInfosShowsTheGameStateAndAPlaceholderForAnUnknownRelease) {
    struct Case {
        const char* serverVersion;
        const char* url;
        const char* versionShown;
        const char* addressShown;
    };
    const Case cases[] = {
        {"", "", "VERSION on SERVER:?.?.?", "Check on the server !!"},
        {"2.12.0", "http://example.test/release.exe", "VERSION on SERVER:2.12.0", "http://example.test/release.exe"},
        {"2.12.0", "", "VERSION on SERVER:2.12.0", "Check on the server !!"},
    };
    Start();
    ProfileId = 42;
    ProfileLogin = "kes";
    ProfilePassword = "s3cret";
    ProfileEmail = "kes@example.test";
    StatKiller = 30;
    StatKilled = 4;
    StatSnipper = 7;
    StatSnipped = -1;
    WeaponPower = 3;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.versionShown);
        ServerVersion = c.serverVersion;
        NewVersionUrl = c.url;
        window.ChargeInfos();
        EXPECT_EQ(window.num_joueur.Caption(), "42");
        EXPECT_EQ(window.txtlog.Text(), "kes");
        EXPECT_EQ(window.txtpass.Text(), "s3cret");
        EXPECT_EQ(window.txtpass2.Text(), "s3cret");
        EXPECT_EQ(window.Txtmail.Text(), "kes@example.test");
        std::vector<std::string> statistics;
        for (int i = 0; i < 5; ++i) statistics.push_back(window.lbl(i).Caption());
        EXPECT_EQ(statistics,
                  (std::vector<std::string>{"KILLER: 30", "KILLED: 4", "SNIPPER: 7", "SNIPPED: -1", "WEAPON RANK: 3"}));
        EXPECT_EQ(window.lblver.Caption(), c.versionShown);
        EXPECT_EQ(window.txtver.Text(), c.addressShown);
        EXPECT_EQ(window.txtver.Tag(), c.url);
        EXPECT_EQ(ServerVersion, *c.serverVersion ? c.serverVersion : "?.?.?");
    }
    EXPECT_TRUE(server_.Requests().empty());
}

// SEND & CHECK INFORMATIONS: the boxes' profile goes to the site, whose
// answer fills the board; an unnamed player is named after the chosen side.
TEST_F(WebPages, TheProfileBoardSendsTheBoxesAndShowsTheAccount) {
    site_.SetAccount(5, {.name = "old", .killer = 12, .killed = 3, .snipper = 2, .snipped = 1});
    site_.SetRelease("2.11.0", "http://example.test/release.exe");
    Start();
    Open(kCreditsPage, kProfileBoardButton);
    window.txtlog.SetText("kes");
    window.txtpass.SetText("pw");
    window.txtpass2.SetText("another");
    window.Txtmail.SetText("kes@example.test");
    ProfileId = 5;
    const int beeps = ui::BeepCount();
    ui_events::Click(window.btcsoft);

    EXPECT_EQ(Scripts(), std::vector<std::string>{kAccountScript});
    const SiteAccount stored = *site_.Account(5);
    EXPECT_EQ(stored.login, "kes");
    EXPECT_EQ(stored.password, "pw");
    EXPECT_EQ(stored.email, "kes@example.test");
    EXPECT_EQ(stored.name, "TERRORIST");
    EXPECT_EQ(window.num_joueur.Caption(), "5");
    EXPECT_EQ(window.lbl(0).Caption(), "KILLER: 12");
    EXPECT_EQ(window.lbl(3).Caption(), "SNIPPED: 1");
    EXPECT_EQ(window.lblver.Caption(), "VERSION on SERVER:2.11.0");
    EXPECT_EQ(window.txtver.Text(), "http://example.test/release.exe");
    // The same release: nothing announced, nothing armed.
    EXPECT_TRUE(boxes.Take().empty());
    EXPECT_EQ(ui::BeepCount(), beeps);
    EXPECT_EQ(window.Command4.Caption(), "COMPARER VERSION SUR SERVEUR");

    // No reply keeps what the board showed.
    server_.ServeStatus(kAccountScript, 404);
    ui_events::Click(window.btcsoft);
    EXPECT_EQ(window.num_joueur.Caption(), "5");
    EXPECT_EQ(window.lbl(0).Caption(), "KILLER: 12");
    EXPECT_TRUE(boxes.Take().empty());
}

// The account request announces it, then the page does, and its button
// turns into the download.
TEST_F(WebPages, ANewerReleaseIsAnnouncedTwiceAndArmsTheDownload) {
    site_.SetRelease("2.12.0", "http://example.test/release.exe");
    Start();
    Open(kCreditsPage, kReleaseButton);
    const int beeps = ui::BeepCount();
    ui_events::Click(window.Command4);

    const std::string announce = "New version 2.12.0 at the url:\r\nhttp://example.test/release.exe";
    EXPECT_EQ(boxes.Take(), (std::vector<std::string>{announce, announce}));
    EXPECT_EQ(ui::BeepCount(), beeps + 2);
    EXPECT_EQ(window.Command4.Caption(), "DOWNLOAD");
    EXPECT_EQ(window.lblver.Caption(), "VERSION on SERVER:2.12.0");
    EXPECT_EQ(Scripts(), std::vector<std::string>{kAccountScript});

    site_.SetReleasePackage(BuildZip({{"readme.txt", "the new release"}}));
    EXPECT_THROW(ui_events::Click(window.Command4), ProgramEnded);
    EXPECT_EQ(Scripts(), std::vector<std::string>{"/quellmar/release.exe"});
    std::ifstream readme(Game() / "readme.txt");
    std::string installed;
    std::getline(readme, installed);
    EXPECT_EQ(installed, "the new release");
    EXPECT_TRUE(boxes.Take().empty());
}

TEST_F(WebPages, TheMessageBoardPostsTheTypedTextAndReadsTheChosenBoard) {
    site_.SetAccount(7, {.name = "Ann"});
    Start();
    ProfileId = 7;
    window.ChargeInfos();
    Open(kCreditsPage, kMessageBoardButton);

    window.message.SetText("left over");
    window.cmbmess(0).SetListIndex(0);
    EXPECT_EQ(window.btcmess.Caption(), "SEND !");
    EXPECT_EQ(window.message.Text(), "");
    window.message.SetText("  hello all  ");
    ui_events::Click(window.btcmess);
    EXPECT_EQ(window.message.Text(), "  hello all  ");
    ASSERT_EQ(site_.Board(0).size(), 1u);
    EXPECT_EQ(site_.Board(0)[0].text, "  hello all  ");
    EXPECT_TRUE(LastTarget().find("LETYP=0") != std::string::npos);

    // A blank message sends nothing and shows nothing.
    for (const char* blank : {"", "   "}) {
        window.message.SetText(blank);
        ui_events::Click(window.btcmess);
    }
    EXPECT_EQ(Scripts(), std::vector<std::string>{kPostScript});

    window.cmbmess(1).SetListIndex(1);
    EXPECT_EQ(window.message.Text(), "");
    window.message.SetText("for the keeper");
    ui_events::Click(window.btcmess);
    ASSERT_EQ(site_.Board(1).size(), 1u);
    EXPECT_EQ(site_.Board(1)[0].sender, "Ann");

    window.cmbmess(0).SetListIndex(1);
    window.cmbmess(1).SetListIndex(0);
    EXPECT_EQ(window.btcmess.Caption(), "CHECK !");
    ui_events::Click(window.btcmess);
    const std::string read = window.message.Text();
    EXPECT_EQ(read.rfind("#1 send by Ann " + site_.Board(0)[0].date + "\r\n", 0), 0u) << read;
    EXPECT_NE(read.find("hello all"), std::string::npos) << read;
    EXPECT_EQ(Scripts(), (std::vector<std::string>{kPostScript, kReadScript}));
    EXPECT_TRUE(boxes.Take().empty());

    // A board that does not load reads as empty.
    server_.ServeStatus(kReadScript, 500);
    ui_events::Click(window.btcmess);
    EXPECT_EQ(window.message.Text(), "");
}

// With no account number yet the board first asks for one, and only then
// reads or posts; the number it gets is used from then on.
TEST_F(WebPages, TheFirstUseOfTheBoardAsksForAnAccountFirst) {
    Start();
    Open(kCreditsPage, kMessageBoardButton);
    ui_events::Click(window.btcmess);
    EXPECT_EQ(Scripts(), (std::vector<std::string>{kAccountScript, kReadScript}));
    EXPECT_EQ(window.num_joueur.Caption(), "1");
    ui_events::Click(window.btcmess);
    EXPECT_EQ(Scripts(), std::vector<std::string>{kReadScript});
}

// The keeper's account reads its private board as board 2; the list keeps
// the private board chosen.
TEST_F(WebPages, TheKeeperReadsThePrivateBoardAsBoardTwoWithTheChoiceKept) {
    site_.SetAccount(1, {.name = "keeper"});
    Start();
    ProfileId = 1;
    window.ChargeInfos();
    Open(kCreditsPage, kMessageBoardButton);
    window.cmbmess(1).SetListIndex(1);
    ui_events::Click(window.btcmess);
    EXPECT_EQ(LastTarget(), "/script/getmess.php3?LESOFT=1&LETYP=2");
    EXPECT_EQ(window.cmbmess(1).ListIndex(), 1);
    ui_events::Click(window.btcmess);
    EXPECT_EQ(LastTarget(), "/script/getmess.php3?LESOFT=1&LETYP=2");
}

// Listed as the map loader and the create-game list find them: names ending
// in ".map" exactly, files only, in name order, upper case.
TEST_F(WebPages, TheMapsButtonListsTheInstalledMaps) {
    fs::create_directories(Game() / "map" / "x.map");
    for (const char* file : {"quay.map", "Upper.MAP", "docks.map", "quay.sol", "map"})
        std::ofstream(Game() / "map" / file) << "x";
    Start();
    Open(kArsenalMapsPage, kMapsButton);
    EXPECT_TRUE(window.Frame7.Visible());
    EXPECT_EQ(Rows(window.List1), (std::vector<std::string>{"DOCKS", "QUAY"}));
    EXPECT_EQ(window.Label2(0).Caption(), "2 Map(s) installées !!");

    // Each press lists the folder again.
    fs::remove(Game() / "map" / "quay.map");
    std::ofstream(Game() / "map" / "a.b.map") << "x";
    Open(kArsenalMapsPage, kMapsButton);
    EXPECT_EQ(Rows(window.List1), (std::vector<std::string>{"A.B", "DOCKS"}));
    fs::remove_all(Game() / "map");
    Open(kArsenalMapsPage, kMapsButton);
    EXPECT_TRUE(Rows(window.List1).empty());
    EXPECT_EQ(window.Label2(0).Caption(), "0 Map(s) installées !!");
}

// CHECK lists what the site offers and counts the rows whatever the reply;
// DOWNLOAD needs a chosen map, and lists the installed maps again after it.
TEST_F(WebPages, TheMapsPageListsTheOfferedMapsAndDownloadsTheChosenOne) {
    Start();
    Open(kArsenalMapsPage, kMapsButton);
    ui_events::Click(window.Command3);
    EXPECT_TRUE(Rows(window.List2).empty());
    EXPECT_EQ(window.Label2(1).Caption(), "0 Maps disponibles sur le SERVEUR");

    site_.OfferMap("Quay", SampleMapPackage("quay"));
    site_.OfferMap("docks");
    ui_events::Click(window.Command3);
    EXPECT_EQ(Rows(window.List2), (std::vector<std::string>{"QUAY", "DOCKS"}));
    EXPECT_EQ(window.Label2(1).Caption(), "2 Maps disponibles sur le SERVEUR");
    server_.ServeStatus("/script/get_map.php3", 404);
    window.Label2(1).SetCaption("");
    ui_events::Click(window.Command3);
    EXPECT_EQ(Rows(window.List2), (std::vector<std::string>{"QUAY", "DOCKS"}));
    EXPECT_EQ(window.Label2(1).Caption(), "2 Maps disponibles sur le SERVEUR");
    Scripts();

    ui_events::Click(window.Command2);
    EXPECT_EQ(boxes.Take(), std::vector<std::string>{"Select a Map to Download please !!"});
    EXPECT_TRUE(Scripts().empty());

    window.List2.SetListIndex(0);
    ui_events::Click(window.Command2);
    EXPECT_EQ(Scripts(), std::vector<std::string>{"/quellmar/map/quay.exe"});
    EXPECT_EQ(Rows(window.List1), std::vector<std::string>{"QUAY"});
    EXPECT_EQ(window.Label2(0).Caption(), "1 Map(s) installées !!");
    EXPECT_TRUE(window.Enabled());
    EXPECT_EQ(ui::MousePointer(), ui::vbDefault);
    EXPECT_FALSE(StatusWindow().IsLoaded());
    EXPECT_TRUE(boxes.Take().empty());
}

}  // namespace
