#include "levels.h"

#include <tuple>
#include <utility>

#include "level_kit.h"
#include "pictures.h"
#include "textures.h"

namespace gen {

namespace {

// ---- couloirs ---------------------------------------------------------------

constexpr double kWest = 0, kEast = 69.9762;
constexpr double kNorth = 14, kStairs = -150, kLanding = -185, kMiddle = -199.9797;
constexpr double kFloor = -5.5, kCeiling = 8.5, kHallCeiling = 13.5;
constexpr int kSteps = 10;
constexpr double kRise = 0.9, kDepth = 3.5;
// Collision reaches past the middle, so that both copies' meshes cover the
// stretch where the game has both switched on (z -220 to -190).
constexpr double kCollisionEnd = -226;

struct CorridorMaterials {
    int floor, wall, ceiling, pillar, light, step, frame, mark, logo[4];
};

CorridorMaterials CorridorMaterialsOf(Mesh& m) {
    CorridorMaterials c{};
    c.floor = m.AddMaterial(Textured("c_floor.bmp"));
    c.wall = m.AddMaterial(Textured("c_wall.bmp"));
    c.ceiling = m.AddMaterial(Textured("c_ceiling.bmp"));
    c.pillar = m.AddMaterial(Textured("c_pillar.bmp"));
    c.light = m.AddMaterial(Textured("c_light.bmp", 0.8));
    c.step = m.AddMaterial(Textured("c_step.bmp"));
    c.frame = m.AddMaterial(Textured("c_frame.bmp"));
    c.mark = m.AddMaterial(Textured("c_mark.bmp"));
    const char* logos[4] = {"logo.bmp", "logo2.bmp", "logo3.bmp", "logo4.bmp"};
    for (int i = 0; i < 4; ++i) c.logo[i] = m.AddMaterial(Textured(logos[i], 0.3));
    return c;
}

// A picture hung on a side wall, upright and unmirrored as seen from the hall.
void Poster(Mesh& m, double x, double facing, double z_centre, double y0, double width, double height, int material) {
    const double off = x + facing * 0.05, z0 = z_centre - width / 2, z1 = z_centre + width / 2;
    const double left = facing > 0 ? z0 : z1, right = facing > 0 ? z1 : z0;
    m.AddFace({{off, y0 + height, left}, {off, y0 + height, right}, {off, y0, right}, {off, y0, left}},
              {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, material);
}

void Pillar(LevelMeshes& l, const CorridorMaterials& c, double z) {
    AddBox(l.drawn, {33, kFloor, z - 2}, {37, kCeiling, z + 2}, c.pillar, 4);
    AddBox(l.walls, {33, kFloor, z - 2}, {37, kCeiling, z + 2}, l.floor_material, 4);
}

void WriteCouloirs(const std::string& media) {
    LevelMeshes hall, stairs;
    const CorridorMaterials c = CorridorMaterialsOf(hall.drawn);
    const CorridorMaterials s = CorridorMaterialsOf(stairs.drawn);
    const int plain = hall.floor_material;

    // The hall: floor, ceiling, side walls and the closed north end.
    AddFloor(hall.drawn, kWest, kEast, kStairs, kNorth, kFloor, c.floor, 8);
    AddFloor(hall.floors, kWest, kEast, kStairs, kNorth, kFloor, plain, 8);
    AddCeiling(hall.drawn, kWest, kEast, kStairs, kNorth, kCeiling, c.ceiling, 8);
    AddCeiling(hall.ceilings, kWest, kEast, kStairs, kNorth, kCeiling, plain, 8);
    for (auto [x, facing] : {std::pair{kWest, 1.0}, std::pair{kEast, -1.0}}) {
        AddWallX(hall.drawn, x, kStairs, kNorth, kFloor, kCeiling, facing, c.wall, 14);
        AddWallX(hall.walls, x, kCollisionEnd, kNorth, kFloor - 1, kHallCeiling, facing, plain, 14);
    }
    AddWallZ(hall.drawn, kNorth, kWest, kEast, kFloor, kCeiling, -1, c.wall, 14);
    AddWallZ(hall.walls, kNorth, kWest, kEast, kFloor, kCeiling, -1, plain, 14);
    for (double z = -25; z > -140; z -= 35) Pillar(hall, c, z);
    for (double x : {15.0, kEast - 15})  // painted lanes, just above the floor
        AddFloor(hall.drawn, x - 0.4, x + 0.4, kStairs, kNorth - 2, kFloor + 0.02, c.mark, 2);
    for (double z = 0; z > -150; z -= 35)  // light strips along the ceiling
        AddCeiling(hall.drawn, 22, 48, z - 6, z - 2, kCeiling - 0.05, c.light, 26);
    // The pictures that the game writes before loading each copy.
    Poster(hall.drawn, kWest, 1, -45, -1, 16, 8, c.logo[1]);
    Poster(hall.drawn, kWest, 1, -110, 0, 16, 4, c.logo[2]);
    Poster(hall.drawn, kEast, -1, -20, -1.5, 7.5, 7.3, c.logo[0]);
    Poster(hall.drawn, kEast, -1, -80, -1.5, 7.5, 7.5, c.logo[3]);

    // The stairs up to the landing, which ends at the middle of the level.
    for (int k = 1; k <= kSteps; ++k) {
        const double z1 = kStairs - kDepth * (k - 1), z0 = z1 - kDepth, y = kFloor + kRise * k;
        // The tread's texture runs from its nosing (v 0) to its back (v 1).
        stairs.drawn.AddFace({{kWest, y, z0}, {kWest, y, z1}, {kEast, y, z1}, {kEast, y, z0}},
                             {{0, 1}, {0, 0}, {kEast / kDepth, 0}, {kEast / kDepth, 1}}, s.step);
        AddFloor(stairs.floors, kWest, kEast, z0, z1, y, plain, 4);
        AddWallZ(stairs.drawn, z1, kWest, kEast, y - kRise, y, 1, s.wall, 4);  // riser
    }
    const double top = kFloor + kRise * kSteps;
    AddFloor(stairs.drawn, kWest, kEast, kMiddle, kLanding, top, s.floor, 8);
    AddFloor(stairs.floors, kWest, kEast, kCollisionEnd, kLanding, top, plain, 8);
    AddCeiling(stairs.drawn, kWest, kEast, kMiddle, kStairs, kHallCeiling, s.ceiling, 8);
    AddCeiling(stairs.ceilings, kWest, kEast, kCollisionEnd, kStairs, kHallCeiling, plain, 8);
    AddWallZ(stairs.drawn, kStairs, kWest, kEast, kCeiling, kHallCeiling, -1, s.wall, 14);  // over the hall's end
    for (auto [x, facing] : {std::pair{kWest, 1.0}, std::pair{kEast, -1.0}})
        AddWallX(stairs.drawn, x, kMiddle, kStairs, kFloor, kHallCeiling, facing, s.wall, 14);
    AddCeiling(stairs.drawn, 22, 48, kLanding - 4, kLanding + 4, kHallCeiling - 0.05, s.light, 26);
    // A wall across the middle of the landing with a door in it, symmetric
    // about the level's centre, so each copy shows its own face of it and
    // the far copy, which the game draws only from the landing on, stays out
    // of sight until then.
    const double door_west = 25, door_east = kEast - 25, door_top = top + 8;
    for (auto [x0, x1, y0] : {std::tuple{kWest, door_west, top}, std::tuple{door_east, kEast, top},
                              std::tuple{door_west, door_east, door_top}}) {
        AddWallZ(stairs.drawn, kMiddle, x0, x1, y0, kHallCeiling, 1, s.wall, 14);
        AddWallZ(hall.walls, kMiddle, x0, x1, y0, kHallCeiling, 1, plain, 14);
    }
    // Its frame, in hazard stripes, on this copy's side.
    for (auto [x0, x1, y0, y1] : {std::tuple{door_west - 1, door_west, top, door_top + 1},
                                  std::tuple{door_east, door_east + 1, top, door_top + 1},
                                  std::tuple{door_west, door_east, door_top, door_top + 1}})
        AddBox(stairs.drawn, {x0, y0, kMiddle}, {x1, y1, kMiddle + 0.4}, s.frame, 2);

    WriteX(media + "/couloir1.x", Wrapped("couloir", hall.drawn));
    WriteX(media + "/stair.x", Wrapped("stair", stairs.drawn));
    Mesh floors = hall.floors, walls = hall.walls, ceilings = hall.ceilings;
    floors.Append(stairs.floors);
    ceilings.Append(stairs.ceilings);
    WriteX(media + "/sol.x", Wrapped("sol", floors));
    WriteX(media + "/mur.x", Wrapped("mur", walls));
    WriteX(media + "/plafond.x", Wrapped("plafond", ceilings));

    WriteBmp(media + "/c_floor.bmp", Tiles(128, 4, {120, 118, 112}, {60, 60, 58}, 1));
    WriteBmp(media + "/c_wall.bmp", Panels(128, {96, 112, 128}, {60, 60, 66}, 2));
    WriteBmp(media + "/c_ceiling.bmp", Tiles(128, 2, {150, 150, 150}, {90, 90, 90}, 3));
    WriteBmp(media + "/c_pillar.bmp", Concrete(128, {140, 130, 120}, 4));
    WriteBmp(media + "/c_light.bmp", LightPanel(64, {255, 240, 200}));
    WriteBmp(media + "/c_step.bmp", Tread(64));
    WriteBmp(media + "/c_frame.bmp", Hazard(32));
    WriteBmp(media + "/c_mark.bmp", Picture(8, 8, {210, 170, 40}));
}

// ---- entrepot ----------------------------------------------------------------

constexpr double kWallW = -86, kWallE = 88, kWallS = -82, kWallN = 82;
constexpr double kGround = -27, kGallery = 2, kGalleryEdge = 50, kRoof = 24, kRail = 3.2;
constexpr double kRampLength = 56, kRampWidth = 14;

struct WarehouseMaterials {
    int floor, wall, roof, crate, rail, gallery, light, pillar;
};

WarehouseMaterials WarehouseMaterialsOf(Mesh& m) {
    return {m.AddMaterial(Textured("e_floor.bmp")),      m.AddMaterial(Textured("e_wall.bmp")),
            m.AddMaterial(Textured("e_roof.bmp")),       m.AddMaterial(Textured("e_crate.bmp")),
            m.AddMaterial(Textured("e_rail.bmp")),       m.AddMaterial(Textured("e_gallery.bmp")),
            m.AddMaterial(Textured("e_light.bmp", 0.9)), m.AddMaterial(Textured("e_pillar.bmp"))};
}

void Block(Mesh& sides, Mesh* top, Vec3 l, Vec3 h, int side_material, int top_material, double tile) {
    AddWallX(sides, h.x, l.z, h.z, l.y, h.y, 1, side_material, tile);
    AddWallX(sides, l.x, l.z, h.z, l.y, h.y, -1, side_material, tile);
    AddWallZ(sides, h.z, l.x, h.x, l.y, h.y, 1, side_material, tile);
    AddWallZ(sides, l.z, l.x, h.x, l.y, h.y, -1, side_material, tile);
    if (top) AddFloor(*top, l.x, h.x, l.z, h.z, h.y, top_material, tile);
}

// A ramp from the gallery edge (z = edge, at gallery height) towards the
// middle, `toward` being +1 or -1 along z; its inner side is walled.
void Ramp(Mesh& floors, Mesh& walls, Mesh& under, const WarehouseMaterials& m, double x0, double x1, double edge,
          double toward, double inner_x, double inner_facing) {
    const double foot = edge + toward * kRampLength;
    AddFacing(floors, {{x0, kGallery, edge}, {x1, kGallery, edge}, {x1, kGround, foot}, {x0, kGround, foot}}, {0, 1, 0},
              m.gallery, 8);
    AddFacing(under, {{x0, kGallery - 1, edge}, {x1, kGallery - 1, edge}, {x1, kGround, foot}, {x0, kGround, foot}},
              {0, -1, 0}, m.roof, 8);
    // The inner side: a wall from the ground to a rail above the slope.
    AddFacing(walls,
              {{inner_x, kGallery + kRail, edge},
               {inner_x, kGround + kRail, foot},
               {inner_x, kGround, foot},
               {inner_x, kGround, edge}},
              {inner_facing, 0, 0}, m.rail, 6);
    AddFacing(walls,
              {{inner_x, kGallery + kRail, edge},
               {inner_x, kGround + kRail, foot},
               {inner_x, kGround, foot},
               {inner_x, kGround, edge}},
              {-inner_facing, 0, 0}, m.rail, 6);
}

void WriteEntrepot(const std::string& media) {
    Mesh floors, walls, roof;
    const WarehouseMaterials f = WarehouseMaterialsOf(floors);
    const WarehouseMaterials w = WarehouseMaterialsOf(walls);
    const WarehouseMaterials r = WarehouseMaterialsOf(roof);

    AddFloor(floors, kWallW, kWallE, kWallS, kWallN, kGround, f.floor, 16);
    AddFloor(floors, kWallW, kWallE, kGalleryEdge, kWallN, kGallery, f.gallery, 8);
    AddFloor(floors, kWallW, kWallE, kWallS, -kGalleryEdge, kGallery, f.gallery, 8);
    AddCeiling(roof, kWallW, kWallE, kWallS, kWallN, kRoof, r.roof, 16);
    AddCeiling(roof, kWallW, kWallE, kGalleryEdge, kWallN, kGallery - 1, r.roof, 8);
    AddCeiling(roof, kWallW, kWallE, kWallS, -kGalleryEdge, kGallery - 1, r.roof, 8);
    for (double x = -60; x <= 60; x += 30)  // roof lights
        for (double z : {-20.0, 20.0}) AddCeiling(roof, x - 4, x + 4, z - 8, z + 8, kRoof - 0.1, r.light, 16);

    AddWallX(walls, kWallW, kWallS, kWallN, kGround, kRoof, 1, w.wall, 24);
    AddWallX(walls, kWallE, kWallS, kWallN, kGround, kRoof, -1, w.wall, 24);
    AddWallZ(walls, kWallS, kWallW, kWallE, kGround, kRoof, 1, w.wall, 24);
    AddWallZ(walls, kWallN, kWallW, kWallE, kGround, kRoof, -1, w.wall, 24);

    // Gallery fronts and rails; each rail leaves the top of its ramp open.
    const double ramp_n0 = kWallW, ramp_n1 = kWallW + kRampWidth;  // north ramp, west side, down towards -z
    const double ramp_s0 = kWallE - kRampWidth, ramp_s1 = kWallE;  // south ramp, east side, down towards +z
    AddWallZ(walls, kGalleryEdge, kWallW, kWallE, kGallery - 1, kGallery, -1, w.rail, 4);
    AddWallZ(walls, -kGalleryEdge, kWallW, kWallE, kGallery - 1, kGallery, 1, w.rail, 4);
    Block(walls, nullptr, {ramp_n1, kGallery, kGalleryEdge - 0.4}, {kWallE, kGallery + kRail, kGalleryEdge}, w.rail,
          w.rail, 6);
    Block(walls, nullptr, {kWallW, kGallery, -kGalleryEdge}, {ramp_s0, kGallery + kRail, -kGalleryEdge + 0.4}, w.rail,
          w.rail, 6);
    Ramp(floors, walls, roof, f, ramp_n0, ramp_n1, kGalleryEdge, -1, ramp_n1, 1);
    Ramp(floors, walls, roof, f, ramp_s0, ramp_s1, -kGalleryEdge, 1, ramp_s0, -1);
    for (double x : {-40.0, 0.0, 40.0})  // pillars under the galleries' edges
        for (double z : {kGalleryEdge - 1.5, -kGalleryEdge + 1.5})
            Block(walls, nullptr, {x - 1.5, kGround, z - 1.5}, {x + 1.5, kGallery - 1, z + 1.5}, w.pillar, w.pillar, 6);

    // Crates on the ground floor, away from the spawn points.
    const struct {
        double x, z, size, height;
    } crates[] = {{-30, -22, 8, 8}, {-30, -22, 6, 14}, {30, 16, 8, 8}, {55, -26, 9, 9},
                  {-36, 30, 8, 8},  {12, 36, 7, 7},    {16, 36, 5, 12}};
    for (const auto& c : crates)
        Block(walls, &floors, {c.x - c.size / 2, kGround, c.z - c.size / 2},
              {c.x + c.size / 2, kGround + c.height, c.z + c.size / 2}, w.crate, f.crate, c.size);

    WriteX(media + "/lessols.x", Wrapped("lessols", Scaled(floors, 10)));
    WriteX(media + "/lesmurs.x", Wrapped("lesmurs", Scaled(walls, 10)));
    WriteX(media + "/inutile.x", Wrapped("inutile", Scaled(roof, 10)));

    WriteBmp(media + "/e_floor.bmp", Concrete(128, {128, 126, 120}, 11));
    WriteBmp(media + "/e_wall.bmp", Corrugated(128, {110, 124, 118}, 12));
    WriteBmp(media + "/e_roof.bmp", Corrugated(128, {80, 80, 86}, 13));
    WriteBmp(media + "/e_crate.bmp", Crate(128, 14));
    WriteBmp(media + "/e_rail.bmp", Hazard(64));
    WriteBmp(media + "/e_gallery.bmp", Grating(64, {110, 110, 104}));
    WriteBmp(media + "/e_light.bmp", LightPanel(64, {255, 250, 220}));
    WriteBmp(media + "/e_pillar.bmp", Concrete(64, {150, 140, 120}, 15));
}

}  // namespace

void WriteLevels(const std::string& media) {
    WriteCouloirs(media);
    WriteEntrepot(media);
    WriteLogos(media);
}

}  // namespace gen
