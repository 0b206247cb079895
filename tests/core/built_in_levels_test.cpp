#include "core/built_in_levels.h"
#include "core/game_state.h"
#include "core/game_window.h"
#include "core/logos.h"
#include "game_folder.h"
#include "support/expect_near.h"
#include "support/file_bytes.h"

#include "platform/failure.h"
#include "platform/rm/rm.h"

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>
#include <fstream>
#include <numbers>
#include <vector>

namespace {

using FramePtr = std::shared_ptr<rm::Frame>;

// The expected positions are written to four decimals.
constexpr float kTolerance = 1e-3f;

class BuiltInLevels : public testing::Test {
protected:
    void SetUp() override { MakeLevelFrames(folder_); }
    void TearDown() override { GameWindow().Unload(); }
    GameFolder folder_;
};

TEST(BuiltInLevelNames, AreComparedExactly) {
    EXPECT_TRUE(EstNiveauInterne("couloirs"));
    EXPECT_TRUE(EstNiveauInterne("entrepot"));
    for (const char* other : {"Couloirs", "Entrepot", "couloirs ", "", "de_dust"})
        EXPECT_FALSE(EstNiveauInterne(other)) << other;
}

TEST_F(BuiltInLevels, CorridorsAreTwoCopiesWithHiddenCollisionMeshes) {
    ChargeCouloirs();
    EXPECT_EQ(SeuilSol, 5.0);
    ASSERT_EQ(FrameMonde->Lights().size(), 1u);
    EXPECT_EQ(FrameMonde->Lights()[0]->GetType(), rm::light_type::Ambient);
    EXPECT_FLOAT_EQ(FrameMonde->Lights()[0]->GetColor().r, 0.8f);

    struct Expected {
        FramePtr frame, parent;
        std::shared_ptr<rm::MeshBuilder> mesh;
        const char* name;
    };
    for (const Expected& e : std::vector<Expected>{{FrameSol1, FrameSols, MeshSol, "sol"},
                                                   {FrameMur1, FrameMurs, MeshMur, "mur"},
                                                   {FramePlafond1, FramePlafonds, MeshPlafond, " plafond"},
                                                   {FrameSol2, FrameSols, MeshSol2, "sol2"},
                                                   {FrameMur2, FrameMurs, MeshMur2, "mur2"},
                                                   {FramePlafond2, FramePlafonds, MeshPlafond2, " plafond2"}}) {
        ASSERT_TRUE(e.frame) << e.name;
        EXPECT_EQ(e.frame->GetParent(), e.parent) << e.name;
        ASSERT_EQ(e.frame->GetVisualCount(), 1) << e.name;
        EXPECT_EQ(e.frame->GetVisual(0), e.mesh) << e.name;
        EXPECT_EQ(e.mesh->GetName(), e.name);
        EXPECT_GT(e.mesh->GetFaceCount(), 0) << e.name;
        EXPECT_EQ(e.frame->GetTraversalOptions(), 0) << e.name;
    }
    for (const FramePtr& level : {FrameSols, FrameMurs, FramePlafonds}) EXPECT_EQ(level->GetTraversalOptions(), 3);

    for (int copy = 0; copy < 2; ++copy) {
        const FramePtr& frame = copy == 0 ? FrameCouloir1 : FrameCouloir2;
        EXPECT_EQ(frame->GetTraversalOptions(), 1);
        ASSERT_EQ(frame->GetVisualCount(), 2);
        EXPECT_EQ(frame->GetVisual(0), MeshCouloirs[copy]);
        EXPECT_EQ(frame->GetVisual(1), MeshEscaliers[copy]);
        EXPECT_GT(MeshCouloirs[copy]->GetFaceCount(), 0);
        EXPECT_GT(MeshEscaliers[copy]->GetFaceCount(), 0);
    }

    // The second copy: half a turn about y, then moved, relative to the first.
    const rm::Matrix4 second = FrameCouloir2->GetTransform(FrameCouloir1);
    ExpectNear(rm::TransformPoint({0, 0, 0}, second), {69.9762f, 0, -399.9594f}, kTolerance);
    ExpectNear(rm::TransformPoint({1, 0, 0}, second), {68.9762f, 0, -399.9594f}, kTolerance);
    ExpectNear(rm::TransformPoint({0, 0, 1}, second), {69.9762f, 0, -400.9594f}, kTolerance);
    for (const FramePtr& collision : {FrameSol2, FrameMur2, FramePlafond2})
        for (rm::Vector p : {rm::Vector{0, 0, 0}, rm::Vector{3, 5, 7}})
            ExpectNear(rm::TransformPoint(p, collision->WorldTransform()),
                       rm::TransformPoint(p, FrameCouloir2->WorldTransform()), kTolerance);
}

TEST_F(BuiltInLevels, AMissingCollisionMeshLeavesItEmptyAndTheRestBuilt) {
    std::filesystem::remove(folder_.File("media/sol.x"));
    ChargeCouloirs();
    EXPECT_EQ(MeshSol->GetFaceCount(), 0);
    EXPECT_EQ(MeshSol2->GetFaceCount(), 0);
    EXPECT_GT(MeshMur->GetFaceCount(), 0);
    EXPECT_GT(MeshPlafond2->GetFaceCount(), 0);
    EXPECT_EQ(FrameSol1->GetTraversalOptions(), 0);
}

TEST_F(BuiltInLevels, TheWarehouseIsScaledAndLitByAPointLightUnderTheWalls) {
    ChargeEntrepot();
    EXPECT_EQ(SeuilSol, 5.0);
    ASSERT_EQ(FrameMonde->Lights().size(), 1u);
    EXPECT_FLOAT_EQ(FrameMonde->Lights()[0]->GetColor().g, 0.4f);

    for (const FramePtr& level : {FrameSols, FrameMurs, FramePlafonds}) {
        const FramePtr first = level->GetChild(0);
        ExpectNear(rm::TransformPoint({10, 20, 30}, first->LocalTransform()), {1, 2, 3}, kTolerance);
        EXPECT_GT(first->GetHierarchyBox().max.x, 0);
        // The shared material goes to this frame's own meshes.
        EXPECT_GT(first->GetVisualCount(), 0);
    }

    // The point light hangs under the walls, not under the camera.
    FramePtr lightFrame;
    for (int32_t i = 0; i < FrameMurs->GetChildCount(); ++i)
        if (!FrameMurs->GetChild(i)->Lights().empty()) lightFrame = FrameMurs->GetChild(i);
    ASSERT_TRUE(lightFrame);
    EXPECT_EQ(lightFrame->Lights()[0]->GetType(), rm::light_type::Point);
    EXPECT_FLOAT_EQ(lightFrame->Lights()[0]->GetColor().b, 0.7f);
    ExpectNear(lightFrame->GetPosition(FrameMurs), {-56.72978f, 15.63949f, -0.2641987f}, kTolerance);
    EXPECT_EQ(FrameCouloir1->GetVisualCount() + FrameCouloir2->GetVisualCount(), 0);
    EXPECT_FALSE(FrameEchelles);
}

TEST_F(BuiltInLevels, TheMaterialGoesToEveryMeshOfEachLevelFramesFirstChild) {
    for (const FramePtr& level : {FrameSols, FrameMurs, FramePlafonds}) {
        const FramePtr first = D3DRM->CreateFrame(level);
        for (int i = 0; i < 2; ++i) {
            auto mesh = D3DRM->CreateMeshBuilder();
            mesh->SetColorRGB(0.5f, 0, 0);
            mesh->CreateFace();
            first->AddVisual(mesh);
        }
    }
    AppliqueMateriau();

    std::shared_ptr<rm::Material> shared;
    for (const FramePtr& level : {FrameSols, FrameMurs, FramePlafonds}) {
        const FramePtr first = level->GetChild(0);
        for (int32_t i = 0; i < first->GetVisualCount(); ++i) {
            auto mesh = std::dynamic_pointer_cast<rm::MeshBuilder>(first->GetVisual(i));
            EXPECT_EQ(mesh->GetColor(), rm::CreateColorRGB(1, 1, 1));
            const auto& material = mesh->GetFace(0)->GetMaterial();
            ASSERT_TRUE(material);
            if (!shared) shared = material;
            EXPECT_EQ(material, shared);
        }
    }
    EXPECT_EQ(shared->GetPower(), 10);
    EXPECT_FLOAT_EQ(shared->GetAmbient().r, 0.2f);
    EXPECT_FLOAT_EQ(shared->GetEmissive().r, 0);
    EXPECT_FLOAT_EQ(shared->GetSpecular().b, 0.3f);
}

TEST_F(BuiltInLevels, AMissingWarehouseMeshIsAFailure) {
    std::filesystem::remove(folder_.File("media/lesmurs.x"));
    EXPECT_THROW(ChargeEntrepot(), Failure);
}

TEST_F(BuiltInLevels, LogosAreRewrittenFromTheGameWindowAndAFailedWriteKeepsTheOldPicture) {
    Form1& window = GameWindow();
    const std::string logo4 = folder_.File("media/logo4.bmp");
    SauveLogos(1);
    EXPECT_EQ(QImage(QString::fromStdString(logo4)).convertToFormat(QImage::Format_RGB32),
              window.Image5.Picture().Image().convertToFormat(QImage::Format_RGB32));
    SauveLogos(0);
    EXPECT_EQ(QImage(QString::fromStdString(logo4)).convertToFormat(QImage::Format_RGB32),
              window.Image4.Picture().Image().convertToFormat(QImage::Format_RGB32));

    // A write that cannot be made (here the new file's place is taken).
    const std::string logo2 = folder_.File("media/logo2.bmp");
    std::ofstream(logo2, std::ios::binary) << "old picture";
    std::filesystem::create_directory(logo2 + ".new");
    SauveLogos(1);
    EXPECT_EQ(FileBytes(logo2), "old picture");
    EXPECT_EQ(QImage(QString::fromStdString(logo4)).convertToFormat(QImage::Format_RGB32),
              window.Image5.Picture().Image().convertToFormat(QImage::Format_RGB32));
}

}  // namespace
