#include "skeleton.h"

#include <algorithm>
#include <cmath>

namespace gen {

namespace {

// Design vector to the coordinates of a frame with standard axes (L) and to
// the model frame (T), as matrices.
Mat3 Rows(Vec3 a, Vec3 b, Vec3 c) {
    Mat3 m;
    const Vec3 rows[3] = {a, b, c};
    for (int i = 0; i < 3; ++i) {
        m.m[i][0] = rows[i].x;
        m.m[i][1] = rows[i].y;
        m.m[i][2] = rows[i].z;
    }
    return m;
}

const Mat3 kToBone = Rows({0, 0, 1}, {0, 1, 0}, {-1, 0, 0});
const Mat3 kToModel = Rows({0, 0, -1}, {-1, 0, 0}, {0, 1, 0});

Vec3 Swap(Vec3 v) { return {v.y, v.x, v.z}; }

// The shortest turn taking direction a to direction b.
Mat3 TurnBetween(Vec3 a, Vec3 b) {
    a = Normalised(a);
    b = Normalised(b);
    const Vec3 axis = Cross(a, b);
    const double s = Length(axis), c = Dot(a, b);
    if (s < 1e-9)
        return c > 0 ? Mat3{} : Rotation(std::abs(a.x) < 0.9 ? Cross(a, {1, 0, 0}) : Cross(a, {0, 1, 0}), kPi);
    return Rotation(axis, std::atan2(s, c));
}

std::vector<Bone> MakeHumanoid() {
    const Mat3 I;
    const Mat3 head_axes = RotY(180);  // x backwards, z to the right: see the aim offsets of the game
    return {
        {"Bip01", -1, {0, 0, 0}, I},
        {"Bip01 Pelvis", kRoot, {0, 0, 0}, I},
        {"Bip01 Spine", kPelvis, {0, 3, 0}, I},
        {"Bip01 Spine1", kSpine, {0, 7, 0}, I},
        {"Bip01 Spine2", kSpine1, {0, 11, 0}, I},
        {"Bip01 Spine3", kSpine2, {0, 15, 0}, I},
        {"Bip01 Neck", kSpine3, {0, 22, 0}, I},
        {"Bip01 Head", kNeck, {0, 25, 0}, head_axes},
        {"Bip01 L Clavicle", kSpine3, {-2, 20, 0}, I},
        {"Bip01 L UpperArm", kLClavicle, {-7.5, 20, 0}, I},
        {"Bip01 L Forearm", kLUpperArm, {-8.5, 9, 0}, I},
        {"Bip01 L Hand", kLForearm, {-9, -1, 0}, I},
        {"Bip01 R Clavicle", kSpine3, {2, 20, 0}, I},
        {"Bip01 R UpperArm", kRClavicle, {7.5, 20, 0}, I},
        {"Bip01 R Forearm", kRUpperArm, {8.5, 9, 0}, I},
        {"Bip01 R Hand", kRForearm, {9, -1, 0}, I},
        {"Bip01 L Thigh", kPelvis, {-4.5, -2, 0}, I},
        {"Bip01 L Calf", kLThigh, {-4.5, -19, 0}, I},
        {"Bip01 L Foot", kLCalf, {-4.5, -34, 0}, I},
        {"Bip01 R Thigh", kPelvis, {4.5, -2, 0}, I},
        {"Bip01 R Calf", kRThigh, {4.5, -19, 0}, I},
        {"Bip01 R Foot", kRCalf, {4.5, -34, 0}, I},
    };
}

}  // namespace

const std::vector<Bone>& Humanoid() {
    static const std::vector<Bone> bones = MakeHumanoid();
    return bones;
}

std::vector<SmdNode> Nodes(const std::vector<Bone>& bones) {
    std::vector<SmdNode> nodes;
    for (const Bone& b : bones) nodes.push_back({b.name, b.parent});
    return nodes;
}

Vec3 FilePosition(Vec3 design) { return Swap(kToModel * design); }

Vec3 BoneLocal(const Mat3& axes, Vec3 design) { return kToBone * (Transposed(axes) * design); }

Mat3 RootLocal(const Mat3& axes) { return kToModel * axes * Transposed(kToBone); }

Vec3 FileAngles(const Mat3& r) {
    // r = Ry(ay) Rx(ax) Rz(az); the file holds (ay, ax, az).
    const double ax = std::asin(std::clamp(-r.m[1][2], -1.0, 1.0));
    double ay, az;
    if (std::cos(ax) > 1e-9) {
        ay = std::atan2(r.m[0][2], r.m[2][2]);
        az = std::atan2(r.m[1][0], r.m[1][1]);
    } else {
        az = 0;
        ay = std::atan2(-r.m[2][0], r.m[0][0]);
    }
    return {ay, ax, az};
}

Pose::Pose(const std::vector<Bone>& bones) : bones_(bones), bend_(bones.size()) {}

Mat3 Pose::Turn(int bone) const {
    const Mat3 parent = bones_[bone].parent < 0 ? Mat3{} : Turn(bones_[bone].parent);
    return parent * bend_[bone];
}

Vec3 Pose::Joint(int bone) const {
    const int p = bones_[bone].parent;
    if (p < 0) return bones_[bone].rest + root_offset_;
    return Joint(p) + Turn(p) * (bones_[bone].rest - bones_[p].rest);
}

void Pose::SetTurn(int bone, const Mat3& turn) {
    const int p = bones_[bone].parent;
    bend_[bone] = (p < 0 ? Mat3{} : Transposed(Turn(p))) * turn;
}

void Pose::Reach(int upper, Vec3 target, Vec3 pole, const Mat3& hand_turn) {
    const int fore = upper + 1, hand = upper + 2;
    const Vec3 shoulder = Joint(upper);
    const double a = Length(bones_[fore].rest - bones_[upper].rest);
    const double b = Length(bones_[hand].rest - bones_[fore].rest);
    Vec3 to = target - shoulder;
    const double d = std::clamp(Length(to), 1e-3, (a + b) * 0.999);
    const Vec3 u = Normalised(to);
    const double along = (a * a - b * b + d * d) / (2 * d);
    const double height = std::sqrt(std::max(0.0, a * a - along * along));
    const Vec3 side = Normalised((pole - shoulder) - u * Dot(pole - shoulder, u));
    const Vec3 elbow = shoulder + u * along + side * height;
    const Vec3 wrist = shoulder + u * d;

    const Mat3 upper_turn = TurnBetween(bones_[fore].rest - bones_[upper].rest, elbow - shoulder);
    SetTurn(upper, upper_turn);
    const Vec3 fore_rest_dir = upper_turn * (bones_[hand].rest - bones_[fore].rest);
    SetTurn(fore, TurnBetween(fore_rest_dir, wrist - elbow) * upper_turn);
    SetTurn(hand, hand_turn);
}

std::vector<SmdKey> Pose::Keys() const {
    std::vector<SmdKey> keys;
    for (size_t i = 0; i < bones_.size(); ++i) {
        const Bone& bone = bones_[i];
        const Mat3 turn = Turn(int(i));
        SmdKey key;
        if (bone.parent < 0) {
            key.position = FilePosition(bone.rest + root_offset_);
            key.rotation = FileAngles(RootLocal(turn * bone.rest_axes));
        } else {
            const Bone& parent = bones_[bone.parent];
            key.position = Swap(BoneLocal(parent.rest_axes, bone.rest - parent.rest));
            const Mat3 relative = Transposed(Turn(bone.parent) * parent.rest_axes) * turn * bone.rest_axes;
            key.rotation = FileAngles(kToBone * relative * Transposed(kToBone));
        }
        keys.push_back(key);
    }
    return keys;
}

}  // namespace gen
