// The local player's control step, frame by frame with scripted input.

#include "control_fixture.h"
#include "core/game_state.h"
#include "core/game_window.h"
#include "models/mdl.h"
#include "platform/failure.h"
#include "platform/input/key_codes.h"
#include "platform/rm/rm.h"
#include "platform/ui/units.h"
#include "support/expect_near.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using namespace input::key;
constexpr double kPi = 3.14159265359;

using LocalControl = ControlFixture;

// The body's facing about the vertical, in degrees from +z towards +x.
double Heading(const player& p) {
    rm::Vector direction, up;
    p.joueur->GetOrientation(FrameMonde, direction, up);
    return std::atan2(direction.x, direction.z) * 180 / kPi;
}

TEST_F(LocalControl, SensitivityKeysActEveryFrameHeldWithinOneToTwo) {
    struct Case {
        std::vector<int32_t> keys;
        double from, after;
    };
    for (const Case& c : {Case{{F12}, 1.0, 2.0}, Case{{F11}, 2.0, 1.0}, Case{{F12, F11}, 1.5, 1.5}}) {
        p->mousesens = c.from;
        for (int i = 0; i < 15; ++i) {
            for (int32_t code : c.keys) input.PressKey(code);
            p->scrute_clavier();
        }
        for (int32_t code : c.keys) input.ReleaseKey(code);
        EXPECT_NEAR(p->mousesens, c.after, 1e-9) << c.keys.size();
    }
    p->mousesens = 1;
    Frame({F12});
    EXPECT_NEAR(p->mousesens, 1.1, 1e-9);
}

// Right wins over left and forward over back; the first frame of each pair
// shows the drive and the body's first twist step.
TEST_F(LocalControl, MovementKeysPickOneSideAndOneDirection) {
    struct Case {
        std::vector<int32_t> keys;
        double speed;
        int32_t twist;
    };
    for (const Case& c : {Case{{RightArrow, LeftArrow}, 1, -15}, Case{{LeftArrow}, 1, 15},
                          Case{{UpArrow, DownArrow}, 1, 0}, Case{{DownArrow}, -1, 0},
                          Case{{DownArrow, RightArrow}, -1, 15}, Case{{UpArrow, LeftArrow}, 1, 15}, Case{{}, 0, 0}}) {
        p->vitesse = 0;
        p->colonne = 0;
        for (int32_t code : c.keys) input.PressKey(code);
        p->scrute_clavier();
        for (int32_t code : c.keys) input.ReleaseKey(code);
        EXPECT_EQ(p->vitesse, c.speed) << c.keys.size();
        EXPECT_EQ(p->colonne, c.twist) << c.keys.size();
    }
}

TEST_F(LocalControl, SpeedRampsOneAFrameWithinEightAndStopsAtOnce) {
    std::vector<double> speeds;
    for (int i = 0; i < 9; ++i) {
        Frame({UpArrow});
        speeds.push_back(p->vitesse);
    }
    EXPECT_EQ(speeds, (std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8, 8}));
    for (int i = 0; i < 16; ++i) Frame({DownArrow});
    EXPECT_EQ(p->vitesse, -8);
    Frame({DownArrow});
    EXPECT_EQ(p->vitesse, -8);
    Frame();
    EXPECT_EQ(p->vitesse, 0);
}

TEST_F(LocalControl, StrafingTwistsTheBodyInTwoFramesWhileTheAimKeepsItsDirection) {
    const double heading = Heading(*p);
    rm::Vector aimBefore, up;
    p->axe->GetOrientation(FrameMonde, aimBefore, up);
    Frame({RightArrow});
    Frame({RightArrow});
    EXPECT_EQ(p->colonne, -30);
    Frame({RightArrow});
    EXPECT_EQ(p->colonne, -30);
    EXPECT_NEAR(std::remainder(Heading(*p) - heading, 360), 90, 1e-3);  // towards +x, the right
    rm::Vector aim;
    p->axe->GetOrientation(FrameMonde, aim, up);
    ExpectNear(aim, aimBefore, 1e-4f);
    Frame();
    Frame();
    EXPECT_EQ(p->colonne, 0);
    EXPECT_NEAR(std::remainder(Heading(*p) - heading, 360), 0, 1e-3);
}

TEST_F(LocalControl, WeaponKeysStepThroughTheArsenalWithinTheRank) {
    // The key set at game start is replaced by Page Up in the first frame.
    Frame({Backspace});
    EXPECT_EQ(p->IdArme, 0);
    EXPECT_EQ(p->k_Arme2, 201);
    Frame();

    struct Case {
        int32_t from;
        int32_t key;
        int32_t rank;
        int32_t to;
    };
    for (const Case& c : {Case{0, PageDown, 4, 1}, Case{12, PageDown, 4, 0}, Case{0, 201, 4, 12}, Case{0, 201, 3, 0},
                          Case{3, 201, 4, 2}}) {
        WeaponPower = 4;
        p->IdArme = c.from;
        Frame();
        WeaponPower = c.rank;
        Frame({c.key});
        Frame();
        EXPECT_EQ(p->IdArme, c.to) << c.from << " " << c.key << " " << c.rank;
        EXPECT_EQ(p->MDroite->GetParent(), p->Peau);
        EXPECT_EQ(p->MDroite->GetTraversalOptions(), rm::traversal::Draw);
    }

    // A rank that drops below the held weapon gives weapon 0 without a key,
    // and the shots left are cut to its magazine.
    WeaponPower = 4;
    p->IdArme = 9;
    p->NbBastos = 50;
    WeaponPower = 2;
    Frame();
    EXPECT_EQ(p->IdArme, 0);
    EXPECT_EQ(p->NbBastos, WeaponModels[0]->NbBastos);
    EXPECT_EQ(p->ani_lib, "ref_aim_" + WeaponModels[0]->typ_arme);
}

