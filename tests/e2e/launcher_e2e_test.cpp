// A new user runs the built program: the release notes, then the launcher
// with its menu; the mouse highlights a button; CONFIGURATIONS, VIDEO and
// CONNECTIONS open their pages; Esc twice ends the program, leaving both
// settings keys and no values. Choices stored as the settings store writes
// them show on the next start's video page.
//
// What a page shows is judged against the same launcher window made in this
// process from the same settings hive, whose lists the test reads: the grab
// of the program's panel must match the grab of this one.

#include "e2e/launcher_steps.h"
#include "e2e/program_copy.h"

#include "core/game_state.h"
#include "launcher/launcher_window.h"
#include "launcher/settings.h"
#include "launcher/splash.h"
#include "multiplayer/session_list.h"
#include "platform/os/executable.h"
#include "platform/registry/registry.h"
#include "platform/ui/event_loop.h"
#include "platform/ui/message_box.h"
#include "platform/ui/picture.h"
#include "support/file_bytes.h"
#include "support/hive_values.h"
#include "support/ui_events.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QThread>
#include <QWidget>

#include <QTemporaryDir>

#include <string>

namespace {

using namespace launcher_steps;

// Where the panel lies in the launcher.
const QRect kPanel(255, 48, 361, 345);
// The open page's title picture in the panel.
constexpr QPoint kTitle(20, 18);
constexpr QPoint kAway(1000, 1000);
// The launcher's background beside its title.
constexpr QPoint kBackground(120, 120);
constexpr int kSettleMilliseconds = 1500;
// The buttons the test presses, by their index and their place on their
// page: on the configurations' page VIDEO, CONNECTIONS, PLAYER and CONTROLS.
constexpr int kConfigurations = 1, kControls = 5, kConnections = 7, kVideo = 8, kPlayer = 9;
constexpr int kVideoPlace = 1, kConnectionsPlace = 2, kPlayerPlace = 0, kControlsPlace = 3;
// The turning preview's grabs 100 ms apart.
constexpr int kTurnMilliseconds = 100;
constexpr int kMarkLeft = 8;

// Where the user finds the controls the settings test uses, in pixels of
// their window: read from this process's windows, loaded on a hive of their
// own.
struct Places {
    QPoint display, quality, fullBox, fullScreen, box, name, side, skin, invertedMouse, retour;
    // The turning model's picture, in the panel.
    QRect preview;
};

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

    ShownWindow StartToTheLauncher() { return launcher_steps::StartToTheLauncher(copy_); }

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

    // In an empty folder, where the player page has no model to preview: the
    // places need none, and a preview drawn here would only load the
    // graphics driver into the test.
    Places FindPlaces() {
        QTemporaryDir scratch;
        registry::SetHiveFolder(scratch.path().toStdString());
        os::SetExecutableFolder(scratch.path().toStdString());
        form2& window = LauncherWindow();
        window.Show();
        window.btn_Click(kConfigurations);
        window.btn_Click(kVideo);
        Places places;
        places.display = ui_events::MiddleOf(window.list_display);
        places.quality = ui_events::MiddleOf(window.Combo2);
        places.fullBox = MarkOf(window.Check1);
        places.fullScreen = MarkOf(window.Option1(0));
        places.box = MarkOf(window.optrnd(1));
        window.btn_Click(kPlayer);
        places.name = ui_events::MiddleOf(window.txtYourName);
        places.side = ui_events::MiddleOf(window.cmbtyp);
        places.skin = ui_events::MiddleOf(window.Combo3);
        QWidget* preview = window.Picture1.hWnd();
        places.preview =
            QRect(preview->mapTo(preview->window(), QPoint(0, 0)), preview->size()).translated(-kPanel.topLeft());
        window.btn_Click(kControls);
        places.invertedMouse = MarkOf(window.Chcnt);
        window.Unload();
        SessionsWindow().Show();
        places.retour = ui_events::MiddleOf(SessionsWindow().cmdCancel);
        SessionsWindow().Unload();
        registry::SetHiveFolder(copy_.HiveFolder().string());
        os::SetExecutableFolder(copy_.Game().string());
        return places;
    }

