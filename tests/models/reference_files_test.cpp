#include "model_folder.h"

#include "core/quaternions.h"
#include "platform/failure.h"
#include "support/cpu_seconds.h"
#include "support/expect_near.h"
#include "support/mdl_test_access.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using A = MDLTestAccess;

// Three levels: a root at the origin, a pelvis and a spine, with their node
// indexes written out of order (they are not read).
const char* const kSkeleton =
    "version 1\n"
    "nodes\n"
    "0 \"Bip01\" -1\n"
    "7 \"Bip01 Spine\" 0\n"
    "5 \"Bip01 R-Hand\" 1\n"
    "  end  \n"
    "skeleton\n"
    "time 0\n"
    "0 0 0 0 0 0 0\n"
    "1 1 2 3 0 0 1.5707963\n"
    "2 0.5 0 0 0 0 0\n"
    "end\n";

std::string WithTriangles(const std::string& triangles) {
    return std::string(kSkeleton) + "triangles\n" + triangles + "end\n";
}

class ReferenceFiles : public testing::Test {
protected:
    // Loads a model whose body group names the given reference files.
    void LoadModel(MDL& model, std::initializer_list<const char*> files) {
        std::string qc = "$bodygroup \"b\"\n{\n";
        for (const char* file : files) qc += std::string("studio \"") + file + "\"\n";
        folder.Write("m.qc", qc + "}\n");
        folder.Load(model, "m.qc");
    }

    ModelFolder folder;
};

TEST_F(ReferenceFiles, NodeBlockBuildsTheSkeletonInListedOrder) {
    folder.Write("ref.smd", kSkeleton);
    MDL model;
    LoadModel(model, {"ref"});
    auto& frames = A::Frames(model);
    ASSERT_EQ(A::NbFrames(model), 3);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0]->GetName(), "Bip01");
    EXPECT_EQ(frames[1]->GetName(), "Bip01_Spine");
    EXPECT_EQ(frames[2]->GetName(), "Bip01_RDHand");
    EXPECT_EQ(frames[0]->GetParent(), model.Mere);
    EXPECT_EQ(frames[1]->GetParent(), frames[0]);
    EXPECT_EQ(frames[2]->GetParent(), frames[1]);
    EXPECT_EQ(A::Parents(model), (std::vector<int32_t>{-1, 0, 1}));
    for (int32_t i = 0; i < 3; ++i) EXPECT_EQ(frames[static_cast<size_t>(i)]->GetAppData(), i + 1);
    EXPECT_EQ(A::Vertebres(model)[0], frames[1]);
    EXPECT_FALSE(model.Main) << "Bip01_RDHand is not the hand";
    EXPECT_EQ(A::MeshFrames(model).size(), 3u);

    EXPECT_EQ(model.ChercheFrames("Bip01_Spine"), frames[1]);
    EXPECT_FALSE(model.ChercheFrames("bip01_spine"));
    EXPECT_EQ(model.RenvoieFrame("Bip01", 2), frames[0]);
    EXPECT_EQ(model.RenvoieFrame("", 2), frames[2]);
    EXPECT_FALSE(model.RenvoieFrame("", 3));
    EXPECT_FALSE(model.RenvoieFrame("", -1));
}

TEST_F(ReferenceFiles, RestPoseExchangesTheFirstTwoCoordinates) {
    folder.Write("ref.smd", kSkeleton);
    MDL model;
    LoadModel(model, {"ref"});
    auto& frames = A::Frames(model);
    ExpectNear(frames[1]->GetPosition(frames[0]), {2, 1, 3});
    ExpectNear(frames[2]->GetPosition(frames[1]), {0, 0.5f, 0});
    // The spine turns a quarter about z; its child's offset turns with it.
    const rm::Matrix4 expected = rm::QuaternionMatrix(QuatEuler({0, 0, 1.5707963f}));
    const rm::Matrix4 got = frames[1]->GetTransform(frames[0]);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) EXPECT_NEAR(got.m[r][c], expected.m[r][c], 1e-5);
}

