#include "body.h"

#include "skeleton.h"

namespace gen {

std::vector<Block> BodyBlocks(Team team) {
    const bool gign = team == Team::kGign;
    const double vest = gign ? 5.2 : 4.4;
    std::vector<Block> blocks = {
        {kPelvis, {-6, -4, -3.5}, {6, 3, 3.5}, skin::kBeltArea, skin::kBeltArea},
        {kSpine, {-6, 3, -3.4}, {6, 7, 3.6}, skin::kTorsoArea, skin::kTorsoArea},
        {kSpine1, {-6.3, 7, -3.5}, {6.3, 11, 3.8}, skin::kTorsoArea, skin::kTorsoArea},
        {kSpine2, {-7, 11, -3.8}, {7, 15, vest}, skin::kChestArea, skin::kTorsoArea},
        {kSpine3, {-7.6, 15, -4}, {7.6, 21.5, vest}, skin::kChestArea, skin::kTorsoArea},
        {kNeck, {-2, 21, -2}, {2, 25, 2}, skin::kHandArea, skin::kHandArea},
        {kHead, {-4, 25, -4.5}, {4, 34, 4.5}, skin::kFaceArea, skin::kHeadArea},
        {kLUpperArm, {-10, 9, -2.2}, {-6, 21, 2.2}, skin::kArmArea, skin::kArmArea},
        {kLForearm, {-10.5, -1, -1.9}, {-7, 9.5, 1.9}, skin::kArmArea, skin::kArmArea},
        {kLHand, {-10.3, -7, -1.5}, {-7.8, -1, 1.5}, skin::kHandArea, skin::kHandArea},
        {kLThigh, {-7.2, -19, -2.9}, {-1.6, -1, 2.9}, skin::kLegArea, skin::kLegArea},
        {kLCalf, {-6.7, -34, -2.4}, {-2.3, -18.5, 2.4}, skin::kLegArea, skin::kLegArea},
        {kLFoot, {-6.8, -37, -2.8}, {-2.2, -33.5, 7}, skin::kBootArea, skin::kBootArea},
    };
    if (gign) {
        blocks.push_back({kHead, {-4.6, 31, -5.1}, {4.6, 35.5, 5.1}, skin::kGearArea, skin::kGearArea});  // helmet
        blocks.push_back(
            {kSpine3, {-5, 16, vest}, {5, 21, vest + 1.2}, skin::kGearArea, skin::kGearArea});  // chest plate
    } else {
        blocks.push_back(
            {kSpine3, {-5.5, 12, -7}, {5.5, 21, -4}, skin::kGearArea, skin::kGearArea});  // pack on the back
    }
    // The right side mirrors the left.
    const size_t count = blocks.size();
    for (size_t i = 0; i < count; ++i) {
        const Block b = blocks[i];  // a copy: the vector grows below
        const int mirror = b.bone >= kLClavicle && b.bone <= kLHand ? b.bone + (kRClavicle - kLClavicle)
                           : b.bone >= kLThigh && b.bone <= kLFoot  ? b.bone + (kRThigh - kLThigh)
                                                                    : -1;
        if (mirror >= 0)
            blocks.push_back({mirror, {-b.high.x, b.low.y, b.low.z}, {-b.low.x, b.high.y, b.high.z}, b.front, b.other});
    }
    return blocks;
}

namespace {

// The six faces of a block as corner lists, each from its top-left corner
// clockwise as seen from outside (side faces upright, the top seen with the
// front up), front (+z) first.
std::vector<std::vector<Vec3>> BlockFaces(Vec3 l, Vec3 h) {
    return {
        {{h.x, h.y, h.z}, {l.x, h.y, h.z}, {l.x, l.y, h.z}, {h.x, l.y, h.z}},  // +z
        {{l.x, h.y, l.z}, {h.x, h.y, l.z}, {h.x, l.y, l.z}, {l.x, l.y, l.z}},  // -z
        {{h.x, h.y, l.z}, {h.x, h.y, h.z}, {h.x, l.y, h.z}, {h.x, l.y, l.z}},  // +x
        {{l.x, h.y, h.z}, {l.x, h.y, l.z}, {l.x, l.y, l.z}, {l.x, l.y, h.z}},  // -x
        {{l.x, h.y, h.z}, {h.x, h.y, h.z}, {h.x, h.y, l.z}, {l.x, h.y, l.z}},  // +y
        {{h.x, l.y, h.z}, {l.x, l.y, h.z}, {l.x, l.y, l.z}, {h.x, l.y, l.z}},  // -y
    };
}

std::vector<std::pair<double, double>> RegionUv(const Region& r) {
    const double u0 = (r.x + 0.5) / 256, v0 = (r.y + 0.5) / 256;
    const double u1 = (r.x + r.w - 0.5) / 256, v1 = (r.y + r.h - 0.5) / 256;
    return {{u0, v0}, {u1, v0}, {u1, v1}, {u0, v1}};
}

}  // namespace

std::vector<SmdTriangle> BodyTriangles(Team team, const std::string& texture) {
    std::vector<SmdTriangle> triangles;
    for (const Block& b : BodyBlocks(team)) {
        const auto faces = BlockFaces(b.low, b.high);
        for (size_t f = 0; f < faces.size(); ++f) {
            const auto& c = faces[f];
            const auto uv = RegionUv(f == 0 ? b.front : b.other);
            const Vec3 normal = Normalised(Cross(c[1] - c[0], c[2] - c[0]));
            auto corner = [&](int i) {
                // The skinned copy keeps the file's normals as they are, in the body's own axes.
                return SmdVertex{b.bone, FilePosition(c[i]), normal, uv[i].first, -uv[i].second};
            };
            triangles.push_back({texture, {corner(0), corner(1), corner(2)}});
            triangles.push_back({texture, {corner(0), corner(2), corner(3)}});
        }
    }
    return triangles;
}

Mesh BodyMesh(Team team, const std::string& texture, double scale) {
    Mesh mesh;
    mesh.name = team == Team::kGign ? "gign" : "terror";
    Material material;
    material.texture = texture;
    const int m = mesh.AddMaterial(material);
    const Mat3 facing = RotY(180);  // towards the preview's camera
    for (const Block& b : BodyBlocks(team)) {
        const auto faces = BlockFaces(b.low, b.high);
        for (size_t f = 0; f < faces.size(); ++f) {
            std::vector<Vec3> corners;
            for (const Vec3& c : faces[f]) corners.push_back(facing * (c * scale));
            mesh.AddFace(corners, RegionUv(f == 0 ? b.front : b.other), m);
        }
    }
    return mesh;
}

}  // namespace gen
