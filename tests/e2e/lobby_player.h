#pragma once

// A player of a game between copies of the built program: its copy, started
// with its own name, side and small video mode stored as the settings store
// writes them and with the sample map folder, driven through the lobby's
// windows and the game's keys and read through its diagnostic log and its
// hive. Also where the lobby's windows are clicked, whether a grab shows
// anything, and what the copies of a game see of each other.

#include "e2e/program_copy.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {
class Control;
}

namespace lobby {

inline const QString kCreateGame = "Create Game";
inline const QString kWaitingRoom = "Waiting for Host to Start Game";
inline constexpr int kLobbyMilliseconds = 20000;
inline constexpr int kGameMilliseconds = 60000;
inline constexpr int kPollMilliseconds = 100;
// The game's window shows at the top left of the screen at its design size,
// 8535 x 5850 twips. The game turns its player by the pointer's offset from
// the middle of it, and puts the pointer back there each frame, so a pointer
// put there before the first frame leaves each player facing as it starts.
inline const QRect kGameWindow(0, 0, 569, 390);
inline const QPoint kGameMiddle(kGameWindow.width() / 2, kGameWindow.height() / 2);
// The forward and backward keys of the game's default controls.
inline const QString kForward = "Up";
inline const QString kBackward = "Down";

// Where the user clicks in the lobby windows, in pixels of each window: read
// from this process's windows.
struct Places {
    QPoint refresh, join, newGame, create, maximum, start, line;
    // The web list's first row, REFRESH SERVER, and the create window's
    // comment box.
    QPoint server, refreshServer, comment;
};
Places FindPlaces();
// The middle of a list's first row, in pixels of its window.
QPoint FirstRowOf(ui::Control& list);

// The share of the picture's pixels that differ from its first pixel: a
// blank window has none.
double Drawn(const QImage& picture);

// A stored text value of the copy's hive, without its terminator.
std::string Stored(const ProgramCopy& copy, std::string_view key, std::string_view name);

// A point of the level as a copy's log gives it.
struct Place {
    double x = 0, y = 0, z = 0;
};
// How far apart two points lie across the ground.
double Across(const Place& a, const Place& b);

class Player {
public:
    Player(std::string name, int side);

    const std::string& Name() const { return name_; }
    ProgramCopy& Copy() { return copy_; }
    const ProgramCopy& Copy() const { return copy_; }
    std::filesystem::path Log() const { return copy_.Root() / "trace"; }

    // Starts the program on the game's play port, with its log and any
    // further environment values.
    void Launch(uint16_t port, std::map<QString, QString> environment = {});
    // From the start to the session list, by LAN or by the web list.
    bool ToTheList();
    bool ToTheWebList();

    // Clicks in the window the player is in, and the window that then
    // shows, found by its title.
    void Click(QPoint at) { copy_.Click(window_, at); }
    // Clicks what starts the game, leaving the pointer in the game's middle
    // before the game's first frame reads it: the first frame turns the
    // player towards wherever the pointer is.
    void ClickIntoTheGame(QPoint at) { copy_.ClickAndMoveOn(window_, at, kGameMiddle); }
    bool ClickTo(QPoint at, const QString& title);
    bool ToWindow(const QString& title);
    void Key(const QString& key) { copy_.Key(window_, key); }
    void Hold(const QString& key) { copy_.KeyDown(window_, key); }
    void Release(const QString& key) { copy_.KeyUp(window_, key); }
    // Esc in the game, held until the game has read it: the game reads the
    // keys once a frame, and a press and release between two slow frames
    // would be missed. Released before any box of the game's end comes.
    bool EndTheGame();
    // Esc in a game that ends the program with it.
    bool Quit() { return EndTheGame() && copy_.WaitForEnd(); }
    // The pointer at the middle of the game's window, where the game turns
    // nobody.
    void PointAtTheGamesMiddle();
    void Type(const QString& text) { copy_.Type(window_, text); }
    const ShownWindow& Window() const { return window_; }
    // The game's window: once the game runs, the one window shown, at the
    // top left at its design size.
    bool ToTheGame();

    // The log's lines so far, without their times.
    std::vector<std::string> Traced() const;
    std::vector<std::string> TracedStartingWith(const std::string& prefix) const;
    // Waits for a line that starts with `prefix` and returns it; "" when
    // none comes in time.
    std::string WaitForTrace(const std::string& prefix, int milliseconds = kLobbyMilliseconds) const;
    // Where this copy last showed the other player; none before its first
    // state. WaitForShown waits until it shows it.
    std::optional<Place> Shows(const std::string& other) const;
    std::optional<Place> WaitForShown(const std::string& other) const;

private:
    ProgramCopy copy_;
    std::string name_;
    ShownWindow window_;
};

using Players = std::vector<Player*>;

// Each copy shows each other one.
void ExpectEachSeesTheOthers(const Players& players);
// The mover holds the key (forward unless told) until every observer shows
// it moved across the ground, or the time runs out.
void ExpectSeenWalking(Player& mover, const Players& observers, const QString& key = kForward);

}  // namespace lobby
