// The local player's control step with the combat: the trigger fires, a
// dead player waits for its death pose before the left button brings it
// back, and a rank lost with a death takes the held weapon away.

#include "control_fixture.h"
#include "core/game_state.h"
#include "core/rank.h"
#include "models/mdl.h"
#include "platform/input/key_codes.h"
#include "player/held_models.h"

#include <gtest/gtest.h>

namespace {

using namespace input::key;
using CombatControl = ControlFixture;

TEST_F(CombatControl, OnlyTheLeftButtonAfterTheDeathPoseBringsTheDeadBack) {
    p->Meurt();
    p->ratio = 1.5;
    const int32_t pose = PlayerModels[0]->RenvAniMax(p->Anipos);
    // Not ready yet: the left button does nothing, the pose runs on.
    input.PressButton(0);
    for (int frame = 0; frame <= pose; ++frame) {
        ASSERT_FALSE(p->pret) << frame;
        Frame({}, 1.5);
        EXPECT_TRUE(p->mort);
    }
    input.ReleaseButton(0);
    Frame({}, 1.5);
    ASSERT_TRUE(p->pret);
    // Ready: the fire key never respawns.
    for (int frame = 0; frame < 3; ++frame) Frame({P}, 1.5);
    EXPECT_TRUE(p->mort);

    Place(30, 2.5f, 30);
    p->force = -40;
    input.PressButton(0);
    Frame({}, 1.5);
    input.ReleaseButton(0);
    EXPECT_FALSE(p->mort);
    EXPECT_EQ(p->force, 100);
    EXPECT_EQ(p->action, "aim");
    EXPECT_EQ(p->ani_pos_lib, "idle1");
    EXPECT_EQ(p->Anipos, PlayerModels[0]->RenvAnimations("idle1"));
    EXPECT_NE(At().x, 30) << "at a spawn point";
}

TEST_F(CombatControl, TheTriggerFiresUnlessReloadingAndTheMagazineRunsOutIntoAReload) {
    p->NbBastos = 2;
    p->action = "reload";
    Frame({P});
    EXPECT_FALSE(p->Fire);
    EXPECT_EQ(p->NbBastos, 2) << "no shot while reloading";

    p->action = "aim";
    Frame({P});
    EXPECT_TRUE(p->Fire);
    EXPECT_EQ(p->NbBastos, 1);
    EXPECT_EQ(p->action, "shoot");
    input.PressButton(0);  // the left button fires as well
    for (int frame = 0; frame < 200 && p->action != "reload"; ++frame) Frame({}, 3);
    input.ReleaseButton(0);
    EXPECT_EQ(p->action, "reload");
    EXPECT_EQ(p->NbBastos, WeaponModel(p->IdArme).NbBastos);
}

TEST_F(CombatControl, ARankLostWithADeathGivesWeaponZeroAtTheNextControlStep) {
    p->tueur = 10;  // rank 3
    CalculeRang();
    ASSERT_EQ(WeaponPower, 3);
    int32_t third = -1;
    for (size_t i = 0; i < WeaponModels.size(); ++i)
        if (WeaponModels[i] && WeaponModels[i]->rang == 3) third = int32_t(i);
    ASSERT_GE(third, 0);
    p->IdArme = third;
    p->Meurt();  // the death counts: rank 2
    EXPECT_EQ(WeaponPower, 2);
    p->mort = false;  // as after the respawn
    Frame({});
    EXPECT_EQ(p->IdArme, 0);
}

}  // namespace
