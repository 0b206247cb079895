// The per-frame update of a player: its decals, and a remote player shown
// from the members a state message set, as the receiver sets them.

#include "../platform/rm/scene_fixture.h"
#include "../platform/sound/sound_fixtures.h"
#include "core/game_state.h"
#include "models/mdl.h"
#include "platform/rm/texture.h"
#include "platform/sound/buffer.h"
#include "platform/sound/direct_sound.h"
#include "player_fixture.h"
#include "support/expect_near.h"
#include "support/player_test_access.h"

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

namespace {

using A = PlayerTestAccess;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

class PlayerUpdate : public PlayerFixture {
protected:
    void WithSound() {
        // The loopback owns its DirectSound; the game state only points to it.
        DSound = std::shared_ptr<sound::DirectSound>(std::shared_ptr<void>(), &output.Sound());
        DSListener =
            DSound->CreateSoundBuffer(sound::DSBCAPS_PRIMARYBUFFER | sound::DSBCAPS_CTRL3D)->GetDirectSound3DListener();
    }
    // A remote player as a state message left it: at (x, y, z), facing +x.
    player& Remote(float x, float y, float z) {
        Build(0, true);
        player& p = Build(1, false);
        Pose(p, x, y, z, {1, 0, 0});
        return p;
    }
    static void Pose(player& p, double x, double y, double z, const rm::Vector& facing) {
        p.gPlayerpositionx = x;
        p.gPlayerpositiony = y;
        p.gPlayerpositionz = z;
        p.gPlayerori1x = facing.x;
        p.gPlayerori1y = facing.y;
        p.gPlayerori1z = facing.z;
    }
    // The length of the root's x axis in the world.
    static float Scale(const player& p) {
        const rm::Matrix4 world = p.joueur->WorldTransform();
        return rm::Length({world.m[0][0], world.m[0][1], world.m[0][2]});
    }
    // The picture a decal frame shows: its index in `pictures`, 0 for none.
    template <size_t N>
    static size_t Shown(const rm::FramePtr& frame, const std::array<std::shared_ptr<rm::Texture>, N>& pictures) {
        if (frame->GetVisualCount() == 0) return 0;
        EXPECT_EQ(frame->GetVisualCount(), 1);
        for (size_t i = 1; i < N; ++i)
            if (frame->GetVisual(0) == pictures[i]) return i;
        ADD_FAILURE() << "a visual that is no decal picture";
        return 0;
    }

    sound_test::Loopback output;
};

TEST_F(PlayerUpdate, DecalsShowTheirPicturesInTurnAndAHitOrShotRestartsThem) {
    player& p = Remote(0, 0, 0);
    // A hit shows picture 1 and starts the sequence at 1.
    p.Frmsang->AddVisual(A::TexSang(p)[1]);
    p.Frmsang->SetAppData(1);
    std::vector<size_t> blood;
    for (int frame = 0; frame < 11; ++frame) {
        p.Avance();
        blood.push_back(Shown(p.Frmsang, A::TexSang(p)));
        if (frame == 5) {
            EXPECT_EQ(p.Frmsang->GetAppData(), 7);
        }
    }
    EXPECT_EQ(blood, (std::vector<size_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0}));
    EXPECT_EQ(p.Frmsang->GetAppData(), 0);

    p.Frmsang->SetAppData(1);
    p.Avance();
    p.Avance();
    p.Frmsang->SetAppData(1);  // hit again mid-sequence
    p.Avance();
    EXPECT_EQ(Shown(p.Frmsang, A::TexSang(p)), 1u);

    std::vector<size_t> flash;
    p.flash->SetAppData(1);
    for (int frame = 0; frame < 3; ++frame) {
        p.Avance();
        flash.push_back(Shown(p.flash, A::TexFlash(p)));
        if (frame == 0) p.flash->SetAppData(1);  // a shot while it shows
    }
    EXPECT_EQ(flash, (std::vector<size_t>{1, 1, 2}));
    p.Avance();
    EXPECT_EQ(Shown(p.flash, A::TexFlash(p)), 0u);
    const rm::Texture& picture = *A::TexFlash(p)[2];
    EXPECT_EQ(picture.GetDecalWidth(), 0.4f);
    EXPECT_EQ(picture.GetDecalHeight(), 0.4f);
    EXPECT_EQ(picture.GetDecalOriginX(), 36);
    EXPECT_EQ(picture.GetDecalOriginY(), 36);
    EXPECT_TRUE(picture.GetDecalTransparency());
    EXPECT_EQ(picture.GetDecalTransparentColor(), 0u);
}

