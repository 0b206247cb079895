// A new user runs the built program: the release notes, then the launcher
// with its menu; the mouse highlights a button; CONFIGURATIONS, VIDEO and
// CONNECTIONS open their pages; Esc twice ends the program, leaving both
// settings keys and no values. Choices stored as the settings store writes
// them show on the next start's video page.
//
// What a page shows is judged against the same launcher window made in this
// process from the same settings hive, whose lists the test reads: the grab
// of the program's panel must match the grab of this one.

#include "e2e/program_copy.h"

#include "core/game_state.h"
#include "launcher/launcher_window.h"
#include "launcher/settings.h"
#include "launcher/splash.h"
#include "platform/os/executable.h"
#include "platform/registry/registry.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/message_box.h"
#include "platform/ui/picture.h"
#include "support/hive_values.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <string>

namespace {

// The launcher's inner size in pixels, and where its parts lie in it (its
// design in twips, 15 to the pixel).
const QSize kLauncherSize(626, 403);
const QSize kSplashSize(264, 258);
const QRect kPanel(255, 48, 361, 345);
// The open page's title picture in the panel.
constexpr QPoint kTitle(20, 18);
constexpr QPoint kPage(6, 156);
constexpr QSize kButton(227, 28);
constexpr QPoint kAway(1000, 1000);
constexpr int kSettleMilliseconds = 1500;
// The menu pages' places by their top in twips; every one lies at left 120.
constexpr int kPlaceTops[] = {120, 720, 1320, 1950, 2580};
// The buttons the test presses, by their index and their place on their
// page: CONFIGURATIONS on the first page, and on its own page VIDEO,
// CONNECTIONS and RETOUR.
constexpr int kConfigurations = 1, kConnections = 7, kVideo = 8;
constexpr int kConfigurationsPlace = 0, kVideoPlace = 1, kConnectionsPlace = 2, kReturnPlace = 4;

// A button's top left corner in the window, and the middle where it is
// clicked.
QPoint ButtonAt(int place) { return kPage + QPoint(120 / 15, kPlaceTops[place] / 15); }
QPoint Middle(int place) { return ButtonAt(place) + QPoint(kButton.width() / 2, kButton.height() / 2); }

QImage Picture(const std::string& name) {
    return ui::LoadPicture(":/pictures/launcher/" + name + ".bmp").Image().convertToFormat(QImage::Format_RGB32);
}

class LauncherEndToEnd : public testing::Test {
protected:
    LauncherEndToEnd() {
        os::SetExecutableFolder(copy_.Game().string());
        registry::SetHiveFolder(copy_.HiveFolder().string());
        ui::SetMessageBoxHandler([](const ui::MessageBoxSeen&) { return ui::vbOK; });
    }
    ~LauncherEndToEnd() override {
        registry::SetHiveFolder({});
        os::SetExecutableFolder({});
    }

    // Starts the program, answers the release notes with Return and waits
    // for the launcher.
    ShownWindow StartToTheLauncher() {
        EXPECT_TRUE(copy_.Start());
        // Neither the launcher nor the splash, which may flash up before it.
        const ShownWindow box =
            copy_.WaitForWindow([](const ShownWindow& w) { return w.size != kLauncherSize && w.size != kSplashSize; });
        EXPECT_TRUE(box.Found()) << "no release notes";
        copy_.Key(box, "Return");
        const ShownWindow launcher = copy_.WaitForWindow([](const ShownWindow& w) { return w.size == kLauncherSize; });
        EXPECT_TRUE(launcher.Found()) << "no launcher";
        return launcher;
    }

    // Opens a page from the first menu page and grabs the panel once the
    // page's title picture shows.
    QImage OpenConfiguration(const ShownWindow& launcher, int place, const std::string& picture,
                             const std::string& name) {
        copy_.Click(launcher, Middle(kConfigurationsPlace));
        copy_.Click(launcher, Middle(place));
        const QImage title = Picture(picture + "_over");
        const QPoint titleAt = kPanel.topLeft() + kTitle;
        return copy_
            .GrabWhen(
                launcher, [&](const QImage& grab) { return Matching(grab, title, titleAt) > 0.99; }, name)
            .copy(kPanel);
    }

    void EndWithEscTwice(const ShownWindow& launcher) {
        copy_.Key(launcher, "Escape");
        copy_.Key(launcher, "Escape");
        EXPECT_TRUE(copy_.WaitForEnd());
        EXPECT_EQ(copy_.Program().exitStatus(), QProcess::NormalExit);
    }

    // This process's launcher on the same hive, on the same page, checked by
    // `check` and grabbed from the screen.
    QImage PanelHere(int button, const std::function<void(form2&)>& check) {
        form2& window = LauncherWindow();
        window.Show();
        window.btn_Click(kConfigurations);
        window.btn_Click(button);
        check(window);
        // Away from the menu, so that no button is highlighted.
        QCursor::setPos(kAway);
        window.hWnd()->activateWindow();
        QElapsedTimer settled;
        settled.start();
        while (settled.elapsed() < kSettleMilliseconds) ui::DoEvents();
        const QImage grab = QGuiApplication::primaryScreen()
                                ->grabWindow(window.hWnd()->winId())
                                .toImage()
                                .convertToFormat(QImage::Format_RGB32)
                                .copy(kPanel);
        window.Unload();
        return grab;
    }

