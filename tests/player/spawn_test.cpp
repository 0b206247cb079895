// Where the local player spawns, and how the ground ray sets a frame on the
// floor below it.

#include "../core/game_folder.h"
#include "../core/scene_frames.h"
#include "../platform/rm/scene_fixture.h"
#include "core/built_in_levels.h"
#include "core/game_state.h"
#include "core/game_window.h"
#include "platform/failure.h"
#include "platform/rm/rm.h"
#include "platform/ui/message_box.h"
#include "player/player.h"
#include "support/expect_near.h"

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

namespace {

// The spawn's draws, one after the other.
void Draws(std::vector<double> values) {
    auto queue = std::make_shared<std::deque<double>>(values.begin(), values.end());
    SpawnRandom = [queue] {
        const double next = queue->empty() ? 0.0 : queue->front();
        if (!queue->empty()) queue->pop_front();
        return next;
    };
}

// The draw that picks row r of eleven, or slot s of four.
double Row(int r) { return (r - 0.5) / 11; }
double Slot(int s) { return (s * 10 + 5) / 40.0; }

// A floor at height `y`, 200 units on each side of the origin.
void FloorAt(float y) {
    auto floor = D3DRM->CreateMeshBuilder();
    const auto face = floor->CreateFace();
    face->AddVertex(-200, y, -200);
    face->AddVertex(-200, y, 200);
    face->AddVertex(200, y, 200);
    face->AddVertex(200, y, -200);
    FrameSols->AddVisual(floor);
}

class Spawn : public testing::Test {
protected:
    void SetUp() override {
        MakeLevelFrames(folder_);
        p.joueur = D3DRM->CreateFrame(FrameMurs);
    }
    void TearDown() override { GameWindow().Unload(); }

    rm::Vector Placed() { return p.joueur->GetPosition(FrameMonde); }

    GameFolder folder_;
    player p;
};

TEST_F(Spawn, BuiltInLevelsPickOneOfElevenRowsTheCorridorsOneCopyPerTeam) {
    struct Case {
        const char* level;
        int32_t team;
        int row;
        rm::Vector world;
    };
    const Case cases[] = {
        {"couloirs", 0, 1, {6.568459f, -3, 5.590749f}},
        {"couloirs", 0, 11, {5.458971f, -3, -141.0415f}},
        {"couloirs", 1, 1, {69.9762f - 6.568459f, -3, -399.9594f - 5.590749f}},
        {"couloirs", 1, 11, {69.9762f - 5.458971f, -3, -399.9594f + 141.0415f}},
        {"entrepot", 0, 1, {70.12493f, 4.761224f, 64.86935f}},
        {"entrepot", 1, 11, {35.92865f, -24.60334f, -71.76601f}},
    };
    for (const Case& c : cases) {
        ResetGameState();
        SetUp();
        NomMap = c.level;
        NomMap == "couloirs" ? ChargeCouloirs() : ChargeEntrepot();
        p.IdModele = c.team;
        Draws({Row(c.row)});
        p.PlaceJoueur();
        SCOPED_TRACE(std::string(c.level) + " team " + std::to_string(c.team) + " row " + std::to_string(c.row));
        ExpectNear(Placed(), c.world, 2e-3f);
    }
}

class MapSpawn : public testing::Test {
protected:
    void SetUp() override {
        MakeSceneFrames();
        FloorAt(0);
        SeuilSol = 50;
        NomMap = "docks";
        // Slots 0 to 2 over the floor at 0.5, 3 and 60 units above standing
        // height; slot 3 above no floor.
        SpawnPoints = {{{-10, 3, 0}, {0, 5.5f, 0}, {10, 62.5f, 0}, {1000, 8, 0}, {}}};
        p.joueur = D3DRM->CreateFrame(FrameMurs);
    }
    rm::Vector Placed() { return p.joueur->GetPosition(FrameMonde); }

