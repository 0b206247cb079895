#include "platform/failure.h"
#include "scene_fixture.h"

using namespace rm;
using namespace rm_test;

namespace {

TEST(MeshBuilders, FacesVerticesAndIndexChecks) {
    Direct3DRM d3drm;
    const auto builder = d3drm.CreateMeshBuilder();
    EXPECT_EQ(builder->AddVertex(0, 0, 0), 0);
    EXPECT_EQ(builder->AddVertex(0, 1, 0), 1);
    EXPECT_EQ(builder->AddVertex(1, 0, 0), 2);
    EXPECT_EQ(builder->AddNormal(0, 0, -1), 0);
    const auto face = builder->CreateFace();
    for (int32_t i = 0; i < 3; ++i) face->AddVertexAndNormalIndexed(i, 0);
    EXPECT_THROW(face->AddVertexAndNormalIndexed(3, 0), Failure);
    EXPECT_THROW(face->AddVertexAndNormalIndexed(0, 1), Failure);
    EXPECT_THROW(builder->GetVertex(3), Failure);
    EXPECT_THROW(builder->GetFace(1), Failure);
    EXPECT_THROW(builder->SetTextureCoordinates(-1, 0, 0), Failure);

    builder->SetTextureCoordinates(2, 0.5f, 2.5f);
    float u, v;
    builder->GetTextureCoordinates(2, u, v);
    EXPECT_EQ(u, 0.5f);
    EXPECT_EQ(v, 2.5f);
    builder->ScaleMesh(2, 3, 4);
    ExpectNear(builder->GetVertex(1), {0, 3, 0});
    builder->DeleteFace(face);
    EXPECT_EQ(builder->GetFaceCount(), 0);
    EXPECT_THROW(builder->DeleteFace(face), Failure);
    EXPECT_THROW(face->AddVertex(0, 0, 0), Failure);  // a deleted face belongs to no builder
}

TEST(MeshBuilders, GeneratedNormalsFaceTheClockwiseSide) {
    Direct3DRM d3drm;
    // Two quads meeting at a right angle along x = 1.
    const auto builder = Quad(d3drm, 0);
    const auto side = builder->CreateFace();
    for (int32_t i : {3, 2}) side->AddVertexAndNormalIndexed(i, -1);
    side->AddVertex(1, 1, 2);
    side->AddVertex(1, -1, 2);

    builder->GenerateNormals(1.0f, 2);  // crease: the corners at the fold stay sharp
    ExpectNear(builder->GetNormal(builder->GetFace(0)->Corners()[2].normal), {0, 0, -1});
    ExpectNear(builder->GetNormal(builder->GetFace(1)->Corners()[0].normal), {1, 0, 0});

    builder->GenerateNormals(1.0f, 1);  // one smooth normal per vertex
    const float k = std::sqrt(0.5f);
    ExpectNear(builder->GetNormal(builder->GetFace(0)->Corners()[2].normal), {k, 0, -k});
    ExpectNear(builder->GetNormal(0), {0, 0, -1});
}

TEST(MeshBuilders, CloneAndMeshKeepWhatTheyWereMadeWith) {
    Direct3DRM d3drm;
    const auto builder = Quad(d3drm, 0);
    const auto skin = Texture::FromImage(QImage(2, 2, QImage::Format_RGB32));
    const auto material = d3drm.CreateMaterial(10);
    builder->SetTexture(skin);
    builder->SetMaterial(material);
    builder->SetColorRGB(1, 0, 0);
    builder->SetName("box");
    builder->Enable(enable::Render);

    const auto copy = builder->Clone();
    copy->SetName("Bip01_Head");
    copy->SetAppData(2);
    EXPECT_EQ(builder->GetName(), "box");
    EXPECT_EQ(copy->GetEnable(), enable::Render | enable::Pick);
    EXPECT_EQ(copy->GetFace(0)->GetTexture(), skin);
    copy->ScaleMesh(2, 2, 2);
    ExpectNear(builder->GetVertex(0), {-1, -1, 0});

    const auto mesh = builder->CreateMesh();
    builder->SetTexture(nullptr);
    ASSERT_EQ(mesh->GetGroupVertexCount(0), builder->GetVertexCount());
    ASSERT_EQ(mesh->Batches().size(), 1u);
    EXPECT_EQ(mesh->Batches()[0].texture, skin);
    EXPECT_EQ(mesh->Batches()[0].material, material);
    std::vector<MeshVertex> records(4);
    mesh->GetVertices(0, 0, 4, records.data());
    for (int32_t i = 0; i < 4; ++i) ExpectNear(records[i].position, builder->GetVertex(i));
    EXPECT_EQ(records[0].color, 0xFFFF0000u);
    records[1].position = {7, 8, 9};
    mesh->SetVertices(0, 1, 1, &records[1]);
    MeshVertex back;
    mesh->GetVertices(0, 1, 1, &back);
    ExpectNear(back.position, {7, 8, 9});
    EXPECT_THROW(mesh->GetVertices(0, 2, 3, records.data()), Failure);
    EXPECT_THROW(mesh->SetVertices(1, 0, 1, records.data()), Failure);
}

}  // namespace
