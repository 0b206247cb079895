// A game on "entrepot" in this process, its window driven with real X input
// (xdotool: key presses on the focused window, pointer moves on the screen);
// what the player does is read from the state messages another machine of
// the session receives.

#include "../core/game_folder.h"
#include "core/frame_timing.h"
#include "core/game_start.h"
#include "core/game_state.h"
#include "core/game_window.h"
#include "models/mdl.h"
#include "multiplayer/messages.h"
#include "platform/rm/directdraw.h"
#include "platform/rm/display.h"
#include "platform/rm/rm.h"
#include "platform/ui/units.h"
#include "player/held_models.h"
#include "player/player.h"
#include "support/play_fixture.h"
#include "support/program_ended.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QProcess>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

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

// Weapon sound events of the state messages.
constexpr int32_t kShotEvent = 1;
constexpr int32_t kReloadEvent = 4;

// A frame's clock step for the shooting test: a shot's set runs in a few
// frames, a reload in tens.
constexpr int kTickMilliseconds = 20;
// The frames a test waits at most for the game to see its input.
constexpr int kLastFrame = 1500;

// The HUD's lines (x = 10, 15 pixels apart) as shown now: the picture last
// presented with the text the loop drew over it.
QImage Shown() {
    auto* display = GameWindow().hWnd()->findChild<rm::Display*>();
    if (!display && SurfPrimaire) display = SurfPrimaire->GetDisplay();
    return display ? display->grab().toImage() : QImage();
}

// Which pixels of the HUD line at `y` are the text's white.
std::vector<bool> HudLine(const QImage& shown, int y) {
    std::vector<bool> white;
    for (int row = y; row < y + 15; ++row)
        for (int x = 10; x < 250; ++x) white.push_back(shown.pixelColor(x, row) == QColor(Qt::white));
    return white;
}

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

    // Every state the other machine has had from the local player so far,
    // oldest first: the loop sends one a frame.
    const std::vector<StateMessage>& Heard() {
        for (const play_test::Received& r : other_.Drain()) {
            if (r.from != local_.id || r.code != MSG_STATE) continue;
            EXPECT_TRUE(ReadStateMessage(*r.message, heard_.emplace_back()));
        }
        return heard_;
    }

    // The state the local player sent in frame `frame` (from 1), once it has
    // come: under load the network may still carry the latest ones. States go
    // unguaranteed, and a loaded network drops some: a state that has not
    // come within a second counts as lost, and the latest one is taken.
    StateMessage SentIn(int frame) {
        const size_t expected = size_t(frame) - lost_;
        if (!play_test::WaitFor([&] { return Heard().size() >= expected; }, std::chrono::seconds(1)))
            lost_ = size_t(frame) - heard_.size();
        return heard_.empty() ? StateMessage{} : heard_.back();
    }

    // Gives the game window the keyboard.
    static void Focus() { Xdotool({"windowfocus", "--sync", QString::number(GameWindow().hWnd()->window()->winId())}); }

    // Runs the game, its clock moving `tick` milliseconds a reading (two
    // readings a frame); `during(frame)` runs in each frame, after the
    // players' update, until it returns false, then the game quits.
    void Play(const std::function<bool(int)>& during, int tick = 8) {
        int readings = 0;
        bool going = true;
        TickCounter = [&] {
            ++readings;
            if (going && readings % 2 == 0) going = during(readings / 2);
            if (!going) QuitteJeu = true;
            return readings * tick;
        };
        EXPECT_THROW(InitJeu(), ProgramEnded);
    }

    GameFolder folder_;
    play_test::Machine local_;
    play_test::Machine other_;
    std::vector<StateMessage> heard_;
    size_t lost_ = 0;  // states the other machine never had
};

