#include "e2e/lobby_player.h"

#include "e2e/launcher_steps.h"

#include "launcher/settings.h"
#include "multiplayer/create_game.h"
#include "multiplayer/session_list.h"
#include "multiplayer/waiting_room.h"
#include "platform/registry/registry.h"
#include "support/hive_values.h"
#include "support/ui_events.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QThread>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace lobby {

namespace {

// The smallest video mode, "640 X 480", keeps many copies' frames cheap.
constexpr char kSmallMode[] = "0";
// How often a held key looks whether it was read.
constexpr int kKeyPollMilliseconds = 10;
// A list's first row lies this far below the list's top.
constexpr int kFirstRow = 10;
// How long a player may walk before the others see it move, and how far
// across the ground counts as moved (the point it was shown at drifts by
// less while it stands).
constexpr int kWalkMilliseconds = 10000;
constexpr double kMoved = 2;

}  // namespace

QPoint FirstRowOf(ui::Control& list) {
    QWidget* widget = list.hWnd();
    return widget->mapTo(widget->window(), QPoint(widget->width() / 2, kFirstRow));
}

Places FindPlaces() {
    Places places;
    SessionsWindow().Load();
    places.refresh = ui_events::MiddleOf(SessionsWindow().cmdrefresh);
    places.join = ui_events::MiddleOf(SessionsWindow().cmdJoin);
    places.newGame = ui_events::MiddleOf(SessionsWindow().cmdCreate);
    places.server = FirstRowOf(SessionsWindow().lstserv);
    places.refreshServer = ui_events::MiddleOf(SessionsWindow().Label2);
    SessionsWindow().Unload();
    CreateGameWindow().Load();
    places.create = ui_events::MiddleOf(CreateGameWindow().cmdCreate);
    places.maximum = ui_events::MiddleOf(CreateGameWindow().cmbnb);
    places.comment = ui_events::MiddleOf(CreateGameWindow().TxtComment);
    CreateGameWindow().Unload();
    WaitingWindow().Load();
    places.start = ui_events::MiddleOf(WaitingWindow().cmdStart);
    places.line = ui_events::MiddleOf(WaitingWindow().mess);
    WaitingWindow().Unload();
    return places;
}

double Drawn(const QImage& picture) {
    if (picture.isNull()) return 0;
    const QRgb first = picture.pixel(0, 0);
    int64_t drawn = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) drawn += picture.pixel(x, y) != first;
    return double(drawn) / (int64_t(picture.width()) * picture.height());
}

std::string Stored(const ProgramCopy& copy, std::string_view key, std::string_view name) {
    registry::SetHiveFolder(copy.HiveFolder().string());
    std::string value = hive_values::Stored(key, name).second;
    registry::SetHiveFolder({});
    if (!value.empty() && value.back() == '\0') value.pop_back();
    return value;
}

double Across(const Place& a, const Place& b) { return std::hypot(a.x - b.x, a.z - b.z); }

Player::Player(std::string name, int side) : name_(std::move(name)) {
    registry::SetHiveFolder(copy_.HiveFolder().string());
    hive_values::SetText(kGameKey, "Res", kSmallMode);
    hive_values::SetText(kGameKey, "Type", std::to_string(side));
    hive_values::SetText(kProfileKey, "Name", name_);
    registry::SetHiveFolder({});
    fs::copy(fs::path(QUELLMAR_GAME_DIR) / "map", copy_.Game() / "map", fs::copy_options::recursive);
}

void Player::Launch(uint16_t port, std::map<QString, QString> environment) {
    environment["QUELLMAR_PLAY_PORT"] = QString::number(port);
    environment["QUELLMAR_TRACE"] = QString::fromStdString(Log().string());
    EXPECT_TRUE(copy_.Start(environment)) << name_;
}

