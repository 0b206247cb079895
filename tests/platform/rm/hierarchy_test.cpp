#include "core/frames.h"
#include "platform/failure.h"
#include "scene_fixture.h"

using namespace rm;
using namespace rm_test;

namespace {

class Hierarchy : public testing::Test {
protected:
    Direct3DRM d3drm;
    FramePtr scene = d3drm.CreateFrame(nullptr);
};

TEST_F(Hierarchy, ChildrenInInsertionOrderAndArraysAreSnapshots) {
    const FramePtr a = d3drm.CreateFrame(scene), b = d3drm.CreateFrame(scene), c = d3drm.CreateFrame(scene);
    const FrameArray before = scene->GetChildren();
    scene->DeleteChild(b);
    ASSERT_EQ(before.GetSize(), 3);
    EXPECT_EQ(before.GetElement(1), b);
    const FrameArray after = scene->GetChildren();
    ASSERT_EQ(after.GetSize(), 2);
    EXPECT_EQ(after.GetElement(0), a);
    EXPECT_EQ(after.GetElement(1), c);
    EXPECT_EQ(b->GetParent(), nullptr);
    EXPECT_EQ(c->GetParent(), scene);
    EXPECT_THROW(after.GetElement(2), Failure);
    EXPECT_THROW(scene->DeleteChild(b), Failure);
    EXPECT_THROW(a->AddChild(scene), Failure);  // a loop
}

TEST_F(Hierarchy, ReparentingKeepsTheWorldPlacementAFreeFrameKeepsItsOwn) {
    const FramePtr left = d3drm.CreateFrame(scene), right = d3drm.CreateFrame(scene);
    left->SetPosition(nullptr, 10, 0, 0);
    right->AddRotation(combine::Replace, {0, 1, 0}, kPi / 2);
    const FramePtr moving = d3drm.CreateFrame(left);
    moving->SetPosition(nullptr, 11, 0, 0);
    right->AddChild(moving);
    ExpectNear(moving->GetPosition(nullptr), {11, 0, 0});
    EXPECT_EQ(moving->GetParent(), right);

    const FramePtr free = d3drm.CreateFrame(nullptr);
    free->SetPosition(nullptr, 0, 0, 1);
    left->AddChild(free);
    ExpectNear(free->GetPosition(nullptr), {10, 0, 1});
}

// Each change is made after the grandchild's placement was last read.
TEST_F(Hierarchy, AFrameReadBeforeFollowsEveryLaterChangeAboveIt) {
    FramePtr top = d3drm.CreateFrame(scene);
    const FramePtr middle = d3drm.CreateFrame(top), bottom = d3drm.CreateFrame(middle);
    bottom->SetPosition(middle, 0, 0, 1);
    const auto seen = [&] { return bottom->GetPosition(nullptr); };
    ExpectNear(seen(), {0, 0, 1});
    top->SetPosition(nullptr, 10, 0, 0);
    ExpectNear(seen(), {10, 0, 1});
    scene->AddScale(combine::Replace, 2, 2, 2);
    ExpectNear(seen(), {20, 0, 2});
    scene->AddScale(combine::Replace, 1, 1, 1);
    middle->AddRotation(combine::Before, {0, 1, 0}, kPi / 2);
    ExpectNear(seen(), {11, 0, 0});
    top->SetVelocity(nullptr, 0, 1, 0, false);
    top->Move(3);
    ExpectNear(seen(), {11, 3, 0});
    rm::Vector direction, up;
    bottom->GetOrientation(nullptr, direction, up);
    ExpectNear(direction, {1, 0, 0});
    middle->SetOrientation(top, {0, 0, 1}, {0, 1, 0});
    ExpectNear(seen(), {10, 3, 1});
    middle->SetOrientation(top, {1, 0, 0}, {0, 1, 0});
    ExpectNear(seen(), {11, 3, 0});

    // Taken off, and left by a parent that goes while it stays.
    top->DeleteChild(middle);
    ExpectNear(seen(), {1, 0, 0});
    top->AddChild(middle);
    ExpectNear(seen(), {11, 3, 0});
    scene->DeleteChild(top);
    ExpectNear(seen(), {11, 3, 0});
    top.reset();
    ExpectNear(seen(), {1, 0, 0});
    EXPECT_EQ(middle->GetParent(), nullptr);
}

TEST_F(Hierarchy, VisualsLightsAndData) {
    const FramePtr frame = d3drm.CreateFrame(scene);
    const auto builder = Quad(d3drm, 0);
    const auto texture = Texture::FromImage(QImage(2, 2, QImage::Format_RGB32));
    frame->AddVisual(builder);
    frame->AddVisual(texture);
    EXPECT_EQ(frame->GetVisualCount(), 2);
    EXPECT_EQ(frame->GetVisual(1), texture);
    frame->DeleteVisual(builder);
    EXPECT_EQ(frame->GetVisual(0), texture);
    EXPECT_THROW(frame->GetVisual(1), Failure);
    EXPECT_THROW(frame->DeleteVisual(builder), Failure);
    EXPECT_THROW(frame->AddVisual(nullptr), Failure);

    frame->AddLight(d3drm.CreateLightRGB(light_type::Point, 0.8f, 0.8f, 0.7f));
    EXPECT_EQ(frame->Lights().size(), 1u);
    EXPECT_THROW(d3drm.CreateLightRGB(7, 1, 1, 1), Failure);

    frame->SetAppData(-5);
    frame->SetName("joueur");
    frame->SetTraversalOptions(1);
    frame->SetPosition(nullptr, 1, 2, 3);
    const FramePtr copy = frame->Clone();
    EXPECT_EQ(copy->GetParent(), nullptr);
    EXPECT_EQ(copy->GetVisual(0), texture);
    EXPECT_EQ(copy->GetAppData(), -5);
    EXPECT_EQ(copy->GetName(), "joueur");
    EXPECT_EQ(copy->GetTraversalOptions(), 1);
    ExpectNear(copy->GetPosition(nullptr), {1, 2, 3});
}

TEST_F(Hierarchy, HierarchyBoxIsInTheFramesOwnCoordinates) {
    EXPECT_EQ(scene->GetHierarchyBox().max.x, 0);
    const FramePtr level = d3drm.CreateFrame(scene);
    level->SetPosition(nullptr, 100, 0, 0);
    const FramePtr wall = d3drm.CreateFrame(level);
    wall->AddScale(combine::Replace, 150, 50, 1);
    wall->SetPosition(level, 0, 0, 20);
    wall->AddVisual(Quad(d3drm, 0));
    const Box box = level->GetHierarchyBox();
    ExpectNear(box.min, {-150, -50, 20});
    ExpectNear(box.max, {150, 50, 20});
}

// Trees from files can be far deeper than the call stack allows recursion.
TEST_F(Hierarchy, AHundredThousandFramesDeepAreWalkedEmptiedAndFreed) {
    constexpr int32_t kDepth = 100000;
    const auto [top, bottom] = Chain(d3drm, kDepth, 1);
    bottom->AddVisual(Quad(d3drm, 0));
    scene->AddChild(top);
    const Box box = top->GetHierarchyBox();
    ExpectNear(box.min, {kDepth - 2, -1, 0});
    ExpectNear(box.max, {kDepth, 1, 0});
    PickRecord record;
    const PickArray picks = scene->RayPick(nullptr, {{0, 0, 1}, {kDepth - 1, 0.5f, -1}});
    ASSERT_EQ(picks.GetSize(), 1);
    picks.GetPickVisual(0, record);
    ExpectNear(record.position, {kDepth - 1, 0.5f, 0});
    const rm::Vector deepest = bottom->GetPosition(nullptr);
    top->AddTranslation(combine::After, 0, 5, 0);
    ExpectNear(bottom->GetPosition(nullptr), deepest + rm::Vector{0, 5, 0});

    // Dropped whole, and emptied frame by frame.
    const std::weak_ptr<Frame> freed = Chain(d3drm, kDepth, 1).second;
    EXPECT_TRUE(freed.expired());
    DetruitEnfants(scene);
    EXPECT_EQ(scene->GetChildCount(), 0);
    EXPECT_EQ(top->GetChildCount(), 0);
    EXPECT_EQ(bottom->GetParent(), nullptr);
}

}  // namespace