TEST_F(RealInput, MouseTurnsArrowMovesCrouchLowersAndPageDownChangesTheWeapon) {
    std::map<std::string, StateMessage> seen;
    double expectedTurn = 0;
    int armedFrame = 0;
    // The first frame turns the player by the pointer's offset from the
    // view's centre, and earlier tests leave the pointer anywhere. From the
    // screen's left edge the game starts a known turn off the spawn heading,
    // which keeps the walk clear of the probe's per-axis block: heading
    // nearly along a world axis towards a wall, the other axis is blocked and
    // the player walks along the axis instead of its facing.
    Xdotool({"mousemove", "--sync", "0", "0"});
    Play([&](int frame) {
        switch (frame) {
            case 5: {
                Focus();
                seen["start"] = SentIn(frame);
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
                seen["turned"] = SentIn(frame);
                Xdotool({"keydown", "Up"});
                break;
            case 28:
                Xdotool({"keyup", "Up"});
                break;
            case 32:
                seen["walked"] = SentIn(frame);
                Xdotool({"keydown", "Control_R"});
                break;
            case 38:
                seen["crouched"] = SentIn(frame);
                Xdotool({"keyup", "Control_R"});
                // Held until the game has seen it: a press and release read
                // in one frame would never be down.
                Xdotool({"keydown", "Next"});
                break;
            default:
                if (frame < 38) break;
                if (armedFrame == 0 && (JoueurLocal().IdArme != 0 || frame > kLastFrame)) {
                    Xdotool({"keyup", "Next"});
                    armedFrame = frame + 1;
                } else if (frame == armedFrame) {
                    seen["armed"] = SentIn(frame);
                    return false;
                }
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
    // One move of the pointer turns once: the heading holds from the turn on.
    std::string headings;
    for (size_t i = 5; i < 32 && i < heard_.size(); ++i) headings += " " + std::to_string(Heading(heard_[i]));
    EXPECT_NEAR(Heading(walked), Heading(turned), 1e-6) << "headings from frame 6:" << headings;

    EXPECT_NEAR(seen["crouched"].position[1], walked.position[1] - 1.5, 1e-3);
    EXPECT_EQ(walked.weapon, 0);
    EXPECT_EQ(seen["armed"].weapon, 1);
}

// F1 turns the HUD's long panel on; a click fires once and its muzzle flash
// steps on through the next frames' states; the fire key held empties the
// magazine, reloads and empties it again. Each key or button is let go once
// the game has seen it: a press and release read in one frame would never be
// down. The game starts with an empty magazine and reloads at once.
TEST_F(RealInput, ClickFiresOnceAndHeldFireKeyEmptiesTheMagazineWhileTheHudCountsTheRounds) {
    constexpr size_t kMagazine = 20;  // the mac10's
    constexpr int kAmmoLine = 175, kKillsLine = 115;
    enum class Phase { PanelKey, Reloading, Click, ClickShot, ClickSet, Held, Done } phase = Phase::PanelKey;
    QImage beforeClick, afterClick;
    size_t clickFrom = 0, heldFrom = 0;  // the first states sent after the click and while held
    const auto events = [&](size_t from, int32_t event) {
        return size_t(std::count_if(heard_.begin() + std::ptrdiff_t(from), heard_.end(),
                                    [&](const StateMessage& s) { return s.idson2 == event; }));
    };
    Play(
        [&](int frame) {
            if (frame < 5) return true;
            SentIn(frame);
            const player& local = JoueurLocal();
            switch (phase) {
                case Phase::PanelKey:
                    Focus();
                    EXPECT_EQ(WeaponModel(local.IdArme).lib_arme, "mac10");
                    Xdotool({"keydown", "F1"});
                    phase = Phase::Reloading;
                    break;
                case Phase::Reloading:
                    if (!AfficheInfos || local.action == "reload") break;
                    Xdotool({"keyup", "F1"});
                    phase = Phase::Click;
                    break;
                case Phase::Click:
                    beforeClick = Shown();
                    clickFrom = heard_.size();
                    Xdotool({"mousedown", "1"});
                    phase = Phase::ClickShot;
                    break;
                case Phase::ClickShot:
                    if (events(clickFrom, kShotEvent) == 0) break;
                    Xdotool({"mouseup", "1"});  // while the shot's set still runs
                    phase = Phase::ClickSet;
                    break;
                case Phase::ClickSet:
                    if (local.action == "shoot") break;
                    afterClick = Shown();
                    heldFrom = heard_.size();
                    Xdotool({"keydown", "p"});
                    phase = Phase::Held;
                    break;
                case Phase::Held:
                    if (events(heldFrom, kReloadEvent) < 2) break;
                    Xdotool({"keyup", "p"});
                    phase = Phase::Done;
                    break;
                case Phase::Done:
                    return false;
            }
            return frame < kLastFrame;
        },
        kTickMilliseconds);
    ASSERT_EQ(phase, Phase::Done);

    // The click: one shot, its flash at steps 1, 2, 3 and back to none.
    std::vector<size_t> shots;
    for (size_t i = clickFrom; i < heldFrom; ++i)
        if (heard_[i].idson2 == kShotEvent) shots.push_back(i);
    ASSERT_EQ(shots.size(), 1u);
    ASSERT_LT(shots[0] + 3, heard_.size());
    std::vector<int32_t> flash;
    for (size_t i = shots[0]; i < shots[0] + 4; ++i) flash.push_back(heard_[i].flashStep);
    EXPECT_EQ(flash, (std::vector<int32_t>{1, 2, 3, 0})) << lost_ << " states lost";

    // Held: the magazine's rest, a reload, a full magazine, a reload.
    std::vector<size_t> firedBetweenReloads{0};  // held from the click's reloaded magazine on
    for (size_t i = heldFrom; i < heard_.size(); ++i) {
        if (heard_[i].idson2 == kShotEvent) ++firedBetweenReloads.back();
        if (heard_[i].idson2 == kReloadEvent) firedBetweenReloads.push_back(0);
    }
    EXPECT_EQ(firedBetweenReloads, (std::vector<size_t>{kMagazine - 1, kMagazine, 0})) << lost_ << " states lost";

    // The HUD counted the click's round and no kill.
    ASSERT_FALSE(beforeClick.isNull());
    ASSERT_FALSE(afterClick.isNull());
    const std::vector<bool> ammo = HudLine(beforeClick, kAmmoLine), kills = HudLine(beforeClick, kKillsLine);
    EXPECT_GT(std::count(ammo.begin(), ammo.end(), true), 20) << "the long panel is shown";
    EXPECT_NE(HudLine(afterClick, kAmmoLine), ammo);
    EXPECT_EQ(HudLine(afterClick, kKillsLine), kills);
    afterClick.save(QString::fromStdString(std::string(QUELLMAR_TEST_BINARY_DIR) + "/player/hud_after_click.png"));
}

}  // namespace
