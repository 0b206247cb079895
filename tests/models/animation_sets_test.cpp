#include "model_folder.h"
#include "platform/failure.h"
#include "support/mdl_test_access.h"

#include <gtest/gtest.h>

namespace {

using A = MDLTestAccess;

const char* const kSkeleton =
    "version 1\nnodes\n0 \"Bip01\" -1\n1 \"Bip01 Pelvis\" 0\n2 \"Bip01 Spine\" 1\nend\n"
    "skeleton\ntime 0\n0 0 0 0 0 0 0\n1 1 0 0 0 0 0\n2 1 0 0 0 0 0\nend\n";

// Key blocks at the times 0 to `last`.
std::string Animation(int last) {
    std::string text = "nodes\n0 \"Bip01\" -1\n1 \"Bip01 Pelvis\" 0\n2 \"Bip01 Spine\" 1\nend\nskeleton\n";
    for (int t = 0; t <= last; ++t) text += "time " + std::to_string(t) + "\n0 0 0 0 0 0 0\n2 1 0 0 0 0 0\n";
    return text + "end\n";
}

class AnimationSets : public testing::Test {
protected:
    void SetUp() override {
        folder.Write("ref.smd", kSkeleton);
        folder.Write("m.qc", "$bodygroup \"b\"\n{\nstudio \"ref\"\n}\n");
        for (const char* name : {"idle", "crouch_idle", "run", "ref_aim_rifle_blend"})
            folder.Write(std::string(name) + ".smd", Animation(4));
        folder.Write("long.smd", Animation(11));
        folder.Write("broken.smd", Animation(4) + "time 6\n0 0 zero 0 0 0 0\n");
        folder.Load(model, "m.qc");
    }
    void Sequences(std::initializer_list<const char*> names) {
        for (const char* name : names) model.CreeAnim(name, 0);
    }

    ModelFolder folder;
    MDL model;
};

TEST_F(AnimationSets, TheFirstSetWhoseNameOccursInTheRequestWins) {
    Sequences({"run", "idle", "crouch_idle"});
    EXPECT_EQ(model.RenvAniText(model.RenvAnimations("crouch_idle")), "idle");
    EXPECT_EQ(model.RenvAnimations("run"), 0);
    EXPECT_EQ(model.RenvAnimations("walk"), 0);

    MDL other;
    folder.Load(other, "m.qc");
    for (const char* name : {"run", "crouch_idle", "idle"}) other.CreeAnim(name, 0);
    EXPECT_EQ(other.RenvAniText(other.RenvAnimations("crouch_idle")), "crouch_idle");
    EXPECT_EQ(other.RenvAniText(other.RenvAnimations("idle")), "idle");
}

TEST_F(AnimationSets, BlendSetsAreNamedWithoutTheirSuffixAndKeyTheUpperBody) {
    Sequences({"run", "ref_aim_rifle_blend"});
    EXPECT_EQ(model.RenvAniText(1), "ref_aim_rifle");
    EXPECT_EQ(model.RenvAnimations("ref_aim_rifle"), 1);
    const auto& animations = A::Animations(model)[1]->GetAnimations();
    ASSERT_EQ(animations.size(), 1u);
    EXPECT_EQ(animations.front()->GetFrame(), model.ChercheFrames("Bip01_Spine"));
}

TEST_F(AnimationSets, MissingFilesAddNoSetAndBrokenOnesKeepTheirKeysWithoutLength) {
    Sequences({"run", "absent", "long", "broken"});
    ASSERT_EQ(model.NbAni, 3);
    EXPECT_EQ(model.RenvAniText(1), "long");
    EXPECT_EQ(model.RenvAniMax(0), 4);
    EXPECT_EQ(model.RenvAniMax(1), 10);
    EXPECT_EQ(model.RenvAniMax(2), 0);
    EXPECT_EQ(A::Animations(model)[2]->GetAnimations().size(), 2u);
    EXPECT_THROW(model.RenvAniMax(3), Failure);
    EXPECT_THROW(model.RenvAniMax(-1), Failure);
}

}  // namespace
