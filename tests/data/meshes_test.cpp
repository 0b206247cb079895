// The mesh files load with Assimp, and the levels' floors carry the players
// the way the game's ground following moves them: every spawn point stands
// within the ground ray's reach, and walking along the levels never meets a
// drop or a step the movement rules refuse.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <glm/gtc/matrix_transform.hpp>
#include <tuple>

#include "data_files.h"
#include "scene.h"

using namespace data_test;

namespace {

// The second corridor: half a turn about y, then moved.
glm::dmat4 CopyTwo() {
    return glm::translate(glm::dmat4(1), {69.9762, 0, -399.9594}) *
           glm::rotate(glm::dmat4(1), glm::pi<double>(), {0, 1, 0});
}

constexpr double kEye = 2.5, kCrouchedEye = 1;

// The ground rule: the drop, in whole units (halves to even), from the
// player's origin down to the floor's eye height.
double Drop(double y, double floor, double eye) { return std::nearbyint(y - (floor + eye)); }

std::vector<Triangle> Couloirs() {
    const std::vector<Triangle> copy1 = LoadMeshFile("media/sol.x").triangles;
    std::vector<Triangle> both = copy1;
    for (const Triangle& t : Transformed(copy1, CopyTwo())) both.push_back(t);
    return both;
}

}  // namespace

TEST(MeshFiles, AllLoadWithNormalsAndTextureCoordinates) {
    std::vector<std::string> files;
    for (const char* folder : {"media", "models", "map"})
        for (const auto& entry : std::filesystem::directory_iterator(GamePath(folder))) {
            const std::string ext = entry.path().extension().string();
            if (ext == ".x" || ext == ".sol" || ext == ".mur" || ext == ".pla" || ext == ".lad")
                files.push_back(std::string(folder) + "/" + entry.path().filename().string());
        }
    EXPECT_GE(files.size(), 15u);
    for (const std::string& f : files) {
        const MeshFile mesh = LoadMeshFile(f);
        ASSERT_TRUE(mesh.loaded) << f << ": " << mesh.error;
        EXPECT_GT(mesh.meshes, 0u) << f;
        EXPECT_FALSE(mesh.triangles.empty()) << f;
        EXPECT_TRUE(mesh.normals) << f;
        EXPECT_TRUE(mesh.texture_coordinates) << f;
    }
    // The launcher takes the preview meshes from their first child frame.
    // (The warehouse files' frame is checked where the game loads them.)
    for (const char* f : {"models/terror.x", "models/gign.x"}) EXPECT_GE(LoadMeshFile(f).root_children, 1u) << f;
}

TEST(Couloirs, EverySpawnPointStandsOnTheFloorOfItsCopy) {
    const double rows[11][2] = {{6.568459, 5.590749},  {61.29934, -7.766153}, {7.715461, -22.40472},
                                {62.894, -38.85555},   {4.783217, -52.10814}, {60.96455, -68.15862},
                                {7.151272, -83.69406}, {62.3031, -100.6524},  {7.021965, -114.4849},
                                {63.46053, -127.5947}, {5.458971, -141.0415}};
    const std::vector<Triangle> floors = Couloirs();
    for (const glm::dmat4& copy : {glm::dmat4(1), CopyTwo()})
        for (const auto& r : rows) {
            const glm::dvec3 p(copy * glm::dvec4(r[0], -3, r[1], 1));
            const auto floor = FloorBelow(floors, p);
            ASSERT_TRUE(floor) << r[0] << " " << r[1];
            EXPECT_EQ(Drop(p.y, *floor, kEye), 0) << r[0] << " " << r[1];
        }
}

// Walk the length of both copies, standing and crouching, on several lanes:
// the two copies join, and the stairs can be climbed either way.
TEST(Couloirs, TheTwoCopiesJoinAndTheStairsCanBeClimbed) {
    const std::vector<Triangle> floors = Couloirs();
    for (double eye : {kEye, kCrouchedEye})
        for (double x : {6.0, 20.0, 50.0, 63.0})
            for (int direction : {-1, 1}) {
                double z = direction < 0 ? 10 : -410;
                double y = *FloorBelow(floors, {x, 100, z}) + eye;
                for (; direction < 0 ? z > -410 : z < 10; z += 0.5 * direction) {
                    const auto floor = FloorBelow(floors, {x, y, z});
                    ASSERT_TRUE(floor) << "no floor at x " << x << " z " << z;
                    const double d = Drop(y, *floor, eye);
                    ASSERT_LE(d, 5) << "a drop the ground ray refuses at x " << x << " z " << z;
                    y = d <= 0 ? *floor + eye : y - 1;
                }
            }
}