    // The tick or dot of a check box or option button: only it and the
    // caption take a click.
    static QPoint MarkOf(ui::Control& control) {
        QWidget* widget = control.hWnd();
        return widget->mapTo(widget->window(), QPoint(kMarkLeft, widget->height() / 2));
    }

    // RETOUR on the session list: the launcher again, as it was.
    ShownWindow Retour(const ShownWindow& list, const Places& places) {
        copy_.Click(list, places.retour);
        const ShownWindow launcher = copy_.WaitForWindow([](const ShownWindow& w) { return w.size == kLauncherSize; });
        EXPECT_TRUE(launcher.Found()) << "no launcher after RETOUR";
        return launcher;
    }

    // Waits until the program has handled the input sent so far: the mouse
    // over CONNECTIONS, which no test here opens, highlights it only once the
    // events before are handled, and the background takes the highlight
    // away.
    void CaughtUp(const ShownWindow& launcher) {
        const QPoint button = ButtonAt(kConnectionsPlace);
        copy_.MoveMouse(launcher, Middle(kConnectionsPlace));
        copy_.GrabWhen(
            launcher, [&](const QImage& grab) { return Matching(grab, Picture("button07_over"), button) > 0.99; },
            "caught-up");
        copy_.MoveMouse(launcher, kBackground);
        copy_.GrabWhen(
            launcher, [&](const QImage& grab) { return Matching(grab, Picture("button07"), button) > 0.99; },
            "caught-up");
    }

    // The grab of the panel once the program has handled the input and the
    // panel has stood still for a moment, but for the turning preview, which
    // is blacked out.
    QImage SteadyPanel(const ShownWindow& launcher, const std::string& name, const QRect& preview = {}) {
        CaughtUp(launcher);
        QImage last;
        return copy_
            .GrabWhen(
                launcher,
                [&](const QImage& grab) {
                    const QImage panel = Outside(grab.copy(kPanel), preview);
                    const bool steady = panel == last;
                    last = panel;
                    return steady;
                },
                name)
            .copy(kPanel);
    }

    static QImage Outside(QImage panel, const QRect& preview) {
        panel = panel.convertToFormat(QImage::Format_RGB32);
        QPainter(&panel).fillRect(preview, Qt::black);
        return panel;
    }

    // The preview shows the model, and a later grab of it differs.
    void ExpectTurning(const ShownWindow& launcher, const QRect& preview) {
        const QRect inWindow = preview.translated(kPanel.topLeft());
        const auto inPreview = [&](const QImage& grab) {
            return grab.copy(inWindow).convertToFormat(QImage::Format_RGB32);
        };
        const QImage first = inPreview(copy_.GrabWhen(
            launcher, [&](const QImage& grab) { return !Blank(inPreview(grab)); }, "preview"));
        QThread::msleep(kTurnMilliseconds);
        const QImage later = inPreview(copy_.GrabWhen(
            launcher, [&](const QImage& grab) { return inPreview(grab) != first; }, "preview-later"));
        EXPECT_FALSE(Blank(first));
        EXPECT_NE(first, later);
    }

