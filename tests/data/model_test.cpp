// The player and weapon models read by the loader's rules: the model
// description's layout, the skeleton's node order, the sequences' order and
// lengths, and the poses they give once posed as the loader poses them.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>
#include <map>

#include "core/quaternions.h"
#include "data_files.h"

using namespace data_test;

namespace {

const char* const kTypes[6] = {"onehanded", "carbine", "mp5", "rifle", "m249", "shotgun"};

const ModelDescription& Body() {
    static const ModelDescription d = ReadModelDescription("models/terror.qc");
    return d;
}

std::vector<std::string> SetNames() {
    std::vector<std::string> names;
    for (const std::string& s : Body().sequences) names.push_back(SetName(s));
    return names;
}

int NodeIndex(const std::vector<SmdNode>& nodes, const std::string& name) {
    for (size_t i = 0; i < nodes.size(); ++i)
        if (nodes[i].name == name) return int(i);
    return -1;
}

// The nodes an upper-body ("blend") file keys: from the first child of node 1
// up to its second child.
std::vector<bool> UpperBody(const std::vector<SmdNode>& nodes) {
    std::vector<bool> mapped;
    int children_of_1 = 0;
    for (const SmdNode& n : nodes) {
        if (n.parent == 1) ++children_of_1;
        mapped.push_back(children_of_1 == 1);
    }
    return mapped;
}

// The loader's pose of the body: bone frames from key blocks, vertices in
// their bones' frames from the rest pose, the model frame turned z-up to y-up.
class Poser {
public:
    Poser() : reference_(ReadSmd("models/terror_ref.smd")) {
        rest_ = World(reference_.blocks.at(0), false);
        for (const SmdVertex& v : reference_.vertices)
            local_.push_back(glm::inverse(rest_[v.bone]) * glm::dvec4(v.v[1], v.v[0], v.v[2], 1));
    }

    const SmdFile& reference() const { return reference_; }

    // Bone frames of a key block (the first keyed bone without motion along
    // the first axis, as the loader keys it), with blend keys over it.
    std::vector<glm::dmat4> World(const std::vector<SmdKey>& keys, bool first_is_anchored,
                                  const std::vector<SmdKey>* upper = nullptr) const {
        std::vector<SmdKey> merged = keys;
        const std::vector<bool> mapped = UpperBody(reference_.nodes);
        if (upper)
            for (const SmdKey& k : *upper)
                if (mapped[k.bone]) merged[k.bone] = k;
        std::vector<glm::dmat4> world(reference_.nodes.size());
        for (const SmdKey& k : merged) {
            glm::dvec3 position(k.v[1], k.v[0], k.v[2]);
            const bool first = upper ? k.bone == FirstMapped() : k.bone == 0;
            if (first_is_anchored && first) position.x = 0;
            const rm::Quaternion q = QuatEuler({float(k.v[4]), float(k.v[3]), float(k.v[5])});
            const glm::dmat4 local =
                glm::translate(glm::dmat4(1), position) * glm::mat4_cast(glm::dquat(q.s, q.x, q.y, q.z));
            const int parent = reference_.nodes[k.bone].parent;
            world[k.bone] = (parent < 0 ? glm::dmat4(1) : world[parent]) * local;
        }
        return world;
    }

    // The model frame's two quarter turns: -90 degrees about x, then +90 about y.
    static glm::dmat4 Upright() {
        return glm::rotate(glm::dmat4(1), glm::half_pi<double>(), {0, 1, 0}) *
               glm::rotate(glm::dmat4(1), -glm::half_pi<double>(), {1, 0, 0});
    }

    std::vector<glm::dvec3> Vertices(const std::vector<glm::dmat4>& world) const {
        std::vector<glm::dvec3> out;
        for (size_t i = 0; i < local_.size(); ++i)
            out.push_back(glm::dvec3(Upright() * world[reference_.vertices[i].bone] * local_[i]));
        return out;
    }

