#pragma once

#include <string>
#include <vector>

#include "smd.h"
#include "vec.h"

// The humanoid skeleton and the change from the body's design space to the
// model files' axes.
//
// The model loader turns a file position (x, y, z) into (y, x, z) in the
// model frame and then turns that frame a quarter turn about x and a quarter
// turn about y, so the files are z-up. A design position (X right, Y up,
// Z forward) is therefore written as (-X, -Z, Y). Bone rotations are written
// as the angles (rx, ry, rz) for which the rotation about y by rx, then x by
// ry, then z by rz (the quaternion product (qY · qX) · qZ of those angles,
// acting on the bone's own coordinates) is the bone's rotation relative to
// its parent. Quaternions and axis rotations follow the usual right-hand
// formulas on the numbers (about y, +z turns towards +x).
//
// Each bone's own axes at rest are chosen so that the game's spine
// corrections act as intended: x forward, y up along the body, z to the
// left (the spine tilts about its z axis and twists about its y axis).

namespace gen {

struct Bone {
    std::string name;
    int parent;
    Vec3 rest;       // joint position in design space
    Mat3 rest_axes;  // design-space rotation of the bone's axes from the standard ones
};

// Bone numbers of the humanoid, in node order: node 1's first child is the
// spine with both arms and the head; the legs follow.
enum BoneId {
    kRoot,
    kPelvis,
    kSpine,
    kSpine1,
    kSpine2,
    kSpine3,
    kNeck,
    kHead,
    kLClavicle,
    kLUpperArm,
    kLForearm,
    kLHand,
    kRClavicle,
    kRUpperArm,
    kRForearm,
    kRHand,
    kLThigh,
    kLCalf,
    kLFoot,
    kRThigh,
    kRCalf,
    kRFoot,
    kBoneCount
};

const std::vector<Bone>& Humanoid();
std::vector<SmdNode> Nodes(const std::vector<Bone>& bones);

// Design space to file axes.
Vec3 FilePosition(Vec3 design);
// A design-space direction as the bone frame whose rest axes are `axes` sees it.
Vec3 BoneLocal(const Mat3& axes, Vec3 design);
// A rotation in the bone frames' own coordinates as its file angles.
Vec3 FileAngles(const Mat3& local);
// The rotation of a bone frame whose axes are `axes` (design space)
// relative to the model frame, for a root bone.
Mat3 RootLocal(const Mat3& axes);

// A pose: each bone's world turn from its rest (`turn`), made by forward
// kinematics from each bone's own bend relative to its parent.
class Pose {
public:
    explicit Pose(const std::vector<Bone>& bones);

    void Bend(int bone, const Mat3& bend) { bend_[bone] = bend; }
    void Move(Vec3 offset) { root_offset_ = offset; }
    // Turns the bone so that its world turn from rest becomes `turn`.
    void SetTurn(int bone, const Mat3& turn);
    // Two-bone reach: upper arm and forearm so the wrist is at `target`,
    // the elbow towards `pole`, the hand keeping the world turn `hand_turn`.
    void Reach(int upper, Vec3 target, Vec3 pole, const Mat3& hand_turn);

    Mat3 Turn(int bone) const;
    Vec3 Joint(int bone) const;
    // The key block of this pose, in file axes.
    std::vector<SmdKey> Keys() const;

private:
    const std::vector<Bone>& bones_;
    std::vector<Mat3> bend_;
    Vec3 root_offset_;
};

}  // namespace gen
