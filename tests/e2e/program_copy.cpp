#include "e2e/program_copy.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QThread>

#include <xcb/xcb.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

constexpr int kServerStartMilliseconds = 20000;
constexpr int kToolMilliseconds = 5000;
constexpr int kPollMilliseconds = 100;
constexpr int kDifferencePerColour = 4;
constexpr int kBytesPerPixel = 4;

// Reads the display number the server writes once it accepts clients; -1
// when it ends or says nothing in time.
int ReadDisplayNumber(int fd) {
    std::string text;
    pollfd wait{fd, POLLIN, 0};
    char c = 0;
    while (text.find('\n') == std::string::npos && poll(&wait, 1, kServerStartMilliseconds) == 1 &&
           read(fd, &c, 1) == 1)
        text += c;
    return text.empty() ? -1 : std::atoi(text.c_str());
}

// Copies the game folder as a new user gets it: the program makes `map` and
// `system` on its first start. The executable, most of the folder's size and
// never written to, is linked where the file system allows it, so that many
// copies fit.
void CopyGameFolder(const fs::path& to) {
    fs::create_directory(to);
    for (const auto& entry : fs::directory_iterator(QUELLMAR_GAME_DIR)) {
        const std::string name = entry.path().filename();
        if (name == "map" || name == "system") continue;
        std::error_code linked;
        if (name == "quellmar") fs::create_hard_link(entry.path(), to / name, linked);
        if (name != "quellmar" || linked) fs::copy(entry.path(), to / name, fs::copy_options::recursive);
    }
}

}  // namespace

ProgramCopy::ProgramCopy() {
    EXPECT_TRUE(root_.isValid());
    CopyGameFolder(Game());
    StartDisplay();
    WatchWindows();
}

ProgramCopy::~ProgramCopy() {
    Stop();
    if (watch_) xcb_disconnect(watch_);
    if (server_ > 0) {
        kill(server_, SIGTERM);
        waitpid(server_, nullptr, 0);
    }
}

