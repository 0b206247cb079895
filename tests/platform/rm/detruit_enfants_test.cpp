#include "core/frames.h"
#include "scene_fixture.h"

using namespace rm;

namespace {

TEST(DetruitEnfants, EmptiesAThreeLevelTreeAndLeavesALeafAlone) {
    Direct3DRM d3drm;
    const FramePtr root = d3drm.CreateFrame(nullptr);
    const FramePtr a = d3drm.CreateFrame(root), b = d3drm.CreateFrame(root);
    const FramePtr a1 = d3drm.CreateFrame(a), a11 = d3drm.CreateFrame(a1);
    DetruitEnfants(root);
    EXPECT_EQ(root->GetChildCount(), 0);
    EXPECT_EQ(a->GetChildCount(), 0);
    EXPECT_EQ(a1->GetChildCount(), 0);
    EXPECT_EQ(a11->GetParent(), nullptr);
    EXPECT_EQ(b->GetParent(), nullptr);
    DetruitEnfants(b);
    EXPECT_EQ(b->GetChildCount(), 0);
}

}  // namespace
