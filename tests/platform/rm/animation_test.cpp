#include "core/quaternions.h"
#include "scene_fixture.h"

using namespace rm;
using namespace rm_test;

namespace {

class Animations : public testing::Test {
protected:
    Direct3DRM d3drm;
    FramePtr scene = d3drm.CreateFrame(nullptr);
    FramePtr bone = d3drm.CreateFrame(scene);
    FramePtr still = d3drm.CreateFrame(bone);
    AnimationSetPtr set = d3drm.CreateAnimationSet();

    void SetUp() override {
        const AnimationPtr animation = d3drm.CreateAnimation();
        animation->SetOptions(54);
        animation->SetFrame(bone);
        animation->AddRotateKey(0, QuatAxeAngle({0, 1, 0}, 0));
        animation->AddRotateKey(10, QuatAxeAngle({0, 1, 0}, kPi / 2));
        animation->AddPositionKey(0, 0, 0, 0);
        animation->AddPositionKey(10, 10, 20, 0);
        set->AddAnimation(animation);
        still->SetPosition(bone, 0, 7, 0);
    }
    float TurnAboutY() const {
        Vector direction, up;
        bone->GetOrientation(scene, direction, up);
        return std::atan2(direction.x, direction.z);
    }
};

TEST_F(Animations, PosesAtKeysBetweenThemAndWrapsAtTheLength) {
    struct Case {
        float time, turn;
        Vector position;
    };
    const Case cases[] = {
        {0, 0, {0, 0, 0}},
        {10, 0, {0, 0, 0}},  // the end wraps to the start
        {5, kPi / 4, {5, 10, 0}},
        {2.5f, kPi / 8, {2.5f, 5, 0}},
        {12.5f, kPi / 8, {2.5f, 5, 0}},
        {-2.5f, 3 * kPi / 8, {7.5f, 15, 0}},
        {9.999f, kPi / 2, {10, 20, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.time);
        set->SetTime(c.time);
        EXPECT_NEAR(TurnAboutY(), c.turn, 1e-3);
        ExpectNear(bone->GetPosition(scene), c.position, 1e-2f);
        // The child without keys keeps its pose on its parent.
        ExpectNear(still->GetPosition(bone), {0, 7, 0});
    }
}

TEST_F(Animations, AnAnimationWithOnlyRotationKeysKeepsThePosition) {
    const FramePtr other = d3drm.CreateFrame(scene);
    other->SetPosition(scene, 3, 4, 5);
    const AnimationPtr turning = d3drm.CreateAnimation();
    turning->SetFrame(other);
    turning->AddRotateKey(0, QuatAxeAngle({1, 0, 0}, 0));
    turning->AddRotateKey(4, QuatAxeAngle({1, 0, 0}, 1));
    turning->AddRotateKey(4, QuatAxeAngle({1, 0, 0}, 2));  // replaces the key at 4
    EXPECT_EQ(turning->GetRotateKeyCount(), 2);
    set->AddAnimation(turning);
    set->SetTime(2);
    ExpectNear(other->GetPosition(scene), {3, 4, 5});
    Vector direction, up;
    other->GetOrientation(scene, direction, up);
    ExpectNear(up, {0, std::cos(1.0f), std::sin(1.0f)});
}

TEST_F(Animations, OpenAnimationsHoldTheirEndKeys) {
    set->GetAnimations().front()->SetOptions(animation_option::Open | animation_option::Position);
    set->SetTime(25);
    ExpectNear(bone->GetPosition(scene), {10, 20, 0});
    set->SetTime(-5);
    ExpectNear(bone->GetPosition(scene), {0, 0, 0});
}

}  // namespace