// The server picks a free display number and writes it to the pipe.
void ProgramCopy::StartDisplay() {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const std::string fd = std::to_string(fds[1]);
    std::vector<std::string> arguments = {"Xvfb",         "-displayfd", fd,    "-screen", "0",
                                          "1280x1024x24", "-nolisten",  "tcp", "-noreset"};
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const int spawned = posix_spawnp(&server_, "Xvfb", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    const int number = spawned == 0 ? ReadDisplayNumber(fds[0]) : -1;
    close(fds[0]);
    if (spawned != 0) server_ = -1;
    ASSERT_GE(number, 0) << "no virtual X server";
    display_ = ":" + QString::number(number);
}

void ProgramCopy::WatchWindows() {
    watch_ = xcb_connect(display_.toUtf8().constData(), nullptr);
    ASSERT_EQ(xcb_connection_has_error(watch_), 0) << "cannot watch the display";
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(watch_)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(watch_, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(watch_);
}

bool ProgramCopy::Start(const std::map<QString, QString>& environment) {
    // What an earlier run mapped is no news.
    while (xcb_generic_event_t* event = watch_ ? xcb_poll_for_event(watch_) : nullptr) free(event);
    QProcessEnvironment values = QProcessEnvironment::systemEnvironment();
    values.insert("DISPLAY", display_);
    values.insert("QT_QPA_PLATFORM", "xcb");
    values.insert("XDG_CONFIG_HOME", QString::fromStdString((Root() / "config").string()));
    values.insert("XDG_DATA_HOME", QString::fromStdString((Root() / "data").string()));
    values.insert("ALSOFT_DRIVERS", "null");
    for (const auto& [name, value] : environment) values.insert(name, value);
    program_.setProcessEnvironment(values);
    program_.setProcessChannelMode(QProcess::ForwardedChannels);
    program_.start(QString::fromStdString((Game() / "quellmar").string()), {});
    return program_.waitForStarted(kToolMilliseconds);
}

void ProgramCopy::Stop() {
    if (program_.state() == QProcess::NotRunning) return;
    Resume();
    program_.terminate();
    if (!program_.waitForFinished(10000)) program_.kill();
    program_.waitForFinished(kToolMilliseconds);
}

bool ProgramCopy::WaitForEnd(int milliseconds) {
    return program_.state() == QProcess::NotRunning || program_.waitForFinished(milliseconds);
}

QString ProgramCopy::Xdotool(const QStringList& arguments) {
    QProcess tool;
    QProcessEnvironment values = QProcessEnvironment::systemEnvironment();
    values.insert("DISPLAY", display_);
    tool.setProcessEnvironment(values);
    tool.start("xdotool", arguments);
    tool.waitForFinished(kToolMilliseconds);
    return QString::fromUtf8(tool.readAllStandardOutput());
}

ShownWindow ProgramCopy::WaitForWindow(const std::function<bool(const ShownWindow&)>& wanted, int milliseconds) {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < milliseconds && program_.state() == QProcess::Running) {
        const QString ids = Xdotool({"search", "--onlyvisible", "--pid", QString::number(program_.processId())});
        for (const QString& id : ids.split('\n', Qt::SkipEmptyParts)) {
            const ShownWindow window = Describe(id);
            if (wanted(window)) return window;
        }
        QThread::msleep(kPollMilliseconds);
    }
    return {};
}

ShownWindow ProgramCopy::WaitForTitle(const QString& title, int milliseconds) {
    return WaitForWindow([&](const ShownWindow& window) { return Title(window) == title; }, milliseconds);
}

QString ProgramCopy::Title(const ShownWindow& window) { return Xdotool({"getwindowname", window.id}).trimmed(); }

ShownWindow ProgramCopy::Describe(const QString& id) {
    ShownWindow window{id, {}, {}};
    for (const QString& line : Xdotool({"getwindowgeometry", "--shell", id}).split('\n')) {
        const int value = line.section('=', 1).toInt();
        if (line.startsWith("X=")) window.at.setX(value);
        if (line.startsWith("Y=")) window.at.setY(value);
        if (line.startsWith("WIDTH=")) window.size.setWidth(value);
        if (line.startsWith("HEIGHT=")) window.size.setHeight(value);
    }
    return window;
}

ShownWindow ProgramCopy::PauseAtNextWindow(int milliseconds) {
    QElapsedTimer waited;
    waited.start();
    while (watch_ && waited.elapsed() < milliseconds && program_.state() == QProcess::Running) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(watch_)) {
            const std::unique_ptr<xcb_generic_event_t, decltype(&free)> owned(event, &free);
            if ((event->response_type & ~0x80) != XCB_MAP_NOTIFY) continue;
            Pause();
            return Describe(QString::number(reinterpret_cast<xcb_map_notify_event_t*>(event)->window));
        }
        pollfd wait{xcb_get_file_descriptor(watch_), POLLIN, 0};
        poll(&wait, 1, kPollMilliseconds);
    }
    return {};
}

bool ProgramCopy::Shown(const ShownWindow& window) {
    return Xdotool({"search", "--onlyvisible", "--pid", QString::number(program_.processId())})
        .split('\n', Qt::SkipEmptyParts)
        .contains(window.id);
}

void ProgramCopy::MoveMouse(const ShownWindow& window, QPoint at) {
    Xdotool({"mousemove", "--window", window.id, QString::number(at.x()), QString::number(at.y())});
}

void ProgramCopy::Click(const ShownWindow& window, QPoint at) {
    MoveMouse(window, at);
    Xdotool({"click", "1"});
}

void ProgramCopy::ClickAndMoveOn(const ShownWindow& window, QPoint at, QPoint then) {
    MoveMouse(window, at);
    // Not "click": it sleeps its repeat delay even after a single click.
    Xdotool({"mousedown", "1", "mouseup", "1", "mousemove", QString::number(then.x()), QString::number(then.y())});
}

