#pragma once

// A player of a game between copies of the built program: its copy, started
// with its own name, side and small video mode stored as the settings store
// writes them and with the sample map folder, driven through the lobby's
// windows and read through its diagnostic log. Also where the lobby's
// windows are clicked, and whether a grab shows anything.

#include "e2e/program_copy.h"

#include <QImage>
#include <QPoint>
#include <QString>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace lobby {

inline const QString kCreateGame = "Create Game";
inline const QString kWaitingRoom = "Waiting for Host to Start Game";
inline constexpr int kLobbyMilliseconds = 20000;
inline constexpr int kGameMilliseconds = 60000;
inline constexpr int kPollMilliseconds = 100;

// Where the user clicks in the lobby windows, in pixels of each window: read
// from this process's windows.
struct Places {
    QPoint refresh, join, newGame, create, maximum, start, line;
    // The web list's first row, REFRESH SERVER, and the create window's
    // comment box.
    QPoint server, refreshServer, comment;
};
Places FindPlaces();

// The share of the picture's pixels that differ from its first pixel: a
// blank window has none.
double Drawn(const QImage& picture);

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
    bool ClickTo(QPoint at, const QString& title);
    bool ToWindow(const QString& title);
    void Key(const QString& key) { copy_.Key(window_, key); }
    // Esc in the game, held until the game has read it: the game reads the
    // keys once a frame, and a press and release between two slow frames
    // would be missed. Released before any box of the game's end comes.
    bool EndTheGame();
    void Type(const QString& text) { copy_.Type(window_, text); }
    const ShownWindow& Window() const { return window_; }
    // The game's window: once the game runs, the one window shown.
    bool ToTheGame();

    // The log's lines so far, without their times.
    std::vector<std::string> Traced() const;
    std::vector<std::string> TracedStartingWith(const std::string& prefix) const;
    // Waits for a line that starts with `prefix` and returns it; "" when
    // none comes in time.
    std::string WaitForTrace(const std::string& prefix, int milliseconds = kLobbyMilliseconds) const;

private:
    ProgramCopy copy_;
    std::string name_;
    ShownWindow window_;
};

}  // namespace lobby