TEST_F(PlayerUpdate, ARemotePlayerStandsWhereItsStateSaysAndIsHitOnlyWhenAlive) {
    player& p = Remote(40, 2, -30);
    p.Avance();
    ExpectNear(p.joueur->GetPosition(FrameMonde), {40, 2, -30});
    rm::Vector direction, up;
    p.joueur->GetOrientation(FrameMonde, direction, up);
    ExpectNear(direction, {1, 0, 0});
    ExpectNear(up, {0, 1, 0});
    EXPECT_NEAR(Scale(p), 0.08f, 1e-6f);
    EXPECT_EQ(p.gPlayerpositionx, 40);  // the pose read back for its hit boxes

    // Down through the body, as a shot from above would go.
    const rm::Ray ray{{0, -1, 0}, {40, 50, -30}};
    for (const int32_t traversal : {3, 1}) {
        p.joueur->SetTraversalOptions(traversal);  // as the state message sets it
        const rm::PickArray hits = FrameJoueurs->RayPick(FrameMonde, ray);
        EXPECT_EQ(hits.GetSize() > 0, traversal == 3) << traversal;
    }
}

TEST_F(PlayerUpdate, AWeaponChangeHoldsTheNewWeaponWithItsFlashAndFireSoundInTheSameFrame) {
    WithSound();
    player& p = Remote(0, 0, 0);
    const rm::FramePtr oldHand = p.MDroite;
    const rm::FramePtr oldFlash = p.flash;
    const auto oldSound = p.Armeson;
    p.gPlayerArme = 5;
    Pose(p, 3, 0, 4, {0, 0, 1});
    p.Avance();
    EXPECT_EQ(p.IdArme, 5);
    ExpectNear(p.joueur->GetPosition(FrameMonde), {3, 0, 4});
    const rm::Frame& model = *WeaponModels[5]->Main;
    ASSERT_NE(p.MDroite, oldHand);
    EXPECT_EQ(p.MDroite->GetParent(), p.Peau);
    EXPECT_FALSE(oldHand->GetParent());
    ASSERT_EQ(p.MDroite->GetChildCount(), model.GetChildCount());
    for (int32_t i = 0; i < model.GetVisualCount(); ++i) EXPECT_EQ(p.MDroite->GetVisual(i), model.GetVisual(i));
    EXPECT_EQ(p.MDroite->GetAppData(), PlayerModels[0]->Main->GetAppData() - 1);
    EXPECT_EQ(p.MDroite->GetTraversalOptions(), rm::traversal::Draw);
    ASSERT_NE(p.flash, oldFlash);
    EXPECT_EQ(p.flash->GetName(), "flash");
    EXPECT_EQ(p.flash->GetTraversalOptions(), rm::traversal::Draw);
    ASSERT_TRUE(p.Armeson);
    EXPECT_NE(p.Armeson, oldSound);
}

