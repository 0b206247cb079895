// The built program started by a new user from a copied game folder, with
// two stand-in components beside it: the splash appears with its picture,
// the start makes the `map` and `system` folders and installs the
// components; a second start registers them again without copying.

#include "e2e/program_copy.h"

#include "platform/ui/picture.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QThread>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const QSize kSplashSize(264, 258);
constexpr int kGrabMilliseconds = 20000;
constexpr int kRunBetweenGrabsMilliseconds = 2;

class SplashEndToEnd : public testing::Test {
protected:
    void SetUp() override {
        for (const char* component : {"msxml.dll", "msinet.ocx"})
            fs::copy_file(LOGGING_COMPONENT, copy_.Game() / component);
    }

    bool Start() { return copy_.Start({{"QUELLMAR_TEST_COMPONENT_LOG", QString::fromStdString(Log().string())}}); }

    // The splash stays up only for a moment while the launcher loads: the
    // program is held still from the splash's appearance and runs in short
    // steps until the grab shows the picture or the splash is gone.
    QImage GrabSplash(const QImage& picture) {
        const ShownWindow splash = copy_.PauseAtNextWindow();
        EXPECT_TRUE(splash.Found()) << "no splash";
        QImage grab;
        QElapsedTimer waited;
        waited.start();
        while (splash.Found() && copy_.Shown(splash) && waited.elapsed() < kGrabMilliseconds) {
            grab = copy_.Grab(splash);
            if (Matching(grab, picture) >= 0.99) break;
            copy_.Resume();
            QThread::msleep(kRunBetweenGrabsMilliseconds);
            copy_.Pause();
        }
        copy_.Resume();
        KeepGrab(grab, "splash");
        return grab;
    }

    fs::path Log() const { return copy_.Root() / "log"; }
    std::vector<std::string> Logged() const {
        std::vector<std::string> lines;
        std::ifstream log(Log());
        for (std::string line; std::getline(log, line);) lines.push_back(line);
        return lines;
    }

    ProgramCopy copy_;
};

TEST_F(SplashEndToEnd, ANewUserSeesTheSplashAndGetsTheFoldersAndTheComponents) {
    const QImage picture = ui::LoadPicture(":/pictures/splash/img0.bmp").Image();
    ASSERT_TRUE(Start());
    const QImage splash = GrabSplash(picture);
    EXPECT_EQ(splash.size(), kSplashSize);
    EXPECT_GE(Matching(splash, picture), 0.99);

    EXPECT_TRUE(fs::is_directory(copy_.Game() / "map"));
    EXPECT_TRUE(fs::is_directory(copy_.Game() / "system"));
    const fs::path system = copy_.Root() / "data" / "quellmar" / "system";
    for (const char* component : {"msxml.dll", "msinet.ocx"}) {
        EXPECT_TRUE(fs::is_regular_file(copy_.Game() / "system" / component)) << component;
        EXPECT_TRUE(fs::is_regular_file(system / component)) << component;
    }
    const std::vector<std::string> once = {
        "DllRegisterServer " + (system / "msxml.dll").string(),
        "DllRegisterServer " + (system / "msinet.ocx").string(),
    };
    EXPECT_EQ(Logged(), once);
    copy_.Stop();

    // Copied again, these would replace the working copies and fail.
    for (const char* component : {"msxml.dll", "msinet.ocx"})
        std::ofstream(copy_.Game() / component) << "not a library\n";
    ASSERT_TRUE(Start());
    ASSERT_TRUE(copy_.WaitForWindow([](const ShownWindow&) { return true; }).Found())
        << "no window on the second start";
    std::vector<std::string> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(Logged(), twice);
    copy_.Stop();
}

}  // namespace