// While the chat box is open nothing reads the keys: the player keeps its
// speed and place, and a press held through it counts once it closes.
TEST_F(LocalControl, WithTheChatBoxOpenNothingMovesAndHeldKeysActAfterwards) {
    for (int i = 0; i < 3; ++i) Frame({UpArrow});
    const rm::Vector at = At();
    ChatTyping = true;
    for (int i = 0; i < 3; ++i) Frame({UpArrow, PageDown, RightArrow});
    EXPECT_EQ(p->vitesse, 3);
    EXPECT_EQ(p->colonne, 0);
    EXPECT_EQ(p->IdArme, 0);
    ExpectNear(At(), at);
    EXPECT_FALSE(PrevKeys[PageDown]);
    ChatTyping = false;
    Frame({PageDown});
    EXPECT_EQ(p->IdArme, 1);
}

TEST_F(LocalControl, AKeyMemberOutsideTheKeyboardIsAClearFailure) {
    p->k_baisser = 256;
    try {
        Frame();
        ADD_FAILURE() << "no failure";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.Number(), failure_number::SubscriptOutOfRange);
    }
    p->k_baisser = RightControl;
    p->k_V1 = -1;
    ChatTyping = true;
    EXPECT_THROW(Frame(), Failure);
}

// The look turns by the cursor's offset from the view's centre over the
// screen width up to the view's right edge, and tilts by its offset over the
// height; the cursor goes back to the centre.
TEST_F(LocalControl, TheCursorsOffsetTurnsAndTiltsByTheSensitivity) {
    const double acrossEdge = GameWindow().Left() / 15 + 320;
    const double downEdge = GameWindow().Top() / 15 + 240;
    struct Case {
        int32_t dx, dy;
        double sens;
        int32_t inverse;
    };
    for (const Case& c :
         {Case{10, 0, 1, 1}, Case{-20, 0, 2, 1}, Case{0, 12, 1, 1}, Case{0, 12, 2, -1}, Case{7, -9, 1.5, 1}}) {
        Place(0, 2.5f, 0);
        p->pivot = 0;
        p->mousesens = c.sens;
        p->inverse = c.inverse;
        const input::Point centre = Centre();
        input.MoveCursor({centre.x + c.dx, centre.y + c.dy});
        const double heading = Heading(*p);
        Frame();
        const double ax = c.dx * 180 / acrossEdge / 3 * c.sens;
        const double ay = c.dy * 180 / downEdge * c.inverse / 3 * c.sens;
        EXPECT_NEAR(std::remainder(Heading(*p) - heading, 360), ax, 1e-3) << c.dx;
        EXPECT_NEAR(p->pivot, ay / 100, 1e-6) << c.dy;
        EXPECT_EQ(input.CursorPos(), centre);
    }
    // The tilt stops at 0.4 either way.
    p->pivot = 0;
    for (int i = 0; i < 40; ++i) {
        input.MoveCursor({Centre().x, Centre().y + 200});
        Frame();
    }
    EXPECT_DOUBLE_EQ(p->pivot, 0.4);
}

TEST_F(LocalControl, PitchLockHoldsTheTiltSavedAtItsPress) {
    p->pivot = 0.1;
    Frame({End});
    EXPECT_TRUE(p->SourisBloque);
    input.MoveCursor({Centre().x, Centre().y + 30});
    Frame();
    EXPECT_DOUBLE_EQ(p->pivot, 0.1);
    Frame({End});
    EXPECT_FALSE(p->SourisBloque);
    input.MoveCursor({Centre().x, Centre().y + 30});
    Frame();
    EXPECT_GT(p->pivot, 0.1);
}

TEST_F(LocalControl, WithoutTheMouseNothingTurnsOrFiresAndTheCursorStays) {
    p->Souris = false;
    const input::Point away{Centre().x + 40, Centre().y + 40};
    input.MoveCursor(away);
    input.PressButton(0);
    const double heading = Heading(*p);
    Frame();
    input.ReleaseButton(0);
    EXPECT_NEAR(Heading(*p), heading, 1e-6);
    EXPECT_EQ(p->pivot, 0);
    EXPECT_FALSE(p->Fire);
    EXPECT_EQ(input.CursorPos(), away);
    Frame({P});
    EXPECT_TRUE(p->Fire);
}

