// The generated data set's player model loads its animation sets and animates
// two players of opposite sides.

#include "core/game_state.h"
#include "models/mdl.h"
#include "platform/rm/direct3drm.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Player {
    rm::FramePtr base, Peau, MDroite, tete;
    int32_t IdSkm = -1;
    std::string texture;
    int32_t indice = 0, IdModele = 0, Anipos = 0, AniBuste = -1;
    double fps = 0, fps2 = 0;
    bool rendu = true;
    int32_t colonne = 0;
    double pivot = 0;
};

TEST(GeneratedAnimation, PlayerModelSetsAnimateBothSides) {
    D3DRM = std::make_shared<rm::Direct3DRM>();
    CheminJeu = QUELLMAR_GAME_DIR;
    MDL body;
    body.Boite = true;
    body.Load(nullptr, "terror.qc", CheminJeu + "\\models\\", false);
    EXPECT_EQ(body.NbAni, 24);
    EXPECT_EQ(body.RenvAniText(body.RenvAnimations("crouch_idle1")), "crouch_idle1");
    EXPECT_EQ(body.RenvAniText(body.RenvAnimations("ref_aim_rifle")), "ref_aim_rifle");
    for (int32_t set = 0; set < body.NbAni; ++set) EXPECT_GT(body.RenvAniMax(set), 0) << body.RenvAniText(set);

    const rm::FramePtr scene = D3DRM->CreateFrame(nullptr);
    Player players[2];
    for (int32_t side = 0; side < 2; ++side) {
        Player& player = players[side];
        player.indice = side;
        player.IdModele = side;
        player.texture = side == 0 ? "TS01.bmp" : "GS01.bmp";
        player.base = D3DRM->CreateFrame(scene);
        player.Peau = D3DRM->CreateFrame(scene);
        body.RenvMesh(player);
        EXPECT_EQ(player.IdSkm, side);
        EXPECT_EQ(player.base->GetChildCount(), 17);
        player.Anipos = body.RenvAnimations("run");
        player.AniBuste = body.RenvAnimations("ref_aim_rifle");
    }

    for (Player& player : players) {
        const auto mesh = std::dynamic_pointer_cast<rm::Mesh>(player.Peau->GetVisual(0));
        ASSERT_TRUE(mesh);
        const std::vector<rm::MeshVertex> rest = mesh->Vertices();
        float moved = 0;
        for (double clock = 0; clock < body.RenvAniMax(player.Anipos); clock += 0.7) {
            player.fps = player.fps2 = clock;
            player.colonne = 30;
            player.pivot = 0.3;
            body.Anime(player);
            for (size_t i = 0; i < rest.size(); ++i) {
                const rm::Vector p = mesh->Vertices()[i].position;
                ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z));
                moved = std::max(moved, rm::Length(p - rest[i].position));
            }
        }
        EXPECT_GT(moved, 0.5f);
    }
}

}  // namespace