    player p;
};

TEST_F(MapSpawn, AFreeGamePicksOneOfFourPointsAndFollowsTheGroundOnce) {
    struct Case {
        int slot;
        rm::Vector placed;
    };
    for (const Case& c :
         {Case{0, {-10, 2.5f, 0}}, Case{1, {0, 4.5f, 0}}, Case{2, {10, 62.5f, 0}}, Case{3, {1000, 8, 0}}}) {
        Draws({Row(4), Slot(c.slot)});
        p.PlaceJoueur();
        SCOPED_TRACE("slot " + std::to_string(c.slot));
        ExpectNear(Placed(), c.placed);
    }
}

TEST_F(MapSpawn, ALevelNamedLikeTheCorridorsInAnotherCaseIsAMap) {
    NomMap = "Couloirs";
    Draws({Row(1), Slot(1)});
    p.PlaceJoueur();
    ExpectNear(Placed(), {0, 4.5f, 0});
}

TEST_F(MapSpawn, ATeamGameAlternatesTwoPointsPerTeamStartingAgainWithANewPlayer) {
    TeamGame = true;
    SpawnPoints = {{{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {}}};
    for (const int32_t team : {0, 1, 2}) {
        player q;
        q.joueur = D3DRM->CreateFrame(FrameMurs);
        q.IdModele = team;
        std::vector<float> used;
        for (int i = 0; i < 3; ++i) {
            q.PlaceJoueur();
            used.push_back(q.joueur->GetPosition(FrameMonde).x);
        }
        EXPECT_EQ(used, (team == 0 ? std::vector<float>{3, 0, 3} : std::vector<float>{2, 1, 2})) << team;
    }
}

TEST_F(MapSpawn, AFailingPlacementPassesOnOnBuiltInLevelsAndIsSkippedOnMaps) {
    player unbuilt;
    int boxes = 0;
    ui::SetMessageBoxHandler([&](const ui::MessageBoxSeen&) {
        ++boxes;
        return ui::vbOK;
    });
    EXPECT_NO_THROW(unbuilt.PlaceJoueur());
    EXPECT_EQ(boxes, 1);  // the ground ray's own report of its failure
    NomMap = "entrepot";
    EXPECT_THROW(unbuilt.PlaceJoueur(), Failure);
}

TEST_F(MapSpawn, SpawnsFromTheClockDifferAtOnce) {
    // Eight spawns in a row, as machines starting together would make them:
    // a generator seeded from the second would give one point for all.
    std::vector<float> placed;
    for (int i = 0; i < 8; ++i) {
        p.PlaceJoueur();
        placed.push_back(Placed().x);
    }
    std::sort(placed.begin(), placed.end());
    EXPECT_GT(std::unique(placed.begin(), placed.end()) - placed.begin(), 1);
}

class GroundRay : public testing::Test {
protected:
    void SetUp() override {
        MakeSceneFrames();
        FloorAt(0);
        SeuilSol = 5;
        qui = D3DRM->CreateFrame(FrameMonde);
    }

    rm::FramePtr qui;
    player p;
};

TEST_F(GroundRay, StandsOnTheFloorWithinHalfAUnitFallsOneUnitBeyondAndGivesUpPastTheThreshold) {
    struct Case {
        float drop;  // above standing height
        bool found;
        float after;  // above standing height
    };
    const Case cases[] = {
        {-2, true, 0},      {0.4f, true, 0},    {0.5f, true, 0},  // halves round to even
        {1.5f, true, 0.5f}, {2.5f, true, 1.5f}, {5, true, 4},    {6, false, 6},
    };
    for (const char* crouch : {"", "crouch_"}) {
        p.baisser = crouch;
        const float eye = p.baisser.empty() ? 2.5f : 1;
        for (Case c : cases) {
            // Crouching, two units below standing height is under the floor,
            // which a ray going down from there cannot see.
            if (eye + c.drop < 0) c = {c.drop, false, c.drop};
            qui->SetPosition(FrameMonde, 3, eye + c.drop, -4);
            EXPECT_EQ(p.lance_une_RAY(qui), c.found) << crouch << c.drop;
            ExpectNear(qui->GetPosition(FrameMonde), {3, eye + c.after, -4});
        }
    }
    qui->SetPosition(FrameMonde, 500, 3, 0);  // above no floor
    EXPECT_FALSE(p.lance_une_RAY(qui));
    ExpectNear(qui->GetPosition(FrameMonde), {500, 3, 0});
}

TEST_F(GroundRay, AFailureBeepsShowsItsDescriptionAndGivesFalse) {
    FrameSols = nullptr;
    std::string shown;
    ui::SetMessageBoxHandler([&](const ui::MessageBoxSeen& box) {
        shown = box.prompt;
        return ui::vbOK;
    });
    EXPECT_FALSE(p.lance_une_RAY(qui));
    EXPECT_EQ(shown, "Object variable not set");
}

}  // namespace
