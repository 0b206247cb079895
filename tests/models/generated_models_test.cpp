// The generated data set's player model and thirteen weapons load.

#include "core/game_state.h"
#include "core/weapons.h"
#include "models/mdl.h"
#include "platform/rm/direct3drm.h"
#include "support/mdl_test_access.h"

#include <gtest/gtest.h>

namespace {

using A = MDLTestAccess;

class GeneratedModels : public testing::Test {
protected:
    void SetUp() override {
        D3DRM = std::make_shared<rm::Direct3DRM>();
        CheminJeu = QUELLMAR_GAME_DIR;
    }
};

TEST_F(GeneratedModels, PlayerModelLoadsWithSkeletonMeshesAndBoxes) {
    MDL body;
    body.Boite = true;
    body.Load(nullptr, "terror.qc", CheminJeu + "\\models\\", false);
    EXPECT_GT(A::NbFrames(body), 10);
    EXPECT_EQ(A::NbMeshes(body), 2);
    EXPECT_EQ(body.NbAni, 24);
    for (int32_t set = 0; set < body.NbAni; ++set) EXPECT_GT(body.RenvAniMax(set), 0) << body.RenvAniText(set);
    EXPECT_TRUE(body.Main);
    EXPECT_TRUE(body.tete);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(A::Vertebres(body)[static_cast<size_t>(i)]) << i;
    for (const MDL::SmdMesh& mesh : A::Meshes(body)) {
        EXPECT_GT(mesh.builder->GetFaceCount(), 0);
        EXPECT_GT(mesh.groups.size(), 1u);
    }
    int32_t built = 0;
    for (const MDL::HBox& box : A::HBoxes(body)) built += box.box ? 1 : 0;
    EXPECT_EQ(built, static_cast<int32_t>(A::HBoxes(body).size()));
}

TEST_F(GeneratedModels, EveryWeaponLoadsWithItsStatistics) {
    for (int32_t index = 0; index < 13; ++index) {
        MDL weapon;
        weapon.MultiMesh = true;
        weapon.Load(nullptr, NomFichierArme(index), CheminJeu + "\\weapons", true);
        SCOPED_TRACE(weapon.nom);
        EXPECT_GT(weapon.NbBastos, 0);
        EXPECT_GT(weapon.rang, 0);
        EXPECT_TRUE(weapon.Main);
        EXPECT_GE(A::NbMeshes(weapon), 1);
        int32_t faces = 0;
        for (const rm::MeshBuilderPtr& rigid : A::MeshFrames(weapon)) faces += rigid ? rigid->GetFaceCount() : 0;
        for (const MDL::SmdMesh& mesh : A::Meshes(weapon)) faces += mesh.builder->GetFaceCount();
        EXPECT_GT(faces, 0);
    }
}

}  // namespace