void ProgramCopy::Key(const ShownWindow& window, const QString& key) {
    Xdotool({"windowfocus", "--sync", window.id});
    Xdotool({"key", key});
}

void ProgramCopy::KeyDown(const ShownWindow& window, const QString& key) {
    Xdotool({"windowfocus", "--sync", window.id});
    Xdotool({"keydown", key});
}

void ProgramCopy::KeyUp(const ShownWindow& window, const QString& key) {
    Xdotool({"windowfocus", "--sync", window.id});
    Xdotool({"keyup", key});
}

void ProgramCopy::Type(const ShownWindow& window, const QString& text) {
    Xdotool({"windowfocus", "--sync", window.id});
    Xdotool({"type", "--delay", "20", text});
}

// The root window's pixels where the window lies (no window manager runs, so
// the window's place is its place on the screen).
QImage ProgramCopy::Grab(const ShownWindow& window) {
    using Connection = std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)>;
    const Connection connection(xcb_connect(display_.toUtf8().constData(), nullptr), &xcb_disconnect);
    if (xcb_connection_has_error(connection.get())) return {};
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection.get())).data;
    const QRect area =
        QRect(window.at, window.size).intersected(QRect(0, 0, screen->width_in_pixels, screen->height_in_pixels));
    if (area.isEmpty()) return {};
    const auto cookie = xcb_get_image(connection.get(), XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, area.x(), area.y(),
                                      area.width(), area.height(), ~0u);
    const std::unique_ptr<xcb_get_image_reply_t, decltype(&free)> reply(
        xcb_get_image_reply(connection.get(), cookie, nullptr), &free);
    if (!reply || reply->depth != 24 ||
        xcb_get_image_data_length(reply.get()) != area.width() * area.height() * kBytesPerPixel)
        return {};
    return QImage(xcb_get_image_data(reply.get()), area.width(), area.height(), area.width() * kBytesPerPixel,
                  QImage::Format_RGB32)
        .copy();
}

QImage ProgramCopy::GrabWhen(const ShownWindow& window, const std::function<bool(const QImage&)>& ready,
                             const std::string& name, int milliseconds) {
    QImage grab;
    QElapsedTimer waited;
    waited.start();
    do {
        QThread::msleep(kPollMilliseconds);
        grab = Grab(window);
    } while (waited.elapsed() < milliseconds && !ready(grab));
    KeepGrab(grab, name);
    return grab;
}

void ProgramCopy::Pause() {
    if (program_.state() == QProcess::Running) kill(pid_t(program_.processId()), SIGSTOP);
}

void ProgramCopy::Resume() {
    if (program_.state() == QProcess::Running) kill(pid_t(program_.processId()), SIGCONT);
}

void KeepGrab(const QImage& grab, const std::string& name) {
    grab.save(QString::fromStdString((fs::path(QUELLMAR_TEST_BINARY_DIR) / "e2e" / (name + ".png")).string()));
}

double Matching(const QImage& grab, const QImage& picture, QPoint at) {
    const QImage wanted = picture.convertToFormat(QImage::Format_RGB32);
    int matching = 0;
    for (int y = 0; y < wanted.height(); ++y)
        for (int x = 0; x < wanted.width(); ++x) {
            if (!grab.valid(at.x() + x, at.y() + y)) continue;
            const QColor a = grab.pixelColor(at.x() + x, at.y() + y), b = wanted.pixelColor(x, y);
            matching += std::abs(a.red() - b.red()) <= kDifferencePerColour &&
                        std::abs(a.green() - b.green()) <= kDifferencePerColour &&
                        std::abs(a.blue() - b.blue()) <= kDifferencePerColour;
        }
    return double(matching) / (wanted.width() * wanted.height());
}
