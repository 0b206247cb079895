// A player's per-frame pose and sounds, mixed into a loopback output where
// what plays and where is what the mixer did.

#include "../platform/rm/scene_fixture.h"
#include "../platform/sound/sound_fixtures.h"
#include "core/game_state.h"
#include "models/mdl.h"
#include "platform/sound/direct_sound.h"
#include "platform/sound/sound_flags.h"
#include "player_fixture.h"
#include "support/expect_near.h"
#include "support/player_test_access.h"

#include <AL/al.h>

#include <array>
#include <cmath>

namespace {

using A = PlayerTestAccess;

class PlayerSound : public PlayerFixture {
protected:
    void WithSound() {
        // The loopback owns its DirectSound; the game state only points to it.
        DSound = std::shared_ptr<sound::DirectSound>(std::shared_ptr<void>(), &output.Sound());
        primary = DSound->CreateSoundBuffer(sound::DSBCAPS_PRIMARYBUFFER | sound::DSBCAPS_CTRL3D);
        DSListener = primary->GetDirectSound3DListener();
    }
    static rm::Vector Listener(ALenum what) {
        rm::Vector v;
        alGetListener3f(what, &v.x, &v.y, &v.z);
        return {v.x, v.y, -v.z};  // the mixer's z is our -z
    }
    // Turns the root a quarter turn about y, to face +x, and puts it at (x, y, z).
    static void Stand(player& p, float x, float y, float z) {
        p.joueur->AddRotation(rm::combine::Before, {0, 1, 0}, rm_test::kPi / 2);
        p.joueur->SetPosition(FrameMonde, x, y, z);
    }

    sound_test::Loopback output;
    std::shared_ptr<sound::Buffer> primary;
};

TEST_F(PlayerSound, WithoutSoundThePoseIsStillTheRootsWorldPositionAndDirection) {
    player& p = Build(1, false);
    Stand(p, 5, 2, -7);
    p.PositionneBoite();
    EXPECT_EQ(p.gPlayerpositionx, 5);
    EXPECT_EQ(p.gPlayerpositiony, 2);
    EXPECT_EQ(p.gPlayerpositionz, -7);
    EXPECT_NEAR(p.gPlayerori1x, 1, 1e-6);  // a unit vector, whatever the root's scale
    EXPECT_NEAR(p.gPlayerori1y, 0, 1e-6);
    EXPECT_NEAR(p.gPlayerori1z, 0, 1e-6);
    ExpectNear(p.base->GetPosition(p.joueur), {0, 6, 0});
    ExpectNear(p.Peau->GetPosition(p.joueur), {0, 6, 0});
}

TEST_F(PlayerSound, TheListenerFollowsTheAimInFirstPersonAndTheCameraElseAtTheCommit) {
    WithSound();
    DSListener->CommitDeferredSettings();
    player& p = Build(0, true);
    Stand(p, 10, 0, 0);
    for (const bool firstPerson : {true, false}) {
        p.vue = firstPerson;
        const rm::FramePtr& eye = firstPerson ? p.chasse : p.cam;
        const rm::Vector before = Listener(AL_POSITION);
        p.PositionneBoite();
        ExpectNear(Listener(AL_POSITION), before);  // deferred
        DSListener->CommitDeferredSettings();
        ExpectNear(Listener(AL_POSITION), eye->GetPosition(FrameMonde), 1e-3f);
        std::array<float, 6> orientation{};
        alGetListenerfv(AL_ORIENTATION, orientation.data());
        rm::Vector front, up;
        eye->GetOrientation(FrameMonde, front, up);
        ExpectNear({orientation[0], orientation[1], -orientation[2]}, front, 1e-3f);
    }

    // Another player moves no listener.
    player& other = Build(1, false);
    Stand(other, -30, 0, 0);
    const rm::Vector before = Listener(AL_POSITION);
    other.PositionneBoite();
    DSListener->CommitDeferredSettings();
    ExpectNear(Listener(AL_POSITION), before);
}

TEST_F(PlayerSound, PlayingTheCurrentSoundAgainGoesOnFromWhereItStands) {
    WithSound();
    player& p = Build(0, false);
    p.JoueSon(3, 0);
    output.Render(2000);
    const int32_t reached = A::Son(p, 3)->GetCurrentPosition();
    ASSERT_GT(reached, 0);
    p.JoueSon(3, 0);
    EXPECT_EQ(A::Son(p, 3)->GetCurrentPosition(), reached);
    output.Render(1000);
    EXPECT_GT(A::Son(p, 3)->GetCurrentPosition(), reached);

    // Switching stops the current sound where it is.
    p.JoueSon(4, 0);
    const int32_t stopped = A::Son(p, 3)->GetCurrentPosition();
    output.Render(1000);
    EXPECT_EQ(A::Son(p, 3)->GetCurrentPosition(), stopped);
    EXPECT_EQ(A::SonCourant(p), A::Son(p, 4));
    EXPECT_EQ(p.idson, 4);
    EXPECT_THROW(p.JoueSon(5, 0), Failure);  // a sound number from another machine
}

TEST_F(PlayerSound, ALoopingSoundStopsWhenThePlayerGoes) {
    WithSound();
    player& p = Build(0, false);
    p.JoueSon(1, sound::DSBPLAY_LOOPING);
    output.Render(2000);
    p.Destroy();
    const int32_t stopped = A::Son(p, 1)->GetCurrentPosition();
    output.Render(2000);
    EXPECT_EQ(A::Son(p, 1)->GetCurrentPosition(), stopped);
}

TEST_F(PlayerSound, LegsSwitchOnlyWhenTheSetNameChanges) {
    WithSound();
    player& p = Build(0, false);
    p.fps = 7;
    p.Attend();
    EXPECT_EQ(p.fps, 7);  // still idle: nothing restarts
    p.Court();
    EXPECT_EQ(p.ani_pos_lib, "run");
    EXPECT_EQ(p.fps, 0);
    EXPECT_EQ(p.idson, 0);
    EXPECT_EQ(p.Anipos, PlayerModels[0]->RenvAnimations("run"));
    p.fps = 3;
    p.Court();
    EXPECT_EQ(p.fps, 3);
    p.baisser = "crouch_";
    p.Court();
    EXPECT_EQ(p.ani_pos_lib, "crouch_run");
    EXPECT_EQ(p.fps, 0);
    p.Attend();
    EXPECT_EQ(p.ani_pos_lib, "crouch_idle1");
    EXPECT_EQ(p.Anipos, PlayerModels[0]->RenvAnimations("crouch_idle1"));
    EXPECT_EQ(p.idson, 1);
}

}  // namespace