TEST_F(ReferenceFiles, SecondFileKeepsTheSkeletonPosesItAgainAndAddsAMesh) {
    folder.Write("ref.smd", WithTriangles("skin.bmp\n0 0 0 0 0 0 1 0 0\n0 1 0 0 0 0 1 1 0\n0 0 1 0 0 0 1 0 1\n"));
    folder.Write("second.smd",
                 "nodes\n0 \"Other\" -1\nend\ntime 0\n1 0 0 9 0 0 0\nend\n"
                 "triangles\nskin.bmp\n1 0 0 0 0 0 1 0 0\n1 1 0 0 0 0 1 1 0\n1 0 1 0 0 0 1 0 1\nend\n");
    MDL model;
    LoadModel(model, {"ref", "second"});
    EXPECT_EQ(A::NbFrames(model), 3);
    EXPECT_FALSE(model.ChercheFrames("Other"));
    ExpectNear(A::Frames(model)[1]->GetPosition(A::Frames(model)[0]), {0, 0, 9});
    ASSERT_EQ(A::NbMeshes(model), 2);
    EXPECT_EQ(A::Meshes(model)[1].builder->GetFaceCount(), 1);
}

TEST_F(ReferenceFiles, OneBoneMeshHangsRigidlyOnItsBone) {
    // Two triangles sharing an edge on the root (at the origin, unturned):
    // the file's x 1.5 and y 2 lie at (2, 1.5) in the bone's axes.
    folder.Write("ref.smd", WithTriangles("skin.bmp\n"
                                          "0 1.5 2 3 0 0 1 0.25 0.5\n"
                                          "0 0 0 0 0 0 1 0 0\n"
                                          "0 1 0 0 0 0 1 1 0\n"
                                          "skin.bmp\n"
                                          "0 1 0 0 0 0 1 1 0\n"
                                          "0 0 0 0 0 1 0 0 0\n"
                                          "0 0 1 0 0 0 1 0 1\n"));
    MDL model;
    LoadModel(model, {"ref"});
    ASSERT_EQ(A::Meshes(model).size(), 1u);
    const MDL::SmdMesh& mesh = A::Meshes(model)[0];
    ASSERT_EQ(mesh.groups.size(), 1u);
    EXPECT_EQ(mesh.groups[0].bone, A::Frames(model)[0]);
    ASSERT_EQ(A::Frames(model)[0]->GetVisualCount(), 1);
    EXPECT_EQ(A::Frames(model)[0]->GetVisual(0), mesh.builder);
    EXPECT_EQ(model.sol->GetVisualCount(), 0);

    const rm::MeshBuilder& builder = *mesh.builder;
    // Equal position and texture coordinates share a vertex, whose first
    // normal stays; the file's order is reversed on the face.
    ASSERT_EQ(builder.GetVertexCount(), 4);
    ASSERT_EQ(builder.GetFaceCount(), 2);
    const auto& first = builder.GetFace(0)->Corners();
    ExpectNear(builder.GetVertex(first[2].vertex), {2, 1.5f, 3});
    float u = 0, v = 0;
    builder.GetTextureCoordinates(first[2].vertex, u, v);
    EXPECT_EQ(u, 0.25f);
    EXPECT_EQ(v, -0.5f);
    EXPECT_EQ(builder.GetFace(1)->Corners()[1].vertex, first[1].vertex);
    ExpectNear(builder.GetNormal(first[1].vertex), {0, 0, 1});
    // The same texture line again reuses material and picture.
    EXPECT_EQ(builder.GetFace(0)->GetMaterial(), builder.GetFace(1)->GetMaterial());
    EXPECT_EQ(builder.GetFace(0)->GetTexture(), builder.GetFace(1)->GetTexture());
    EXPECT_EQ(builder.GetFace(0)->GetMaterial()->GetName(), "v1");
    EXPECT_EQ(builder.GetFace(0)->GetMaterial()->GetEmissive().r, 0.5f);
}

TEST_F(ReferenceFiles, VerticesOnSeveralBonesMakeASkinnedPickMesh) {
    folder.Write("ref.smd", WithTriangles("skin.bmp\n"
                                          "0 0 0 0 0 0 1 0 0\n"
                                          "1 1 2 3 0 0 1 1 0\n"
                                          "1 0 0 1 0 0 1 0 1\n"
                                          "other.bmp\n"
                                          "0 0 0 0 0 0 1 0 0\n"
                                          "2 5 5 5 0 0 1 1 0\n"
                                          "0 0 0 7 0 0 1 0 1\n"));
    MDL model;
    LoadModel(model, {"ref"});
    const MDL::SmdMesh& mesh = A::Meshes(model)[0];
    ASSERT_EQ(mesh.groups.size(), 3u);
    // Groups in the order their bones first appear, reading the file's
    // vertices last to first.
    EXPECT_EQ(mesh.groups[0].bone, A::Frames(model)[1]);
    EXPECT_EQ(mesh.groups[1].bone, A::Frames(model)[0]);
    EXPECT_EQ(mesh.groups[2].bone, A::Frames(model)[2]);
    EXPECT_EQ(mesh.groups[1].vertices, (std::vector<int32_t>{2, 3}));
    // The vertex at the spine's own place is at its origin in its axes.
    ASSERT_EQ(mesh.groups[0].positions.size(), 2u);
    ExpectNear(mesh.groups[0].positions[1], {0, 0, 0});
    EXPECT_EQ(mesh.builder->GetEnable(), rm::enable::Pick);
    ASSERT_EQ(model.sol->GetVisualCount(), 1);
    EXPECT_EQ(model.sol->GetVisual(0), mesh.builder);
    EXPECT_NE(mesh.builder->GetFace(0)->GetMaterial(), mesh.builder->GetFace(1)->GetMaterial());
}