    ProgramCopy copy_;
};

TEST_F(LauncherEndToEnd, ANewUserOpensThePagesAndFindsTheChoicesAfterARestart) {
    const ShownWindow launcher = StartToTheLauncher();
    ASSERT_TRUE(launcher.Found());

    // The background and the first page's buttons with their pictures.
    const QImage background = Picture("background");
    const char* const firstPage[] = {"button00", "button01", "button02", "button03", "button04"};
    const QImage shown = copy_.GrabWhen(
        launcher, [&](const QImage& grab) { return Matching(grab, Picture("button04"), ButtonAt(4)) > 0.99; },
        "launcher");
    // The background's corner above the menu, which nothing covers.
    EXPECT_GE(Matching(shown, background.copy(0, 0, 240, 140)), 0.99);
    for (int place = 0; place < 5; ++place)
        EXPECT_GE(Matching(shown, Picture(firstPage[place]), ButtonAt(place)), 0.99) << firstPage[place];

    // Under the mouse, a button shows its highlighted picture.
    copy_.MoveMouse(launcher, Middle(kConfigurationsPlace));
    const QImage hovered = copy_.GrabWhen(
        launcher, [&](const QImage& grab) { return Matching(grab, Picture("button00_over"), ButtonAt(0)) > 0.99; },
        "launcher-hover");
    EXPECT_GE(Matching(hovered, Picture("button00_over"), ButtonAt(0)), 0.99);
    EXPECT_GE(Matching(hovered, Picture("button01"), ButtonAt(1)), 0.99);

    const QImage video = OpenConfiguration(launcher, kVideoPlace, "button06", "launcher-video");
    copy_.Click(launcher, Middle(kReturnPlace));
    const QImage connections = OpenConfiguration(launcher, kConnectionsPlace, "button07", "launcher-connections");
    EndWithEscTwice(launcher);

    EXPECT_TRUE(hive_values::KeyExists(kProfileKey));
    EXPECT_TRUE(hive_values::KeyExists(kGameKey));
    for (const char* name : {"Id", "Login", "Password", "Email", "Name"})
        EXPECT_EQ(hive_values::Stored(kProfileKey, name).second, "<missing>") << name;
    for (const char* name : {"Skin", "Killer", "Killed", "Snipper", "Snipped", "Power", "Type", "Souris", "Bit", "Full",
                             "Res", "Draw", "D3D", "Tex", "Qua", "Mode", "Box", "Dplay1", "Dplay2"})
        EXPECT_EQ(hive_values::Stored(kGameKey, name).second, "<missing>") << name;

    EXPECT_GE(Matching(video, PanelHere(kVideo,
                                        [](form2& w) {
                                            EXPECT_EQ(w.list_display.Text(), "1280 X 1024    ");
                                            EXPECT_EQ(w.list_bit.Text(), "32");
                                            EXPECT_EQ(w.list_d3d7.Text().substr(0, 12), "Direct3D HAL");
                                            EXPECT_EQ(w.Combo1.Text(), "D3DRMTEXTURE_LINEAR");
                                            EXPECT_EQ(w.Combo2.Text(), "D3DRMRENDER_GOURAUD");
                                        })),
              0.98);
    EXPECT_GE(Matching(connections, PanelHere(kConnections,
                                              [](form2& w) {
                                                  ASSERT_EQ(w.lstConnections.ListCount(), 1);
                                                  EXPECT_EQ(w.lstConnections.ListIndex(), 0);
                                              })),
              0.98);

    // Choices stored as the settings store writes them.
    ResIndex = 1;
    BitDepth = 16;
    TexIndex = 0;
    QualityIndex = 1;
    FullScreen = true;
    ScreenMode = 1;
    ModeBox = true;
    Ecrit_Ini();
    const ShownWindow restarted = StartToTheLauncher();
    ASSERT_TRUE(restarted.Found());
    const QImage stored = OpenConfiguration(restarted, kVideoPlace, "button06", "launcher-video-stored");
    EndWithEscTwice(restarted);
    EXPECT_GE(Matching(stored, PanelHere(kVideo,
                                         [](form2& w) {
                                             EXPECT_EQ(w.list_display.Text(), "800 X 600      ");
                                             EXPECT_EQ(w.list_bit.Text(), "16");
                                             EXPECT_EQ(w.Combo1.Text(), "D3DRMTEXTURE_NEAREST");
                                             EXPECT_EQ(w.Combo2.Text(), "D3DRMRENDER_UNLITFLAT");
                                             EXPECT_EQ(w.Check1.Value(), 1);
                                             EXPECT_TRUE(w.Option1(0).Value());
                                             EXPECT_TRUE(w.optrnd(1).Value());
                                         })),
              0.98);
}

}  // namespace
