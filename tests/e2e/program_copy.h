#pragma once

// The built program as a user runs it. What tests get from a ProgramCopy:
//  - a copy of the built game folder of its own (without `map` and
//    `system`, as a new user has it), its own configuration and data
//    folders, and a virtual X server of its own, so that several copies can
//    run at once (a running game re-centres its display's pointer);
//  - Start/Stop of the program in it, as often as the test needs, and the
//    program's process;
//  - its windows found, driven with xdotool and grabbed from its display.
// The copy's program, then its display, end with the copy.

#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <sys/types.h>

struct xcb_connection_t;

#include <filesystem>
#include <functional>
#include <map>
#include <string>

// A visible top-level window of the program: its X id and its place.
struct ShownWindow {
    QString id;
    QPoint at;
    QSize size;
    bool Found() const { return !id.isEmpty(); }
};

class ProgramCopy {
public:
    ProgramCopy();
    ~ProgramCopy();
    ProgramCopy(const ProgramCopy&) = delete;
    ProgramCopy& operator=(const ProgramCopy&) = delete;

    std::filesystem::path Root() const { return root_.path().toStdString(); }
    std::filesystem::path Game() const { return Root() / "game"; }
    // Where the program keeps its registry hives.
    std::filesystem::path HiveFolder() const { return Root() / "config" / "quellmar"; }
    // The copy's X display, ":N".
    const QString& Display() const { return display_; }

    // Starts the program with extra environment values (a play port, a web
    // host, ...); false when it does not start.
    bool Start(const std::map<QString, QString>& environment = {});
    // Ends the program if it still runs.
    void Stop();
    // Waits for the program to end by itself; false when it still runs.
    bool WaitForEnd(int milliseconds = 10000);
    QProcess& Program() { return program_; }

    // Waits for a visible window of the program that `wanted` accepts; none
    // when the time runs out or the program ends.
    ShownWindow WaitForWindow(const std::function<bool(const ShownWindow&)>& wanted, int milliseconds = 30000);
    ShownWindow WaitForTitle(const QString& title, int milliseconds = 30000);
    QString Title(const ShownWindow& window);
    // Waits for the program to map its next window, and holds the program
    // still there (Resume lets it go on): a window it shows only for a moment
    // can be grabbed. None when the time runs out.
    ShownWindow PauseAtNextWindow(int milliseconds = 30000);
    // Whether the window is still shown.
    bool Shown(const ShownWindow& window);

    // Runs xdotool on the copy's display and returns what it printed.
    QString Xdotool(const QStringList& arguments);
    void MoveMouse(const ShownWindow& window, QPoint at);
    void Click(const ShownWindow& window, QPoint at);
    // Clicks there and moves the pointer on to `then` (a place on the
    // screen) in one xdotool run, before the program has handled the click.
    void ClickAndMoveOn(const ShownWindow& window, QPoint at, QPoint then);
    // Gives the window the keyboard and presses the key (an xdotool key name).
    void Key(const ShownWindow& window, const QString& key);
    // Gives the window the keyboard and holds the key down, or lets it go.
    void KeyDown(const ShownWindow& window, const QString& key);
    void KeyUp(const ShownWindow& window, const QString& key);
    // Gives the window the keyboard and types the text.
    void Type(const ShownWindow& window, const QString& text);

    // What the display shows of the window; empty when it cannot be read.
    QImage Grab(const ShownWindow& window);
    // Grabs until `ready` accepts the picture or the time runs out, and
    // keeps the last one (KeepGrab).
    QImage GrabWhen(const ShownWindow& window, const std::function<bool(const QImage&)>& ready, const std::string& name,
                    int milliseconds = 10000);
    // Holds the program still, and lets it go on.
    void Pause();
    void Resume();

private:
    void StartDisplay();
    void WatchWindows();
    ShownWindow Describe(const QString& id);

    QTemporaryDir root_;
    QString display_;
    pid_t server_ = -1;
    // Told of every window mapped on the display.
    xcb_connection_t* watch_ = nullptr;
    QProcess program_;
};

// Keeps the grab as `name`.png in the test binary folder for a person to
// look at.
void KeepGrab(const QImage& grab, const std::string& name);

// The share of `picture`'s pixels that `grab` shows at `at` within a small
// difference per colour.
double Matching(const QImage& grab, const QImage& picture, QPoint at = {});