    int FirstMapped() const {
        const std::vector<bool> mapped = UpperBody(reference_.nodes);
        return int(std::find(mapped.begin(), mapped.end(), true) - mapped.begin());
    }

private:
    SmdFile reference_;
    std::vector<glm::dmat4> rest_;
    std::vector<glm::dvec4> local_;
};

// The key blocks the loader reads: the first, third, fifth, ...
std::vector<std::vector<SmdKey>> BlocksRead(const SmdFile& f) {
    std::vector<std::vector<SmdKey>> read;
    for (size_t i = 0; i < f.blocks.size(); i += 2) read.push_back(f.blocks[i]);
    return read;
}

std::pair<double, double> HeightRange(const std::vector<glm::dvec3>& vertices) {
    double low = 1e9, high = -1e9;
    for (const glm::dvec3& v : vertices) low = std::min(low, v.y), high = std::max(high, v.y);
    return {low, high};
}

}  // namespace

TEST(PlayerModel, HitBoxesComeFirstAndNameBonesOfTheSkeleton) {
    const ModelDescription& d = Body();
    ASSERT_FALSE(d.hit_boxes.empty());
    EXPECT_LT(d.last_hbox_line, d.first_bodygroup_line);
    const SmdFile skeleton = ReadSmd("models/terror_ref.smd");
    for (const HitBox& b : d.hit_boxes) {
        EXPECT_GE(NodeIndex(skeleton.nodes, b.bone), 0) << b.bone;
        for (int k = 0; k < 3; ++k) EXPECT_LT(b.min[k], b.max[k]) << b.bone;
    }
    const auto head =
        std::find_if(d.hit_boxes.begin(), d.hit_boxes.end(), [](const HitBox& b) { return b.bone == "Bip01_Head"; });
    ASSERT_NE(head, d.hit_boxes.end());
    // The bone listed before the head has a box too: that box follows the head.
    const int before_head = NodeIndex(skeleton.nodes, "Bip01_Head") - 1;
    EXPECT_TRUE(std::any_of(d.hit_boxes.begin(), d.hit_boxes.end(),
                            [&](const HitBox& b) { return b.bone == skeleton.nodes[before_head].name; }));
}

// Each box, read crosswise as the loader reads it, wraps its bone's part of
// the terrorists' mesh in the bone's own frame.
TEST(PlayerModel, HitBoxesWrapTheirBonesPartOfTheBody) {
    const Poser poser;
    const SmdFile& mesh = poser.reference();
    const std::vector<glm::dmat4> rest = poser.World(mesh.blocks.at(0), false);
    for (const HitBox& box : Body().hit_boxes) {
        const int bone = NodeIndex(mesh.nodes, box.bone);
        ASSERT_GE(bone, 0);
        double low[3] = {1e9, 1e9, 1e9}, high[3] = {-1e9, -1e9, -1e9};
        for (const SmdVertex& v : mesh.vertices) {
            if (v.bone != bone) continue;
            const glm::dvec4 local = glm::inverse(rest[bone]) * glm::dvec4(v.v[1], v.v[0], v.v[2], 1);
            for (int k = 0; k < 3; ++k) low[k] = std::min(low[k], local[k]), high[k] = std::max(high[k], local[k]);
        }
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(box.min[k], low[k], 0.01) << box.bone << " axis " << k;
            EXPECT_NEAR(box.max[k], high[k], 0.01) << box.bone << " axis " << k;
        }
    }
}

TEST(PlayerModel, BodyGroupHoldsOneMeshPerTeamOnOneSkeleton) {
    ASSERT_EQ(Body().meshes.size(), 2u);
    const SmdFile terrorists = ReadSmd("models/" + Body().meshes[0] + ".smd");
    const SmdFile gign = ReadSmd("models/" + Body().meshes[1] + ".smd");
    ASSERT_EQ(terrorists.nodes.size(), gign.nodes.size());
    for (const SmdFile* f : {&terrorists, &gign}) {
        EXPECT_EQ(f->times, std::vector<int>{0});  // one rest pose
        EXPECT_FALSE(f->vertices.empty());
        for (const SmdVertex& v : f->vertices) ASSERT_LT(size_t(v.bone), f->nodes.size());
        for (const std::string& t : f->textures) EXPECT_EQ(t, f->textures.front());
    }
    EXPECT_EQ(terrorists.textures.front().substr(0, 2), "TS");
    EXPECT_EQ(gign.textures.front().substr(0, 2), "GS");
}

