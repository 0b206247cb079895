// A game on "entrepot" in this process, its window driven with real X input
// (xdotool: key presses on the focused window, pointer moves on the screen);
// what the player does is read from the state messages another machine of
// the session receives.

#include "../core/game_folder.h"
#include "core/frame_timing.h"
#include "core/game_start.h"
#include "core/game_state.h"
#include "core/game_window.h"
#include "multiplayer/messages.h"
#include "platform/rm/rm.h"
#include "platform/ui/units.h"
#include "player/player.h"
#include "support/play_fixture.h"
#include "support/program_ended.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QWidget>

#include <cmath>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr double kPi = 3.14159265359;

// Runs xdotool and waits for it; its output.
std::string Xdotool(const QStringList& arguments) {
    QProcess tool;
    tool.start("xdotool", arguments);
    tool.waitForFinished(10000);
    return tool.readAllStandardOutput().toStdString();
}

double Heading(const StateMessage& s) { return std::atan2(s.facing[0], s.facing[2]) * 180 / kPi; }

class RealInput : public play_test::PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        local_.Host("Ana");
        other_.dp->Open(other_.Search()->GetItem(1), play::OpenJoin);
        other_.id = other_.dp->CreatePlayer("abc", "1abc", 0, 0);
        DX7 = std::make_shared<rm::DirectX7>();
        SetupDone = true;
        ScreenWidth = 640;
        ScreenHeight = 480;
        BitDepth = 32;
        DPlay = local_.dp;
        IdLocalDP = local_.id;
        IdsJoueurs = {other_.id, local_.id};
        NbJoueurs = 2;
        NomMap = "entrepot";
        WeaponPower = 4;
        SpawnRandom = [] { return 0.0; };
    }
    void TearDown() override {
        ResetGameState();
        GameWindow().Unload();
    }

    // The latest state the other machine has from the local player.
    const StateMessage& Heard() {
        for (const play_test::Received& r : other_.Drain()) {
            if (r.from != local_.id || r.code != MSG_STATE) continue;
            EXPECT_TRUE(ReadStateMessage(*r.message, heard_));
        }
        return heard_;
    }

    // Runs the game; `during(frame)` runs in each frame until it returns
    // false, then the game quits.
    void Play(const std::function<bool(int)>& during) {
        int readings = 0;
        bool going = true;
        TickCounter = [&] {
            ++readings;
            if (going && readings % 2 == 0) going = during(readings / 2);
            if (!going) QuitteJeu = true;
            return readings * 8;
        };
        EXPECT_THROW(InitJeu(), ProgramEnded);
    }

    GameFolder folder_;
    play_test::Machine local_;
    play_test::Machine other_;
    StateMessage heard_;
};

TEST_F(RealInput, MouseTurnsArrowMovesCrouchLowersAndPageDownChangesTheWeapon) {
    std::map<std::string, StateMessage> seen;
    double expectedTurn = 0;
    const auto settled = [&](int) {
        play_test::WaitFor([&] { return Heard().position[0] != 0; }, std::chrono::milliseconds(500));
        return Heard();
    };
    Play([&](int frame) {
        switch (frame) {
            case 5: {
                const QString window = QString::number(GameWindow().hWnd()->window()->winId());
                Xdotool({"windowfocus", "--sync", window});
                seen["start"] = settled(frame);
                // The pointer stands at the view's centre rounded, where each
                // frame puts it; the turn counts from the centre itself.
                const rm::Viewport& view = *Vues[VueCourante];
                const double left = GameWindow().Left() / ui::TwipsPerPixelX() + view.GetX();
                const double centre = left + view.GetWidth() / 2.0;
                expectedTurn = (std::nearbyint(centre) + 40 - centre) * 180 / (left + view.GetWidth()) / 3 *
                               JoueurLocal().mousesens;
                Xdotool({"mousemove_relative", "--sync", "40", "0"});
                break;
            }
            case 8:
                seen["turned"] = settled(frame);
                Xdotool({"keydown", "Up"});
                break;
            case 28:
                Xdotool({"keyup", "Up"});
                break;
            case 32:
                seen["walked"] = settled(frame);
                Xdotool({"keydown", "Control_R"});
                break;
            case 38:
                seen["crouched"] = settled(frame);
                Xdotool({"keyup", "Control_R"});
                // Held over a frame: the keyboard is read once a frame.
                Xdotool({"keydown", "Next"});
                break;
            case 40:
                Xdotool({"keyup", "Next"});
                break;
            case 42:
                seen["armed"] = settled(frame);
                return false;
        }
        return true;
    });
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_NEAR(std::remainder(Heading(seen["turned"]) - Heading(seen["start"]), 360), expectedTurn, 0.05);

    const StateMessage &turned = seen["turned"], &walked = seen["walked"];
    const double dx = walked.position[0] - turned.position[0], dz = walked.position[2] - turned.position[2];
    const double distance = std::hypot(dx, dz);
    EXPECT_GT(distance, 1);
    EXPECT_NEAR((dx * turned.facing[0] + dz * turned.facing[2]) / distance, 1, 1e-3);

    EXPECT_NEAR(seen["crouched"].position[1], walked.position[1] - 1.5, 1e-3);
    EXPECT_EQ(walked.weapon, 0);
    EXPECT_EQ(seen["armed"].weapon, 1);
}

}  // namespace
