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
#include <vector>

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
// The arsenal: ARMES & MAPS on the first page, ARMES on its page, the four
// level buttons and RETOUR.
constexpr int kArsenalMaps = 3, kArsenal = 12, kArsenalRetour = 22;
constexpr int kLevelButtons[] = {19, 20, 21, 23};
// The weapons each level shows, the rank the arsenal test's stored totals
// give, and the highest rank.
constexpr int kLevelWeapons[] = {4, 2, 3, 4};
constexpr int kStoredRank = 2;
constexpr int kHighestRank = 4;
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

// A button's place and picture, hovered to learn that the program caught up.
struct Hover {
    QPoint at;
    std::string picture;
};

// The way to the arsenal's levels, and its RETOUR to hover.
struct ArsenalWay {
    QPoint arsenalMaps, arsenal;
    std::vector<QPoint> levels;
    Hover retour;
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

    // This process's launcher on the same hive, on the page that `buttons`
    // open from the first menu page, checked by `check` and grabbed from the
    // screen.
    QImage PanelHere(const std::vector<int>& buttons, const std::function<void(form2&)>& check) {
        form2& window = LauncherWindow();
        window.Show();
        for (const int button : buttons) window.btn_Click(button);
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

    // The hive and game folder of this process's launcher while it is loaded
    // only to find where its controls lie: empty ones, then the copy's again.
    class OnScratchFolders {
    public:
        explicit OnScratchFolders(LauncherEndToEnd& test) : test_(test) {
            registry::SetHiveFolder(scratch_.path().toStdString());
            os::SetExecutableFolder(scratch_.path().toStdString());
        }
        ~OnScratchFolders() {
            registry::SetHiveFolder(test_.copy_.HiveFolder().string());
            os::SetExecutableFolder(test_.copy_.Game().string());
        }

    private:
        LauncherEndToEnd& test_;
        QTemporaryDir scratch_;
    };

    // In an empty folder, where the player page has no model to preview: the
    // places need none, and a preview drawn here would only load the
    // graphics driver into the test.
    Places FindPlaces() {
        const OnScratchFolders scratch(*this);
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
        return places;
    }

    // Where ARMES & MAPS, ARMES, the level buttons and RETOUR lie, one page
    // after the other.
    ArsenalWay FindArsenalWay() {
        const OnScratchFolders scratch(*this);
        form2& window = LauncherWindow();
        window.Show();
        ArsenalWay way;
        way.arsenalMaps = ui_events::MiddleOf(window.lebouton(kArsenalMaps));
        window.btn_Click(kArsenalMaps);
        way.arsenal = ui_events::MiddleOf(window.lebouton(kArsenal));
        window.btn_Click(kArsenal);
        for (const int button : kLevelButtons) way.levels.push_back(ui_events::MiddleOf(window.lebouton(button)));
        QWidget* retour = window.lebouton(kArsenalRetour).hWnd();
        const int picture = std::stoi(window.btn(kArsenalRetour).Tag());
        way.retour = {retour->mapTo(retour->window(), QPoint(0, 0)),
                      (picture < 10 ? "button0" : "button") + std::to_string(picture)};
        window.Unload();
        return way;
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
    // over a button that no step presses (on the configurations' page
    // CONNECTIONS) highlights it only once the events before are handled, and
    // the background takes the highlight away.
    void CaughtUp(const ShownWindow& launcher, const Hover& hover) {
        copy_.MoveMouse(launcher, hover.at + QPoint(kButton.width() / 2, kButton.height() / 2));
        copy_.GrabWhen(
            launcher,
            [&](const QImage& grab) { return Matching(grab, Picture(hover.picture + "_over"), hover.at) > 0.99; },
            "caught-up");
        copy_.MoveMouse(launcher, kBackground);
        copy_.GrabWhen(
            launcher, [&](const QImage& grab) { return Matching(grab, Picture(hover.picture), hover.at) > 0.99; },
            "caught-up");
    }

    // The grab of the panel once the program has handled the input and the
    // panel has stood still for a moment, but for the turning preview, which
    // is blacked out.
    QImage SteadyPanel(const ShownWindow& launcher, const std::string& name, const QRect& preview = {},
                       const Hover& hover = {ButtonAt(kConnectionsPlace), "button07"}) {
        CaughtUp(launcher, hover);
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

    EXPECT_GE(Matching(video, PanelHere({kConfigurations, kVideo},
                                        [](form2& w) {
                                            EXPECT_EQ(w.list_display.Text(), "1280 X 1024    ");
                                            EXPECT_EQ(w.list_bit.Text(), "32");
                                            EXPECT_EQ(w.list_d3d7.Text().substr(0, 12), "Direct3D HAL");
                                            EXPECT_EQ(w.Combo1.Text(), "D3DRMTEXTURE_LINEAR");
                                            EXPECT_EQ(w.Combo2.Text(), "D3DRMRENDER_GOURAUD");
                                        })),
              0.98);
    EXPECT_GE(Matching(connections, PanelHere({kConfigurations, kConnections},
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
    EXPECT_GE(Matching(stored, PanelHere({kConfigurations, kVideo},
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

// A player whose stored totals give rank 2 (7 kills) opens the arsenal and
// each of its levels: each shows its weapons, and those of the levels above
// the rank are greyed.
TEST_F(LauncherEndToEnd, TheArsenalShowsEachLevelsWeaponsGreyedAboveTheStoredRank) {
    hive_values::SetText(kGameKey, "Killer", "7");
    const ArsenalWay way = FindArsenalWay();
    const ShownWindow launcher = StartToTheLauncher();
    ASSERT_TRUE(launcher.Found());
    copy_.Click(launcher, way.arsenalMaps);
    copy_.Click(launcher, way.arsenal);
    std::vector<QImage> shown;
    for (size_t level = 0; level < std::size(kLevelButtons); ++level) {
        copy_.Click(launcher, way.levels[level]);
        shown.push_back(SteadyPanel(launcher, "arsenal-level-" + std::to_string(level + 1), {}, way.retour));
    }
    copy_.Key(launcher, "Escape");  // from the arsenal to its menu page
    EndWithEscTwice(launcher);

    for (size_t level = 0; level < std::size(kLevelButtons); ++level) {
        SCOPED_TRACE("level " + std::to_string(level + 1));
        const bool allowed = int(level) + 1 <= kStoredRank;
        const QImage here = PanelHere({kArsenalMaps, kArsenal, kLevelButtons[level]}, [&](form2& w) {
            EXPECT_EQ(WeaponPower, kStoredRank);
            for (int k = 0; k < w.Framew.Count(); ++k) {
                EXPECT_EQ(w.Framew(k).Visible(), k < kLevelWeapons[level]) << k;
                if (w.Framew(k).Visible()) {
                    EXPECT_EQ(w.Framew(k).Enabled(), allowed) << k;
                }
            }
        });
        EXPECT_GE(Matching(shown[level], here), 0.98);
        if (allowed) continue;
        // The same level with every weapon allowed differs from it, and the
        // program's is the greyed one.
        const QImage open = PanelHere({kArsenalMaps, kArsenal, kLevelButtons[level]}, [&](form2& w) {
            WeaponPower = kHighestRank;
            w.btn_Click(kLevelButtons[level]);
            EXPECT_TRUE(w.Framew(0).Enabled());
        });
        EXPECT_NE(here, open);
        EXPECT_GT(Matching(shown[level], here), Matching(shown[level], open));
    }
}

}  // namespace
