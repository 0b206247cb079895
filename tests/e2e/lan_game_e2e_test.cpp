// Copies of the built program play a LAN game on one play port, each on its
// own display, driven only through their windows: the launcher, the session
// list, the create-game window, the waiting room and the game. What each
// copy did is read from its diagnostic log; what it shows from grabs.
//
// Each copy starts with a small video mode and its own name and side stored
// as the settings store writes them, and with the sample map in its map
// folder, so that every machine of the game has the map.

#include "e2e/launcher_steps.h"
#include "e2e/program_copy.h"

#include "launcher/settings.h"
#include "multiplayer/create_game.h"
#include "multiplayer/session_list.h"
#include "multiplayer/waiting_room.h"
#include "platform/os/executable.h"
#include "platform/registry/registry.h"
#include "platform/ui/message_box.h"
#include "support/free_port.h"
#include "support/hive_values.h"
#include "support/ui_events.h"

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
using namespace launcher_steps;

namespace {

const QString kCreateGame = "Create Game";
const QString kWaitingRoom = "Waiting for Host to Start Game";
constexpr int kLobbyMilliseconds = 20000;
constexpr int kGameMilliseconds = 60000;
constexpr int kPollMilliseconds = 100;
// How long the game runs before its frame rate is read.
constexpr int kPlayMilliseconds = 5000;
// The smallest video mode, "640 X 480", keeps many copies' frames cheap.
constexpr char kSmallMode[] = "0";

// Where the user clicks in the lobby windows, in pixels of each window: read
// from this process's windows.
struct LobbyPlaces {
    QPoint refresh, join, newGame, create, maximum, start, line;
};

LobbyPlaces FindLobbyPlaces() {
    LobbyPlaces places;
    SessionsWindow().Load();
    places.refresh = ui_events::MiddleOf(SessionsWindow().cmdrefresh);
    places.join = ui_events::MiddleOf(SessionsWindow().cmdJoin);
    places.newGame = ui_events::MiddleOf(SessionsWindow().cmdCreate);
    SessionsWindow().Unload();
    CreateGameWindow().Load();
    places.create = ui_events::MiddleOf(CreateGameWindow().cmdCreate);
    places.maximum = ui_events::MiddleOf(CreateGameWindow().cmbnb);
    CreateGameWindow().Unload();
    WaitingWindow().Load();
    places.start = ui_events::MiddleOf(WaitingWindow().cmdStart);
    places.line = ui_events::MiddleOf(WaitingWindow().mess);
    WaitingWindow().Unload();
    return places;
}

// One player's copy of the program.
class Player {
public:
    Player(std::string name, int side) : name_(std::move(name)) {
        registry::SetHiveFolder(copy_.HiveFolder().string());
        hive_values::SetText(kGameKey, "Res", kSmallMode);
        hive_values::SetText(kGameKey, "Type", std::to_string(side));
        hive_values::SetText(kProfileKey, "Name", name_);
        registry::SetHiveFolder({});
        fs::copy(fs::path(QUELLMAR_GAME_DIR) / "map", copy_.Game() / "map", fs::copy_options::recursive);
    }

    const std::string& Name() const { return name_; }
    ProgramCopy& Copy() { return copy_; }

    // From the start to the session list.
    bool ToTheList(uint16_t port) {
        const ShownWindow launcher =
            StartToTheLauncher(copy_, {{"QUELLMAR_PLAY_PORT", QString::number(port)},
                                       {"QUELLMAR_TRACE", QString::fromStdString((copy_.Root() / "trace").string())}});
        if (!launcher.Found()) return false;
        window_ = PlayOnLan(copy_, launcher);
        return window_.Found();
    }

    // Clicks in the window the player is in, and the window that then
    // shows, found by its title.
    void Click(QPoint at) { copy_.Click(window_, at); }
    bool ClickTo(QPoint at, const QString& title) {
        Click(at);
        window_ = copy_.WaitForTitle(title, kLobbyMilliseconds);
        return window_.Found();
    }
    void Key(const QString& key) { copy_.Key(window_, key); }
    void Type(const QString& text) { copy_.Type(window_, text); }
    const ShownWindow& Window() const { return window_; }
    // The game's window: once the game runs, the one window shown.
    bool ToTheGame() {
        window_ = copy_.WaitForWindow([](const ShownWindow&) { return true; }, kGameMilliseconds);
        return window_.Found();
    }

    // The log's lines so far, without their times.
    std::vector<std::string> Traced() const {
        std::vector<std::string> lines;
        std::ifstream log(copy_.Root() / "trace");
        for (std::string line; std::getline(log, line);) lines.push_back(line.substr(line.find(' ') + 1));
        return lines;
    }
    std::vector<std::string> TracedStartingWith(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const std::string& line : Traced())
            if (line.rfind(prefix, 0) == 0) found.push_back(line);
        return found;
    }
    // Waits for a line that starts with `prefix` and returns it; "" when
    // none comes in time.
    std::string WaitForTrace(const std::string& prefix, int milliseconds = kLobbyMilliseconds) const {
        QElapsedTimer waited;
        waited.start();
        do {
            const std::vector<std::string> found = TracedStartingWith(prefix);
            if (!found.empty()) return found.back();
            QThread::msleep(kPollMilliseconds);
        } while (waited.elapsed() < milliseconds);
        ADD_FAILURE() << name_ << " never traced \"" << prefix << "\"";
        return {};
    }

private:
    ProgramCopy copy_;
    std::string name_;
    ShownWindow window_;
};

