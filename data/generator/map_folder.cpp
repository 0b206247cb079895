#include "map_folder.h"

#include <cmath>
#include <utility>

#include "file_out.h"
#include "level_kit.h"
#include "textures.h"

namespace gen {

namespace {

constexpr double kScale = 8;
constexpr double kHalf = 120, kBoundary = 30;

// The inside of the cube from -1 to 1, each face upright as seen from the
// middle; the names are those the map loader maps to the sky set.
void WriteSkyBox(const std::string& path) {
    Mesh box;
    box.name = "boite";
    struct Side {
        const char* texture;
        Vec3 centre, right, up;  // as seen from inside
    };
    const Side sides[] = {
        {"devant.bmp", {0, 0, 1}, {1, 0, 0}, {0, 1, 0}},  {"derriere.bmp", {0, 0, -1}, {-1, 0, 0}, {0, 1, 0}},
        {"droite.bmp", {1, 0, 0}, {0, 0, -1}, {0, 1, 0}}, {"gauche.bmp", {-1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
        {"haut.bmp", {0, 1, 0}, {1, 0, 0}, {0, 0, -1}},   {"bas.bmp", {0, -1, 0}, {1, 0, 0}, {0, 0, 1}},
    };
    for (const Side& s : sides) {
        Material m;
        m.texture = s.texture;
        m.emissive = 1;
        const int material = box.AddMaterial(m);
        const Vec3 tl = s.centre - s.right + s.up, tr = s.centre + s.right + s.up;
        const Vec3 br = s.centre + s.right - s.up, bl = s.centre - s.right - s.up;
        box.AddFace({tl, tr, br, bl}, {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, material);
    }
    WriteX(path, Frame{"ciel", {}, {}, {box}, {}});
}

// Dusk: warm at the horizon (the picture's middle row), deep blue above,
// a dark haze below; the sun low on the front face.
Picture SkyFace(char face) {
    Picture p(256, 256);
    for (int y = 0; y < 256; ++y) {
        const double h = (128.0 - y) / 128;  // 1 at the top, -1 at the bottom
        Rgb c = h > 0 ? Mix({250, 150, 80}, {30, 40, 90}, std::pow(h, 0.6)) : Mix({60, 40, 40}, {20, 18, 22}, -h);
        if (face == 'u') c = Mix({30, 40, 90}, {18, 22, 60}, std::abs(y - 128) / 180.0);
        if (face == 'd') c = {20, 18, 22};
        for (int x = 0; x < 256; ++x) p.set(x, y, c);
    }
    if (face == 'f') p.Disc(150, 118, 18, {255, 220, 150}, 6);
    if (face != 'd' && face != 'u')
        for (int i = 0; i < 5; ++i) {  // streaks of cloud
            const int y = 40 + int(Hash(i, face, 1) * 60);
            for (int x = 0; x < 256; ++x)
                if (std::sin(x * 0.05 + i) > 0.2) p.set(x, y + (x % 3 == 0), Mix(p.at(x, y), {255, 180, 140}, 0.35));
        }
    return p;
}

Picture Fence() {
    Picture p(64, 64, {0, 0, 255});  // pure blue: not drawn
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            if ((x + y) % 16 < 2 || (x - y + 64) % 16 < 2) p.set(x, y, {150, 155, 160});
    p.FillRect(0, 0, 64, 3, {90, 95, 100});
    return p;
}

struct MapMaterials {
    int ground, wall, brick, roof, crate, fence, ladder, metal;
};

MapMaterials MapMaterialsOf(Mesh& m) {
    return {m.AddMaterial(Textured("m_ground.bmp")), m.AddMaterial(Textured("m_wall.bmp")),
            m.AddMaterial(Textured("m_brick.bmp")),  m.AddMaterial(Textured("m_roof.bmp")),
            m.AddMaterial(Textured("m_crate.bmp")),  m.AddMaterial(Textured("{fence.bmp")),
            m.AddMaterial(Textured("m_ladder.bmp")), m.AddMaterial(Textured("m_metal.bmp"))};
}

// A closed building: sides into `walls`, roof into `roofs`.
void Building(Mesh& walls, Mesh& roofs, Vec3 l, Vec3 h, int side, int top, double tile) {
    AddWallX(walls, h.x, l.z, h.z, l.y, h.y, 1, side, tile);
    AddWallX(walls, l.x, l.z, h.z, l.y, h.y, -1, side, tile);
    AddWallZ(walls, h.z, l.x, h.x, l.y, h.y, 1, side, tile);
    AddWallZ(walls, l.z, l.x, h.x, l.y, h.y, -1, side, tile);
    AddFloor(roofs, l.x, h.x, l.z, h.z, h.y, top, tile);
}

void WriteDocks(const std::string& map) {
    Mesh floors, walls, roofs, ladder;
    const MapMaterials m = MapMaterialsOf(floors);
    for (Mesh* mesh : {&walls, &roofs, &ladder}) MapMaterialsOf(*mesh);  // the same table in every mesh

    // The ground runs on beyond the walls: the game sizes the sky box by the
    // level's largest extent, and this keeps the box's sides behind the walls.
    AddFloor(floors, -kHalf - 10, kHalf + 10, -kHalf - 10, kHalf + 10, 0, m.ground, 16);
    AddWallX(walls, -kHalf, -kHalf, kHalf, 0, kBoundary, 1, m.wall, 15);
    AddWallX(walls, kHalf, -kHalf, kHalf, 0, kBoundary, -1, m.wall, 15);
    AddWallZ(walls, -kHalf, -kHalf, kHalf, 0, kBoundary, 1, m.wall, 15);
    AddWallZ(walls, kHalf, -kHalf, kHalf, 0, kBoundary, -1, m.wall, 15);

    Building(walls, roofs, {-80, 0, 30}, {-30, 24, 80}, m.brick, m.roof, 12);
    Building(walls, roofs, {20, 0, 40}, {70, 18, 90}, m.brick, m.roof, 12);
    Building(walls, roofs, {-70, 0, -75}, {-20, 16, -35}, m.brick, m.roof, 12);
    for (auto [x, z] : {std::pair{0.0, 0.0}, std::pair{-10.0, 20.0}, std::pair{85.0, -10.0}, std::pair{-95.0, -5.0}})
        Building(walls, floors, {x - 4, 0, z - 4}, {x + 4, 8, z + 4}, m.crate, m.crate, 8);
    // A see-through fence across the east yard.
    AddWallZ(walls, -40, 75, 120, 0, 12, 1, m.fence, 12);
    AddWallZ(walls, -40, 75, 120, 0, 12, -1, m.fence, 12);

    // The watchtower: walkable top, a ladder up its south side.
    const Vec3 tl{40, 0, -20}, th{56, 20, -4};
    AddWallX(walls, th.x, tl.z, th.z, 0, th.y, 1, m.metal, 10);
    AddWallX(walls, tl.x, tl.z, th.z, 0, th.y, -1, m.metal, 10);
    AddWallZ(walls, th.z, tl.x, th.x, 0, th.y, 1, m.metal, 10);
    AddWallZ(walls, tl.z, tl.x, th.x, 0, th.y, -1, m.metal, 10);
    AddFloor(floors, tl.x, th.x, tl.z, th.z, th.y, m.metal, 8);
    for (double x : {45.5, 50.5})
        AddBox(ladder, {x - 0.3, 0, tl.z - 1.2}, {x + 0.3, th.y + 1, tl.z - 0.2}, m.ladder, 2);
    for (double y = 1.5; y < th.y; y += 2)
        AddBox(ladder, {45.5, y - 0.2, tl.z - 0.9}, {50.5, y + 0.2, tl.z - 0.5}, m.ladder, 2);

    WriteX(map + "/docks.sol", Wrapped("docks_sol", Scaled(floors, 1 / kScale)));
    WriteX(map + "/docks.mur", Wrapped("docks_mur", Scaled(walls, 1 / kScale)));
    WriteX(map + "/docks.pla", Wrapped("docks_pla", Scaled(roofs, 1 / kScale)));
    WriteX(map + "/docks.lad", Wrapped("docks_lad", Scaled(ladder, 1 / kScale)));

    // Sky prefix, light, four spawn points (2.5 above the ground where the
    // players stand; whole numbers, which read the same in every locale), scale.
    SaveText(map + "/docks.map", "dusk\n0:80:0\n-95:3:-95\n95:3:95\n-95:3:95\n95:3:-95\n8\n");
}

}  // namespace

void WriteMapFolder(const std::string& map) {
    WriteSkyBox(map + "/boite.x");
    const char* faces[6][2] = {{"ft", "f"}, {"rt", "r"}, {"lf", "l"}, {"bk", "b"}, {"dn", "d"}, {"up", "u"}};
    for (const auto& face : faces) WriteBmp(map + "/env/dusk" + face[0] + ".bmp", SkyFace(face[1][0]));
    const std::string t = map + "/textures/";
    WriteBmp(t + "m_ground.bmp", Concrete(128, {110, 104, 92}, 31));
    WriteBmp(t + "m_wall.bmp", Panels(128, {120, 110, 96}, {70, 64, 56}, 32));
    WriteBmp(t + "m_brick.bmp", Tiles(128, 8, {150, 80, 60}, {90, 84, 80}, 33));
    WriteBmp(t + "m_roof.bmp", Corrugated(128, {90, 70, 60}, 34));
    WriteBmp(t + "m_crate.bmp", Crate(128, 35));
    WriteBmp(t + "m_ladder.bmp", Hazard(32));
    WriteBmp(t + "m_metal.bmp", Grating(64, {100, 110, 115}));
    WriteBmp(t + "{fence.bmp", Fence());
    WriteDocks(map);
}

}  // namespace gen