TEST(PlayerModel, SkeletonListsTheSpineBranchWithBothArmsBeforeTheLegs) {
    const std::vector<SmdNode> nodes = ReadSmd("models/terror_ref.smd").nodes;
    for (size_t i = 0; i < nodes.size(); ++i) ASSERT_LT(nodes[i].parent, int(i)) << nodes[i].name;
    ASSERT_GT(nodes.size(), 2u);
    EXPECT_EQ(nodes[0].parent, -1);
    const std::vector<bool> upper = UpperBody(nodes);
    const int first_child_of_1 = int(std::find(upper.begin(), upper.end(), true) - upper.begin());
    EXPECT_EQ(nodes.at(first_child_of_1).name, "Bip01_Spine");
    for (const char* name : {"Bip01_Spine", "Bip01_Spine1", "Bip01_Spine2", "Bip01_Spine3", "Bip01_Head",
                             "Bip01_R_Hand", "Bip01_L_Hand", "Bip01_R_Forearm", "Bip01_L_UpperArm"}) {
        const int i = NodeIndex(nodes, name);
        ASSERT_GE(i, 0) << name;
        EXPECT_TRUE(upper[i]) << name << " is not in the spine branch";
    }
    for (const char* name : {"Bip01_L_Thigh", "Bip01_R_Thigh", "Bip01_L_Foot", "Bip01_R_Foot"}) {
        const int i = NodeIndex(nodes, name);
        ASSERT_GE(i, 0) << name;
        EXPECT_FALSE(upper[i]) << name;
    }
}

TEST(PlayerModel, EverySetTheGameAsksForIsFoundUnderItsOwnName) {
    const std::vector<std::string> names = SetNames();
    std::vector<std::string> requests = {"idle1", "crouch_idle1", "run", "crouch_run", "death1"};
    for (const char* type : kTypes)
        for (const char* action : {"aim", "shoot", "reload"})
            requests.push_back(std::string("ref_") + action + "_" + type);
    for (const std::string& r : requests) {
        const int found = FindSet(names, r);
        EXPECT_EQ(names[found], r) << "the request " << r << " finds " << names[found];
    }
    // Set 0 answers unknown requests; it must not also answer known ones.
    for (const std::string& r : requests) EXPECT_EQ(r.find(names[0]), std::string::npos) << names[0];
}

TEST(PlayerModel, SequenceLengthsAreEvenAndGiveSensibleTimes) {
    std::map<std::string, int> length;
    const std::vector<SmdNode> nodes = ReadSmd("models/terror_ref.smd").nodes;
    for (const std::string& file : Body().sequences) {
        const SmdFile f = ReadSmd("models/" + file + ".smd");
        ASSERT_EQ(f.nodes.size(), nodes.size()) << file;
        for (size_t i = 0; i < nodes.size(); ++i) EXPECT_EQ(f.nodes[i].name, nodes[i].name) << file;
        ASSERT_FALSE(f.times.empty()) << file;
        for (size_t i = 0; i < f.times.size(); ++i) EXPECT_EQ(f.times[i], int(i)) << file;
        // Every other block is read: an even last time is the last block read.
        EXPECT_EQ(f.times.back() % 2, 0) << file;
        for (const auto& block : f.blocks) EXPECT_EQ(block.size(), nodes.size()) << file;
        length[SetName(file)] = f.times.back();
    }
    // One key unit is 30 ms.
    EXPECT_GE(length["death1"] * 30, 1000);
    for (const char* type : kTypes) {
        const int shoot = length[std::string("ref_shoot_") + type], reload = length[std::string("ref_reload_") + type];
        EXPECT_GE(shoot, 2) << type;
        EXPECT_LE(shoot * 30, 1000) << type;
        EXPECT_GE(reload * 30, 1200) << type;
        EXPECT_GT(length[std::string("ref_aim_") + type], 0) << type;
    }
}

TEST(PlayerModel, FirstKeyedBoneNeverMovesAlongTheAxisTheLoaderDrops) {
    const Poser poser;
    for (const std::string& file : Body().sequences) {
        const SmdFile f = ReadSmd("models/" + file + ".smd");
        const int first = SetName(file) != file ? poser.FirstMapped() : 0;
        for (const auto& block : BlocksRead(f)) EXPECT_NEAR(block.at(first).v[1], 0, 1e-6) << file;
    }
}