bool Player::ToTheList() {
    const ShownWindow launcher = launcher_steps::ToTheLauncher(copy_);
    if (!launcher.Found()) return false;
    window_ = launcher_steps::PlayOnLan(copy_, launcher);
    return window_.Found();
}

bool Player::ToTheWebList() {
    const ShownWindow launcher = launcher_steps::ToTheLauncher(copy_);
    if (!launcher.Found()) return false;
    window_ = launcher_steps::PlayOnTheWeb(copy_, launcher);
    return window_.Found();
}

bool Player::ClickTo(QPoint at, const QString& title) {
    Click(at);
    return ToWindow(title);
}

bool Player::ToWindow(const QString& title) {
    window_ = copy_.WaitForTitle(title, kLobbyMilliseconds);
    return window_.Found();
}

bool Player::EndTheGame() {
    copy_.KeyDown(window_, "Escape");
    QElapsedTimer waited;
    waited.start();
    while (TracedStartingWith("game ended").empty() && waited.elapsed() < kGameMilliseconds)
        QThread::msleep(kKeyPollMilliseconds);
    // The game's window may be on its way out: no focus is asked of it.
    copy_.Xdotool({"keyup", "Escape"});
    return !TracedStartingWith("game ended").empty();
}

void Player::PointAtTheGamesMiddle() {
    copy_.Xdotool({"mousemove", QString::number(kGameMiddle.x()), QString::number(kGameMiddle.y())});
}

bool Player::ToTheGame() {
    window_ = copy_.WaitForWindow([](const ShownWindow&) { return true; }, kGameMilliseconds);
    EXPECT_EQ(QRect(window_.at, window_.size), kGameWindow) << name_;
    return window_.Found();
}

std::vector<std::string> Player::Traced() const {
    std::vector<std::string> lines;
    std::ifstream log(Log());
    for (std::string line; std::getline(log, line);) lines.push_back(line.substr(line.find(' ') + 1));
    return lines;
}

std::vector<std::string> Player::TracedStartingWith(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& line : Traced())
        if (line.rfind(prefix, 0) == 0) found.push_back(line);
    return found;
}

std::string Player::WaitForTrace(const std::string& prefix, int milliseconds) const {
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

std::optional<Place> Player::Shows(const std::string& other) const {
    const std::string prefix = "player shown " + other + " ";
    const std::vector<std::string> lines = TracedStartingWith(prefix);
    if (lines.empty()) return {};
    std::istringstream fields(lines.back().substr(prefix.size()));
    Place at;
    fields >> at.x >> at.y >> at.z;
    return fields ? std::optional(at) : std::nullopt;
}

std::optional<Place> Player::WaitForShown(const std::string& other) const {
    WaitForTrace("player shown " + other + " ", kGameMilliseconds);
    return Shows(other);
}

void ExpectEachSeesTheOthers(const Players& players) {
    for (Player* observer : players)
        for (Player* other : players)
            if (other != observer) observer->WaitForShown(other->Name());
}

void ExpectSeenWalking(Player& mover, const Players& observers, const QString& key) {
    std::map<Player*, Place> before;
    for (Player* observer : observers) {
        const std::optional<Place> at = observer->WaitForShown(mover.Name());
        ASSERT_TRUE(at) << observer->Name() << " never shows " << mover.Name();
        before[observer] = *at;
    }
    const auto seenMoving = [&](Player* observer) {
        const std::optional<Place> now = observer->Shows(mover.Name());
        return now && Across(*now, before[observer]) > kMoved;
    };
    mover.Hold(key);
    QElapsedTimer waited;
    waited.start();
    while (!std::all_of(observers.begin(), observers.end(), seenMoving) && waited.elapsed() < kWalkMilliseconds)
        QThread::msleep(kPollMilliseconds);
    mover.Release(key);
    for (Player* observer : observers)
        EXPECT_TRUE(seenMoving(observer)) << observer->Name() << " does not see " << mover.Name() << " walk";
}

}  // namespace lobby
