#include "core/quaternions.h"
#include "platform/failure.h"
#include "scene_fixture.h"

#include <functional>

using namespace rm;
using namespace rm_test;

namespace {

struct PlacementCase {
    const char* name;
    std::function<void(Frame&)> place;
    Matrix4 expected;  // world transform, worked out by hand
};

class Placement : public testing::Test {
protected:
    Direct3DRM d3drm;
    FramePtr scene = d3drm.CreateFrame(nullptr);
};

TEST_F(Placement, CombineModesGiveTheHandComputedMatrices) {
    // A quarter turn about y takes x to (0, 0, −1) and z to (1, 0, 0).
    const Vector qx{0, 0, -1}, qy{0, 1, 0}, qz{1, 0, 0};
    const PlacementCase cases[] = {
        {"translation replaces", [](Frame& f) { f.AddTranslation(combine::Replace, 1, 2, 3); },
         Rows({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 2, 3})},
        {"rotation replaces the position too",
         [](Frame& f) {
             f.AddTranslation(combine::Replace, 5, 0, 0);
             f.AddRotation(combine::Replace, {0, 1, 0}, kPi / 2);
         },
         Rows(qx, qy, qz, {0, 0, 0})},
        {"rotation before turns in place",
         [](Frame& f) {
             f.AddTranslation(combine::Replace, 1, 0, 0);
             f.AddRotation(combine::Before, {0, 1, 0}, kPi / 2);
         },
         Rows(qx, qy, qz, {1, 0, 0})},
        {"rotation after turns the position about the parent's axis",
         [](Frame& f) {
             f.AddTranslation(combine::Replace, 1, 0, 0);
             f.AddRotation(combine::After, {0, 1, 0}, kPi / 2);
         },
         Rows(qx, qy, qz, {0, 0, -1})},
        {"scale before keeps the position",
         [](Frame& f) {
             f.AddTranslation(combine::Replace, 1, 0, 0);
             f.AddScale(combine::Before, 2, 3, 4);
         },
         Rows({2, 0, 0}, {0, 3, 0}, {0, 0, 4}, {1, 0, 0})},
        {"scale after scales the position",
         [](Frame& f) {
             f.AddTranslation(combine::Replace, 1, 1, 0);
             f.AddScale(combine::After, 2, 3, 4);
         },
         Rows({2, 0, 0}, {0, 3, 0}, {0, 0, 4}, {2, 3, 0})},
        {"translation before moves along the frame's own axes",
         [](Frame& f) {
             f.AddRotation(combine::Replace, {0, 1, 0}, kPi / 2);
             f.AddTranslation(combine::Before, 0, 0, 1);
         },
         Rows(qx, qy, qz, {1, 0, 0})},
        {"a transform after a translation",
         [](Frame& f) {
             f.AddTranslation(combine::Replace, 0, 0, 2);
             f.AddTransform(combine::After, Rows({0, 0, -1}, {0, 1, 0}, {1, 0, 0}, {0, 5, 0}));
         },
         Rows(qx, qy, qz, {2, 5, 0})},
    };
    for (const PlacementCase& c : cases) {
        SCOPED_TRACE(c.name);
        const FramePtr frame = d3drm.CreateFrame(scene);
        c.place(*frame);
        ExpectNear(frame->GetTransform(nullptr), c.expected);
    }
}

TEST_F(Placement, PositionsRelativeToTurnedAndScaledFrames) {
    const FramePtr parent = d3drm.CreateFrame(scene);
    parent->AddScale(combine::Replace, 2, 2, 2);
    parent->AddRotation(combine::After, {0, 1, 0}, kPi / 2);
    parent->AddTranslation(combine::After, 10, 0, 0);
    const FramePtr reference = d3drm.CreateFrame(scene);
    reference->AddScale(combine::Replace, 0.5f, 0.5f, 0.5f);
    reference->AddTranslation(combine::After, 0, 3, 0);
    const FramePtr frame = d3drm.CreateFrame(parent);

    frame->SetPosition(reference, 2, 0, 4);
    ExpectNear(frame->GetPosition(nullptr), {1, 3, 2});
    ExpectNear(frame->GetPosition(reference), {2, 0, 4});
    // In the parent: (1, 3, 2) − (10, 0, 0), turned back a quarter, halved.
    ExpectNear(frame->GetPosition(parent), {-1, 1.5f, -4.5f});

    Vector points[2] = {{0, 0, 0}, {1, 0, 0}};
    Vector world[2], back[2];
    frame->TransformVectors(nullptr, 2, world, points);
    ExpectNear(world[0], {1, 3, 2});
    ExpectNear(world[1], {1, 3, 0});  // the parent's scale 2 and quarter turn
    frame->InverseTransformVectors(nullptr, 2, back, world);
    ExpectNear(back[1], points[1]);
}

TEST_F(Placement, OrientationRelativeToAnotherFrameIsAPureRotation) {
    const FramePtr frame = d3drm.CreateFrame(scene);
    frame->AddScale(combine::Before, 0.08f, 0.08f, 0.08f);
    frame->SetPosition(nullptr, 1, 2, 3);
    frame->SetOrientation(scene, {1, 0, 0}, {0, 1, 0});
    ExpectNear(frame->GetTransform(nullptr), Rows({0, 0, -1}, {0, 1, 0}, {1, 0, 0}, {1, 2, 3}));
    // The caller puts its scale back.
    frame->AddScale(combine::Before, 0.08f, 0.08f, 0.08f);
    ExpectNear(Row(frame->GetTransform(nullptr), 2), {0.08f, 0, 0});

    const FramePtr target = d3drm.CreateFrame(scene);
    target->SetPosition(nullptr, 1, 2, 13);
    frame->LookAt(target, scene);
    ExpectNear(frame->GetTransform(nullptr), Rows({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 2, 3}));
}

TEST_F(Placement, OrientationRelativeToItselfTurnsAndKeepsTheScale) {
    const FramePtr frame = d3drm.CreateFrame(scene);
    frame->AddScale(combine::Replace, 0.08f, 0.08f, 0.08f);
    frame->SetPosition(nullptr, 4, 0, 0);
    const float a = kPi / 6;
    frame->SetOrientation(frame, {std::sin(a), 0, std::cos(a)}, {0, 1, 0});
    frame->SetOrientation(frame, {std::sin(a), 0, std::cos(a)}, {0, 1, 0});
    Matrix4 expected = RotationMatrix({0, 1, 0}, 2 * a);
    for (int r = 0; r < 3; ++r) SetRow(expected, r, Row(expected, r) * 0.08f);
    SetRow(expected, 3, {4, 0, 0});
    ExpectNear(frame->GetTransform(nullptr), expected);

    Vector direction, up;
    frame->GetOrientation(nullptr, direction, up);
    ExpectNear(direction, {std::sin(2 * a), 0, std::cos(2 * a)});
    ExpectNear(up, {0, 1, 0});
}

TEST_F(Placement, OrientationUnderATurnedParent) {
    const FramePtr parent = d3drm.CreateFrame(scene);
    parent->AddRotation(combine::Replace, {0, 1, 0}, kPi / 2);
    const FramePtr frame = d3drm.CreateFrame(parent);
    frame->SetOrientation(nullptr, {0, 0, 1}, {0, 1, 0});
    Vector direction, up;
    frame->GetOrientation(parent, direction, up);
    ExpectNear(direction, {-1, 0, 0});
    frame->GetOrientation(nullptr, direction, up);
    ExpectNear(direction, {0, 0, 1});
    EXPECT_THROW(frame->SetOrientation(nullptr, {0, 0, 0}, {0, 1, 0}), Failure);
}

TEST_F(Placement, QuaternionsTurnAsAddRotationAndComposeByTheHamiltonProduct) {
    const FramePtr byRotation = d3drm.CreateFrame(scene);
    const FramePtr byQuaternion = d3drm.CreateFrame(scene);
    const Vector axis = Normalize({1, 2, 3});
    byRotation->AddRotation(combine::Replace, axis, 0.7f);
    byQuaternion->SetQuaternion(scene, QuatAxeAngle(axis, 0.7f));
    ExpectNear(byQuaternion->GetTransform(nullptr), byRotation->GetTransform(nullptr));

    // (qY · qX) · qZ turns about z first, then x, then y.
    const FramePtr byAngles = d3drm.CreateFrame(scene);
    byAngles->SetQuaternion(nullptr, QuatEuler({0.3f, 0.5f, 0.2f}));
    const FramePtr stepwise = d3drm.CreateFrame(scene);
    stepwise->AddRotation(combine::Replace, {0, 0, 1}, 0.2f);
    stepwise->AddRotation(combine::After, {1, 0, 0}, 0.3f);
    stepwise->AddRotation(combine::After, {0, 1, 0}, 0.5f);
    ExpectNear(byAngles->GetTransform(nullptr), stepwise->GetTransform(nullptr));
}

TEST_F(Placement, MoveAppliesVelocityAndRotationTimesDelta) {
    const FramePtr frame = d3drm.CreateFrame(scene);
    frame->SetVelocity(scene, 1, 0, 0, false);
    frame->SetRotation(scene, {0, 1, 0}, kPi / 4);
    frame->Move(2);
    ExpectNear(frame->GetTransform(nullptr), Rows({0, 0, -1}, {0, 1, 0}, {1, 0, 0}, {2, 0, 0}));

    const FramePtr turning = d3drm.CreateFrame(scene);
    turning->SetVelocity(turning, 0, 0, 1, true);
    turning->SetRotation(scene, {0, 1, 0}, kPi / 2);
    turning->Move(1);  // turned first, then moved along its new z
    ExpectNear(turning->GetPosition(nullptr), {1, 0, 0});
}

// A turning velocity is given in world axes to a scaled frame under a turned
// parent; it keeps its direction until the frame turns, then turns with it.
TEST_F(Placement, ATurningVelocityTurnsWithTheFrameWhenItTurnsAfterBeingGiven) {
    const FramePtr parent = d3drm.CreateFrame(scene);
    parent->AddRotation(combine::Replace, {0, 1, 0}, kPi / 2);
    const FramePtr frame = d3drm.CreateFrame(parent);
    frame->AddScale(combine::Before, 0.5f, 0.5f, 0.5f);
    frame->SetVelocity(nullptr, 1, 0, 0, true);
    frame->Move(2);
    ExpectNear(frame->GetPosition(nullptr), {2, 0, 0});

    frame->AddRotation(combine::Before, {0, 1, 0}, kPi / 2);
    frame->Move(1);  // a quarter turn later, along world -z
    ExpectNear(frame->GetPosition(nullptr), {2, 0, -1});
    frame->Move(1);
    ExpectNear(frame->GetPosition(nullptr), {2, 0, -2});
}

TEST_F(Placement, MovingTheSceneMovesEveryFrameUnderIt) {
    const FramePtr parent = d3drm.CreateFrame(scene);
    const FramePtr child = d3drm.CreateFrame(parent);
    child->SetVelocity(parent, 0, 2, 0, false);
    const FramePtr grandchild = d3drm.CreateFrame(child);
    grandchild->SetRotation(child, {0, 1, 0}, kPi / 4);
    scene->Move(2);
    ExpectNear(child->GetPosition(nullptr), {0, 4, 0});
    ExpectNear(grandchild->GetTransform(child), Rows({0, 0, -1}, {0, 1, 0}, {1, 0, 0}, {0, 0, 0}));
}

TEST_F(Placement, UnknownCombineFails) {
    const FramePtr frame = d3drm.CreateFrame(scene);
    EXPECT_THROW(frame->AddTranslation(3, 1, 0, 0), Failure);
}

}  // namespace
