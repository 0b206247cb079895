#include "models/animation_file.h"

#include "platform/failure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>

namespace {

// A skeleton of four bones: root, pelvis, then the spine and a thigh, both
// children of the pelvis (node 1).
struct Skeleton {
    Skeleton() {
        root = rm::Frame::Create(nullptr);
        for (const char* name : {"Bip01", "Bip01_Pelvis", "Bip01_Spine", "Bip01_L_Thigh"}) {
            bones[name] = rm::Frame::Create(root);
            bones[name]->SetName(name);
        }
    }
    rm::FramePtr Find(const std::string& name) const {
        const auto found = bones.find(name);
        return found == bones.end() ? nullptr : found->second;
    }
    int32_t Read(const std::string& text, rm::AnimationSet& set, bool upperBody = false) const {
        std::istringstream file(text);
        return ReadAnimationFile(file, set, upperBody, 4, [this](const std::string& name) { return Find(name); });
    }
    rm::Vector PoseAt(const rm::AnimationSet& set, const char* bone, float time) const {
        set.SetTime(time);
        return bones.at(bone)->GetPosition(root);
    }

    rm::FramePtr root;
    std::map<std::string, rm::FramePtr> bones;
};

const std::string kNodes =
    "version 1\n"
    "nodes\n"
    "0 \"Bip01\" -1\n"
    "1 \"Bip01 Pelvis\" 0\n"
    "2 \"Bip01 Spine\" 1\n"
    "3 \"Bip01 L Thigh\" 1\n"
    "end\n"
    "skeleton\n";

// Key blocks 0 to last; in block t every node n sits at file position
// (n + t, 10 n + t, 100 n) with no turn.
std::string Blocks(int last, int nodes = 4) {
    std::string text;
    for (int t = 0; t <= last; ++t) {
        text += "time " + std::to_string(t) + "\n";
        for (int n = 0; n < nodes; ++n)
            text += std::to_string(n) + " " + std::to_string(n + t) + ".0 " + std::to_string(10 * n + t) + ".0 " +
                    std::to_string(100 * n) + " 0 0 0\n";
    }
    return text + "end\n";
}

void ExpectAt(const rm::Vector& got, float x, float y, float z) {
    EXPECT_NEAR(got.x, x, 1e-4);
    EXPECT_NEAR(got.y, y, 1e-4);
    EXPECT_NEAR(got.z, z, 1e-4);
}

TEST(AnimationFile, ReadsEveryOtherKeyBlockAndGivesTheLastTimeRead) {
    const struct {
        int lastBlock;
        int32_t length;
        int32_t keys;
    } cases[] = {{12, 12, 7}, {11, 10, 6}, {0, 0, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lastBlock);
        const Skeleton skeleton;
        rm::AnimationSet set;
        EXPECT_EQ(skeleton.Read(kNodes + Blocks(c.lastBlock), set), c.length);
        ASSERT_EQ(set.GetAnimations().size(), 4u);
        for (const rm::AnimationPtr& animation : set.GetAnimations()) EXPECT_EQ(animation->GetRotateKeyCount(), c.keys);
    }
}

TEST(AnimationFile, PositionKeysExchangeTheFirstTwoAxesAndInterpolateBetweenReadBlocks) {
    const Skeleton skeleton;
    rm::AnimationSet set;
    skeleton.Read(kNodes + Blocks(4), set);
    // Node 2 at block 2: file (4, 22, 200) becomes (22, 4, 200).
    ExpectAt(skeleton.PoseAt(set, "Bip01_Spine", 2), 22, 4, 200);
    // Block 1 was not read: time 1 lies halfway between blocks 0 and 2.
    ExpectAt(skeleton.PoseAt(set, "Bip01_Spine", 1), 21, 3, 200);
}

TEST(AnimationFile, TheFirstKeyedBoneLosesItsFirstAxisInEveryBlock) {
    const Skeleton skeleton;
    rm::AnimationSet set;
    skeleton.Read(kNodes + Blocks(6), set);
    EXPECT_EQ(set.GetAnimations().front()->GetFrame(), skeleton.bones.at("Bip01"));
    for (float t : {0.f, 2.f, 4.f}) ExpectAt(skeleton.PoseAt(set, "Bip01", t), 0, t, 0);
}

TEST(AnimationFile, BlendFileKeysOnlyTheFirstBranchBelowNodeOne) {
    const Skeleton skeleton;
    rm::AnimationSet set;
    skeleton.Read(kNodes + Blocks(2), set, true);
    ASSERT_EQ(set.GetAnimations().size(), 1u);
    EXPECT_EQ(set.GetAnimations().front()->GetFrame(), skeleton.bones.at("Bip01_Spine"));
}

TEST(AnimationFile, KeysOfABoneTheModelLacksAreSkipped) {
    const Skeleton skeleton;
    rm::AnimationSet set;
    const std::string nodes =
        "nodes\n0 \"Bip01\" -1\n1 \"Bip01 Tail\" 0\n2 \"Bip01 Spine\" 0\nend\n"
        "time 0\n0 0 0 0 0 0 0\n1 5 5 5 0 0 0\n2 1 2 3 0 0 0\nend\n";
    skeleton.Read(nodes, set);
    ASSERT_EQ(set.GetAnimations().size(), 2u);
    EXPECT_EQ(set.GetAnimations()[1]->GetFrame(), skeleton.bones.at("Bip01_Spine"));
}

TEST(AnimationFile, RotationKeysTurnByTheEulerAnglesWithTheFirstTwoExchanged) {
    const Skeleton skeleton;
    rm::AnimationSet set;
    // A turn of 90 degrees given as the file's second angle turns about x.
    skeleton.Read(kNodes + "time 0\n0 0 0 0 0 0 0\n2 0 0 0 0 1.5707963 0\nend\n", set);
    set.SetTime(0);
    rm::Vector direction, up;
    skeleton.bones.at("Bip01_Spine")->GetOrientation(skeleton.root, direction, up);
    EXPECT_NEAR(up.x, 0, 1e-4);
    EXPECT_NEAR(up.y, 0, 1e-4);
    EXPECT_NEAR(std::fabs(up.z), 1, 1e-4);
}

TEST(AnimationFile, MalformedContentStopsTheReadingAndKeepsTheKeysSoFar) {
    const struct {
        const char* name;
        std::string text;
    } cases[] = {
        {"field not a number", kNodes + "time 0\n0 0 0 0 0 0 0\n2 1 x 3 0 0 0\n3 1 2 3 0 0 0\nend\n"},
        {"node of no line", kNodes + "time 0\n0 0 0 0 0 0 0\n9 1 2 3 0 0 0\nend\n"},
        {"time without a number", kNodes + "time 0\n0 0 0 0 0 0 0\nend\ntime\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Skeleton skeleton;
        rm::AnimationSet set;
        EXPECT_THROW(skeleton.Read(c.text, set), Failure);
        EXPECT_EQ(set.GetAnimations().size(), 1u);
    }
}

TEST(AnimationFile, ANodeBlockLongerThanTheSkeletonIsAFailure) {
    const Skeleton skeleton;
    rm::AnimationSet set;
    std::string text = "nodes\n";
    for (int n = 0; n < 6; ++n) text += std::to_string(n) + " \"Bone\" -1\n";
    EXPECT_THROW(skeleton.Read(text + "end\n", set), Failure);
}

}  // namespace