    static bool Blank(const QImage& picture) {
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (picture.pixel(x, y) != picture.pixel(0, 0)) return false;
        return true;
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

// A new user chooses video settings, a name, the side GIGN with the skin
// "02" and the inverted mouse, and LAN stores them as the session list
// appears, the skin becoming the game's own texture; RETOUR and LAN work
// again; the next start shows the same pages, with the preview turning.
TEST_F(LauncherEndToEnd, TheChoicesAreStoredWhenLanShowsTheListAndShownAtTheNextStart) {
    const Places places = FindPlaces();
    const ShownWindow launcher = StartToTheLauncher();
    ASSERT_TRUE(launcher.Found());
    copy_.Click(launcher, Middle(kConfigurationsPlace));
    copy_.Click(launcher, Middle(kVideoPlace));
    ChooseRow(copy_, launcher, places.display, 1);  // "800 X 600"
    ChooseRow(copy_, launcher, places.quality, 2);  // "D3DRMRENDER_FLAT"
    copy_.Click(launcher, places.fullBox);
    copy_.Click(launcher, places.fullScreen);
    copy_.Click(launcher, places.box);
    const QImage video = SteadyPanel(launcher, "launch-video");
    copy_.Click(launcher, Middle(kPlayerPlace));
    copy_.Click(launcher, places.name);
    copy_.Key(launcher, "ctrl+a");
    copy_.Type(launcher, "Kestrel 7");
    ChooseRow(copy_, launcher, places.side, 1);  // GIGN
    ChooseRow(copy_, launcher, places.skin, 1);  // "02"
    const QImage player = SteadyPanel(launcher, "launch-player", places.preview);
    ExpectTurning(launcher, places.preview);
    copy_.Click(launcher, Middle(kControlsPlace));
    copy_.Click(launcher, places.invertedMouse);
    const QImage controls = SteadyPanel(launcher, "launch-controls");

    copy_.Click(launcher, Middle(kReturnPlace));
    ShownWindow list = PlayOnLan(copy_, launcher);
    ASSERT_TRUE(list.Found());
    // The list shows before the settings are written; the last one written
    // says they all are.
    QElapsedTimer waited;
    waited.start();
    while (hive_values::Stored(kGameKey, "Dplay2").second == "<missing>" && waited.elapsed() < kSettleMilliseconds * 4)
        QThread::msleep(50);
    const std::pair<const char*, const char*> stored[] = {{"Qua", "2"},   {"Res", "1"},   {"Full", "-1"}, {"Mode", "1"},
                                                          {"Box", "-1"},  {"Tex", "1"},   {"Power", "1"}, {"Type", "1"},
                                                          {"Skin", "02"}, {"Souris", "1"}};
    for (const auto& [name, value] : stored)
        EXPECT_EQ(hive_values::Stored(kGameKey, name).second, std::string(value) + '\0') << name;
    EXPECT_EQ(hive_values::Stored(kProfileKey, "Name").second, std::string("Kestrel 7") + '\0');
    const auto models = copy_.Game() / "models";
    EXPECT_EQ(FileBytes(models / "gign2_0.bmp"), FileBytes(models / "GS02.bmp"));

    ShownWindow back = Retour(list, places);
    ASSERT_TRUE(back.Found());
    list = Lan(copy_, back);
    ASSERT_TRUE(list.Found());
    back = Retour(list, places);
    ASSERT_TRUE(back.Found());
    copy_.Click(back, Middle(kReturnPlace));
    copy_.Click(back, Middle(kQuitPlace));
    EXPECT_TRUE(copy_.WaitForEnd());

    const ShownWindow restarted = StartToTheLauncher();
    ASSERT_TRUE(restarted.Found());
    copy_.Click(restarted, Middle(kConfigurationsPlace));
    copy_.Click(restarted, Middle(kVideoPlace));
    EXPECT_GE(Matching(SteadyPanel(restarted, "launch-video-again"), video), 0.98);
    copy_.Click(restarted, Middle(kPlayerPlace));
    const QImage playerAgain = SteadyPanel(restarted, "launch-player-again", places.preview);
    EXPECT_GE(Matching(Outside(playerAgain, places.preview), Outside(player, places.preview)), 0.98);
    ExpectTurning(restarted, places.preview);
    copy_.Click(restarted, Middle(kControlsPlace));
    EXPECT_GE(Matching(SteadyPanel(restarted, "launch-controls-again"), controls), 0.98);
    EndWithEscTwice(restarted);
}

}  // namespace
