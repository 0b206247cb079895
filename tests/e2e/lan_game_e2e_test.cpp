// Copies of the built program play a LAN game on one play port, each on its
// own display, driven only through their windows: the launcher, the session
// list, the create-game window, the waiting room and the game. What each
// copy did is read from its diagnostic log; what it shows from grabs.
//
// Each copy starts with a small video mode and its own name and side stored
// as the settings store writes them, and with the sample map's folder and a
// team-game map the test writes into it, so that every machine of the game
// has the map.

#include "e2e/lobby_player.h"

#include "launcher/settings.h"
#include "platform/os/executable.h"
#include "platform/ui/message_box.h"
#include "support/free_port.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QImage>
#include <QThread>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace lobby;

namespace {

// How long the game runs before its frame rate is read.
constexpr int kPlayMilliseconds = 5000;
// How long the others may take to see that a machine is gone.
constexpr int kDropMilliseconds = 30000;
constexpr int kSettleMilliseconds = 2000;
// How long the shooter may fire before its kill is counted.
constexpr int kShootMilliseconds = 30000;
// The fire key of the game's default controls.
const QString kFire = "p";

// The map every game here is played on: the sample map's meshes under a
// team-game name that lists first. Its start points, in the level's units:
// 0 and 1 where the dead start again, 2 the GIGN's first, 3 the terrorists'
// first. Each side starts on its own point, the terrorists 8 behind the GIGN
// on a line of open ground, everyone facing along it: a terrorist's first
// shot, which drops as the aim looks down from the head, meets the GIGN's
// body, and there is room to walk a long way ahead of the GIGN and behind
// the terrorists.
constexpr char kMap[] = "alley_snipper";
const std::string kGameRow = "Quellmar game (ALLEY_SNIPPER)";
constexpr char kMapText[] = "dusk\n0:80:0\n-10:3:60\n30:3:60\n10:3:-20\n10:3:-28\n8\n";

void WriteTeamMap(const fs::path& folder) {
    for (const char* part : {".sol", ".mur", ".pla", ".lad"})
        fs::copy_file(folder / (std::string("docks") + part), folder / (kMap + std::string(part)));
    std::ofstream(folder / (kMap + std::string(".map")), std::ios::binary) << kMapText;
}

class LanGame : public testing::Test {
protected:
    LanGame() {
        os::SetExecutableFolder(QUELLMAR_GAME_DIR);
        ui::SetMessageBoxHandler([](const ui::MessageBoxSeen&) { return ui::vbOK; });
        places_ = FindPlaces();
    }
    ~LanGame() override { os::SetExecutableFolder({}); }

    // A player whose program starts at once.
    Player& Add(const std::string& name, int side) {
        players_.push_back(std::make_unique<Player>(name, side));
        Player& player = *players_.back();
        WriteTeamMap(player.Copy().Game() / "map");
        player.Launch(port_);
        return player;
    }

    // The player creates a game of `maximum` players on the sample map, and
    // waits in its room.
    void CreateGame(Player& host, int maximum) {
        ASSERT_TRUE(host.ClickTo(places_.newGame, kCreateGame)) << host.Name();
        host.Click(places_.maximum);
        host.Key("ctrl+a");
        host.Type(QString::number(maximum));
        ASSERT_TRUE(host.ClickTo(places_.create, kWaitingRoom)) << host.Name();
        host.WaitForTrace("session created " + kGameRow + " max " + std::to_string(maximum));
    }

    // The player refreshes its list until the game shows with `players` in
    // it, and joins: into the waiting room, or, for a game that runs, on
    // into it at once.
    void JoinGame(Player& joiner, int players, int maximum) {
        ListAndJoin(joiner, players, maximum);
        ASSERT_TRUE(joiner.ToWindow(kWaitingRoom)) << joiner.Name();
    }
    void ListAndJoin(Player& joiner, int players, int maximum) {
        const std::string row = kGameRow + " (" + std::to_string(players) + "/" + std::to_string(maximum) + ")";
        QElapsedTimer waited;
        waited.start();
        while (joiner.TracedStartingWith("sessions listed 1: " + row).empty() &&
               waited.elapsed() < kLobbyMilliseconds) {
            joiner.Click(places_.refresh);
            QThread::msleep(kPollMilliseconds * 10);
        }
        ASSERT_FALSE(joiner.TracedStartingWith("sessions listed 1: " + row).empty()) << joiner.Name();
        // A running game's first frame may come before the test looks.
        joiner.ClickIntoTheGame(places_.join);
        joiner.WaitForTrace("session joined " + row);
    }

