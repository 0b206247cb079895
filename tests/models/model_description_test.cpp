#include "model_folder.h"

#include "core/game_state.h"
#include "platform/failure.h"
#include "platform/os/locale.h"
#include "support/mdl_test_access.h"

#include <gtest/gtest.h>

namespace {

using A = MDLTestAccess;

// One bone, "Bip01 L Arm", on which the hit box tests hang their box.
const char* const kArmSkeleton =
    "version 1\n"
    "nodes\n"
    "0 \"Bip01 L Arm\" -1\n"
    "end\n"
    "skeleton\n"
    "time 0\n"
    "0 0 0 0 0 0 0\n"
    "end\n";

class ModelDescription : public testing::Test {
protected:
    ModelFolder folder;
};

TEST_F(ModelDescription, WeaponTakesTypeNameAndStatisticsFromItsFileName) {
    struct Case {
        const char *file, *type, *name;
        int32_t magazine, damage, level;
        bool scope;
    };
    for (const Case& c : {Case{"rifle_m4a1.QC", "rifle", "m4a1", 30, 20, 3, true},
                          Case{"onehanded_mac10.QC", "onehanded", "mac10", 20, 10, 1, false}}) {
        folder.Write(c.file, "$modelname \"x.mdl\"\n");
        MDL weapon;
        folder.Load(weapon, c.file, true);
        SCOPED_TRACE(c.file);
        EXPECT_EQ(weapon.typ_arme, c.type);
        EXPECT_EQ(weapon.lib_arme, c.name);
        EXPECT_EQ(weapon.NbBastos, c.magazine);
        EXPECT_EQ(weapon.PowerBastos, c.damage);
        EXPECT_EQ(weapon.rang, c.level);
        EXPECT_EQ(weapon.snipper, c.scope);
        EXPECT_EQ(weapon.sol->GetTraversalOptions(), 0);
        EXPECT_EQ(weapon.Mere->GetName(), c.file);
        EXPECT_EQ(weapon.Mere->GetParent(), weapon.socle);
        EXPECT_EQ(weapon.socle->GetParent(), weapon.sol);
    }
}

TEST_F(ModelDescription, WeaponFileNameWithoutTypeFailsTheLoad) {
    for (const char* file : {"m4a1.QC", "a_b"}) {
        folder.Write(file, "");
        MDL weapon;
        EXPECT_THROW(folder.Load(weapon, file, true), Failure) << file;
    }
}

TEST_F(ModelDescription, HitBoxLineIsReadCrosswiseWithTwoBlanksBeforeTheMaximum) {
    folder.Write("m.qc",
                 "$hbox 3 \" Bip01 L Arm \" 1.5 -2.25 3  4 5.5 6\n"
                 "$hbox 3 \"Bip01-Leg\" 1.5 -2.25 3 45 5.5 6\n");
    MDL model;
    folder.Load(model, "m.qc");
    const auto& boxes = A::HBoxes(model);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].name, "Bip01_L_Arm");
    EXPECT_EQ(boxes[0].minX, -2.25f);
    EXPECT_EQ(boxes[0].minY, 1.5f);
    EXPECT_EQ(boxes[0].minZ, 3.0f);
    EXPECT_EQ(boxes[0].maxX, 5.5f);
    EXPECT_EQ(boxes[0].maxY, 4.0f);
    EXPECT_EQ(boxes[0].maxZ, 6.0f);
    // A single blank before the fourth number loses its first character.
    EXPECT_EQ(boxes[1].name, "Bip01DLeg");
    EXPECT_EQ(boxes[1].maxY, 5.0f);
}

TEST_F(ModelDescription, NumbersReadWithAPointWhateverTheLocale) {
    os::SetLocaleDecimalSeparator(",");
    folder.Write("m.qc", "$hbox 3 \"b\" 1.5 -2.25 3  4 5.5 6\n");
    MDL model;
    folder.Load(model, "m.qc");
    os::SetLocaleDecimalSeparator(".");
    ASSERT_EQ(A::HBoxes(model).size(), 1u);
    EXPECT_EQ(A::HBoxes(model)[0].minY, 1.5f);
    EXPECT_EQ(A::HBoxes(model)[0].minX, -2.25f);
}

TEST_F(ModelDescription, MalformedHitBoxLinesFailTheLoad) {
    for (const char* line : {"$hbox 3 \"b 1 2 3  4 5 6", "$hbox 3 \"b\" 1 2 3", "$hbox 3 \"b\" 1 x 3  4 5 6"}) {
        folder.Write("m.qc", line);
        MDL model;
        EXPECT_THROW(folder.Load(model, "m.qc"), Failure) << line;
    }
}

TEST_F(ModelDescription, BodyGroupsReadEveryStudioFileInOrder) {
    folder.Write("arm.smd", kArmSkeleton);
    folder.Write("m.qc",
                 "$bodygroup \"body\"\r\n{\r\nstudio \"arm\"\r\n}\r\n"
                 "$bodygroup \"more\"\n{\nreplace nothing\nstudio \"arm\"\n}\n");
    MDL model;
    folder.Load(model, "m.qc");
    EXPECT_EQ(A::NbFrames(model), 1);
    EXPECT_EQ(A::RepModele(model), folder.Path() + "\\");
}

