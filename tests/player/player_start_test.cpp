// A player's start on the generated models: its frames, the copy of its
// weapon, its sounds and pictures, and what a bad index or a missing file
// does to it; then its release.

#include "../core/game_folder.h"
#include "../platform/rm/scene_fixture.h"
#include "core/game_state.h"
#include "models/mdl.h"
#include "platform/failure.h"
#include "platform/rm/rm.h"
#include "platform/sound/direct_sound.h"
#include "player_fixture.h"
#include "support/expect_near.h"
#include "support/failure_number.h"
#include "support/player_test_access.h"

#include <filesystem>
#include <optional>

namespace {

using A = PlayerTestAccess;

class PlayerStart : public PlayerFixture {};

struct FrameRow {
    const char* name;
    rm::FramePtr frame;
    rm::FramePtr parent;
    std::optional<rm::Vector> fromRoot;  // position in the root's scaled coordinates
    int32_t traversal;
};

TEST_F(PlayerStart, FramesHangWhereTheyBelongWithTheirTraversalAndData) {
    for (const bool boxes : {false, true})
        for (const bool local : {true, false}) {
            SetUp();
            ModeBox = boxes;
            const std::string what = std::string(local ? "local" : "remote") + (boxes ? " boxes" : " skinned");
            player& p = Build(2, local);
            const int32_t hitBoxes = boxes ? rm::traversal::Draw | rm::traversal::Pick : rm::traversal::Pick;
            const FrameRow rows[] = {
                {"joueur", p.joueur, FrameJoueurs, std::nullopt, 0},
                {"base", p.base, p.joueur, rm::Vector{0, 12, 0}, hitBoxes},
                {"Peau", p.Peau, p.joueur, rm::Vector{0, 12, 0}, rm::traversal::Draw},
                {"Frmsang", p.Frmsang, p.joueur, std::nullopt, rm::traversal::Draw},
                {"axe", p.axe, p.joueur, std::nullopt, 3},
                {"axe2", p.axe2, p.axe, std::nullopt, 3},
                {"chasse", p.chasse, p.axe2, rm::Vector{0, 50, -80}, 3},
                {"devant", p.devant, p.axe2, rm::Vector{0, 30, 0}, 3},
                // Placed before the spawn, which moves the root alone.
                {"cam", p.cam, FrameMonde, local ? std::nullopt : std::optional(rm::Vector{0, 10, 80}), 3},
                {"Fleche", p.Fleche, FrameMurs, std::nullopt, 3},
                {"MDroite", p.MDroite, p.Peau, std::nullopt, rm::traversal::Draw},
                {"tete", p.tete, p.base, std::nullopt, rm::traversal::Draw},
            };
            for (const FrameRow& row : rows) {
                ASSERT_TRUE(row.frame) << what << " " << row.name;
                EXPECT_EQ(row.frame->GetParent(), row.parent) << what << " " << row.name;
                EXPECT_EQ(row.frame->GetTraversalOptions(), row.traversal) << what << " " << row.name;
                if (row.fromRoot) ExpectNear(row.frame->GetPosition(p.joueur), *row.fromRoot);
            }
            // Twelve units in the root's coordinates are 0.96 in the world's.
            ExpectNear(p.base->GetPosition(FrameMonde) - p.joueur->GetPosition(FrameMonde), {0, 0.96f, 0});
            EXPECT_EQ(p.Peau->GetAppData(), 2) << what;
            if (boxes) {
                EXPECT_EQ(p.base->GetAppData(), 2) << what;
                EXPECT_EQ(p.Peau->GetVisualCount(), 0) << what;
            } else {
                EXPECT_EQ(p.base->GetAppData(), p.IdSkm) << what;  // the skinned instance
                ASSERT_EQ(p.Peau->GetVisualCount(), 1) << what;
                EXPECT_EQ(p.Peau->GetVisual(0)->GetAppData(), 2) << what;
            }
            // Only the local player is put at a spawn point (the first row of
            // the warehouse here).
            ExpectNear(p.joueur->GetPosition(FrameMonde),
                       local ? rm::Vector{70.12493f, 4.761224f, 64.86935f} : rm::Vector{});
            EXPECT_TRUE(p.pret) << what;
            EXPECT_EQ(p.force, 100) << what;
            EXPECT_EQ(p.action, "aim") << what;
            EXPECT_EQ(p.ani_lib, "ref_aim_onehanded") << what;
            EXPECT_EQ(p.AniBuste, PlayerModels[0]->RenvAnimations("ref_aim_onehanded")) << what;
            EXPECT_EQ(p.ani_pos_lib, "idle1") << what;
            EXPECT_EQ(p.Anipos, PlayerModels[0]->RenvAnimations("idle1")) << what;
            EXPECT_EQ(p.idson, 1) << what;  // the heartbeat
            ResetGameState();
        }
}

TEST_F(PlayerStart, TheHandHoldsACopyOfTheWeaponThatSharesItsVisuals) {
    WeaponModels[0]->NbBastos = 20;
    player& p = Build(0, false);
    const rm::FramePtr& hand = WeaponModels[0]->Main;
    ASSERT_EQ(p.MDroite->GetVisualCount(), hand->GetVisualCount());
    for (int32_t i = 0; i < hand->GetVisualCount(); ++i) EXPECT_EQ(p.MDroite->GetVisual(i), hand->GetVisual(i));
    ASSERT_EQ(p.MDroite->GetChildCount(), 1);
    ASSERT_TRUE(p.flash);
    EXPECT_EQ(p.MDroite->GetChild(0), p.flash);
    EXPECT_EQ(p.flash->GetName(), "flash");
    EXPECT_NE(p.flash, hand->GetChild(0));
    EXPECT_EQ(p.flash->GetVisuals().GetSize(), hand->GetChild(0)->GetVisualCount());
    EXPECT_EQ(p.NbBastos, 0);  // a new player reloads on its first animation step
}

TEST_F(PlayerStart, SoundsLoadWithADeviceAndStayUnsetWithout) {
    player& silent = Build(0, false);
    EXPECT_FALSE(silent.Armeson || silent.Armeson3D || A::SonCourant(silent));
    for (size_t i = 0; i < 5; ++i) EXPECT_FALSE(A::Son(silent, i)) << i;
    EXPECT_EQ(silent.idson, 1);

    DSound = sound::DirectSoundCreate("");
    player& heard = Build(1, false);
    EXPECT_TRUE(heard.Armeson && heard.Armeson3D);
    for (size_t i = 0; i < 5; ++i) EXPECT_TRUE(A::Son(heard, i) && A::Son3D(heard, i)) << i;
    EXPECT_EQ(A::SonCourant(heard), A::Son(heard, 1));

    // A missing sound file only leaves its own buffer unset.
    GameFolder folder;
    std::filesystem::remove(folder.File("models/coeur.wav"));
    CheminJeu = folder.Path();
    player& deaf = Build(2, false);
    EXPECT_FALSE(A::Son(deaf, 1));
    EXPECT_TRUE(A::Son(deaf, 0) && A::Son(deaf, 2) && deaf.Armeson);
}

TEST_F(PlayerStart, DecalPicturesAreTransparentWithTheBloodSizedAndCentred) {
    player& p = Build(0, false);
    for (int32_t i = 0; i <= 10; ++i) {
        const auto& blood = A::TexSang(p)[size_t(i)];
        ASSERT_EQ(bool(blood), i >= 1 && i <= 9) << i;
        if (!blood) continue;
        EXPECT_TRUE(blood->GetDecalTransparency());
        EXPECT_EQ(blood->GetDecalTransparentColor(), 0u);
        EXPECT_EQ(blood->GetDecalWidth(), 0.5f);
        EXPECT_EQ(blood->GetDecalOriginX(), 8);
    }
    for (int32_t i = 0; i <= 4; ++i) EXPECT_EQ(bool(A::TexFlash(p)[size_t(i)]), i == 1 || i == 2) << i;
    EXPECT_TRUE(A::TexFlash(p)[2]->GetDecalTransparency());
}

TEST_F(PlayerStart, AMissingBloodPictureFailsTheStartAndKeepsTheStepsBefore) {
    GameFolder folder;
    std::filesystem::remove(folder.File("models/blood005.bmp"));
    CheminJeu = folder.Path();
    player& p = Configure(0, true);
    EXPECT_THROW(p.Initplayer(), Failure);
    ASSERT_TRUE(p.joueur);
    EXPECT_EQ(p.joueur->GetParent(), FrameJoueurs);
    EXPECT_TRUE(p.flash);
    EXPECT_TRUE(A::TexSang(p)[4]);
    EXPECT_FALSE(A::TexSang(p)[5]);
    EXPECT_FALSE(p.axe || p.cam);
    EXPECT_EQ(p.force, 0);
}

TEST_F(PlayerStart, ABodyOrWeaponIndexWithoutAModelIsAClearFailure) {
    struct Case {
        int32_t MDLid, IdArme;
        const char* named;
    };
    for (const Case& c :
         {Case{3, 0, "No player model 3"}, Case{1, 0, "No player model 1"}, Case{-1, 0, "No player model -1"},
          Case{0, 13, "No weapon model 13"}, Case{0, -2, "No weapon model -2"}}) {
        player& p = Configure(0, false);
        p.MDLid = c.MDLid;
        p.IdArme = c.IdArme;
        try {
            p.Initplayer();
            ADD_FAILURE() << c.named;
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.Number(), failure_number::SubscriptOutOfRange) << c.named;
            EXPECT_EQ(failure.Description(), c.named);
        }
        Joueurs.Clear(0);
    }
}