// The share of the picture's pixels that differ from its first pixel: a
// blank window has none.
double Drawn(const QImage& picture) {
    if (picture.isNull()) return 0;
    const QRgb first = picture.pixel(0, 0);
    int64_t drawn = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) drawn += picture.pixel(x, y) != first;
    return double(drawn) / (int64_t(picture.width()) * picture.height());
}

class LanGame : public testing::Test {
protected:
    LanGame() {
        os::SetExecutableFolder(QUELLMAR_GAME_DIR);
        ui::SetMessageBoxHandler([](const ui::MessageBoxSeen&) { return ui::vbOK; });
        places_ = FindLobbyPlaces();
    }
    ~LanGame() override { os::SetExecutableFolder({}); }

    Player& Add(const std::string& name, int side) {
        players_.push_back(std::make_unique<Player>(name, side));
        return *players_.back();
    }

    // The player creates a game of `maximum` players on the sample map, and
    // waits in its room.
    void CreateGame(Player& host, int maximum) {
        ASSERT_TRUE(host.ClickTo(places_.newGame, kCreateGame)) << host.Name();
        host.Click(places_.maximum);
        host.Key("ctrl+a");
        host.Type(QString::number(maximum));
        ASSERT_TRUE(host.ClickTo(places_.create, kWaitingRoom)) << host.Name();
        host.WaitForTrace("session created Quellmar game (DOCKS) max " + std::to_string(maximum));
    }

    // The player refreshes its list until the game shows with `players` in
    // it, and joins.
    void JoinGame(Player& joiner, int players, int maximum) {
        const std::string row =
            "Quellmar game (DOCKS) (" + std::to_string(players) + "/" + std::to_string(maximum) + ")";
        QElapsedTimer waited;
        waited.start();
        while (joiner.TracedStartingWith("sessions listed 1: " + row).empty() &&
               waited.elapsed() < kLobbyMilliseconds) {
            joiner.Click(places_.refresh);
            QThread::msleep(kPollMilliseconds * 10);
        }
        ASSERT_FALSE(joiner.TracedStartingWith("sessions listed 1: " + row).empty()) << joiner.Name();
        ASSERT_TRUE(joiner.ClickTo(places_.join, kWaitingRoom)) << joiner.Name();
    }

    // Every room lists every player.
    void ExpectFullRooms(const std::string& status) {
        for (const auto& player : players_) player->WaitForTrace("waiting room " + status);
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
    void Start(Player& host) {
        QElapsedTimer sinceStart;
        sinceStart.start();
        host.Click(places_.start);
        host.WaitForTrace("start message sent " + std::to_string(players_.size()) + " players");
        for (const auto& player : players_) {
            player->WaitForTrace("first frame shown", kGameMilliseconds);
            firstFrame_.push_back(player->Name() + " " + std::to_string(sinceStart.elapsed()) + " ms");
        }
    }

    // Each copy's last frame rate after a few seconds of play, and the
    // times from START to each first frame, for the record.
    void ReportFrameRates() {
        QThread::msleep(kPlayMilliseconds);
        std::string rates;
        for (const auto& player : players_) {
            const std::vector<std::string> samples = player->TracedStartingWith("frame rate ");
            rates += " " + player->Name() + " " + (samples.empty() ? "none" : samples.back().substr(11));
        }
        std::string starts;
        for (const std::string& time : firstFrame_) starts += " " + time;
        RecordProperty("frame_rates", rates);
        RecordProperty("start_to_first_frame", starts);
        std::printf("frame rates:%s\nSTART to first frame (polled every %d ms):%s\n", rates.c_str(), kPollMilliseconds,
                    starts.c_str());
    }

    uint16_t port_ = FreeUdpPort();
    std::vector<std::string> firstFrame_;
    LobbyPlaces places_;
    std::vector<std::unique_ptr<Player>> players_;
};

TEST_F(LanGame, TwoCopiesMeetInTheLobbyAndPlay) {
    Player& a = Add("Ana", 0);
    Player& b = Add("Bo", 1);
    ASSERT_TRUE(a.ToTheList(port_));
    a.WaitForTrace("sessions listed 0");
    CreateGame(a, 4);
    ASSERT_TRUE(b.ToTheList(port_));
    JoinGame(b, 1, 4);
    ExpectFullRooms("2 of 4 players ready...: Ana (TERRORIST) | Bo (GIGN)");

    // A line typed in each room reaches the other.
    Say(a, "hello from Ana");
    Say(b, "hi Ana & all");
    b.WaitForTrace("chat received Ana: hello from Ana");
    a.WaitForTrace("chat received Bo: hi Ana & all");

    const QImage lobby = a.Copy().Grab(a.Window());
    Start(a);
    for (Player* player : {&a, &b}) {
        ASSERT_TRUE(player->ToTheGame()) << player->Name();
        const QImage game = player->Copy().GrabWhen(
            player->Window(), [](const QImage& grab) { return Drawn(grab) > 0.2; }, "lan-game-" + player->Name());
        EXPECT_GT(Drawn(game), 0.2) << player->Name();
        EXPECT_NE(game, lobby) << player->Name();
    }
    ReportFrameRates();
    for (Player* player : {&a, &b}) player->Key("Escape");
    for (Player* player : {&a, &b}) EXPECT_TRUE(player->Copy().WaitForEnd()) << player->Name();
}

}  // namespace