TEST_F(ModelDescription, SequenceLinesLoadTheFileOfTheirFirstQuotedName) {
    folder.Write("arm.smd", kArmSkeleton);
    folder.Write("walk.smd", "nodes\n0 \"Bip01 L Arm\" -1\nend\nskeleton\ntime 4\n0 1 2 3 0 0 0\nend\n");
    folder.Write("m.qc",
                 "$bodygroup \"b\"\n{\nstudio \"arm\"\n}\n"
                 "  $sequence \" walk \" \"run\" fps 30\n"
                 "$sequence \"absent\" \"absent\"\n");
    MDL model;
    folder.Load(model, "m.qc");
    EXPECT_EQ(model.NbAni, 1);
    ASSERT_EQ(A::Animations(model).size(), 1u);
    EXPECT_EQ(A::Animations(model)[0]->GetName(), "walk");
    EXPECT_EQ(model.RenvAniMax(0), 4);
}

TEST_F(ModelDescription, MissingCloseOrMissingMeshFileFailsTheLoad) {
    folder.Write("arm.smd", kArmSkeleton);
    for (const char* text : {"$bodygroup \"body\"\n{\nstudio \"arm\"\n", "$bodygroup \"b\"\n{\nstudio \"none\"\n}\n"}) {
        folder.Write("m.qc", text);
        MDL model;
        EXPECT_THROW(folder.Load(model, "m.qc"), Failure) << text;
    }
    MDL model;
    try {
        folder.Load(model, "absent.qc");
        ADD_FAILURE() << "a missing description loaded";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.Number(), failure_number::FileNotFound);
    }
}

TEST_F(ModelDescription, HitBoxesAreBuiltOnTheirBonesInTheLocalTeamsColour) {
    folder.Write("arm.smd", kArmSkeleton);
    folder.Write("m.qc",
                 "$hbox 1 \"Bip01 L Arm\" 1 2 3  4 5 6\n"
                 "$hbox 1 \"Bip01 L Arm\" 0 0 0  1 1 1\n"
                 "$hbox 1 \"Nobody\" 0 0 0  1 1 1\n"
                 "$bodygroup \"b\"\n{\nstudio \"arm\"\n}\n");
    for (const auto& [team, colour] : {std::pair{0, 0xFF0000FFu}, std::pair{1, 0xFFFF0000u}}) {
        IdModeleLocal = team;
        MDL model;
        model.Boite = true;
        folder.Load(model, "m.qc");
        const auto& boxes = A::HBoxes(model);
        ASSERT_EQ(boxes.size(), 3u);
        ASSERT_TRUE(boxes[0].box);
        EXPECT_FALSE(boxes[1].box) << "a second box for one bone";
        EXPECT_FALSE(boxes[2].box) << "a box for a bone the skeleton lacks";
        const rm::MeshBuilderPtr& box = boxes[0].box;
        const rm::FramePtr& bone = A::Frames(model)[0];
        EXPECT_EQ(boxes[0].bone, 0);
        EXPECT_EQ(box->GetName(), "Bip01_L_Arm");
        EXPECT_EQ(box->GetAppData(), 1);
        EXPECT_EQ(box->GetEnable(), rm::enable::Render);
        ASSERT_EQ(bone->GetVisualCount(), 1);
        EXPECT_EQ(bone->GetVisual(0), box);
        ASSERT_EQ(box->GetFaceCount(), 6);
        EXPECT_EQ(box->GetFace(0)->GetColor(), colour) << "team " << team;
        EXPECT_EQ(box->GetFace(0)->GetMaterial()->GetPower(), 10.0f);
        // The +x side, its corners in order; the box spans x -> 2..5, y 1..4.
        const auto& corners = box->GetFace(0)->Corners();
        ASSERT_EQ(corners.size(), 4u);
        const rm::Vector first = box->GetVertex(corners[0].vertex);
        const rm::Vector second = box->GetVertex(corners[1].vertex);
        EXPECT_EQ(first.x, 5.0f);
        EXPECT_EQ(first.y, 4.0f);
        EXPECT_EQ(first.z, 6.0f);
        EXPECT_EQ(second.y, 1.0f);
        EXPECT_EQ(box->GetBox().min.x, 2.0f);
        EXPECT_EQ(box->GetBox().max.z, 6.0f);
    }
}

TEST_F(ModelDescription, NoBoxesUnlessAsked) {
    folder.Write("arm.smd", kArmSkeleton);
    folder.Write("m.qc", "$hbox 1 \"Bip01 L Arm\" 1 2 3  4 5 6\n$bodygroup \"b\"\n{\nstudio \"arm\"\n}\n");
    MDL model;
    folder.Load(model, "m.qc");
    EXPECT_FALSE(A::HBoxes(model)[0].box);
    EXPECT_EQ(A::Frames(model)[0]->GetVisualCount(), 0);
}

TEST_F(ModelDescription, MereIsTurnedUprightAfterEverythingIsRead) {
    folder.Write("m.qc", "");
    MDL model;
    folder.Load(model, "m.qc");
    // The file's z axis (up) becomes the scene's y axis.
    const rm::Vector up = rm::TransformDirection({0, 0, 1}, model.Mere->LocalTransform());
    EXPECT_NEAR(up.x, 0, 1e-6);
    EXPECT_NEAR(up.y, 1, 1e-6);
    EXPECT_NEAR(up.z, 0, 1e-6);
}

}  // namespace