TEST_F(ReferenceFiles, MultiMeshPutsOneBoneTrianglesIntoTheBonesOwnMesh) {
    folder.Write("ref.smd", WithTriangles("skin.bmp\n"
                                          "2 0 0 0 0 0 1 0 0\n"
                                          "2 1 0 0 0 0 1 1 0\n"
                                          "2 0 1 0 0 0 1 0 1\n"
                                          "skin.bmp\n"
                                          "0 0 0 0 0 0 1 0 0\n"
                                          "1 1 0 0 0 0 1 1 0\n"
                                          "1 0 1 0 0 0 1 0 1\n"));
    MDL model;
    model.MultiMesh = true;
    LoadModel(model, {"ref"});
    const rm::MeshBuilderPtr& rigid = A::MeshFrames(model)[2];
    ASSERT_TRUE(rigid);
    EXPECT_EQ(rigid->GetFaceCount(), 1);
    EXPECT_EQ(rigid->GetVertexCount(), 3);
    EXPECT_EQ(A::Frames(model)[2]->GetVisual(0), rigid);
    EXPECT_FALSE(A::MeshFrames(model)[0]);
    const MDL::SmdMesh& shared = A::Meshes(model)[0];
    EXPECT_EQ(shared.builder->GetFaceCount(), 1);
    EXPECT_EQ(shared.groups.size(), 2u);

    // A mesh left with no bone group at all is kept for picks only.
    folder.Write("ref.smd", WithTriangles("skin.bmp\n0 0 0 0 0 0 1 0 0\n0 1 0 0 0 0 1 1 0\n0 0 1 0 0 0 1 0 1\n"));
    MDL weapon;
    weapon.MultiMesh = true;
    LoadModel(weapon, {"ref"});
    EXPECT_TRUE(A::Meshes(weapon)[0].groups.empty());
    ASSERT_EQ(weapon.sol->GetVisualCount(), 1);
    EXPECT_EQ(A::Meshes(weapon)[0].builder->GetEnable(), rm::enable::Pick);
}

TEST_F(ReferenceFiles, FilesWithCarriageReturnsReadTheSame) {
    std::string text = WithTriangles("skin.bmp\n0 0 0 0 0 0 1 0 0\n0 1 0 0 0 0 1 1 0\n0 0 1 0 0 0 1 0 1\n");
    std::string crlf;
    for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    folder.Write("ref.smd", crlf);
    MDL model;
    LoadModel(model, {"ref"});
    EXPECT_EQ(A::NbFrames(model), 3);
    EXPECT_EQ(A::Frames(model)[2]->GetName(), "Bip01_RDHand");
    EXPECT_EQ(A::Meshes(model)[0].builder->GetFaceCount(), 1);
}

TEST_F(ReferenceFiles, MalformedFilesFailTheLoad) {
    const std::pair<const char*, int32_t> cases[] = {
        // A bone number outside the skeleton, in a triangle, a pose and a parent.
        {"triangles\nskin.bmp\n0 0 0 0 0 0 1 0 0\n3 1 0 0 0 0 1 1 0\n0 0 1 0 0 0 1 0 1\nend\n",
         failure_number::SubscriptOutOfRange},
        {"time 0\n-1 0 0 0 0 0 0\nend\n", failure_number::SubscriptOutOfRange},
        {"nodes\n0 \"a\" 0\nend\n", failure_number::SubscriptOutOfRange},
        {"triangles\nmissing.bmp\n0 0 0 0 0 0 1 0 0\n0 1 0 0 0 0 1 1 0\n0 0 1 0 0 0 1 0 1\nend\n",
         failure_number::FileNotFound},
        // Two blanks make an empty field; a block cut short; another time line.
        {"triangles\nskin.bmp\n0 0  0 0 0 0 1 0 0\n", failure_number::TypeMismatch},
        {"triangles\nskin.bmp\n0 0 0 0 0 0 1 0 0\n", 62},
        {"time 0\n0 0 0 0 0 0 0\ntime 1\nend\n", failure_number::TypeMismatch},
        {"nodes\n0 \"a -1\nend\n", failure_number::InvalidArgument},
    };
    for (const auto& [tail, number] : cases) {
        folder.Write("ref.smd", std::string(kSkeleton) + tail);
        if (std::string(tail).starts_with("nodes")) folder.Write("ref.smd", tail);
        MDL model;
        try {
            LoadModel(model, {"ref"});
            ADD_FAILURE() << "loaded: " << tail;
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.Number(), number) << tail << failure.Description();
        }
    }
}

