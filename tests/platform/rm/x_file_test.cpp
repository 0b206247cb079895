#include "platform/failure.h"
#include "scene_fixture.h"

#include <QDir>
#include <QTemporaryDir>

#include <filesystem>
#include <map>

using namespace rm;
using namespace rm_test;

namespace {

const std::string kFixtures = RM_FIXTURES;

class XFiles : public testing::Test {
protected:
    Direct3DRM d3drm;
    FramePtr scene = d3drm.CreateFrame(nullptr);
    std::map<std::string, int> asked;
    TexturePtr brick = Texture::FromImage(QImage(4, 4, QImage::Format_RGB32));

    TextureCallback Callback() {
        return [this](const std::string& name) -> TexturePtr {
            ++asked[name];
            return name == "brick.bmp" ? brick : nullptr;
        };
    }
};

TEST_F(XFiles, IntoAFrameOneChildPerFileFrame) {
    d3drm.SetSearchPath("/nonexistent;" + kFixtures);
    scene->LoadFromFile("two_frames.x", Callback());
    ASSERT_EQ(scene->GetChildCount(), 2);
    const FramePtr first = scene->GetChild(0), second = scene->GetChild(1);
    EXPECT_EQ(first->GetName(), "First");
    EXPECT_EQ(second->GetName(), "Second");
    ExpectNear(first->GetPosition(scene), {10, 0, 0});
    ASSERT_EQ(first->GetChildCount(), 1);
    EXPECT_EQ(first->GetChild(0)->GetName(), "Inner");

    const auto quad = std::dynamic_pointer_cast<MeshBuilder>(first->GetVisual(0));
    ASSERT_TRUE(quad);
    ASSERT_EQ(quad->GetVertexCount(), 4);
    ExpectNear(quad->GetVertex(2), {1, 1, 0});  // in the frame's own coordinates
    float u, v;
    quad->GetTextureCoordinates(3, u, v);
    EXPECT_EQ(u, 1);
    EXPECT_EQ(v, 0.25f);
    ASSERT_EQ(quad->GetFaceCount(), 1);
    const FacePtr face = quad->GetFace(0);
    EXPECT_EQ(face->GetVertexCount(), 4);
    EXPECT_EQ(face->Corners()[1].vertex, 1);  // the file's corner order
    EXPECT_EQ(face->GetTexture(), brick);
    EXPECT_EQ(face->GetColor(), 0xFFFF0000u);
    EXPECT_EQ(face->GetMaterial()->GetPower(), 10);

    // Each name is asked for once; the one the callback does not know
    // leaves its faces untextured.
    EXPECT_EQ(asked, (std::map<std::string, int>{{"brick.bmp", 1}, {"missing.bmp", 1}}));
    const auto inner = std::dynamic_pointer_cast<MeshBuilder>(first->GetChild(0)->GetVisual(0));
    EXPECT_EQ(inner->GetFace(0)->GetTexture(), nullptr);

    // The loaded meshes are pickable where the file put them.
    PickRecord record;
    const PickArray picks = scene->RayPick(nullptr, {{0, 0, 1}, {10.2f, 0.2f, -1}});
    ASSERT_GE(picks.GetSize(), 2);
    EXPECT_EQ(picks.GetPickVisual(0, record), quad);
}

TEST_F(XFiles, IntoAMeshBuilderAllMeshesMerged) {
    d3drm.SetSearchPath(kFixtures);
    const auto builder = d3drm.CreateMeshBuilder();
    builder->LoadFromFile("\\two_frames.x", Callback());
    EXPECT_EQ(builder->GetVertexCount(), 10);
    EXPECT_EQ(builder->GetFaceCount(), 3);
    ExpectNear(builder->GetVertex(4), {10, 0, 5});  // Inner, through First's transform
    EXPECT_EQ(asked.size(), 2u);
}

TEST_F(XFiles, BinaryFilesAndMeshesWithoutMaterial) {
    scene->LoadFromFile(kFixtures + "/solo_binary.x");
    ASSERT_EQ(scene->GetChildCount(), 1);
    const FramePtr solo = scene->GetChild(0);
    EXPECT_EQ(solo->GetName(), "Solo");
    const auto mesh = std::dynamic_pointer_cast<MeshBuilder>(solo->GetVisual(0));
    ASSERT_TRUE(mesh);
    ASSERT_EQ(mesh->GetVertexCount(), 3);
    ExpectNear(mesh->GetVertex(1), {0, 1, 2});
    EXPECT_EQ(mesh->GetFace(0)->GetColor(), 0xFFFFFFFFu);
    EXPECT_EQ(mesh->GetFace(0)->GetMaterial(), nullptr);
}

TEST_F(XFiles, TexturesFromTheSearchPathWithoutACallback) {
    QTemporaryDir folder;
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(Qt::green);
    ASSERT_TRUE(picture.save(folder.filePath("brick.bmp")));
    d3drm.SetSearchPath(kFixtures + ";" + folder.path().toStdString());
    const auto builder = d3drm.CreateMeshBuilder();
    builder->LoadFromFile("two_frames.x");
    ASSERT_TRUE(builder->GetFace(0)->GetTexture());
    EXPECT_EQ(builder->GetFace(0)->GetTexture()->GetWidth(), 2);
    EXPECT_EQ(builder->GetFace(1)->GetTexture(), nullptr);  // missing.bmp
}

TEST_F(XFiles, MissingAndMalformedFilesFailAndLeaveTheBuilderAlone) {
    d3drm.SetSearchPath(kFixtures);
    const auto builder = Quad(d3drm, 0);
    EXPECT_THROW(builder->LoadFromFile("nothing.x"), Failure);
    EXPECT_THROW(builder->LoadFromFile("broken.x"), Failure);
    EXPECT_THROW(scene->LoadFromFile("broken.x"), Failure);
    EXPECT_EQ(builder->GetVertexCount(), 4);
    EXPECT_EQ(scene->GetChildCount(), 0);

    QTemporaryDir folder;
    QFile garbage(folder.filePath("garbage.x"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("xof 0303bin 0032\x01\x02\x03", 19);
    garbage.close();
    EXPECT_THROW(builder->LoadFromFile(garbage.fileName().toStdString()), Failure);
}

}  // namespace
