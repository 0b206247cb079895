#include "core/game_state.h"
#include "model_folder.h"
#include "platform/failure.h"
#include "support/expect_near.h"
#include "support/mdl_test_access.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <filesystem>

namespace {

using A = MDLTestAccess;

// A spine of three bones, a neck, the head and a hand, each a few units
// along the file's first axis from its parent.
const char* const kSkeleton =
    "version 1\n"
    "nodes\n"
    "0 \"Bip01\" -1\n"
    "1 \"Bip01 Pelvis\" 0\n"
    "2 \"Bip01 Spine\" 1\n"
    "3 \"Bip01 Spine1\" 2\n"
    "4 \"Bip01 Spine2\" 3\n"
    "5 \"Bip01 Neck\" 4\n"
    "6 \"Bip01 Head\" 5\n"
    "7 \"Bip01 R Hand\" 4\n"
    "end\n"
    "skeleton\n"
    "time 0\n"
    "0 0 0 0 0 0 0\n"
    "1 0 0 2 0 0 0\n"
    "2 3 0 0 0 0 0\n"
    "3 3 0 0 0 0 0\n"
    "4 3 0 0 0 0 0\n"
    "5 3 0 0 0 0 0\n"
    "6 2 0 0 0 0 0\n"
    "7 1 0 4 0 0 0\n"
    "end\n"
    // One triangle on the pelvis, one spanning the head and the hand.
    "triangles\n"
    "skin.bmp\n"
    "1 0 0 0 0 0 1 0 0\n"
    "1 1 0 0 0 0 1 1 0\n"
    "1 0 1 0 0 0 1 0 1\n"
    "skin.bmp\n"
    "6 0 0 0 0 0 1 0 0\n"
    "6 1 0 0 0 0 1 1 0\n"
    "7 0 1 0 0 0 1 0 1\n"
    "end\n";

// The pelvis walks along the file's second axis and the head nods.
const char* const kWalk =
    "nodes\n0 \"Bip01\" -1\n1 \"Bip01 Pelvis\" 0\n2 \"Bip01 Head\" 1\nend\n"
    "time 0\n0 0 0 0 0 0 0\n1 0 0 2 0 0 0\n2 12 0 0 0 0 0\nend\n"
    "time 1\nend\n"
    "time 2\n0 0 0 0 0 0 0\n1 0 4 2 0 0 0\n2 12 0 0 0 0 1\nend\n"
    "time 3\nend\n"
    "time 4\n0 0 0 0 0 0 0\n1 0 0 2 0 0 0\n2 12 0 0 0 0 0\nend\n";

const char* const kModel =
    "$hbox 0 \"Bip01 Pelvis\" -1 -1 -1  1 1 1\n"
    "$hbox 0 \"Bip01 Neck\" -1 -1 -1  1 1 1\n"
    "$hbox 0 \"Bip01 Head\" -1 -1 -1  1 1 1\n"
    "$bodygroup \"body\"\n{\nstudio \"side0\"\nstudio \"side1\"\n}\n";

// The members of a player that its model instance uses.
struct TestPlayer {
    rm::FramePtr base, Peau, MDroite, tete;
    int32_t IdSkm = -7;
    std::string texture = "skin.bmp";
    int32_t indice = 3;
    int32_t IdModele = 0;
    int32_t Anipos = 0;
    int32_t AniBuste = -1;
    double fps = 0, fps2 = 0;
    bool rendu = true;
    int32_t colonne = 0;
    double pivot = 0;
};

class ModelInstance : public testing::Test {
protected:
    void SetUp() override {
        folder.Write("side0.smd", kSkeleton);
        folder.Write("side1.smd", kSkeleton);
        folder.Write("walk.smd", kWalk);
        folder.Write("m.qc", kModel);
        model.Boite = true;
        folder.Load(model, "m.qc");
        model.CreeAnim("walk", 0);
        scene = rm::Frame::Create(nullptr);
    }

    TestPlayer& NewPlayer() {
        TestPlayer& player = players.emplace_back();
        player.base = rm::Frame::Create(scene);
        player.Peau = rm::Frame::Create(scene);
        return player;
    }

