#include "core/game_state.h"
#include "core/object_ref.h"
#include "platform/failure.h"
#include "platform/rm/mesh_builder.h"
#include "player/control.h"
#include "player/division_by_zero.h"
#include "player/player.h"

#include <cmath>

namespace {

constexpr double kBlocked = 100;      // XX, ZZ: that world axis is blocked this frame
constexpr float kProbeBehind = 3;     // the probe's distance from the player, in its coordinates
constexpr float kProbeLift = 0.2f;    // the wall ray passes just above the probe
constexpr float kReach = 3;           // an obstacle nearer than this on an axis blocks it
constexpr float kLadderStep = 5;      // the ladder test's heights below and above the player
constexpr double kStepsPerUnit = 15;  // speed units per world unit of a frame's move

// The drawn copies of "couloirs" by the z at which the player stands, and
// the collision copies that stop it there.
constexpr double kSecondStairsFrom = -155;
constexpr double kSecondCorridorFrom = -220;
constexpr double kFirstStairsUntil = -244;
constexpr double kSecondCopyFrom = -190;
constexpr double kFirstCopyUntil = -220;

void Enable(const std::shared_ptr<rm::MeshBuilder>& mesh, int32_t flags) { Ref(mesh).Enable(flags); }

void SetTraversal(const std::shared_ptr<rm::Frame>& frame, int32_t options) { Ref(frame).SetTraversalOptions(options); }

rm::Vector Facing(const rm::FramePtr& frame, float sign) { return Ref(frame).GetDirection(FrameMonde) * sign; }

// Failures of the wall and ladder tests: a division by zero was skipped
// where it arose; any other one ends the test with its result so far.
template <class Test>
void Silently(Test&& test) {
    try {
        test();
    } catch (const Failure&) {
    }
}

}  // namespace

// Moves along the facing by the speed, then undoes the trial move keeping
// the height it found, and moves again along the axes the probe left free.
void player::MovementStep(Control& c) {
    const double v = vitesse;
    const double distance = std::abs(v * ratio / kStepsPerUnit);
    const rm::Vector d = Facing(joueur, v >= 0 ? 1.0f : -1.0f);
    joueur->SetVelocity(FrameMonde, d.x, d.y, d.z, true);
    joueur->Move(distance);
    XX = 0;
    ZZ = 0;
    Ref(Fleche).SetTraversalOptions(0);
    Fleche->SetPosition(joueur, 0, 0, v >= 0 ? -kProbeBehind : kProbeBehind);
    Fleche->LookAt(joueur, FrameMonde, 0);
    Collisions(Fleche, 1);
    if (NomMap == "couloirs") AfficheSecteur(joueur);
    if (echelle) {
        c.start.y += static_cast<float>(std::abs(v * ratio) / kStepsPerUnit);
    } else if (lance_une_RAY(joueur)) {
        c.start.y = joueur->GetPosition(FrameMonde).y;
    } else {
        XX = kBlocked;
        ZZ = kBlocked;
    }
    joueur->SetPosition(FrameMonde, c.start.x, c.start.y, c.start.z);
    joueur->SetVelocity(FrameMonde, XX == kBlocked ? 0 : d.x, 0, ZZ == kBlocked ? 0 : d.z, true);
    joueur->Move(distance);
}

bool player::Collisions(const rm::FramePtr& qui, int32_t signe) {
    bloque = false;
    Silently([&] {
        rm::Vector from, direction;
        SkippingDivisionByZero([&] { from = Ref(qui).GetPosition(FrameMonde); });
        SkippingDivisionByZero([&] { direction = Facing(qui, static_cast<float>(signe)); });
        from.y += kProbeLift;
        SkippingDivisionByZero([&] { CollisionsEchelles(joueur, signe); });
        SkippingDivisionByZero([&] { Ref(FrameMurs).RayPick(FrameMonde, rm::Ray{direction, from}, wallPicks_); });
        if (wallPicks_.GetSize() < 1) return;
        // The first hit is the nearest obstacle ahead.
        rm::PickRecord hit;
        SkippingDivisionByZero([&] { wallPicks_.GetPickVisual(0, hit); });
        if (std::abs(from.x - hit.position.x) < kReach) XX = kBlocked;
        if (std::abs(from.z - hit.position.z) < kReach) ZZ = kBlocked;
    });
    return bloque;
}

bool player::CollisionsEchelles(const rm::FramePtr& qui, int32_t signe) {
    Silently([&] {
        // A level without ladders asks nothing of the frame.
        echelle = false;
        if (!FrameEchelles) return;
        rm::Vector from, direction;
        SkippingDivisionByZero([&] { from = Ref(qui).GetPosition(FrameMonde); });
        SkippingDivisionByZero([&] { direction = Facing(qui, static_cast<float>(signe)); });
        echelle = LadderAhead(from, direction);
        if (!echelle) echelle = LadderAhead(from - rm::Vector{0, kLadderStep, 0}, direction);
        if (!echelle) echelle = LadderAhead(from + rm::Vector{0, kLadderStep, 0}, direction);
    });
    return false;
}

// The ray is given in the ladders' own coordinates, which are the world's
// on every level that has ladders.
bool player::LadderAhead(rm::Vector from, const rm::Vector& direction) {
    bool near = false;
    SkippingDivisionByZero([&] { FrameEchelles->RayPick(FrameEchelles, rm::Ray{direction, from}, ladderPicks_); });
    if (ladderPicks_.GetSize() < 1) return false;
    SkippingDivisionByZero([&] {
        rm::PickRecord hit;
        ladderPicks_.GetPickVisual(0, hit);
        near = std::hypot(from.x - hit.position.x, from.z - hit.position.z) < kReach;
    });
    return near;
}

void player::AfficheSecteur(const rm::FramePtr& qui) {
    Silently([&] {
        double z = 0;
        SkippingDivisionByZero([&] { z = Ref(qui).GetPosition(FrameMonde).z; });
        // Through pointers: copies of the handles would cost a count change each, every frame.
        for (const auto* mesh : {&MeshCouloirs[0], &MeshEscaliers[0], &MeshCouloirs[1], &MeshEscaliers[1]})
            SkippingDivisionByZero([&] { Enable(*mesh, 0); });
        const bool firstCorridor = z > kSecondCorridorFrom;
        const bool firstStairs = z > kFirstStairsUntil;
        const bool secondStairs = z <= kSecondStairsFrom;
        SkippingDivisionByZero([&] { Enable(MeshCouloirs[firstCorridor ? 0 : 1], rm::enable::Render); });
        if (firstStairs) SkippingDivisionByZero([&] { Enable(MeshEscaliers[0], rm::enable::Render); });
        if (secondStairs) SkippingDivisionByZero([&] { Enable(MeshEscaliers[1], rm::enable::Render); });
        const int32_t second = z <= kSecondCopyFrom ? rm::traversal::Pick : 0;
        const int32_t first = z >= kFirstCopyUntil ? rm::traversal::Pick : 0;
        for (const auto* frame : {&FrameSol2, &FrameMur2, &FramePlafond2})
            SkippingDivisionByZero([&] { SetTraversal(*frame, second); });
        for (const auto* frame : {&FrameSol1, &FrameMur1, &FramePlafond1})
            SkippingDivisionByZero([&] { SetTraversal(*frame, first); });
    });
}