TEST_F(ReferenceFiles, SkeletonsTooLargeOrTooDeepFailTheLoad) {
    std::string chain = "nodes\n0 \"b\" -1\n", flat = chain;
    for (int32_t bone = 1; bone < 257; ++bone) chain += "0 \"b\" " + std::to_string(bone - 1) + "\n";
    for (int32_t bone = 1; bone < 1025; ++bone) flat += "0 \"b\" 0\n";
    const std::pair<std::string, const char*> cases[] = {
        {chain.substr(0, chain.rfind("0 \"b\"")), ""},  // 256 levels load
        {chain, "nests bones deeper than 256 levels"},
        {flat.substr(0, flat.rfind("0 \"b\"")), ""},  // 1024 bones load
        {flat, "has more than 1024 bones"},
    };
    for (const auto& [nodes, failure] : cases) {
        folder.Write("ref.smd", nodes + "end\n");
        MDL model;
        try {
            LoadModel(model, {"ref"});
            EXPECT_STREQ(failure, "") << "loaded";
        } catch (const Failure& thrown) {
            EXPECT_NE(thrown.Description().find(failure), std::string::npos) << thrown.Description();
            EXPECT_NE(*failure, '\0') << thrown.Description();
        }
    }
}

TEST_F(ReferenceFiles, ChercheVertexFindsTheFirstExactMatch) {
    MDL model;
    rm::MeshBuilder builder;
    EXPECT_EQ(model.ChercheVertex(builder, 0, 0, 0, 0, 0), -1);
    for (int i = 0; i < 3; ++i) builder.AddVertex(1, 2, 3);
    builder.SetTextureCoordinates(0, 0.5f, 0);
    EXPECT_EQ(model.ChercheVertex(builder, 1, 2, 3, 0, 0), 1);
    EXPECT_EQ(model.ChercheVertex(builder, 1, 2, 3, 0.5f, 0), 0);
    EXPECT_EQ(model.ChercheVertex(builder, 1, 2, 3.0001f, 0, 0), -1);
    // Compared as floats compare: -0 is 0, and NaN equals nothing.
    EXPECT_EQ(model.ChercheVertex(builder, 1, 2, 3, -0.0f, 0), 1);
    builder.AddVertex(std::nanf(""), 0, 0);
    EXPECT_EQ(model.ChercheVertex(builder, std::nanf(""), 0, 0, 0, 0), -1);
}

// A triangles block of `count` triangles whose vertices all differ.
std::string DistinctTriangles(int count) {
    std::string triangles;
    for (int i = 0; i < count; ++i) {
        triangles += "skin.bmp\n";
        for (int corner = 0; corner < 3; ++corner)
            triangles += "0 " + std::to_string(i) + " " + std::to_string(corner) + " 0 0 0 1 0 0\n";
    }
    return WithTriangles(triangles);
}

// Files far larger than a model's load in time proportional to their size:
// a bone name as long as a whole file, and 50,000 triangles whose vertices
// all differ, which a search through the vertices took seconds over.
TEST_F(ReferenceFiles, LargeFilesLoadInBoundedTime) {
    const struct {
        const char* what;
        std::string file;
        int32_t vertices;
    } cases[] = {
        {"a 256 KB bone name",
         "nodes\n0 \"" + std::string(256 * 1024, ' ') + "\" -1\nend\n" +
             "triangles\nskin.bmp\n0 0 0 0 0 0 1 0 0\n0 1 0 0 0 0 1 0 0\n0 0 1 0 0 0 1 0 0\nend\n",
         3},
        {"50,000 triangles with distinct vertices", DistinctTriangles(50000), 150000},
    };
    for (const auto& [what, file, vertices] : cases) {
        SCOPED_TRACE(what);
        folder.Write("ref.smd", file);
        MDL model;
        const double start = ThreadCpuSeconds();
        LoadModel(model, {"ref"});
        EXPECT_LT(ThreadCpuSeconds() - start, 5);
        EXPECT_EQ(A::Meshes(model)[0].builder->GetVertexCount(), vertices);
    }
}

}  // namespace
