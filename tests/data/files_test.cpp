// Every file of the data set that the game opens by name exists under that
// exact name, and every file named inside the data set exists too.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <regex>

#include "data_files.h"
#include "scene.h"

using namespace data_test;

namespace {

const char* const kWeaponFiles[13] = {
    "onehanded_mac10.QC", "carbine_ump45.QC", "carbine_aug.QC", "carbine_p90.QC", "mp5_mp5.QC",
    "mp5_ak47.QC",        "rifle_m4a1.QC",    "rifle_sg550.QC", "rifle_sg552.QC", "m249_m249.QC",
    "shotgun_m3.QC",      "rifle_awp.QC",     "m249_xm1014.QC",
};

std::string WeaponName(const std::string& file) {
    const size_t p = file.find('_');
    return file.substr(p + 1, file.size() - p - 4);
}

std::vector<std::string> MapLevels() {
    std::vector<std::string> levels;
    for (const auto& entry : std::filesystem::directory_iterator(GamePath("map")))
        if (entry.path().extension() == ".map") levels.push_back(entry.path().stem().string());
    return levels;
}

}  // namespace

TEST(GameFiles, EveryFileTheGameOpensByNameExists) {
    std::vector<std::string> files = {
        "readme.txt",         "media/couloir1.x",       "media/stair.x",        "media/sol.x",
        "media/mur.x",        "media/plafond.x",        "media/lessols.x",      "media/lesmurs.x",
        "media/inutile.x",    "media/logo.bmp",         "media/logo2.bmp",      "media/logo3.bmp",
        "media/logo4.bmp",    "models/terror.qc",       "models/enter.wav",     "models/chat.wav",
        "models/perfect.wav", "models/humiliation.wav", "models/headshot.wav",  "models/pas.wav",
        "models/coeur.wav",   "models/touche.wav",      "models/mort.wav",      "models/reload.wav",
        "models/terror.x",    "models/gign.x",          "models/terror2_0.bmp", "models/gign2_0.bmp",
        "weapons/muzz1.bmp",  "weapons/muzz2.bmp",      "weapons/croix2.bmp",   "weapons/sniper2.bmp",
        "map/boite.x",
    };
    for (int i = 1; i <= 9; ++i) files.push_back("models/blood00" + std::to_string(i) + ".bmp");
    for (const char* qc : kWeaponFiles) {
        files.push_back(std::string("weapons/") + qc);
        files.push_back("weapons/" + WeaponName(qc) + "-1.wav");
        files.push_back("weapons/640_" + WeaponName(qc) + ".bmp");
    }
    for (const std::string& f : files) EXPECT_TRUE(Exists(f)) << f;
    EXPECT_TRUE(std::filesystem::is_directory(GamePath("system")));
}

TEST(GameFiles, BothTeamsHaveSkinsWhoseCodesAreDigitsOrCapitals) {
    int skins[2] = {0, 0};
    for (const auto& entry : std::filesystem::directory_iterator(GamePath("models"))) {
        const std::string name = entry.path().filename().string();
        const bool terrorist = name.rfind("TS", 0) == 0, gign = name.rfind("GS", 0) == 0;
        if (!(terrorist || gign) || entry.path().extension() != ".bmp") continue;
        // The launcher lists the code in capitals and builds the file name from it again.
        EXPECT_TRUE(std::regex_match(name, std::regex("[TG]S[0-9A-Z]+\\.bmp"))) << name;
        ++skins[gign ? 1 : 0];
    }
    EXPECT_GE(skins[0], 1);
    EXPECT_GE(skins[1], 1);
}

TEST(GameFiles, MapFolderHoldsASampleLevelWithItsSkyAndTextures) {
    const std::vector<std::string> levels = MapLevels();
    ASSERT_FALSE(levels.empty());
    for (const std::string& level : levels) {
        EXPECT_TRUE(std::none_of(level.begin(), level.end(), [](char c) { return std::isupper(c); })) << level;
        EXPECT_EQ(level.find("village"), std::string::npos);
        EXPECT_EQ(level.find("snipper"), std::string::npos);  // that would make it a team game
        for (const char* ext : {".sol", ".mur", ".pla", ".lad"})
            EXPECT_TRUE(Exists("map/" + level + ext)) << level << ext;
        const std::string sky = ReadLines("map/" + level + ".map").at(0);
        for (const char* face : {"ft", "rt", "lf", "bk", "dn", "up"})
            EXPECT_TRUE(Exists("map/env/" + sky + face + ".bmp")) << sky << face;
    }
    bool keyed = false;
    for (const auto& entry : std::filesystem::directory_iterator(GamePath("map/textures")))
        keyed = keyed || entry.path().filename().string().front() == '{';
    EXPECT_TRUE(keyed);
}

// Textures named by mesh files are looked up where the game looks for them.
TEST(GameFiles, EveryTextureAMeshNamesExists) {
    const std::vector<std::string> sky = {"devant.bmp",   "droite.bmp", "gauche.bmp",
                                          "derriere.bmp", "bas.bmp",    "haut.bmp"};
    struct Case {
        std::string mesh, folder;
    };
    std::vector<Case> cases = {{"models/terror.x", "models"}, {"models/gign.x", "models"}};
    for (const char* m : {"couloir1", "stair", "sol", "mur", "plafond", "lessols", "lesmurs", "inutile"})
        cases.push_back({std::string("media/") + m + ".x", "media"});
    for (const std::string& level : MapLevels())
        for (const char* ext : {".sol", ".mur", ".pla", ".lad"})
            cases.push_back({"map/" + level + ext, "map/textures"});
    for (const Case& c : cases) {
        const MeshFile mesh = LoadMeshFile(c.mesh);
        ASSERT_TRUE(mesh.loaded) << c.mesh << ": " << mesh.error;
        for (const std::string& t : mesh.textures) EXPECT_TRUE(Exists(c.folder + "/" + t)) << c.mesh << " names " << t;
    }
    const MeshFile box = LoadMeshFile("map/boite.x");
    ASSERT_TRUE(box.loaded) << box.error;
    EXPECT_EQ(box.textures.size(), 6u);
    for (const std::string& t : box.textures) EXPECT_NE(std::find(sky.begin(), sky.end(), t), sky.end()) << t;
}

TEST(GameFiles, EveryFileAModelDescriptionNamesExists) {
    std::vector<std::pair<std::string, std::string>> models = {{"models", "terror.qc"}};
    for (const char* qc : kWeaponFiles) models.emplace_back("weapons", qc);
    for (const auto& [folder, qc] : models) {
        const ModelDescription d = ReadModelDescription(folder + "/" + qc);
        EXPECT_FALSE(d.meshes.empty()) << qc;
        std::vector<std::string> files = d.meshes;
        files.insert(files.end(), d.sequences.begin(), d.sequences.end());
        for (const std::string& f : files) {
            ASSERT_TRUE(Exists(folder + "/" + f + ".smd")) << qc << " names " << f;
            for (const std::string& t : ReadSmd(folder + "/" + f + ".smd").textures)
                EXPECT_TRUE(Exists(folder + "/" + t) || Exists(t)) << f << " names " << t;
        }
    }
}
