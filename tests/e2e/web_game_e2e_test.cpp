// Copies of the built program in web mode, with the game's web site scripted
// in this process on loopback and named to them by QUELLMAR_WEB_HOST (which
// is also the launcher's default game-list host): the launch through the
// account and game-list requests, a game announced with its comment, found in
// the other copy's server list and played on a map that copy downloads from
// the site as its game starts, the statistics and comments at the end, the
// host's entry removed, a new host announcing the game, and a LAN game that
// sends the site nothing.

#include "e2e/launcher_steps.h"
#include "e2e/lobby_player.h"
#include "e2e/program_copy.h"

#include "core/game_state.h"
#include "core/rank.h"
#include "launcher/settings.h"
#include "platform/os/executable.h"
#include "platform/registry/registry.h"
#include "platform/ui/message_box.h"
#include "support/fake_web_server.h"
#include "support/free_port.h"
#include "support/hive_values.h"
#include "support/scripted_web_site.h"
#include "web/status_window.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QThread>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace lobby;

namespace {

const std::string kRelease = "2.11.0";
const std::string kGame = "Quellmar game (DOCKS)";
// A map the site offers, which only the first copy holds.
const std::string kQuay = "QUAY";
const std::string kQuayGame = "Quellmar game (QUAY)";
// The start points of the site's QUAY, which the second copy downloads: the
// sample map's meshes with every point on open ground in the middle, away
// from the sample's own points that the first copy's QUAY keeps. Players
// stand in each other's way, and each copy draws its own start, so two
// copies of one map may start their players on one point, where neither can
// walk.
const std::string kSiteQuayMapText = "dusk\n0:80:0\n10:3:-20\n10:3:-20\n10:3:-20\n10:3:-20\n8\n";
constexpr int kSettleMilliseconds = 2000;
constexpr int kDropMilliseconds = 30000;

// "SERVER name On version v" filled to 100 characters, then the address.
std::string ServerRow(const std::string& name) {
    std::string row = "SERVER " + name + " On version " + kRelease;
    row.resize(100, ' ');
    return row + "127.0.0.1";
}

std::string HiveBytes(const ProgramCopy& copy) {
    registry::SetHiveFolder(copy.HiveFolder().string());
    std::ifstream file(registry::HiveFilePath(registry::HKEY_LOCAL_MACHINE), std::ios::binary);
    registry::SetHiveFolder({});
    return {std::istreambuf_iterator<char>(file), {}};
}

class WebGame : public testing::Test {
protected:
    WebGame() {
        os::SetExecutableFolder(QUELLMAR_GAME_DIR);
        ui::SetMessageBoxHandler([](const ui::MessageBoxSeen&) { return ui::vbOK; });
        places_ = FindPlaces();
        StatusWindow().Show();
        statusSize_ = StatusWindow().hWnd()->size();
        StatusWindow().Unload();
        EXPECT_NE(server_.Start(), 0);
    }
    ~WebGame() override { os::SetExecutableFolder({}); }

    // A player whose program starts at once with the site as its web host.
    Player& Add(const std::string& name, int side, int32_t account) {
        players_.push_back(std::make_unique<Player>(name, side));
        Player& player = *players_.back();
        registry::SetHiveFolder(player.Copy().HiveFolder().string());
        hive_values::SetText(kProfileKey, "Id", std::to_string(account));
        registry::SetHiveFolder({});
        site_.SetAccount(account, {.name = name, .killer = account, .killed = 1});
        player.Launch(port_, {{"QUELLMAR_WEB_HOST", QString::fromStdString(server_.Host())}});
        return player;
    }

    // A box the program shows over `under`, with the program's title.
    ShownWindow BoxOver(Player& player, const ShownWindow& under) {
        return player.Copy().WaitForWindow(
            [&](const ShownWindow& w) {
                return w.id != under.id && w.size != statusSize_ && player.Copy().Title(w) == "Quellmar";
            },
            kLobbyMilliseconds);
    }

