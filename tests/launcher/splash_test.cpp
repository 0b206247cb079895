// The splash window: its design and load, the pictures it hands over, and
// the splash itself from its set-up to its modal display.

#include "launcher/splash.h"

#include "launcher/installation.h"
#include "launcher/launcher_window.h"
#include "platform/os/executable.h"
#include "platform/os/locale.h"
#include "platform/ui/message_box.h"
#include "platform/ui/mouse_pointer.h"
#include "platform/ui/picture.h"
#include "support/message_boxes.h"
#include "support/ui_events.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A window that takes a picture, as the game window and the launcher do.
class Receiver : public ui::Form {
public:
    Receiver() : ui::Form("Receiver") {}
    ui::Image Image4{*this, "Image4"};
};

QImage Compiled(int id) {
    return ui::LoadPicture(":/pictures/splash/img" + std::to_string(id) + ".bmp")
        .Image()
        .convertToFormat(QImage::Format_RGB32);
}

class SplashTest : public UiTest {
protected:
    SplashTest() { os::SetExecutableFolder(Game().string()); }
    ~SplashTest() override {
        splash.Unload();
        os::SetExecutableFolder({});
    }

    fs::path Game() const { return folder_.path().toStdString(); }

    QTemporaryDir folder_;
    Form4& splash = SplashWindow();
};

TEST_F(SplashTest, DesignedAroundItsPictureAndLoadingMakesTheMapFolder) {
    splash.Load();
    EXPECT_FLOAT_EQ(splash.Width(), 264 * 15);
    EXPECT_FLOAT_EQ(splash.Height(), 258 * 15);
    EXPECT_FLOAT_EQ(splash.img(0).Left(), 0);
    EXPECT_FLOAT_EQ(splash.img(0).Top(), 0);
    EXPECT_EQ(splash.img(0).Picture().Image().convertToFormat(QImage::Format_RGB32), Compiled(0));
    for (int id : {1, 2}) {
        EXPECT_FALSE(splash.img(id).Visible()) << id;
        EXPECT_EQ(splash.img(id).Picture().Width(), 256) << id;
    }
    EXPECT_TRUE(splash.img(3).Picture().IsEmpty());
    EXPECT_EQ(splash.Timer1.Interval(), 10);
    EXPECT_FALSE(splash.Timer1.Enabled());
    EXPECT_TRUE(fs::is_directory(Game() / "map"));

    // Loading again finds the folder there; a file in its place is no
    // failure either.
    splash.Unload();
    splash.Load();
    EXPECT_TRUE(fs::is_directory(Game() / "map"));
    splash.Unload();
    fs::remove(Game() / "map");
    std::ofstream(Game() / "map") << "not a folder\n";
    splash.Load();
    EXPECT_FLOAT_EQ(splash.Width(), 264 * 15);
}

TEST_F(SplashTest, RenvoieImageHandsOverAPictureAndUnloadsTheSplash) {
    Receiver receiver;
    for (int id : {0, 1, 2}) {
        splash.RenvoieImage(receiver.Image4, id);
        EXPECT_EQ(receiver.Image4.Picture().Image().convertToFormat(QImage::Format_RGB32), Compiled(id)) << id;
        EXPECT_FALSE(splash.IsLoaded()) << id;
    }
    fs::remove(Game() / "map");
    splash.RenvoieImage(receiver.Image4, 1);
    EXPECT_TRUE(fs::is_directory(Game() / "map"));  // each call loads it again
    receiver.Unload();
}

// The timer's tick shows the launcher, whose load takes the splash's
// pictures and so unloads it; the splash then returns.
TEST_F(SplashTest, SplashSetsUpShowsItselfAndHandsOverToTheLauncher) {
    os::SetLocaleDecimalSeparator(",");
    bool shownModally = false;
    bool timerOff = false;
    // The launcher asks for the user's name while the splash is still up.
    SetUserNameQuery([&](std::string&, uint32_t*) {
        shownModally = splash.IsLoaded() && splash.hWnd()->isVisible() && splash.hWnd()->isModal();
        timerOff = !splash.Timer1.Enabled();
        return false;
    });
    MessageBoxes boxes;
    splash.Splash();
    os::SetLocaleDecimalSeparator(".");
    SetUserNameQuery({});

    EXPECT_TRUE(shownModally);
    EXPECT_TRUE(timerOff);
    EXPECT_FALSE(splash.IsLoaded());
    EXPECT_TRUE(LauncherWindow().hWnd()->isVisible());
    EXPECT_EQ(boxes.Seen().size(), 1u);  // the release notes
    EXPECT_EQ(ui::MousePointer(), ui::vbDefault);
    EXPECT_EQ(SepDecimal, ",");
    EXPECT_TRUE(fs::is_directory(Game() / "map"));
    EXPECT_TRUE(fs::is_directory(Game() / "system"));
    LauncherWindow().Unload();
}

}  // namespace
