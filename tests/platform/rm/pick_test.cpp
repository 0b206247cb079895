#include "platform/failure.h"
#include "scene_fixture.h"

using namespace rm;
using namespace rm_test;

namespace {

class Picks : public testing::Test {
protected:
    Direct3DRM d3drm;
    FramePtr scene = d3drm.CreateFrame(nullptr);

    MeshBuilderPtr AddQuad(const FramePtr& frame, float z, const char* name, int32_t data) {
        auto builder = Quad(d3drm, z);
        builder->SetName(name);
        builder->SetAppData(data);
        frame->AddVisual(builder);
        return builder;
    }
    static std::vector<std::string> Names(const PickArray& picks) {
        std::vector<std::string> names;
        PickRecord record;
        for (int32_t i = 0; i < picks.GetSize(); ++i) names.push_back(picks.GetPickVisual(i, record)->GetName());
        return names;
    }
};

TEST_F(Picks, NearestFirstThroughAHierarchyWithTraversalOptions) {
    const FramePtr near = d3drm.CreateFrame(scene), group = d3drm.CreateFrame(scene);
    const FramePtr far = d3drm.CreateFrame(group), hidden = d3drm.CreateFrame(group);
    const FramePtr hiddenChild = d3drm.CreateFrame(hidden);
    AddQuad(group, 20, "middle", 2);
    AddQuad(far, 30, "far", 3);
    AddQuad(near, 10, "near", 1);
    AddQuad(hiddenChild, 5, "hidden", 4);
    hidden->SetTraversalOptions(traversal::Draw);  // hides its whole subtree from picks

    const Ray ray{{0, 0, 1}, {0, 0, 0}};
    EXPECT_EQ(Names(scene->RayPick(nullptr, ray)), (std::vector<std::string>{"near", "middle", "far"}));
    EXPECT_EQ(Names(group->RayPick(nullptr, ray)), (std::vector<std::string>{"middle", "far"}));

    hidden->SetTraversalOptions(traversal::Pick);
    EXPECT_EQ(Names(scene->RayPick(nullptr, ray)).front(), "hidden");
    // A ray from behind meets the faces' back sides, in the other order.
    EXPECT_EQ(Names(scene->RayPick(nullptr, {{0, 0, -1}, {0, 0, 40}})),
              (std::vector<std::string>{"far", "middle", "near", "hidden"}));
    EXPECT_EQ(scene->RayPick(nullptr, {{0, 1, 0}, {0, 0, 0}}).GetSize(), 0);
}

TEST_F(Picks, RecordGivesVisualDataAndWorldPositionThroughScaledFrames) {
    const FramePtr player = d3drm.CreateFrame(scene);
    player->AddScale(combine::Replace, 0.08f, 0.08f, 0.08f);
    player->SetPosition(nullptr, 5, 0, 0);
    const FramePtr box = d3drm.CreateFrame(player);
    box->SetPosition(player, 0, 0, 50);  // 4 world units in front
    AddQuad(box, 0, "Bip01_Head", 6);

    const FramePtr camera = d3drm.CreateFrame(scene);
    camera->SetPosition(nullptr, 5.02f, 0.03f, -1);
    const PickArray picks = scene->RayPick(camera, {{0, 0, 1}, {0, 0, 0}});
    ASSERT_EQ(picks.GetSize(), 1);
    PickRecord record;
    const VisualPtr visual = picks.GetPickVisual(0, record);
    EXPECT_EQ(visual->GetName(), "Bip01_Head");
    EXPECT_EQ(visual->GetAppData(), 6);
    ExpectNear(record.position, {5.02f, 0.03f, 4});
    EXPECT_NEAR(record.distance, 5, 1e-4);
    EXPECT_EQ(record.faceIndex, 0);
    EXPECT_THROW(picks.GetPickVisual(1, record), Failure);
}

TEST_F(Picks, PickFlagOfTheBuilderAndClonesOfDrawOnlyBoxes) {
    const FramePtr frame = d3drm.CreateFrame(scene);
    const auto original = AddQuad(frame, 10, "box", 0);
    original->Enable(enable::Render);
    const Ray ray{{0, 0, 1}, {0, 0, 0}};
    EXPECT_EQ(scene->RayPick(nullptr, ray).GetSize(), 0);

    // The per-player copy of a drawn-only hit box is what shots hit.
    const auto copy = original->Clone();
    copy->SetAppData(3);
    const FramePtr base = d3drm.CreateFrame(scene);
    base->SetTraversalOptions(traversal::Pick);
    base->AddVisual(copy);
    const PickArray picks = scene->RayPick(nullptr, ray);
    ASSERT_EQ(picks.GetSize(), 1);
    PickRecord record;
    EXPECT_EQ(picks.GetPickVisual(0, record)->GetAppData(), 3);
    EXPECT_EQ(original->GetAppData(), 0);
}

TEST_F(Picks, MeshesArePickedAtTheirCurrentVertices) {
    const auto mesh = Quad(d3drm, 10)->CreateMesh();
    const FramePtr frame = d3drm.CreateFrame(scene);
    frame->AddVisual(mesh);
    MeshVertex records[4];
    mesh->GetVertices(0, 0, 4, records);
    for (MeshVertex& v : records) v.position.z = 3;
    mesh->SetVertices(0, 0, 4, records);
    PickRecord record;
    const PickArray picks = scene->RayPick(nullptr, {{0, 0, 1}, {0, 0, 0}});
    ASSERT_EQ(picks.GetSize(), 1);
    picks.GetPickVisual(0, record);
    EXPECT_NEAR(record.position.z, 3, 1e-5);
}

TEST_F(Picks, BuilderChangesAreSeenByTheNextPickAndAZeroDirectionFails) {
    const FramePtr frame = d3drm.CreateFrame(scene);
    const auto builder = AddQuad(frame, 10, "wall", 0);
    const Ray ray{{0, 0, 1}, {0, 0, 0}};
    ASSERT_EQ(scene->RayPick(nullptr, ray).GetSize(), 1);
    builder->ScaleMesh(1, 1, 2);
    PickRecord record;
    scene->RayPick(nullptr, ray).GetPickVisual(0, record);
    EXPECT_NEAR(record.position.z, 20, 1e-4);
    builder->DeleteFace(builder->GetFace(0));
    EXPECT_EQ(scene->RayPick(nullptr, ray).GetSize(), 0);
    EXPECT_THROW(scene->RayPick(nullptr, {{0, 0, 0}, {0, 0, 0}}), Failure);
}

}  // namespace