// Along a lane through the landing's door and clear of the pillars, the wall
// probe (a level ray 0.2 above the player's origin) meets no wall before the
// far end of the level.
TEST(Couloirs, TheWayThroughTheLandingDoorIsOpen) {
    const std::vector<Triangle> floors = Couloirs();
    const std::vector<Triangle> copy1 = LoadMeshFile("media/mur.x").triangles;
    std::vector<Triangle> walls = copy1;
    for (const Triangle& t : Transformed(copy1, CopyTwo())) walls.push_back(t);
    const double x = 30;
    for (double z = 8; z > -405; z -= 1) {
        const double y = *FloorBelow(floors, {x, 100, z}) + kEye + 0.2;
        const auto wall = Hit(walls, {x, y, z}, {0, 0, -1});
        ASSERT_TRUE(wall) << z;  // the far end is closed
        EXPECT_GT(*wall, z + 413.96 - 3.5) << "a wall at z " << z - *wall;
    }
}

TEST(Entrepot, SpawnRowsStandOnTheFloorsAndTheRampsJoinTheFloors) {
    const std::vector<Triangle> floors =
        Transformed(LoadMeshFile("media/lessols.x").triangles, glm::scale(glm::dmat4(1), glm::dvec3(0.1)));
    const double rows[11][3] = {
        {70.12493, 4.761224, 64.86935},   {5.066369, 4.503484, 63.06583},   {-58.96852, 5.871279, 61.85323},
        {-58.05945, 4.411825, -65.318},   {6.515453, 4.473571, -63.73947},  {71.28043, 6.351606, -63.36874},
        {9.286125, -24.28041, -11.95823}, {-5.800889, -24.17529, 6.076867}, {-56.35686, -24.49127, 66.2188},
        {38.86509, -23.54429, 69.43626},  {35.92865, -24.60334, -71.76601}};
    for (const auto& r : rows) {
        const auto floor = FloorBelow(floors, {r[0], r[1], r[2]});
        ASSERT_TRUE(floor) << r[0] << " " << r[2];
        const double d = Drop(r[1], *floor, kEye);
        EXPECT_GE(d, 0) << r[0] << " " << r[2];
        EXPECT_LE(d, 5) << r[0] << " " << r[2];
    }
    // From the middle of the ground floor up each ramp onto its gallery.
    const double upper = rows[0][1];
    for (const auto& [x, from, to] : {std::tuple{-79.0, -20.0, 70.0}, std::tuple{81.0, 20.0, -70.0}}) {
        double y = *FloorBelow(floors, {x, 100, from}) + kEye;
        const double step = to > from ? 0.5 : -0.5;
        for (double z = from; step > 0 ? z < to : z > to; z += step) {
            const auto floor = FloorBelow(floors, {x, y, z});
            ASSERT_TRUE(floor) << x << " " << z;
            const double d = Drop(y, *floor, kEye);
            ASSERT_LE(d, 5) << x << " " << z;
            y = d <= 0 ? *floor + kEye : y - 1;
        }
        EXPECT_NEAR(y, upper, 2) << "ramp at x " << x << " does not reach the gallery";
    }
    // The roof is above the lamp.
    const auto roof = LoadMeshFile("media/inutile.x").triangles;
    double top = -1e9;
    for (const Triangle& t : roof) top = std::max({top, t.a.y * 0.1, t.b.y * 0.1, t.c.y * 0.1});
    EXPECT_GT(top, 15.63949);
}

TEST(MapFolder, SpawnPointsStandWithinReachOfTheFloor) {
    for (const auto& entry : std::filesystem::directory_iterator(GamePath("map"))) {
        if (entry.path().extension() != ".map") continue;
        const std::string level = entry.path().stem().string();
        const std::vector<std::string> lines = ReadLines("map/" + level + ".map");
        ASSERT_GE(lines.size(), 6u);
        const double scale =
            lines.size() > 6 && !lines[6].empty() && std::stod(lines[6]) != 0 ? std::stod(lines[6]) : 24;
        const std::vector<Triangle> floors =
            Transformed(LoadMeshFile("map/" + level + ".sol").triangles, glm::scale(glm::dmat4(1), glm::dvec3(scale)));
        EXPECT_FALSE(LoadMeshFile("map/" + level + ".lad").triangles.empty());
        for (int line = 2; line < 6; ++line) {
            const std::string& t = lines[line];
            const size_t c1 = t.find(':'), c2 = t.find(':', c1 + 1);
            ASSERT_NE(c2, std::string::npos) << t;
            const glm::dvec3 p(Number(t.substr(0, c1)), Number(t.substr(c1 + 1, c2 - c1 - 1)),
                               Number(t.substr(c2 + 1)));
            // Whole numbers read the same whatever the locale's decimal separator.
            EXPECT_EQ(t.find_first_of(".,"), std::string::npos) << t;
            const auto floor = FloorBelow(floors, p);
            ASSERT_TRUE(floor) << t;
            EXPECT_EQ(Drop(p.y, *floor, kEye), 0) << t;
        }
    }
}