// Values another machine sent that cannot be used: nothing fails, nothing
// changes, and the next good value applies.
TEST_F(PlayerUpdate, BadValuesFromAnotherMachineChangeNothing) {
    WithSound();
    player& p = Remote(10, 1, 20);
    p.idson = 1;
    p.pivot = 0.2;
    p.Avance();
    const rm::FramePtr hand = p.MDroite;
    const auto sound = A::SonCourant(p);
    struct Case {
        const char* what;
        std::function<void(player&)> bad;
    };
    const std::vector<Case> cases = {
        {"sound 7", [](player& q) { q.idson = 7; }},
        {"sound -1", [](player& q) { q.idson = -1; }},
        {"blood step 42", [](player& q) { q.Frmsang->SetAppData(42); }},
        {"blood step -3", [](player& q) { q.Frmsang->SetAppData(-3); }},
        {"flash step 9", [](player& q) { q.flash->SetAppData(9); }},
        {"weapon 13", [](player& q) { q.gPlayerArme = 13; }},
        {"weapon -1", [](player& q) { q.gPlayerArme = -1; }},
        {"weapon 1000", [](player& q) { q.gPlayerArme = 1000; }},
        {"facing 0",
         [](player& q) {
             Pose(q, 10, 1, 20, {0, 0, 0});
         }},
        {"NaN position",
         [](player& q) {
             Pose(q, kNaN, 1, 20, {1, 0, 0});
         }},
        {"NaN facing",
         [](player& q) {
             Pose(q, 10, 1, 20, {1, float(kNaN), 0});
         }},
        {"huge position",
         [](player& q) {
             Pose(q, 1e300, 1, 20, {1, 0, 0});
         }},
    };
    for (const Case& c : cases) {
        c.bad(p);
        EXPECT_NO_THROW(p.Avance()) << c.what;
        EXPECT_EQ(A::SonCourant(p), sound) << c.what;
        EXPECT_EQ(p.Frmsang->GetVisualCount() + p.flash->GetVisualCount(), 0) << c.what;
        EXPECT_EQ(p.Frmsang->GetAppData() + p.flash->GetAppData(), 0) << c.what;
        EXPECT_EQ(p.IdArme, 0) << c.what;
        EXPECT_EQ(p.MDroite, hand) << c.what;
        ExpectNear(p.joueur->GetPosition(FrameMonde), {10, 1, 20});
        rm::Vector direction, up;
        p.joueur->GetOrientation(FrameMonde, direction, up);
        ExpectNear(direction, {1, 0, 0});
        EXPECT_NEAR(Scale(p), 0.08f, 1e-6f) << c.what;
        p.idson = 1;
        p.gPlayerArme = 0;
        Pose(p, 10, 1, 20, {1, 0, 0});
    }

    // A tilt that is not a number is taken as none; the sender keeps within 0.4.
    for (const double pivot : {kNaN, 2.0, -2.0}) {
        p.pivot = pivot;
        EXPECT_NO_THROW(p.Avance());
        EXPECT_EQ(p.pivot, std::isnan(pivot) ? 0 : std::copysign(0.4, pivot)) << pivot;
    }

    // The next good values apply.
    p.idson = 0;
    p.gPlayerArme = 2;
    Pose(p, -5, 0, 5, {0, 0, -1});
    p.Avance();
    EXPECT_EQ(A::SonCourant(p), A::Son(p, 0));
    EXPECT_EQ(p.IdArme, 2);
    ExpectNear(p.joueur->GetPosition(FrameMonde), {-5, 0, 5});
}

TEST_F(PlayerUpdate, EachSoundEventPlaysOnceDeathOnceAndFootstepsAtTheirRate) {
    WithSound();
    player& p = Remote(0, 0, 0);
    // A message without an event plays no shot.
    p.Avance();
    output.Render(2000);
    EXPECT_EQ(p.Armeson->GetCurrentPosition(), 0);

    p.idson2 = 1;
    p.idson3 = 1;
    p.Avance();
    EXPECT_EQ(p.idson2 + p.idson3, 0);
    output.Render(2000);
    const int32_t shot = p.Armeson->GetCurrentPosition();
    EXPECT_GT(shot, 0);
    EXPECT_GT(A::Son(p, 2)->GetCurrentPosition(), 0);
    p.Avance();  // no new event: the shot plays on
    output.Render(500);
    EXPECT_GT(p.Armeson->GetCurrentPosition(), shot);

    // Footsteps of another player go at 8250 Hz (two bytes a sample).
    p.idson = 0;
    p.Avance();
    const int32_t start = A::Son(p, 0)->GetCurrentPosition();
    output.Render(sound_test::Loopback::Rate / 10);
    EXPECT_NEAR(A::Son(p, 0)->GetCurrentPosition() - start, 2 * 825, 40);

    // Death plays once to its end, and stays over.
    p.idson = 3;
    p.Avance();
    output.Render(sound_test::Loopback::Rate * 3 / 2);
    EXPECT_EQ(A::Son(p, 3)->GetCurrentPosition(), 0);
    p.Avance();
    output.Render(2000);
    EXPECT_EQ(A::Son(p, 3)->GetCurrentPosition(), 0);
}

}  // namespace