TEST_F(PlayerStart, DestroyEmptiesAndDetachesTheRootAndFreesTheSlot) {
    player& p = Build(1, false);
    const rm::FramePtr root = p.joueur;
    const rm::FramePtr camera = p.cam;
    const rm::FramePtr probe = p.Fleche;
    p.Destroy();
    EXPECT_EQ(root->GetChildCount(), 0);
    EXPECT_FALSE(root->GetParent());
    EXPECT_FALSE(camera->GetParent());
    EXPECT_FALSE(probe->GetParent());
    EXPECT_EQ(FrameJoueurs->GetChildCount(), 0);
    EXPECT_FALSE(p.joueur || p.cam || p.chasse || p.devant || p.Fleche);
    EXPECT_FALSE(Joueurs[1].joueur);  // how the receiver tells a free slot
}

TEST_F(PlayerStart, DestroyGoesOnPastAStepThatFails) {
    player& p = Build(1, false);
    const rm::FramePtr root = p.joueur;
    FrameJoueurs = nullptr;  // the root cannot be detached
    p.Destroy();
    EXPECT_EQ(root->GetChildCount(), 0);
    EXPECT_FALSE(p.joueur || p.cam || p.chasse || p.devant || p.Fleche);

    player empty;  // a slot never built
    empty.Destroy();
    EXPECT_FALSE(empty.joueur);
}

}  // namespace
