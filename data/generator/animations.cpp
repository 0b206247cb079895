#include "animations.h"

#include <cmath>
#include <functional>

#include "skeleton.h"

namespace gen {

const char* const kWeaponTypes[6] = {"onehanded", "carbine", "mp5", "rifle", "m249", "shotgun"};

namespace {

double Wave(double t) { return std::sin(2 * kPi * t); }
double Ease(double t) { return t <= 0 ? 0 : t >= 1 ? 1 : t * t * (3 - 2 * t); }
Vec3 Lerp(Vec3 a, Vec3 b, double t) { return a + (b - a) * t; }

constexpr double kSole = -37;
constexpr double kAnkle = -34;

// Feet at `left` and `right` (ankle positions), knees forward.
void PlaceLegs(Pose& pose, Vec3 left, Vec3 right) {
    const Mat3 flat;
    pose.Reach(kLThigh, left, pose.Joint(kLThigh) + Vec3{0, -10, 30}, flat);
    pose.Reach(kRThigh, right, pose.Joint(kRThigh) + Vec3{0, -10, 30}, flat);
}

void RelaxArms(Pose& pose, double swing) {
    pose.Bend(kLUpperArm, RotZ(-6) * RotX(-swing));
    pose.Bend(kRUpperArm, RotZ(6) * RotX(swing));
    pose.Bend(kLForearm, RotX(-12 - std::abs(swing) * 0.5));
    pose.Bend(kRForearm, RotX(-12 - std::abs(swing) * 0.5));
}

// Crouching, the game holds the player's origin 1.5 world units (18.75
// model units) lower, so a crouched body keeps its pelvis where it is and
// draws its feet up by as much: they then stay on the floor.
constexpr double kCrouchLift = 1.5 / 0.08;

// Standing or crouched, breathing `depth` units.
Pose Stance(double t, bool crouched, double depth) {
    Pose pose(Humanoid());
    pose.Move({0, depth * Wave(t), 0});
    pose.Bend(kSpine, RotX(crouched ? 16 : 2));
    pose.Bend(kSpine2, RotX(depth * 2 * Wave(t)));
    const double lift = crouched ? kCrouchLift : 0, z = crouched ? 4 : 0.5;
    PlaceLegs(pose, {-5, kAnkle + lift, -z}, {5, kAnkle + lift, z + 3});
    RelaxArms(pose, 4);
    return pose;
}

Pose Run(double t, bool crouched, double stride, double step_height) {
    Pose pose(Humanoid());
    pose.Move({0, -1.2 + 1.2 * std::abs(Wave(t)), 0});
    pose.Bend(kSpine, RotX(crouched ? 20 : 9));
    const double lift = crouched ? kCrouchLift : 0;
    auto foot = [&](double phase, double x) {
        const double a = 2 * kPi * (t + phase);
        return Vec3{x, kAnkle + lift + step_height * std::max(0.0, std::sin(a)), stride * std::cos(a)};
    };
    PlaceLegs(pose, foot(0, -4.8), foot(0.5, 4.8));
    pose.Bend(kSpine2, RotY(8 * Wave(t)));
    RelaxArms(pose, 25 * Wave(t));
    return pose;
}

// Knees give way, then the body falls on its back and lies still.
Pose Death(double t) {
    Pose pose(Humanoid());
    const double buckle = Ease(t / 0.35), fall = Ease((t - 0.2) / 0.8);
    const double lying = kSole + 6;  // the back and the pack rest on the floor
    pose.Move({0, -10 * buckle * (1 - fall) + lying * fall, 0});
    pose.Bend(kRoot, RotX(-88 * fall));
    pose.Bend(kSpine, RotX(20 * buckle * (1 - fall) + 5 * fall));
    pose.Bend(kHead, RotY(25 * fall));  // turned aside
    // Legs swing forward with a negative turn about x.
    pose.Bend(kLThigh, RotX(-40 * buckle * (1 - fall) - 15 * fall) * RotZ(-8 * fall));
    pose.Bend(kRThigh, RotX(-30 * buckle * (1 - fall) - 5 * fall) * RotZ(12 * fall));
    pose.Bend(kLCalf, RotX(60 * buckle * (1 - fall) + 20 * fall));
    pose.Bend(kRCalf, RotX(45 * buckle * (1 - fall) + 5 * fall));
    pose.Bend(kLUpperArm, RotZ(-20 - 60 * fall) * RotX(-30 * buckle * (1 - fall)));
    pose.Bend(kRUpperArm, RotZ(20 + 70 * fall) * RotX(-20 * buckle * (1 - fall)));
    pose.Bend(kLForearm, RotX(-30 * (1 - fall) - 10));
    pose.Bend(kRForearm, RotX(-40 * (1 - fall) - 15));
    return pose;
}

// Where each weapon type is held, with the chest at rest: the right wrist
// (on the grip), the left wrist (on the fore-end, or hanging for the
// one-handed weapons).
struct Grip {
    Vec3 right, left;
    bool two_hands;
};

Grip GripOf(int type) {
    switch (type) {
        case 0:
            return {{5, 25, 14}, {-9, -1, 2}, false};
        case 1:
            return {{4, 23, 9}, {1, 22, 17}, true};
        case 2:
            return {{4, 24, 10}, {0, 23, 18}, true};
        case 3:
            return {{6, 26, 10}, {3, 24, 17}, true};
        case 4:
            return {{6, 12, 8}, {-1, 13, 18}, true};
        default:
            return {{5, 20, 9}, {1, 19, 19}, true};
    }
}

// The torso pose: hands on the weapon, moved by `kick` (towards the body
// and up), the weapon tipped up by `tip` degrees and turned on its side by
// `roll`; `left_away` sends the left hand to the belt (0 to 1).
Pose Hold(int type, double sway, Vec3 kick, double tip, double roll, double left_away) {
    Pose pose(Humanoid());
    pose.Bend(kSpine1, RotX(sway));
    const Grip grip = GripOf(type);
    const Mat3 chest_turn = pose.Turn(kSpine3);
    auto world = [&](Vec3 p) { return pose.Joint(kSpine3) + chest_turn * (p - Humanoid()[kSpine3].rest); };
    const Mat3 weapon = chest_turn * RotZ(roll) * RotX(-tip);
    const Vec3 right = grip.right + kick;
    pose.Reach(kRUpperArm, world(right), world({20, 5, -8}), weapon);
    if (grip.two_hands) {
        const Vec3 on_weapon = right + RotZ(roll) * RotX(-tip) * (grip.left - grip.right);
        const Vec3 belt{-7, 2, 6};
        pose.Reach(kLUpperArm, world(Lerp(on_weapon, belt, left_away)), world({-20, 5, -8}), weapon * RotZ(-20));
    } else {
        pose.Reach(kLUpperArm, world(grip.left), world({-20, 10, -10}), chest_turn);
    }
    return pose;
}

Sequence Make(const std::string& file, int length, const std::function<Pose(double)>& at) {
    Sequence s{file, length, {}};
    for (int time = 0; time <= length; ++time) s.frames.push_back(at(double(time) / length).Keys());
    return s;
}

// Reload: tip the weapon, drop the magazine, fetch another, back to aim.
Pose Reload(int type, double t) {
    const double tip = 25 * (Ease(t / 0.15) - Ease((t - 0.85) / 0.15));
    const double roll = 20 * (Ease(t / 0.15) - Ease((t - 0.85) / 0.15));
    const double away = Ease((t - 0.2) / 0.2) - Ease((t - 0.55) / 0.2);
    return Hold(type, 0, {0, -2 * tip / 25, -1 * tip / 25}, tip, roll, away);
}

}  // namespace

std::vector<Sequence> BodySequences() {
    std::vector<Sequence> list = {
        Make("stand", 40, [](double t) { return Stance(t, false, 0.15); }),
        Make("crouch_idle1", 60, [](double t) { return Stance(t, true, 0.3); }),
        Make("idle1", 60, [](double t) { return Stance(t, false, 0.3); }),
        Make("crouch_run", 24, [](double t) { return Run(t, true, 3, 2); }),
        Make("run", 20, [](double t) { return Run(t, false, 9, 5); }),
        Make("death1", 50, Death),
    };
    // Times between shots follow from the "shoot" lengths; the reloads from theirs.
    const int shoot[6] = {2, 4, 4, 6, 2, 26};
    const int reload[6] = {50, 70, 70, 80, 120, 90};
    for (int type = 0; type < 6; ++type) {
        const std::string name = kWeaponTypes[type];
        list.push_back(Make("ref_aim_" + name + "_blend", 30, [type](double t) {
            return Hold(type, 0.8 * Wave(t), {0, 0.2 * Wave(t), 0}, 0, 0, 0);
        }));
        const double punch = type == 5 || type == 3 ? 3 : 1.5;
        list.push_back(Make("ref_shoot_" + name + "_blend", shoot[type], [type, punch](double t) {
            const double k = 1 - Ease(t);
            return Hold(type, 0, {0, 0.6 * punch * k, -punch * k}, 4 * punch * k, 0, 0);
        }));
        list.push_back(
            Make("ref_reload_" + name + "_blend", reload[type], [type](double t) { return Reload(type, t); }));
    }
    return list;
}

}  // namespace gen