    // Web mode from the start: the player creates a game with `comment`
    // and waits in its room.
    void CreateWebGame(Player& host, const QString& comment, const std::string& game = kGame) {
        ASSERT_TRUE(host.ToTheWebList()) << host.Name();
        host.WaitForTrace("servers listed ");
        ASSERT_TRUE(host.ClickTo(places_.newGame, kCreateGame));
        host.Click(places_.comment);
        host.Type(comment);
        ASSERT_TRUE(host.ClickTo(places_.create, kWaitingRoom));
        host.WaitForTrace("game announced ");
        host.WaitForTrace("session created " + game);
    }

    // The player picks the listed game of `host` and joins it.
    void JoinWebGame(Player& joiner, const Player& host, const std::string& game = kGame) {
        ASSERT_TRUE(joiner.ToTheWebList()) << joiner.Name();
        EXPECT_EQ(joiner.WaitForTrace("servers listed "), "servers listed 1: " + ServerRow(host.Name()));
        joiner.Click(places_.server);
        joiner.WaitForTrace("sessions listed 1: " + game + " (1/4)");
        joiner.Click(places_.join);
        joiner.WaitForTrace("session joined ");
        ASSERT_TRUE(joiner.ToWindow(kWaitingRoom));
    }

    // Esc ends the game; the comment typed in the box that asks for it goes
    // with the statistics, and the program ends.
    void Leave(Player& player, const QString& comment) {
        const ShownWindow game = player.Window();
        ASSERT_TRUE(player.EndTheGame()) << player.Name();
        const ShownWindow box = BoxOver(player, game);
        ASSERT_TRUE(box.Found()) << player.Name() << " asked for no comment";
        player.Copy().Type(box, comment);
        player.Copy().Key(box, "Return");
        EXPECT_TRUE(player.Copy().WaitForEnd()) << player.Name();
    }

    // Waits until the site lists games of exactly these accounts.
    bool Listed(const std::vector<int32_t>& accounts) {
        QElapsedTimer waited;
        waited.start();
        do {
            std::vector<int32_t> listed;
            for (const SiteGame& game : site_.Games()) listed.push_back(game.player);
            if (listed == accounts) return true;
            QThread::msleep(kPollMilliseconds);
        } while (waited.elapsed() < kDropMilliseconds);
        return false;
    }

