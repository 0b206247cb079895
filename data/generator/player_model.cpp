#include "player_model.h"

#include <algorithm>

#include "animations.h"
#include "body.h"
#include "file_out.h"
#include "skeleton.h"
#include "skins.h"

namespace gen {

namespace {

// The bones that get a hit box, with the hit group written before the name.
struct HitBone {
    int bone;
    int group;
};
constexpr HitBone kHitBones[] = {
    {kPelvis, 3}, {kSpine, 3},     {kSpine1, 3},   {kSpine2, 2},    {kSpine3, 2},   {kNeck, 1},
    {kHead, 1},   {kLUpperArm, 4}, {kLForearm, 4}, {kRUpperArm, 5}, {kRForearm, 5}, {kLThigh, 6},
    {kLCalf, 6},  {kLFoot, 6},     {kRThigh, 7},   {kRCalf, 7},     {kRFoot, 7},
};

// "$hbox group "bone" then the box in the bone's own axes: minimum y, x, z,
// two blanks, maximum y, x, z (the loader exchanges the first two again).
std::string HitBoxLine(const HitBone& hit) {
    const Bone& bone = Humanoid()[hit.bone];
    Vec3 low{1e9, 1e9, 1e9}, high{-1e9, -1e9, -1e9};
    for (const Block& b : BodyBlocks(Team::kTerrorist)) {
        if (b.bone != hit.bone) continue;
        for (int corner = 0; corner < 8; ++corner) {
            const Vec3 c{corner & 1 ? b.high.x : b.low.x, corner & 2 ? b.high.y : b.low.y,
                         corner & 4 ? b.high.z : b.low.z};
            const Vec3 l = BoneLocal(bone.rest_axes, c - bone.rest);
            low = {std::min(low.x, l.x), std::min(low.y, l.y), std::min(low.z, l.z)};
            high = {std::max(high.x, l.x), std::max(high.y, l.y), std::max(high.z, l.z)};
        }
    }
    return "$hbox " + std::to_string(hit.group) + " \"" + bone.name + "\" " + Num(low.y) + " " + Num(low.x) + " " +
           Num(low.z) + "  " + Num(high.y) + " " + Num(high.x) + " " + Num(high.z) + "\n";
}

std::string ModelDescription(const std::vector<Sequence>& sequences) {
    std::string qc = "$modelname \"terror.mdl\"\n$cd \".\"\n$cdtexture \".\"\n$scale 1.0\n\n";
    for (const HitBone& hit : kHitBones) qc += HitBoxLine(hit);
    // Mesh 0 is worn by the terrorists, mesh 1 by the GIGN.
    qc += "\n$bodygroup \"body\"\n{\nstudio \"terror_ref\"\nstudio \"gign_ref\"\n}\n\n";
    for (const Sequence& s : sequences) {
        const bool loops = s.file != "death1" && s.file.find("shoot") == std::string::npos &&
                           s.file.find("reload") == std::string::npos;
        qc += "$sequence \"" + s.file + "\" \"" + s.file + "\" fps 33" + (loops ? " loop" : "") + "\n";
    }
    return qc;
}

}  // namespace

void WritePlayerModel(const std::string& models) {
    const std::vector<SmdNode> nodes = Nodes(Humanoid());
    const std::vector<std::vector<SmdKey>> rest = {Pose(Humanoid()).Keys()};
    WriteSmd(models + "/terror_ref.smd", nodes, rest, BodyTriangles(Team::kTerrorist, "TS01.bmp"));
    WriteSmd(models + "/gign_ref.smd", nodes, rest, BodyTriangles(Team::kGign, "GS01.bmp"));

    const std::vector<Sequence> sequences = BodySequences();
    for (const Sequence& s : sequences) WriteSmd(models + "/" + s.file + ".smd", nodes, s.frames, {});
    SaveText(models + "/terror.qc", ModelDescription(sequences));

    for (Team team : {Team::kTerrorist, Team::kGign}) {
        const std::string prefix = team == Team::kGign ? "GS" : "TS";
        for (const SkinStyle& style : SkinStyles(team))
            WriteBmp(models + "/" + prefix + style.code + ".bmp", Skin(team, style));
        // The preview: a frame holding the body's frame, textured with the
        // bitmap the launcher overwrites with the chosen skin.
        const std::string name = team == Team::kGign ? "gign" : "terror";
        WriteBmp(models + "/" + name + "2_0.bmp", Skin(team, SkinStyles(team).front()));
        Frame body{name + "_body", {}, {}, {BodyMesh(team, name + "2_0.bmp", 0.5)}, {}};
        WriteX(models + "/" + name + ".x", Frame{name, {}, {}, {}, {body}});
    }
    for (int n = 1; n <= 9; ++n) WriteBmp(models + "/blood00" + std::to_string(n) + ".bmp", Blood(n));
}

}  // namespace gen
