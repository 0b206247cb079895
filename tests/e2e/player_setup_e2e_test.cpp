// A new user runs the built program, chooses the side GIGN and the skin "02"
// on the player page, sees the model turning in its preview with that skin,
// ticks "SOURIS INVERSEE" on the controls page and quits through QUITTER.
// The skin is then the game's own texture. With those choices stored as the
// settings store writes them, the next start shows the same choices again,
// with the preview turning.

#include "e2e/launcher_steps.h"
#include "e2e/program_copy.h"

#include "core/game_state.h"
#include "launcher/settings.h"
#include "platform/os/executable.h"
#include "platform/registry/registry.h"
#include "platform/ui/picture.h"
#include "support/file_bytes.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QThread>

#include <string>

namespace {

using launcher_steps::kConfigurationsPlace;
using launcher_steps::kQuitPlace;
using launcher_steps::kReturnPlace;
using launcher_steps::Middle;

// Where the launcher's parts lie in it (its design in twips, 15 to the
// pixel).
const QRect kPanel(255, 48, 361, 345);
// A set-up frame's place in the panel, and the preview's in the frame.
constexpr QPoint kFrame(12, 16);
const QRect kPreview(80, 116, 173, 173);
constexpr QPoint kTitle(20, 18);
// On the configurations page: PLAYER and CONTROLS.
constexpr int kPlayerPlace = 0, kControlsPlace = 3;
// In the frames: the side and skin lists, and the inverted-mouse box.
constexpr QPoint kSideList(16 + 73, 84 + 10);
constexpr QPoint kSkinList(173 + 73, 84 + 10);
constexpr QPoint kInvertedMouse(16 + 7, 284 + 8);
// A row of an open drop-down list.
constexpr int kRowHeight = 22;

QPoint InFrame(QPoint at) { return kPanel.topLeft() + kFrame + at; }
QRect PreviewInPanel() { return kPreview.translated(kFrame); }

bool Blank(const QImage& picture) {
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) != picture.pixel(0, 0)) return false;
    return true;
}

// The part of the panel above the preview: the title, the name and the two
// lists with the choices.
QImage AbovePreview(const QImage& panel) {
    return panel.convertToFormat(QImage::Format_RGB32).copy(0, 0, panel.width(), PreviewInPanel().top());
}

class PlayerSetupEndToEnd : public testing::Test {
protected:
    PlayerSetupEndToEnd() {
        os::SetExecutableFolder(copy_.Game().string());
        registry::SetHiveFolder(copy_.HiveFolder().string());
    }
    ~PlayerSetupEndToEnd() override {
        registry::SetHiveFolder({});
        os::SetExecutableFolder({});
    }

    ShownWindow StartToTheLauncher() { return launcher_steps::StartToTheLauncher(copy_); }

    // Opens a page of CONFIGURATIONS and waits for its title picture.
    void Open(const ShownWindow& launcher, int place, const std::string& picture) {
        copy_.Click(launcher, Middle(place));
        const QImage title = ui::LoadPicture(":/pictures/launcher/" + picture + "_over.bmp")
                                 .Image()
                                 .convertToFormat(QImage::Format_RGB32);
        copy_.GrabWhen(
            launcher, [&](const QImage& grab) { return Matching(grab, title, kPanel.topLeft() + kTitle) > 0.99; },
            picture);
    }

    // Opens a drop-down list and clicks the row below the chosen one, which
    // its list shows under the box.
    void NextRow(const ShownWindow& launcher, QPoint list) {
        copy_.Click(launcher, InFrame(list));
        QThread::msleep(1000);
        copy_.Click(launcher, InFrame(list) + QPoint(0, kRowHeight));
        QThread::msleep(1000);
    }

    // The panel once the preview shows, and the preview 100 ms later.
    std::pair<QImage, QImage> GrabPlayerPage(const ShownWindow& launcher, const std::string& name) {
        const QImage panel =
            copy_
                .GrabWhen(
                    launcher, [](const QImage& grab) { return !Blank(grab.copy(kPanel).copy(PreviewInPanel())); }, name)
                .copy(kPanel);
        QThread::msleep(100);
        const QImage later = copy_.Grab(launcher).copy(kPanel).copy(PreviewInPanel());
        return {panel, later};
    }

    QImage GrabPanel(const ShownWindow& launcher) {
        QThread::msleep(500);
        return copy_.Grab(launcher).copy(kPanel).convertToFormat(QImage::Format_RGB32);
    }

    void ExpectTurning(const std::pair<QImage, QImage>& grabs) {
        const QImage preview = grabs.first.copy(PreviewInPanel());
        EXPECT_FALSE(Blank(preview));
        EXPECT_NE(preview.convertToFormat(QImage::Format_RGB32), grabs.second.convertToFormat(QImage::Format_RGB32));
    }

    ProgramCopy copy_;
};

TEST_F(PlayerSetupEndToEnd, ChoicesOnThePlayerAndControlsPagesShowAgainAfterARestart) {
    const ShownWindow launcher = StartToTheLauncher();
    ASSERT_TRUE(launcher.Found());
    copy_.Click(launcher, Middle(kConfigurationsPlace));
    Open(launcher, kPlayerPlace, "button05");
    NextRow(launcher, kSideList);  // GIGN
    NextRow(launcher, kSkinList);  // "02"
    const auto player = GrabPlayerPage(launcher, "player-page");
    ExpectTurning(player);
    Open(launcher, kControlsPlace, "button08");
    copy_.Click(launcher, InFrame(kInvertedMouse));
    const QImage controls = GrabPanel(launcher);
    KeepGrab(controls, "controls-page");
    copy_.Click(launcher, Middle(kReturnPlace));
    copy_.Click(launcher, Middle(kQuitPlace));
    EXPECT_TRUE(copy_.WaitForEnd());

    const auto models = copy_.Game() / "models";
    EXPECT_TRUE(FileBytes(models / "gign2_0.bmp") == FileBytes(models / "GS02.bmp"));

    // The choices stored as the settings store writes them.
    IdModeleLocal = 1;
    SkinLocal = "02";
    InverseSouris = 1;
    // The video page's qualities as the first start chose them.
    TexIndex = 1;
    QualityIndex = 3;
    Ecrit_Ini();
    const ShownWindow restarted = StartToTheLauncher();
    ASSERT_TRUE(restarted.Found());
    copy_.Click(restarted, Middle(kConfigurationsPlace));
    Open(restarted, kPlayerPlace, "button05");
    const auto playerAgain = GrabPlayerPage(restarted, "player-page-again");
    ExpectTurning(playerAgain);
    EXPECT_GE(Matching(AbovePreview(playerAgain.first), AbovePreview(player.first)), 0.98);
    Open(restarted, kControlsPlace, "button08");
    const QImage controlsAgain = GrabPanel(restarted);
    KeepGrab(controlsAgain, "controls-page-again");
    EXPECT_GE(Matching(controlsAgain, controls), 0.98);
    copy_.Click(restarted, Middle(kReturnPlace));
    copy_.Click(restarted, Middle(kQuitPlace));
    EXPECT_TRUE(copy_.WaitForEnd());
}

}  // namespace