// Standing, the soles are 37 units below the model's origin, on the floor.
// Crouching, the game holds the origin 1.5 world units lower (18.75 units of
// the model, scaled by 0.08), so the crouched soles are that much higher.
TEST(PlayerModel, LegsSetsKeepTheFeetOnTheFloorAndCrouchLowersTheHead) {
    const Poser poser;
    const double crouch = 1.5 / 0.08;
    std::map<std::string, double> top;
    for (const auto& [set, sole] : {std::pair{"stand", -37.0}, std::pair{"idle1", -37.0}, std::pair{"run", -37.0},
                                    std::pair{"crouch_idle1", -37 + crouch}, std::pair{"crouch_run", -37 + crouch}}) {
        for (const auto& block : BlocksRead(ReadSmd(std::string("models/") + set + ".smd"))) {
            const auto [low, high] = HeightRange(poser.Vertices(poser.World(block, true)));
            EXPECT_NEAR(low, sole, 0.6) << set;
            top[set] = high - sole;  // the height above the floor
        }
    }
    EXPECT_GT(top["idle1"], 70);
    EXPECT_LT(top["crouch_idle1"], top["idle1"] - 14);
}

TEST(PlayerModel, DeathEndsLyingOnTheFloor) {
    const Poser poser;
    const auto blocks = BlocksRead(ReadSmd("models/death1.smd"));
    const auto [low, high] = HeightRange(poser.Vertices(poser.World(blocks.back(), true)));
    // On the floor, and no part higher than a quarter of the standing height.
    EXPECT_GT(low, -38.5);
    EXPECT_LT(high, -37 + 72 / 4);
}

TEST(PlayerModel, SpineBonesBendAboutTheirZAxisAndTwistAboutTheirY) {
    const Poser poser;
    const std::vector<glm::dmat4> rest = poser.World(poser.reference().blocks[0], false);
    for (const char* name : {"Bip01_Spine", "Bip01_Spine1", "Bip01_Spine2"}) {
        const glm::dmat4 axes = Poser::Upright() * rest[NodeIndex(poser.reference().nodes, name)];
        EXPECT_GT(glm::dvec3(axes[1]).y, 0.99) << name << ": y is not up";
        EXPECT_GT(glm::dvec3(axes[0]).z, 0.99) << name << ": x is not forward";
    }
}

TEST(PlayerModel, AimingHoldsTheWeaponForwardInFrontOfTheChest) {
    const Poser poser;
    const auto idle = ReadSmd("models/idle1.smd").blocks.at(0);
    const int hand = NodeIndex(poser.reference().nodes, "Bip01_R_Hand");
    for (const char* type : kTypes) {
        const SmdFile aim = ReadSmd(std::string("models/ref_aim_") + type + "_blend.smd");
        const std::vector<glm::dmat4> world = poser.World(idle, true, &aim.blocks.at(0));
        const glm::dmat4 h = Poser::Upright() * world[hand];
        EXPECT_GT(glm::dvec3(h[0]).z, 0.95) << type << ": the weapon does not point forward";
        EXPECT_GT(h[3].z, 4) << type << ": the hand is not in front";
    }
}

TEST(WeaponModels, EachHoldsItsMeshOnTheRightHandAndABareFlashBone) {
    std::vector<std::vector<double>> shapes;
    for (const auto& entry : std::filesystem::directory_iterator(GamePath("weapons"))) {
        if (entry.path().extension() != ".QC") continue;
        const ModelDescription d = ReadModelDescription("weapons/" + entry.path().filename().string());
        ASSERT_EQ(d.meshes.size(), 1u) << entry.path();
        const SmdFile mesh = ReadSmd("weapons/" + d.meshes[0] + ".smd");
        const int hand = NodeIndex(mesh.nodes, "Bip01_R_Hand"), flash = NodeIndex(mesh.nodes, "flash");
        ASSERT_GE(hand, 0) << entry.path();
        ASSERT_GE(flash, 0) << entry.path();
        EXPECT_EQ(mesh.nodes[flash].parent, hand);
        ASSERT_FALSE(mesh.vertices.empty());
        for (const SmdVertex& v : mesh.vertices) EXPECT_EQ(v.bone, hand) << entry.path();
        std::vector<double> shape;
        for (const SmdVertex& v : mesh.vertices) shape.insert(shape.end(), v.v, v.v + 3);
        shapes.push_back(shape);
    }
    ASSERT_EQ(shapes.size(), 13u);
    for (size_t i = 0; i < shapes.size(); ++i)
        for (size_t j = i + 1; j < shapes.size(); ++j) EXPECT_NE(shapes[i], shapes[j]);
}
