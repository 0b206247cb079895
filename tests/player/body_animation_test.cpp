// The local player's body animation: the two clocks, the death pose, the
// torso's way back to aiming and the automatic reload.

#include "core/game_state.h"
#include "models/mdl.h"
#include "player/held_models.h"
#include "player_fixture.h"

#include <string>

namespace {

class BodyAnimation : public PlayerFixture {
protected:
    void SetUp() override {
        PlayerFixture::SetUp();
        p_ = &Build(0, true);
        p_->NbBastos = 1;
        p_->ratio = 1.5;  // one clock unit per frame
    }
    static int32_t Length(int32_t set) { return PlayerModels[0]->RenvAniMax(set); }
    std::string TorsoSet(const std::string& action) const {
        return "ref_" + action + "_" + WeaponModel(p_->IdArme).typ_arme;
    }
    // The torso running `action`'s set with its clock at `clock`.
    void Torso(const std::string& action, double clock) {
        p_->action = action;
        p_->ani_lib = TorsoSet(action);
        p_->AniBuste = PlayerModels[0]->RenvAnimations(p_->ani_lib);
        p_->fps2 = clock;
    }

    player* p_ = nullptr;
};

TEST_F(BodyAnimation, BothClocksAdvanceByTwoThirdsOfTheRatioAndIdlingRestartsNothing) {
    player& p = *p_;
    struct Case {
        double ratio, step;
    };
    for (const Case c : {Case{1, 2.0 / 3}, Case{3, 2}, Case{0.5, 1.0 / 3}}) {
        SCOPED_TRACE(c.ratio);
        p.ratio = c.ratio;
        p.fps = p.fps2 = 1;
        p.Attend();  // already idle: the clock keeps running
        p.animation();
        EXPECT_DOUBLE_EQ(p.fps, 1 + c.step);
        EXPECT_DOUBLE_EQ(p.fps2, 1 + c.step);
    }
    p.idson = 0;
    p.Attend();
    EXPECT_EQ(p.idson, 0) << "no sound replayed";
}

TEST_F(BodyAnimation, LegsWrapAtTheSetsLengthTheTorsoOnlyPastIt) {
    player& p = *p_;
    const int32_t legs = Length(p.Anipos);
    p.fps = legs - 1;
    p.animation();
    EXPECT_EQ(p.fps, 0);

    Torso("shoot", 0);
    const int32_t torso = Length(p.AniBuste);
    p.fps2 = torso - 1;
    p.animation();
    EXPECT_EQ(p.fps2, torso) << "at its length the set still runs";
    EXPECT_EQ(p.action, "shoot");
    p.animation();
    EXPECT_EQ(p.fps2, 0);
    EXPECT_EQ(p.action, "aim");
    EXPECT_EQ(p.ani_lib, TorsoSet("aim"));
    EXPECT_EQ(p.AniBuste, PlayerModels[0]->RenvAnimations(TorsoSet("aim")));

    // With the trigger held the shoot set runs again.
    Torso("shoot", torso + 0.5);
    const int32_t shoot = p.AniBuste;
    p.Fire = true;
    p.animation();
    EXPECT_EQ(p.action, "aim");
    EXPECT_EQ(p.ani_lib, TorsoSet("shoot"));
    EXPECT_EQ(p.AniBuste, shoot);
    EXPECT_EQ(p.fps2, 0);
}

TEST_F(BodyAnimation, TheDeathPoseHoldsAndMakesThePlayerReadyOnTheFirstFrameAtItsEnd) {
    player& p = *p_;
    p.ani_pos_lib = "death1";
    p.Anipos = PlayerModels[0]->RenvAnimations("death1");
    p.AniBuste = -1;
    p.pret = false;
    const int32_t end = Length(p.Anipos);
    p.fps = end - 0.5;
    p.animation();
    EXPECT_EQ(p.fps, end);
    EXPECT_FALSE(p.pret);
    for (int frame = 0; frame < 3; ++frame) {
        p.animation();
        EXPECT_EQ(p.fps, end);
        EXPECT_TRUE(p.pret);
    }
}

TEST_F(BodyAnimation, TheLastShotReloadsAsItsSetEndsWithAFullMagazine) {
    player& p = *p_;
    p.NbBastos = 0;
    Torso("shoot", 0);
    int frames = 0;
    while (p.action == "shoot" && frames < 1000) {
        EXPECT_EQ(p.NbBastos, 0);
        p.animation();
        ++frames;
    }
    EXPECT_EQ(frames, Length(PlayerModels[0]->RenvAnimations(TorsoSet("shoot"))) + 1);
    EXPECT_EQ(p.action, "reload");
    EXPECT_EQ(p.NbBastos, WeaponModel(p.IdArme).NbBastos);
    EXPECT_EQ(p.idson2, 4);
    EXPECT_EQ(p.idson, 4);
    EXPECT_EQ(p.fps2, 0);
    EXPECT_EQ(p.ani_lib, TorsoSet("reload"));
    EXPECT_EQ(p.AniBuste, PlayerModels[0]->RenvAnimations(TorsoSet("reload")));

    // A new player's empty magazine reloads on its first step.
    player& fresh = Build(1, false);
    EXPECT_EQ(fresh.NbBastos, 0);
    fresh.animation();
    EXPECT_EQ(fresh.action, "reload");
}

}  // namespace
