// The built program started by a new user from a copied game folder, with
// two stand-in components beside it: the splash appears with its picture,
// the start makes the `map` and `system` folders and installs the
// components; a second start registers them again without copying.

#include "platform/ui/picture.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kSplashWidth = 264;
constexpr int kSplashHeight = 258;

class SplashEndToEnd : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root_.isValid());
        const fs::path built(QUELLMAR_GAME_DIR);
        fs::create_directory(Game());
        for (const auto& entry : fs::directory_iterator(built)) {
            const std::string name = entry.path().filename();
            if (name != "map" && name != "system") fs::copy(entry.path(), Game() / name, fs::copy_options::recursive);
        }
        for (const char* component : {"msxml.dll", "msinet.ocx"}) fs::copy_file(LOGGING_COMPONENT, Game() / component);
    }

    fs::path Root() const { return root_.path().toStdString(); }
    fs::path Game() const { return Root() / "game"; }

    // Starts the program as a user whose configuration and data folders are
    // the test's own, and waits for its first visible window.
    QString Start(QProcess& program) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "xcb");
        environment.insert("XDG_CONFIG_HOME", QString::fromStdString((Root() / "config").string()));
        environment.insert("XDG_DATA_HOME", QString::fromStdString((Root() / "data").string()));
        environment.insert("QUELLMAR_TEST_COMPONENT_LOG", QString::fromStdString((Root() / "log").string()));
        environment.insert("ALSOFT_DRIVERS", "null");
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start(QString::fromStdString((Game() / "quellmar").string()), {});
        EXPECT_TRUE(program.waitForStarted(5000));
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 60000 && program.state() == QProcess::Running) {
            QProcess search;
            search.start("xdotool", {"search", "--onlyvisible", "--pid", QString::number(program.processId())});
            search.waitForFinished(5000);
            const QString window =
                QString::fromUtf8(search.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts).value(0);
            if (!window.isEmpty()) return window;
            QThread::msleep(200);
        }
        return {};
    }

    static void Stop(QProcess& program) {
        program.terminate();
        if (!program.waitForFinished(10000)) program.kill();
        program.waitForFinished(5000);
    }

    std::vector<std::string> Log() const {
        std::vector<std::string> lines;
        std::ifstream log(Root() / "log");
        for (std::string line; std::getline(log, line);) lines.push_back(line);
        return lines;
    }

    QTemporaryDir root_;
};

// The share of the picture's pixels that the grab shows within a small
// difference per colour.
double Matching(const QImage& grab, const QImage& picture) {
    int matching = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QColor a = grab.pixelColor(x, y), b = picture.pixelColor(x, y);
            matching += std::abs(a.red() - b.red()) <= 4 && std::abs(a.green() - b.green()) <= 4 &&
                        std::abs(a.blue() - b.blue()) <= 4;
        }
    return double(matching) / (picture.width() * picture.height());
}

TEST_F(SplashEndToEnd, ANewUserSeesTheSplashAndGetsTheFoldersAndTheComponents) {
    const QImage picture = ui::LoadPicture(":/pictures/splash/img0.bmp").Image().convertToFormat(QImage::Format_RGB32);
    QProcess first;
    const QString window = Start(first);
    ASSERT_FALSE(window.isEmpty()) << "no splash window";

    // The window may be up before it has painted its picture.
    QImage grab;
    QElapsedTimer waited;
    waited.start();
    do {
        QThread::msleep(200);
        grab = QGuiApplication::primaryScreen()
                   ->grabWindow(window.toULongLong())
                   .toImage()
                   .convertToFormat(QImage::Format_RGB32);
    } while (waited.elapsed() < 20000 &&
             (grab.size() != QSize(kSplashWidth, kSplashHeight) || Matching(grab, picture) < 0.99));
    grab.save(QString::fromStdString((fs::path(QUELLMAR_TEST_BINARY_DIR) / "e2e" / "splash.png").string()));
    EXPECT_EQ(grab.size(), QSize(kSplashWidth, kSplashHeight));
    EXPECT_GE(Matching(grab, picture), 0.99);

    EXPECT_TRUE(fs::is_directory(Game() / "map"));
    EXPECT_TRUE(fs::is_directory(Game() / "system"));
    const fs::path system = Root() / "data" / "quellmar" / "system";
    for (const char* component : {"msxml.dll", "msinet.ocx"}) {
        EXPECT_TRUE(fs::is_regular_file(Game() / "system" / component)) << component;
        EXPECT_TRUE(fs::is_regular_file(system / component)) << component;
    }
    const std::vector<std::string> once = {
        "DllRegisterServer " + (system / "msxml.dll").string(),
        "DllRegisterServer " + (system / "msinet.ocx").string(),
    };
    EXPECT_EQ(Log(), once);
    Stop(first);

    // Copied again, these would replace the working copies and fail.
    for (const char* component : {"msxml.dll", "msinet.ocx"}) std::ofstream(Game() / component) << "not a library\n";
    QProcess second;
    ASSERT_FALSE(Start(second).isEmpty()) << "no splash window on the second start";
    std::vector<std::string> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(Log(), twice);
    Stop(second);
}

}  // namespace