    // Every room lists every player.
    static void ExpectRooms(const Players& players, const std::string& status) {
        for (Player* player : players) player->WaitForTrace("waiting room " + status);
    }

    // A chat line typed into the room and sent with Enter.
    void Say(Player& player, const QString& line) {
        player.Click(places_.line);
        player.Type(line);
        player.Key("Return");
        player.WaitForTrace("chat sent " + line.toStdString());
    }

    // The host presses START: every player's game shows its first frame;
    // the time from the press to each one's is kept for the report.
    void Start(const Players& players) {
        QElapsedTimer sinceStart;
        sinceStart.start();
        Player& host = *players.front();
        for (Player* player : players)
            if (player != &host) player->PointAtTheGamesMiddle();
        host.ClickIntoTheGame(places_.start);
        host.WaitForTrace("start message sent " + std::to_string(players.size()) + " players");
        std::set<Player*> waiting(players.begin(), players.end());
        while (!waiting.empty() && sinceStart.elapsed() < kGameMilliseconds) {
            for (auto player = waiting.begin(); player != waiting.end();) {
                if ((*player)->TracedStartingWith("first frame shown").empty()) {
                    ++player;
                    continue;
                }
                firstFrame_.push_back((*player)->Name() + " " + std::to_string(sinceStart.elapsed()) + " ms");
                player = waiting.erase(player);
            }
            QThread::msleep(kPollMilliseconds);
        }
        for (Player* player : waiting) ADD_FAILURE() << player->Name() << " shows no game";
    }

    // Each copy's last frame rate after a few seconds of play, and the
    // times from START to each first frame, for the record.
    void ReportFrameRates(const Players& players) {
        QThread::msleep(kPlayMilliseconds);
        std::string rates;
        for (Player* player : players) {
            const std::vector<std::string> samples = player->TracedStartingWith("frame rate ");
            rates += " " + player->Name() + " " + (samples.empty() ? "none" : samples.back().substr(11));
        }
        std::string starts;
        for (const std::string& time : firstFrame_) starts += " " + time;
        RecordProperty("frame_rates", rates);
        RecordProperty("start_to_first_frame", starts);
        std::printf("%s: frame rates:%s\nSTART to first frame (polled every %d ms):%s\n",
                    testing::UnitTest::GetInstance()->current_test_info()->name(), rates.c_str(), kPollMilliseconds,
                    starts.c_str());
        firstFrame_.clear();
    }