    FakeWebServer server_;
    ScriptedWebSite site_{server_};
    uint16_t port_ = FreeUdpPort();
    Places places_;
    QSize statusSize_;
    std::vector<std::unique_ptr<Player>> players_;
};

// The map of the game is the site's QUAY, which the first copy holds as its
// only map and the second lacks: the second downloads it as its game starts.
TEST_F(WebGame, TwoCopiesMeetThroughTheWebListPlayOnAMapOneDownloadsAndSendTheirStatistics) {
    site_.OfferMap(kQuay, SampleMapPackage(kQuay, kSiteQuayMapText));
    Player& a = Add("Ana", 0, 41);
    Player& b = Add("Bo", 1, 42);
    const fs::path folder = a.Copy().Game() / "map";
    for (const char* part : {".map", ".sol", ".mur", ".pla", ".lad"})
        fs::rename(folder / (std::string("docks") + part), folder / ("quay" + std::string(part)));
    CreateWebGame(a, "come & play", kQuayGame);
    ASSERT_EQ(site_.Games().size(), 1u);
    const SiteGame announced = site_.Games()[0];
    EXPECT_EQ(announced, (SiteGame{announced.key, 41, "Ana", kRelease, "127.0.0.1", "come & play"}));

    JoinWebGame(b, a, kQuayGame);
    a.WaitForTrace("waiting room 2 of 4 players ready...");
    b.PointAtTheGamesMiddle();
    a.ClickIntoTheGame(places_.start);
    // Bo's status window shows while the map comes: the game's window is
    // the one shown once its first frame is.
    for (Player* player : {&a, &b}) {
        player->WaitForTrace("first frame shown", kGameMilliseconds);
        ASSERT_TRUE(player->ToTheGame()) << player->Name();
        const QImage game = player->Copy().GrabWhen(
            player->Window(), [](const QImage& grab) { return Drawn(grab) > 0.2; }, "web-game-" + player->Name());
        EXPECT_GT(Drawn(game), 0.2) << player->Name();
    }
    const std::vector<std::string> requests = server_.Requests();
    EXPECT_EQ(std::count(requests.begin(), requests.end(), "/quellmar/map/quay.exe"), 1);
    EXPECT_TRUE(fs::exists(b.Copy().Game() / "map" / "quay.mur"));
    ExpectSeenWalking(b, {&a});

    // The host leaves: its entry goes before its statistics, and the other
    // copy, host now, announces the game again.
    Leave(a, "gg from Ana");
    EXPECT_TRUE(Listed({42})) << "the new host's entry";
    b.WaitForTrace("host now");
    Leave(b, "bye & thanks");
    EXPECT_TRUE(Listed({}));
    EXPECT_EQ(site_.Comments(), (std::vector<std::string>{"gg from Ana", "bye & thanks"}));

    std::vector<std::string> ends;
    for (const std::string& target : server_.Requests())
        if (target.rfind("/script/delete_server.php3", 0) == 0 || target.rfind("/script/quitte_server.php3", 0) == 0)
            ends.push_back(target.substr(0, target.find("&COMMENT")));
    ASSERT_EQ(ends.size(), 4u);
    EXPECT_EQ(ends[0], "/script/delete_server.php3?CLE_SERVEUR=" + std::to_string(announced.key));
    EXPECT_EQ(ends[1].rfind("/script/quitte_server.php3?CLE_SOFT=1&CLE_JOUEUR=41&KILLER=", 0), 0u) << ends[1];
    EXPECT_EQ(ends[2].rfind("/script/delete_server.php3?CLE_SERVEUR=", 0), 0u) << ends[2];
    EXPECT_EQ(ends[3].rfind("/script/quitte_server.php3?CLE_SOFT=1&CLE_JOUEUR=42&KILLER=", 0), 0u) << ends[3];
    // The site's totals are the account's before the game and the game's
    // counters, which the copies also added to the totals they store.
    for (const auto& [player, account] : {std::pair{&a, 41}, std::pair{&b, 42}}) {
        const SiteAccount totals = *site_.Account(account);
        EXPECT_EQ(std::to_string(totals.killer), Stored(player->Copy(), kGameKey, "Killer")) << player->Name();
        EXPECT_EQ(std::to_string(totals.killed), Stored(player->Copy(), kGameKey, "Killed")) << player->Name();
    }
}

// The host dies in the lobby: the copy left becomes host, announces the game
// on the list, and its START takes a click once the box is answered.
TEST_F(WebGame, AKilledHostsGameIsAnnouncedByTheNewHostWhoMayStartIt) {
    Player& a = Add("Ana", 0, 41);
    Player& b = Add("Bo", 1, 42);
    CreateWebGame(a, "first");
    JoinWebGame(b, a);
    a.Copy().Program().kill();
    ASSERT_TRUE(a.Copy().WaitForEnd());
    EXPECT_TRUE(Listed({41, 42}));
    const SiteGame again = site_.Games()[1];
    EXPECT_EQ(again, (SiteGame{again.key, 42, "Bo", kRelease, "127.0.0.1", ""}));

    const ShownWindow box = BoxOver(b, b.Window());
    ASSERT_TRUE(box.Found()) << "no \"You are now the host.\"";
    b.Copy().Key(box, "Return");
    b.WaitForTrace("host now");
    // A disabled START takes no click.
    b.Click(places_.start);
    b.WaitForTrace("start message sent 1 players");
}

TEST_F(WebGame, ALanGameSendsTheSiteNothing) {
    Player& a = Add("Ana", 0, 41);
    ASSERT_TRUE(a.ToTheList());
    ASSERT_TRUE(a.ClickTo(places_.newGame, kCreateGame));
    ASSERT_TRUE(a.ClickTo(places_.create, kWaitingRoom));
    a.WaitForTrace("session created " + kGame);
    a.Click(places_.start);
    ASSERT_TRUE(a.ToTheGame());
    a.WaitForTrace("first frame shown", kGameMilliseconds);
    ASSERT_TRUE(a.EndTheGame());
    EXPECT_TRUE(a.Copy().WaitForEnd());
    EXPECT_TRUE(server_.Requests().empty());
}

// SERVEUR WEB in the launcher: the status window while the account request
// runs (the site takes its time to answer, so that it can be seen), the
// account's number and totals in the hive with the rank they give, and the
// box that names a newer release.
TEST_F(WebGame, TheWebButtonStoresTheSitesAccountAndAnnouncesANewerRelease) {
    Player& a = Add("Ana", 0, 41);
    server_.ServeSlow("/script/nouveaujoueur.php3", std::chrono::seconds(3),
                      "<JOUEUR><CLE>41</CLE><VER>2.12.0</VER><URL>http://example.invalid/release.exe</URL>"
                      "<KILLER>30</KILLER><KILLED>4</KILLED><SNIPPER>2</SNIPPER><SNIPPED>1</SNIPPED></JOUEUR>");
    const ShownWindow launcher = launcher_steps::ToTheLauncher(a.Copy());
    ASSERT_TRUE(launcher.Found());
    a.Copy().Click(launcher, launcher_steps::Middle(launcher_steps::kPlayPlace));
    a.Copy().Click(launcher, launcher_steps::Middle(launcher_steps::kWebPlace));
    const ShownWindow status =
        a.Copy().WaitForWindow([&](const ShownWindow& w) { return w.size == statusSize_; }, kLobbyMilliseconds);
    ASSERT_TRUE(status.Found()) << "no status window";
    const QImage shown = a.Copy().GrabWhen(
        status, [](const QImage& grab) { return Drawn(grab) > 0.2; }, "web-status-window");
    EXPECT_GT(Drawn(shown), 0.2);

    const ShownWindow box = BoxOver(a, launcher);
    ASSERT_TRUE(box.Found()) << "no \"New version \" box";
    KeepGrab(a.Copy().Grab(box), "web-new-version");
    a.Copy().Key(box, "Return");
    ASSERT_TRUE(a.Copy().WaitForTitle(launcher_steps::kSessionList).Found());
    a.Copy().Stop();

    StatKiller = 30;
    StatKilled = 4;
    StatSnipper = 2;
    StatSnipped = 1;
    CalculeRang();
    const std::pair<const char*, std::string> stored[] = {
        {"Killer", "30"}, {"Killed", "4"}, {"Snipper", "2"}, {"Snipped", "1"}, {"Power", std::to_string(WeaponPower)}};
    for (const auto& [name, value] : stored) EXPECT_EQ(Stored(a.Copy(), kGameKey, name), value) << name;
    EXPECT_EQ(Stored(a.Copy(), kProfileKey, "Id"), "41");
    ResetGameState();
}

// With no web host the web button sends nothing, writes nothing and leaves
// the launcher to the player, whose LAN button still works.
TEST_F(WebGame, WithoutAWebHostTheWebButtonLeavesTheLauncherUsableAndTheHiveAlone) {
    Player player("Ana", 0);
    player.Launch(port_);
    const ShownWindow launcher = launcher_steps::ToTheLauncher(player.Copy());
    ASSERT_TRUE(launcher.Found());
    player.Copy().Click(launcher, launcher_steps::Middle(launcher_steps::kPlayPlace));
    QThread::msleep(kSettleMilliseconds);
    const std::string hive = HiveBytes(player.Copy());
    player.Copy().Click(launcher, launcher_steps::Middle(launcher_steps::kWebPlace));
    QThread::msleep(kSettleMilliseconds);
    EXPECT_TRUE(player.Copy().Shown(launcher));
    EXPECT_EQ(HiveBytes(player.Copy()), hive);
    EXPECT_TRUE(launcher_steps::Lan(player.Copy(), launcher).Found());
}

}  // namespace
