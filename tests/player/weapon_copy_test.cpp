// The copy of a weapon's frame tree in a player's hand, on a small tree of
// its own.

#include "core/game_state.h"
#include "models/mdl.h"
#include "platform/rm/rm.h"
#include "player/player.h"

#include <gtest/gtest.h>

namespace {

class WeaponCopy : public testing::Test {
protected:
    void SetUp() override {
        D3DRM = std::make_shared<rm::Direct3DRM>();
        weapon = std::make_shared<MDL>();
        weapon->NbBastos = 20;
        WeaponModels = {weapon};
        // hand -> barrel -> flash, each with a visual of its own.
        hand = D3DRM->CreateFrame(nullptr);
        barrel = D3DRM->CreateFrame(hand);
        muzzle = D3DRM->CreateFrame(barrel);
        barrel->SetName("barrel");
        muzzle->SetName("flash");
        barrel->SetPosition(hand, 0, 0, 4);
        muzzle->SetPosition(barrel, 0, 1, 2);
        for (const auto& frame : {hand, barrel, muzzle}) frame->AddVisual(D3DRM->CreateMeshBuilder());
        p.MDroite = D3DRM->CreateFrame(nullptr);
    }

    std::shared_ptr<MDL> weapon;
    rm::FramePtr hand, barrel, muzzle;
    player p;
};

TEST_F(WeaponCopy, CopiesTheTreeLevelByLevelSharingVisualsAndReplacingWhatWasHeld) {
    p.MDroite->AddVisual(D3DRM->CreateMeshBuilder());
    D3DRM->CreateFrame(p.MDroite);  // the weapon held before
    p.ColleArme(hand, p.MDroite);

    ASSERT_EQ(p.MDroite->GetVisualCount(), 1);
    EXPECT_EQ(p.MDroite->GetVisual(0), hand->GetVisual(0));
    ASSERT_EQ(p.MDroite->GetChildCount(), 1);
    const rm::FramePtr copiedBarrel = p.MDroite->GetChild(0);
    EXPECT_NE(copiedBarrel, barrel);
    EXPECT_EQ(copiedBarrel->GetName(), "barrel");
    EXPECT_EQ(copiedBarrel->GetVisual(0), barrel->GetVisual(0));
    EXPECT_EQ(copiedBarrel->GetVisualCount(), 1);
    ASSERT_EQ(copiedBarrel->GetChildCount(), 1);
    EXPECT_EQ(copiedBarrel->GetChild(0), p.flash);
    EXPECT_EQ(p.flash->GetVisual(0), muzzle->GetVisual(0));
    const rm::Vector tip = p.flash->GetPosition(p.MDroite);
    EXPECT_EQ(tip.y, 1);
    EXPECT_EQ(tip.z, 6);
}

TEST_F(WeaponCopy, TheHandsMagazineIsCutToTheWeaponsButNeverRefilled) {
    struct Case {
        int32_t before, after;
    };
    for (const Case& c : {Case{30, 20}, Case{21, 20}, Case{20, 20}, Case{5, 5}, Case{0, 0}}) {
        p.NbBastos = c.before;
        p.ColleArme(hand, p.MDroite);
        EXPECT_EQ(p.NbBastos, c.after) << c.before;
    }
    // A copy into any other frame leaves the count alone.
    p.NbBastos = 30;
    p.ColleArme(hand, D3DRM->CreateFrame(nullptr));
    EXPECT_EQ(p.NbBastos, 30);
}

}  // namespace