    uint16_t port_ = FreeUdpPort();
    std::vector<std::string> firstFrame_;
    Places places_;
    std::vector<std::unique_ptr<Player>> players_;
};

TEST_F(LanGame, TwoCopiesMeetInTheLobbyAndPlay) {
    Player& a = Add("Ana", 0);
    Player& b = Add("Bo", 1);
    ASSERT_TRUE(a.ToTheList());
    a.WaitForTrace("sessions listed 0");
    CreateGame(a, 4);
    ASSERT_TRUE(b.ToTheList());
    JoinGame(b, 1, 4);
    ExpectRooms({&a, &b}, "2 of 4 players ready...: Ana (TERRORIST) | Bo (GIGN)");

    // A line typed in each room reaches the other.
    Say(a, "hello from Ana");
    Say(b, "hi Ana & all");
    b.WaitForTrace("chat received Ana: hello from Ana");
    a.WaitForTrace("chat received Bo: hi Ana & all");

    const QImage lobby = a.Copy().Grab(a.Window());
    Start({&a, &b});
    for (Player* player : {&a, &b}) {
        ASSERT_TRUE(player->ToTheGame()) << player->Name();
        const QImage game = player->Copy().GrabWhen(
            player->Window(), [](const QImage& grab) { return Drawn(grab) > 0.2; }, "lan-game-" + player->Name());
        EXPECT_GT(Drawn(game), 0.2) << player->Name();
        EXPECT_NE(game, lobby) << player->Name();
    }
    ReportFrameRates({&a, &b});

    // A, a few steps behind B on B's line, fires until B dies and A is told
    // of the kill; then A walks on as B sees it.
    a.Hold(kFire);
    a.WaitForTrace("kill counted 1", kShootMilliseconds);
    a.Release(kFire);
    ExpectSeenWalking(a, {&b});

    // Both careers count it once the games end.
    for (Player* player : {&a, &b}) EXPECT_TRUE(player->Quit()) << player->Name();
    EXPECT_EQ(Stored(a.Copy(), kGameKey, "Killer"), "1");
    EXPECT_EQ(Stored(a.Copy(), kGameKey, "Killed"), "0");
    EXPECT_EQ(Stored(b.Copy(), kGameKey, "Killer"), "0");
    EXPECT_EQ(Stored(b.Copy(), kGameKey, "Killed"), "1");
}

// The host dies without a word; the others play on, one of them hosting,
// and a player who comes later is started by them.
TEST_F(LanGame, AKilledHostLeavesTheGameToTheOthersAndALateJoinerGetsIn) {
    Player& a = Add("Ana", 0);
    Player& b = Add("Bo", 1);
    Player& c = Add("Cy", 0);
    Player& d = Add("Di", 1);
    ASSERT_TRUE(a.ToTheList());
    CreateGame(a, 4);
    int joined = 1;
    for (Player* player : {&b, &c}) {
        ASSERT_TRUE(player->ToTheList());
        JoinGame(*player, joined++, 4);
    }
    ExpectRooms({&a, &b, &c}, "3 of 4 players ready...: Ana (TERRORIST) | Bo (GIGN) | Cy (TERRORIST)");
    Start({&a, &b, &c});

    QElapsedTimer sinceKill;
    sinceKill.start();
    a.Copy().Program().kill();
    ASSERT_TRUE(a.Copy().WaitForEnd());
    std::string dropped;
    for (Player* player : {&b, &c}) {
        player->WaitForTrace("player left Ana", kDropMilliseconds);
        dropped += " " + player->Name() + " " + std::to_string(sinceKill.elapsed()) + " ms";
    }
    RecordProperty("host_dropped_after", dropped);
    std::printf("host dropped after:%s\n", dropped.c_str());
    // The host role moves once, and the other is told.
    QElapsedTimer waited;
    waited.start();
    const auto hosts = [&] {
        return b.TracedStartingWith("host now").size() + c.TracedStartingWith("host now").size();
    };
    while (hosts() == 0 && waited.elapsed() < kDropMilliseconds) QThread::msleep(kPollMilliseconds);
    QThread::msleep(kSettleMilliseconds);
    ASSERT_EQ(hosts(), 1u);
    Player& other = b.TracedStartingWith("host now").empty() ? b : c;
    other.WaitForTrace("host id received ");

    // A player's body stops the walk of another that stands in it or walks
    // into it, and players of a side all start on their side's point, so
    // each walk goes away from the others: the GIGN ahead, the terrorists
    // back. Bo leaves the point where the late joiner will start.
    for (Player* player : {&b, &c}) ASSERT_TRUE(player->ToTheGame()) << player->Name();
    ExpectSeenWalking(b, {&c});
    ExpectSeenWalking(c, {&b}, kBackward);

    // The running game is listed with its two players; the late joiner is
    // answered by each of them and starts once.
    ASSERT_TRUE(d.ToTheList());
    ListAndJoin(d, 2, 4);
    for (Player* player : {&b, &c}) player->WaitForTrace("late joiner made Di");
    for (Player* player : {&b, &c}) player->WaitForTrace("late joiner answered ");
    d.WaitForTrace("first frame shown", kGameMilliseconds);
    QThread::msleep(kSettleMilliseconds);
    EXPECT_EQ(d.TracedStartingWith("first frame shown").size(), 1u);
    ReportFrameRates({&b, &c, &d});

    // Each of them walks as the two others see it; Di, between the two,
    // backs away from Bo.
    ASSERT_TRUE(d.ToTheGame());
    ExpectEachSeesTheOthers({&b, &c, &d});
    ExpectSeenWalking(b, {&c, &d});
    ExpectSeenWalking(c, {&b, &d}, kBackward);
    ExpectSeenWalking(d, {&b, &c}, kBackward);
}

// A game of eight is full: its eight copies play, and a ninth finds nothing
// to join.
TEST_F(LanGame, EightCopiesFillAGameAndANinthListsNone) {
    const char* const names[] = {"Ana", "Bo", "Cy", "Di", "Ed", "Fa", "Gu", "Hu"};
    Players players;
    for (int i = 0; i < 8; ++i) players.push_back(&Add(names[i], i % 2));
    Player& ninth = Add("Io", 0);
    ASSERT_TRUE(players.front()->ToTheList());
    CreateGame(*players.front(), 8);
    for (int i = 1; i < 8; ++i) {
        ASSERT_TRUE(players[size_t(i)]->ToTheList());
        JoinGame(*players[size_t(i)], i, 8);
    }
    ExpectRooms(players, "8 of 8 players ready...");
    Start(players);
    for (Player* player : players)
        if (player != players.front()) player->WaitForTrace("start message received 8 players");
    ExpectEachSeesTheOthers(players);
    ReportFrameRates(players);

    ASSERT_TRUE(ninth.ToTheList());
    ninth.WaitForTrace("sessions listed 0");
}

}  // namespace
