// The movement against the world on the small level of the control fixture,
// and the corridor sectors on the real "couloirs".

#include "../core/game_folder.h"
#include "../core/x_text_mesh.h"
#include "control_fixture.h"
#include "core/built_in_levels.h"
#include "core/game_state.h"
#include "core/game_window.h"
#include "core/map_level.h"
#include "platform/input/key_codes.h"
#include "platform/rm/rm.h"
#include "support/expect_near.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <cmath>
#include <fstream>
#include <vector>

namespace {

using namespace input::key;
using Movement = ControlFixture;

constexpr float kStanding = 2.5f;  // the root's height over the floor

TEST_F(Movement, StandingStillKeepsThePlayerOnTheFloor) {
    for (int i = 0; i < 20; ++i) Frame();
    ExpectNear(At(), {0, kStanding, 0});
}

TEST_F(Movement, WalkingIntoAWallStopsAndDiagonallySlidesAlongIt) {
    Walk(60);
    const rm::Vector stopped = At();
    EXPECT_LT(stopped.z, 20);
    EXPECT_GT(stopped.z, 16);
    EXPECT_NEAR(stopped.x, 0, 1e-3);
    Walk(5);
    ExpectNear(At(), stopped, 1e-3f);

    // Slanting into it, the z part is blocked and the x part goes on.
    const float dx = 3 / std::sqrt(10.0f);
    Place(-10, kStanding, 17.5f, 3, 1);
    Walk(10);
    EXPECT_NEAR(At().z, 17.5f, 1e-3);
    EXPECT_NEAR(At().x, -10 + 10 * 8 / 15.0 * dx, 1e-3);
}

TEST_F(Movement, ALedgeOfThreeIsFallenOverThreeFramesOneOfSixRefused) {
    Place(25, kStanding, 0);
    std::vector<float> heights;
    for (int i = 0; i < 4; ++i) {
        Frame();
        heights.push_back(At().y);
    }
    EXPECT_EQ(heights, (std::vector<float>{1.5f, 0.5f, -0.5f, -0.5f}));

    Place(-19, kStanding, 0, -1, 0);
    Walk(10);
    EXPECT_GT(At().x, -20.6f);
    EXPECT_FLOAT_EQ(At().y, kStanding);
}

TEST_F(Movement, AStepIsClimbedStandingButNotCrouching) {
    Place(0, kStanding, -19, 0, -1);
    Walk(5);
    EXPECT_LT(At().z, -20);
    EXPECT_FLOAT_EQ(At().y, 2.5f + kStanding);

    Place(0, kStanding, -19, 0, -1);
    for (int i = 0; i < 3; ++i) Frame({RightControl});
    EXPECT_FLOAT_EQ(At().y, 1);
    for (int i = 0; i < 5; ++i) {
        p->vitesse = 7;
        Frame({UpArrow, RightControl});
    }
    EXPECT_GT(At().z, -20);
    EXPECT_FLOAT_EQ(At().y, 1);
}

// Backing away, the player climbs while the ladder stays within reach.
TEST_F(Movement, ALadderIsClimbedForwardAndBackAndLeftAgain) {
    Place(7, kStanding, 9);
    Walk(3, true);
    EXPECT_TRUE(p->echelle);
    EXPECT_NEAR(At().y, kStanding + 3 * 8 / 15.0, 1e-3);
    Walk(3);
    EXPECT_NEAR(At().y, kStanding + 6 * 8 / 15.0, 1e-3);
    EXPECT_LT(At().z, 10);
    // Standing at it, the player neither climbs nor falls.
    const float held = At().y;
    Frame();
    EXPECT_FLOAT_EQ(At().y, held);
    // Turned away, the ground takes it back down, a unit a frame.
    Place(At().x, At().y, At().z, 0, -1);
    for (int i = 0; i < 6; ++i) Frame();
    EXPECT_FALSE(p->echelle);
    EXPECT_FLOAT_EQ(At().y, kStanding);
}

TEST_F(Movement, ALivingRemotePlayerStopsTheLocalPlayerADeadOneDoesNot) {
    player& other = Build(1, false);
    other.joueur->SetPosition(FrameMonde, 0, kStanding, 8);
    other.PositionneBoite();
    for (const bool alive : {true, false}) {
        other.joueur->SetTraversalOptions(alive ? rm::traversal::Draw | rm::traversal::Pick : rm::traversal::Draw);
        Place(0, kStanding, 0);
        Walk(30);
        if (alive)
            EXPECT_LT(At().z, 8);
        else
            EXPECT_GT(At().z, 9);
    }
}

TEST_F(Movement, NoFloorRefusesEveryMoveAndOddRatiosGiveNumbers) {
    Place(100, kStanding, 100);
    Walk(5);
    ExpectNear(At(), {100, kStanding, 100});
    FrameEchelles = nullptr;
    for (const double ratio : {0.0, 10.0}) {
        Place(0, kStanding, 0);
        p->vitesse = 7;
        Frame({UpArrow}, ratio);
        const rm::Vector at = At();
        EXPECT_TRUE(std::isfinite(at.x) && std::isfinite(at.y) && std::isfinite(at.z)) << ratio;
        EXPECT_NEAR(at.z, 8 * ratio / 15, 1e-3) << ratio;
    }
}

// A map folder's level loaded by a start that made no ladders' frame: its
// ladder file is passed over and the level is walked as any other.
TEST_F(Movement, AMapWithoutLadderFrameIsWalkedAndItsLadderNotClimbed) {
    QTemporaryDir game;
    QDir(game.path()).mkpath("map");
    CheminJeu = game.path().toStdString();
    const auto save = [&](const char* file, const std::string& text) {
        std::ofstream(CheminJeu + "/map/" + file, std::ios::binary) << text;
    };
    save("quay.map", "sky\n0:50:0\n1000:0:0\n1000:0:0\n1000:0:0\n1000:0:0\n1\n");
    save("quay.sol", XFile({FlatQuad(990, 1010, -10, 30, 0)}));
    save("quay.mur", XFile({WallQuad(990, 1010, -10, 30, 20)}));
    save("quay.lad", XFile({WallQuad(996, 1004, -5, 30, 5)}));
    save("quay.pla", XFile({FlatQuad(990, 1010, -10, 30, 40)}));
    save("boite.x", XFile({WallQuad(-1, 1, -1, 1, 1)}));
    FrameMurs->DeleteChild(FrameEchelles);
    FrameEchelles = nullptr;
    NomMap = "quay";
    ChargeCarte();

    Place(1000, kStanding, 0);
    Walk(12);
    EXPECT_FALSE(p->echelle);
    EXPECT_GT(At().z, 6);
    EXPECT_FLOAT_EQ(At().y, kStanding);
    Walk(40);
    EXPECT_LT(At().z, 20);
    EXPECT_GT(At().z, 16);
}

// The copies of "couloirs", walking from z -100 to -250: where the drawn
// meshes and the collision frames change.
TEST(CorridorSectors, SwitchWhereThePlayerStands) {
    GameFolder folder;
    MakeLevelFrames(folder);
    ChargeCouloirs();
    player p;
    p.joueur = D3DRM->CreateFrame(FrameMonde);
    std::vector<int32_t> drawnChanges, pickedChanges;
    int32_t drawn = -1, picked = -1;
    for (int32_t z = -100; z >= -250; --z) {
        p.joueur->SetPosition(FrameMonde, 0, 0, float(z));
        p.AfficheSecteur(p.joueur);
        const int32_t nowDrawn = MeshCouloirs[0]->GetEnable() | MeshEscaliers[0]->GetEnable() << 2 |
                                 MeshCouloirs[1]->GetEnable() << 4 | MeshEscaliers[1]->GetEnable() << 6;
        const int32_t nowPicked = FrameSol1->GetTraversalOptions() | FrameMur1->GetTraversalOptions() << 2 |
                                  FramePlafond1->GetTraversalOptions() << 4 | FrameSol2->GetTraversalOptions() << 8 |
                                  FrameMur2->GetTraversalOptions() << 10 | FramePlafond2->GetTraversalOptions() << 12;
        if (drawn != -1 && nowDrawn != drawn) drawnChanges.push_back(z);
        if (picked != -1 && nowPicked != picked) pickedChanges.push_back(z);
        drawn = nowDrawn;
        picked = nowPicked;
    }
    // The first z of each new sector.
    EXPECT_EQ(drawnChanges, (std::vector<int32_t>{-155, -220, -244}));
    EXPECT_EQ(pickedChanges, (std::vector<int32_t>{-190, -221}));
    GameWindow().Unload();
}

}  // namespace