    std::vector<rm::MeshVertex> SkinOf(const TestPlayer& player) {
        const auto mesh = std::dynamic_pointer_cast<rm::Mesh>(player.Peau->GetVisual(0));
        return mesh->Vertices();
    }

    rm::FramePtr Bone(const char* name) { return model.ChercheFrames(name); }

    // The child of `base` carrying the box copy of `bone`.
    rm::FramePtr BoxFrame(const TestPlayer& player, const std::string& bone) {
        for (int32_t i = 0; i < player.base->GetChildCount(); ++i) {
            const rm::FramePtr& child = player.base->GetChild(i);
            if (child->GetVisualCount() > 0 && child->GetVisual(0)->GetName() == bone) return child;
        }
        return nullptr;
    }

    ModelFolder folder;
    MDL model;
    rm::FramePtr scene;
    std::deque<TestPlayer> players;
};

TEST_F(ModelInstance, BoxCopiesNameTheirPlayerAndBoneAndFollowTheBonesWhenHit) {
    TestPlayer& player = NewPlayer();
    model.RenvMesh(player);
    ASSERT_EQ(player.base->GetChildCount(), 3);
    player.fps = 2;
    model.Anime(player);

    const rm::FramePtr pelvis = BoxFrame(player, "Bip01_Pelvis");
    ASSERT_TRUE(pelvis);
    EXPECT_EQ(pelvis->GetVisual(0)->GetAppData(), player.indice);
    ExpectNear(pelvis->GetTransform(player.base), Bone("Bip01_Pelvis")->GetTransform(model.sol));
    // The box of the bone before the head serves as the head frame and sits
    // on the head; the head keeps its own box.
    EXPECT_EQ(player.tete, BoxFrame(player, "Bip01_Neck"));
    ExpectNear(player.tete->GetTransform(player.base), Bone("Bip01_Head")->GetTransform(model.sol));
    ExpectNear(BoxFrame(player, "Bip01_Head")->GetTransform(player.base), Bone("Bip01_Head")->GetTransform(model.sol));
    ExpectNear(player.MDroite->GetTransform(player.Peau), Bone("Bip01_R_Hand")->GetTransform(model.sol));

    // A shot at the pelvis box finds the copy, which tells player and bone.
    const rm::Vector at = pelvis->GetPosition(scene);
    const rm::PickArray hits = scene->RayPick(scene, {{0, 0, 1}, {at.x, at.y, at.z - 50}});
    ASSERT_GT(hits.GetSize(), 0);
    rm::PickRecord record;
    const rm::VisualPtr hit = hits.GetPickVisual(0, record);
    EXPECT_EQ(hit->GetName(), "Bip01_Pelvis");
    EXPECT_EQ(hit->GetAppData(), player.indice);
}

TEST_F(ModelInstance, SkinnedVerticesFollowTheirBonesAtEachClock) {
    TestPlayer& player = NewPlayer();
    model.RenvMesh(player);
    EXPECT_EQ(player.IdSkm, 0);
    EXPECT_EQ(player.base->GetAppData(), 0);
    const MDL::SmdMesh& mesh = A::Meshes(model)[0];
    ASSERT_GT(mesh.groups.size(), 1u);

    std::vector<rm::Vector> heads;
    for (double clock : {0.0, 2.0}) {
        player.fps = clock;
        model.Anime(player);
        const std::vector<rm::MeshVertex> skin = SkinOf(player);
        for (const MDL::BoneGroup& group : mesh.groups)
            for (size_t k = 0; k < group.vertices.size(); ++k)
                ExpectNear(skin[size_t(group.vertices[k])].position,
                           TransformPoint(group.positions[k], group.bone->WorldTransform()));
        heads.push_back(Bone("Bip01_Head")->GetPosition(model.sol));
    }
    EXPECT_GT(rm::Length(heads[1] - heads[0]), 1.f);
}

TEST_F(ModelInstance, EachPlayerKeepsItsOwnSkinAndPose) {
    const auto picture = [&](const char* name, Qt::GlobalColor colour) {
        QImage image(2, 2, QImage::Format_RGB32);
        image.fill(colour);
        image.save(QString::fromStdString(folder.Path() + "/models/" + name), "BMP");
    };
    std::filesystem::create_directories(folder.Path() + "/models");
    picture("red.bmp", Qt::red);
    picture("blue.bmp", Qt::blue);
    TestPlayer& red = NewPlayer();
    red.texture = "red.bmp";
    TestPlayer& blue = NewPlayer();
    blue.texture = "blue.bmp";
    model.RenvMesh(red);
    model.RenvMesh(blue);
    EXPECT_EQ(red.IdSkm, 0);
    EXPECT_EQ(blue.IdSkm, 1);
    EXPECT_EQ(A::Meshes(model)[0].users, 2);

    const auto colour = [](const TestPlayer& player) {
        const auto mesh = std::dynamic_pointer_cast<rm::Mesh>(player.Peau->GetVisual(0));
        return mesh->Batches().front().texture->Picture().pixelColor(0, 0);
    };
    EXPECT_EQ(colour(red), QColor(Qt::red));
    EXPECT_EQ(colour(blue), QColor(Qt::blue));

    red.fps = 0;
    model.Anime(red);
    const std::vector<rm::MeshVertex> redSkin = SkinOf(red);
    blue.fps = 2;
    model.Anime(blue);
    ExpectNear(SkinOf(red).front().position, redSkin.front().position);
    EXPECT_NEAR(rm::Length(SkinOf(blue).front().position - redSkin.front().position), 4, 1e-4);
}

TEST_F(ModelInstance, UnmarkedPlayersPoseTheSkeletonOnly) {
    TestPlayer& player = NewPlayer();
    model.RenvMesh(player);
    model.Anime(player);
    const rm::Matrix4 box = BoxFrame(player, "Bip01_Pelvis")->LocalTransform();
    const rm::Vector skin = SkinOf(player).front().position;
    const rm::Vector pelvis = Bone("Bip01_Pelvis")->GetPosition(model.sol);

    player.rendu = false;
    player.fps = 2;
    player.colonne = 90;
    model.Anime(player);
    ExpectNear(BoxFrame(player, "Bip01_Pelvis")->LocalTransform(), box);
    ExpectNear(SkinOf(player).front().position, skin);
    EXPECT_NEAR(rm::Length(Bone("Bip01_Pelvis")->GetPosition(model.sol) - pelvis), 4, 1e-4);
}

TEST_F(ModelInstance, TwistTurnsEachSpineBoneAboutItsOwnUpAxis) {
    TestPlayer& player = NewPlayer();
    model.RenvMesh(player);
    const auto& spine = A::Vertebres(model);
    std::vector<rm::Matrix4> posed;
    for (size_t v = 0; v < 3; ++v) posed.push_back(spine[v]->LocalTransform());

    player.colonne = 0;
    model.Anime(player);
    for (size_t v = 0; v < 3; ++v) ExpectNear(spine[v]->LocalTransform(), posed[v]);

    // The spine bones carry no keys, so the turns add up from one tick to the
    // next; start again from the rest pose.
    for (size_t v = 0; v < 3; ++v) spine[v]->AddTransform(rm::combine::Replace, posed[v]);
    player.colonne = 90;
    model.Anime(player);
    for (size_t v = 0; v < 3; ++v) {
        SCOPED_TRACE(v);
        ExpectNear(Row(spine[v]->LocalTransform(), 2), Row(posed[v], 0));
        ExpectNear(Row(spine[v]->LocalTransform(), 1), Row(posed[v], 1));
    }
}

TEST_F(ModelInstance, BoxModeGivesBoxesHandAndHeadButNoSkin) {
    ModeBox = true;
    TestPlayer& player = NewPlayer();
    model.RenvMesh(player);
    EXPECT_EQ(player.base->GetChildCount(), 3);
    EXPECT_TRUE(player.MDroite);
    EXPECT_TRUE(player.tete);
    EXPECT_EQ(player.Peau->GetVisualCount(), 0);
    EXPECT_EQ(player.IdSkm, -7);
    EXPECT_TRUE(A::Skm(model).empty());
    player.rendu = false;
    player.fps = 2;
    model.Anime(player);
    ExpectNear(BoxFrame(player, "Bip01_Pelvis")->GetTransform(player.base),
               Bone("Bip01_Pelvis")->GetTransform(model.sol));
}

TEST_F(ModelInstance, AnyTeamButTheFirstWearsTheSecondMesh) {
    for (int32_t team : {1, 2, 7, -1}) {
        TestPlayer& player = NewPlayer();
        player.IdModele = team;
        model.RenvMesh(player);
        EXPECT_EQ(A::Skm(model).back().meshNumber, 1) << team;
        model.Anime(player);
    }
    // An instance is skinned only from the mesh it was made of.
    EXPECT_THROW(model.AnimeMultiVertex(0, 0), Failure);
}

TEST_F(ModelInstance, SetNumbersOutsideTheLoadedSetsPoseNothing) {
    TestPlayer& player = NewPlayer();
    model.RenvMesh(player);
    model.Anime(player);
    const rm::Vector skin = SkinOf(player).front().position;
    for (const auto& [legs, torso] : {std::pair{1, -1}, {-2, -1}, {0, 1}, {0, -3}}) {
        player.Anipos = legs;
        player.AniBuste = torso;
        player.fps = 2;
        EXPECT_NO_THROW(model.Anime(player));
        ExpectNear(SkinOf(player).front().position, skin);
    }
}

TEST_F(ModelInstance, WithoutABoxBeforeTheHeadANewHeadFrameTakesTheBoneAfterIt) {
    MDL bare;
    bare.Boite = true;
    folder.Write("bare.qc",
                 "$hbox 0 \"Bip01 Pelvis\" -1 -1 -1  1 1 1\n"
                 "$hbox 0 \"Bip01 Head\" -1 -1 -1  1 1 1\n"
                 "$bodygroup \"body\"\n{\nstudio \"side0\"\n}\n");
    folder.Load(bare, "bare.qc");
    bare.CreeAnim("walk", 0);
    TestPlayer& player = NewPlayer();
    bare.RenvMesh(player);
    ASSERT_EQ(player.base->GetChildCount(), 3);
    EXPECT_EQ(player.tete->GetVisualCount(), 0);
    EXPECT_EQ(player.tete->GetAppData(), 7);
    player.fps = 2;
    bare.Anime(player);
    // Numbered after the head (1-based) but placed by that number read as
    // 0-based: the bone that follows the head, here the hand.
    ExpectNear(player.tete->GetTransform(player.base), bare.ChercheFrames("Bip01_R_Hand")->GetTransform(bare.sol));
}

TEST_F(ModelInstance, AMissingSkinKeepsTheTextureTheSharedBuilderHad) {
    const rm::TexturePtr before = A::Meshes(model)[0].builder->GetTexture();
    TestPlayer& player = NewPlayer();
    player.texture = "absent.bmp";
    model.RenvMesh(player);
    EXPECT_EQ(A::Meshes(model)[0].builder->GetTexture(), before);
    EXPECT_EQ(player.IdSkm, 0);
}

TEST_F(ModelInstance, TheTorsoSetOverridesTheLegsSetOnTheUpperBody) {
    const std::string nodes = "nodes\n0 \"Bip01\" -1\n1 \"Bip01 Pelvis\" 0\n2 \"Bip01 Spine\" 1\nend\n";
    folder.Write("straight.smd", nodes + "time 0\n0 0 0 0 0 0 0\n2 3 0 0 0 0 0\nend\n");
    folder.Write("lean_blend.smd", nodes + "time 0\n0 0 0 0 0 0 0\n2 3 0 0 0 0 0.5\nend\n");
    model.CreeAnim("straight", 0);
    model.CreeAnim("lean_blend", 0);
    TestPlayer& player = NewPlayer();
    model.RenvMesh(player);
    player.rendu = false;
    player.Anipos = model.RenvAnimations("straight");
    const rm::FramePtr spine = Bone("Bip01_Spine");

    player.AniBuste = model.RenvAnimations("lean");
    model.Anime(player);
    EXPECT_NEAR(std::fabs(spine->LocalTransform().m[0][1]), std::sin(0.5f), 1e-4);
    player.AniBuste = -1;
    model.Anime(player);
    EXPECT_NEAR(spine->LocalTransform().m[0][1], 0, 1e-4);
}

}  // namespace
