#include "core/weapons.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

struct Stats {
    int32_t magazine = -7, damage = -7, level = -7;
    bool scope = true;
};

Stats Infos(std::string_view name, Stats stats = {}) {
    InfosArme(name, stats.magazine, stats.damage, stats.level, stats.scope);
    return stats;
}

TEST(NomFichierArme, GivesTheFileOfEachIndexAndNothingOutside) {
    EXPECT_EQ(NomFichierArme(0), "onehanded_mac10.QC");
    EXPECT_EQ(NomFichierArme(5), "mp5_ak47.QC");
    EXPECT_EQ(NomFichierArme(12), "m249_xm1014.QC");
    EXPECT_EQ(NomFichierArme(-1), "");
    EXPECT_EQ(NomFichierArme(13), "");
}

TEST(InfosArme, FillsTheRowOfEveryWeaponNamedByItsFile) {
    struct Row {
        int32_t magazine, damage, level;
        bool scope;
    };
    const Row rows[13] = {{20, 10, 1, false}, {20, 10, 1, false}, {20, 10, 1, true}, {20, 10, 1, false},
                          {30, 10, 2, false}, {30, 10, 2, false}, {30, 20, 3, true}, {30, 20, 3, true},
                          {30, 20, 3, true},  {50, 20, 4, false}, {5, 50, 4, false}, {1, 100, 4, true},
                          {10, 50, 4, false}};
    for (int32_t index = 0; index < 13; ++index) {
        const std::string file = NomFichierArme(index);
        const std::string name = file.substr(file.find('_') + 1, file.size() - file.find('_') - 4);
        const Stats got = Infos(name);
        SCOPED_TRACE(name);
        EXPECT_EQ(got.magazine, rows[index].magazine);
        EXPECT_EQ(got.damage, rows[index].damage);
        EXPECT_EQ(got.level, rows[index].level);
        EXPECT_EQ(got.scope, rows[index].scope);
    }
}

TEST(InfosArme, IgnoresCaseButNotBlanks) {
    const Stats upper = Infos("AWP");
    EXPECT_EQ(upper.magazine, 1);
    EXPECT_EQ(upper.damage, 100);
    EXPECT_TRUE(upper.scope);
    EXPECT_EQ(Infos("Sg552").level, 3);

    for (const char* name : {" awp", "awp ", "", "m4"}) {
        const Stats unknown = Infos(name);
        SCOPED_TRACE(name);
        EXPECT_EQ(unknown.magazine, -7);
        EXPECT_EQ(unknown.damage, -7);
        EXPECT_EQ(unknown.level, -7);
        EXPECT_FALSE(unknown.scope);
    }
}

}  // namespace