// The cursor is put at the centre rounded; a view of odd height puts the
// centre on a half pixel, which must not read as a move.
TEST_F(LocalControl, AnOddViewHeightLeavesTheTiltAloneFrameAfterFrame) {
    MakeView(321, 241);
    input.MoveCursor(Centre());
    p->pivot = 0.05;
    const double heading = Heading(*p);
    for (int i = 0; i < 100; ++i) Frame();
    EXPECT_DOUBLE_EQ(p->pivot, 0.05);
    EXPECT_NEAR(Heading(*p), heading, 1e-6);
}

TEST_F(LocalControl, AScreenGeometryWithNothingToDivideByGivesNoLook) {
    GameWindow().Move(-320 * ui::TwipsPerPixel, -240 * ui::TwipsPerPixel);
    if (GameWindow().Left() != -320 * ui::TwipsPerPixel) GTEST_SKIP() << "the window cannot leave the screen here";
    input.MoveCursor({Centre().x + 50, Centre().y + 50});
    const double heading = Heading(*p);
    Frame();
    EXPECT_NEAR(Heading(*p), heading, 1e-6);
    EXPECT_TRUE(std::isfinite(p->pivot));
    EXPECT_EQ(p->pivot, 0);
}

TEST_F(LocalControl, ViewSwitchMakesTheViewOnTheAimOrTheCameraWithTheCrosshairInFirstPerson) {
    TexViseur = D3DRM->LoadTexture(std::string(QUELLMAR_GAME_DIR) + "/weapons/muzz1.bmp");
    TexSniper = D3DRM->LoadTexture(std::string(QUELLMAR_GAME_DIR) + "/weapons/muzz2.bmp");
    Frame({Delete});
    EXPECT_TRUE(p->vue);
    EXPECT_EQ(Vues[VueCourante]->GetCamera(), p->chasse);
    EXPECT_EQ(Vues[VueCourante]->GetFront(), 1);
    ASSERT_EQ(p->devant->GetVisualCount(), 1);
    EXPECT_EQ(p->devant->GetVisual(0), TexViseur);
    EXPECT_EQ(TexViseurCourant, TexViseur);
    Frame();

    // The scope needs a scoped weapon (aug, 2) and the right button.
    input.PressButton(1);
    Frame();
    EXPECT_EQ(Vues[VueCourante]->GetFront(), 1);
    p->IdArme = 2;
    Frame();
    EXPECT_EQ(Vues[VueCourante]->GetFront(), 8);
    EXPECT_EQ(p->Peau->GetTraversalOptions(), 0);
    ASSERT_EQ(p->devant->GetVisualCount(), 1);
    EXPECT_EQ(p->devant->GetVisual(0), TexSniper);
    EXPECT_FLOAT_EQ(TexSniper->GetDecalWidth(), 0.1f);
    EXPECT_EQ(TexSniper->GetDecalOriginX(), 256);
    input.ReleaseButton(1);
    Frame();
    EXPECT_EQ(Vues[VueCourante]->GetFront(), 1);
    EXPECT_EQ(p->Peau->GetTraversalOptions(), rm::traversal::Draw);
    ASSERT_EQ(p->devant->GetVisualCount(), 1);
    EXPECT_EQ(p->devant->GetVisual(0), TexViseur);
    EXPECT_FLOAT_EQ(TexViseur->GetDecalWidth(), 0.2f);
    EXPECT_EQ(TexViseur->GetDecalOriginX(), 128);

    Frame({Delete});
    EXPECT_FALSE(p->vue);
    EXPECT_EQ(Vues[VueCourante]->GetCamera(), p->cam);
    EXPECT_EQ(p->devant->GetVisualCount(), 0);
    // No scope in the third-person view.
    input.PressButton(1);
    Frame();
    EXPECT_EQ(Vues[VueCourante]->GetFront(), 1);
}

TEST_F(LocalControl, TheChaseCameraClosesAFifteenthOfItsDistanceAFrameWhileStanding) {
    for (int i = 0; i < 3; ++i) Frame();
    const auto distance = [&] { return Length(p->cam->GetPosition(FrameMonde) - p->chasse->GetPosition(FrameMonde)); };
    const float before = distance();
    ASSERT_GT(before, 0.5f);
    Frame();
    EXPECT_NEAR(distance(), before * 14 / 15, before * 1e-3);
}

TEST_F(LocalControl, ADeadPlayerRespawnsOnTheLeftButtonOnceReady) {
    p->mort = true;
    p->pret = false;
    p->force = -5;
    input.PressButton(0);
    Frame({UpArrow});
    EXPECT_TRUE(p->mort);
    EXPECT_EQ(p->vitesse, 0);
    p->pret = true;
    input.ReleaseButton(0);
    Frame({P});
    EXPECT_TRUE(p->mort);
    input.PressButton(0);
    Frame();
    EXPECT_FALSE(p->mort);
    EXPECT_EQ(p->force, 100);
    EXPECT_EQ(p->action, "aim");
}

}  // namespace
