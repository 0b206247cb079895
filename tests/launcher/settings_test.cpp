// The settings in the registry: the value procedures, what Ecrit_Ini stores
// and what Lit_Ini makes of whatever it finds.

#include "launcher/settings.h"

#include "core/game_state.h"
#include "support/hive_values.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <string>
#include <tuple>
#include <vector>

using namespace registry;
using namespace hive_values;

namespace {

using Bytes = std::string;

// The 24 stored settings' variables, in the order they are written.
auto Snapshot() {
    return std::make_tuple(ProfileId, ProfileLogin, ProfilePassword, ProfileEmail, ProfileName, SkinLocal, StatKiller,
                           StatKilled, StatSnipper, StatSnipped, WeaponPower, IdModeleLocal, InverseSouris, BitDepth,
                           FullScreen, ResIndex, DDrawIndex, D3DIndex, TexIndex, QualityIndex, ScreenMode, ModeBox,
                           ConnectionIndex, NetMode);
}

class Settings : public testing::Test {
protected:
    void SetUp() override { SetHiveFolder(folder_.path().toStdString()); }
    void TearDown() override { SetHiveFolder({}); }

    static void SetGame(std::string_view name, const std::string& text) { SetText(kGameKey, name, text); }
    static void SetDword(std::string_view subKey, std::string_view name, int32_t number) {
        SetRaw(subKey, name, REG_DWORD, Bytes(reinterpret_cast<const char*>(&number), sizeof number));
    }

    static HKEY OpenGameKey() {
        CreeCle(HKEY_LOCAL_MACHINE, kGameKey);
        HKEY key = 0;
        EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kGameKey, 0, 0x3F, &key), ERROR_SUCCESS);
        return key;
    }

    // A hive of its own for one case of a table.
    void FreshHive() { SetHiveFolder(folder_.filePath(QString::number(++hives_)).toStdString()); }

    QTemporaryDir folder_;
    int hives_ = 0;
};

TEST_F(Settings, LitValeurExReadsTextsWithoutTheirLastByteAndIntegersAsTheyAre) {
    struct Case {
        const char* name;
        uint32_t type;
        Bytes bytes;
        RegistryValue expected;
        LONG status;
    };
    const int32_t minusFive = -5;
    const std::vector<Case> cases = {
        {"with NUL", REG_SZ, Bytes("abc\0", 4), std::string("abc"), ERROR_SUCCESS},
        {"non-ASCII", REG_SZ, Bytes("Frédéric", sizeof "Frédéric"), std::string("Frédéric"), ERROR_SUCCESS},
        {"NUL only", REG_SZ, Bytes("\0", 1), std::string(), ERROR_SUCCESS},
        {"no terminator", REG_SZ, "abc", std::string("ab"), ERROR_SUCCESS},
        {"size 0", REG_SZ, "", std::monostate{}, ERROR_SUCCESS},
        {"dword", REG_DWORD, Bytes(reinterpret_cast<const char*>(&minusFive), 4), -5, ERROR_SUCCESS},
        {"binary", REG_BINARY, "\x01\x02", std::monostate{}, -1},
        {"expandable text", REG_EXPAND_SZ, Bytes("x\0", 2), std::monostate{}, -1},
    };
    const HKEY key = OpenGameKey();
    for (const Case& c : cases) SetRaw(kGameKey, c.name, c.type, c.bytes);
    for (const Case& c : cases) {
        RegistryValue value;
        EXPECT_EQ(LitValeurEx(key, c.name, value), c.status) << c.name;
        EXPECT_EQ(value, c.expected) << c.name;
        EXPECT_EQ(LitValeurCle(HKEY_LOCAL_MACHINE, kGameKey, c.name), c.expected) << c.name;
    }
    RegistryValue value;
    EXPECT_EQ(LitValeurEx(key, "missing", value), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(value, RegistryValue{});
    RegCloseKey(key);
    EXPECT_EQ(LitValeurCle(HKEY_LOCAL_MACHINE, "Software\\Nobody", "with NUL"), RegistryValue{});
}

TEST_F(Settings, EcritValeurExStoresTextWithOneNulAndIntegersAsFourBytes) {
    const HKEY key = OpenGameKey();
    EXPECT_EQ(EcritValeurEx(key, "text", REG_SZ, std::string("Frédéric")), ERROR_SUCCESS);
    EXPECT_EQ(EcritValeurEx(key, "number as text", REG_SZ, -12), ERROR_SUCCESS);
    EXPECT_EQ(EcritValeurEx(key, "dword", REG_DWORD, std::string("-7")), ERROR_SUCCESS);
    EXPECT_EQ(EcritValeurEx(key, "binary", REG_BINARY, std::string("x")), ERROR_SUCCESS);
    RegCloseKey(key);

    EXPECT_EQ(Stored(kGameKey, "text"), std::make_pair(REG_SZ, Bytes("Frédéric", sizeof "Frédéric")));
    EXPECT_EQ(Stored(kGameKey, "number as text"), std::make_pair(REG_SZ, Bytes("-12\0", 4)));
    const int32_t minusSeven = -7;
    EXPECT_EQ(Stored(kGameKey, "dword"),
              std::make_pair(REG_DWORD, Bytes(reinterpret_cast<const char*>(&minusSeven), 4)));
    EXPECT_EQ(Stored(kGameKey, "binary").second, "<missing>");
}

TEST_F(Settings, EcritValeurCleNeverCreatesAKey) {
    EcritValeurCle(HKEY_LOCAL_MACHINE, kGameKey, "Killer", std::string("3"), REG_SZ);
    EXPECT_FALSE(KeyExists(kProfileKey));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(HiveFilePath(HKEY_LOCAL_MACHINE))));
}

// Every value away from its default (the empty texts too), written, the
// state reset, read back.
TEST_F(Settings, WhatEcritIniStoresLitIniReadsBackExactly) {
    const auto setAll = [] {
        ProfileId = -42;
        ProfileLogin = "Zoë & Léa=#1";
        ProfilePassword = " mot de passe # = & é ";
        ProfileEmail = "";
        ProfileName = "Frédéric";
        SkinLocal = "";
        StatKiller = 40;
        StatKilled = -3;
        StatSnipper = 2;
        StatSnipped = -1;
        WeaponPower = 4;  // the totals' rank, which reading recomputes
        IdModeleLocal = 1;
        InverseSouris = -1;
        BitDepth = 16;
        FullScreen = true;
        ResIndex = 7;
        DDrawIndex = 2;
        D3DIndex = -1;
        TexIndex = 0;
        QualityIndex = 2;
        ScreenMode = 1;
        ModeBox = true;
        ConnectionIndex = 3;
        NetMode = 1;
    };
    const struct {
        std::string_view key;
        const char* name;
        std::string text;
    } expected[] = {
        {kProfileKey, "Id", "-42"},
        {kProfileKey, "Login", "Zoë & Léa=#1"},
        {kProfileKey, "Password", " mot de passe # = & é "},
        {kProfileKey, "Email", ""},
        {kProfileKey, "Name", "Frédéric"},
        {kGameKey, "Skin", ""},
        {kGameKey, "Killer", "40"},
        {kGameKey, "Killed", "-3"},
        {kGameKey, "Snipper", "2"},
        {kGameKey, "Snipped", "-1"},
        {kGameKey, "Power", "4"},
        {kGameKey, "Type", "1"},
        {kGameKey, "Souris", "-1"},
        {kGameKey, "Bit", "16"},
        {kGameKey, "Full", "-1"},
        {kGameKey, "Res", "7"},
        {kGameKey, "Draw", "2"},
        {kGameKey, "D3D", "-1"},
        {kGameKey, "Tex", "0"},
        {kGameKey, "Qua", "2"},
        {kGameKey, "Mode", "1"},
        {kGameKey, "Box", "-1"},
        {kGameKey, "Dplay1", "3"},
        {kGameKey, "Dplay2", "1"},
    };
    CreeCle(HKEY_LOCAL_MACHINE, kGameKey);
    setAll();
    Ecrit_Ini();
    for (const auto& value : expected)
        EXPECT_EQ(Stored(value.key, value.name), std::make_pair(REG_SZ, value.text + '\0')) << value.name;

    const auto written = Snapshot();
    ResetGameState();
    Lit_Ini({"32", 5, 5, 5});
    EXPECT_EQ(Snapshot(), written);
}

TEST_F(Settings, AnEmptyRegistryGivesTheDefaultsTheVideoListsChoicesAndBothKeys) {
    Lit_Ini({"24", 3, 0, 1});
    EXPECT_TRUE(KeyExists(kProfileKey));
    EXPECT_TRUE(KeyExists(kGameKey));
    EXPECT_EQ(Snapshot(),
              std::make_tuple(0, "", "", "", "", "", 0, 0, 0, 0, 1, 0, 0, 24, false, 3, 0, 1, 1, 3, 0, false, 0, 0));
}

TEST_F(Settings, FlagsAreTrueForAnyNonZeroNumber) {
    struct Case {
        const char* stored;  // null: missing
        bool expected;
    };
    for (const Case& c :
         {Case{"-1", true}, Case{"1", true}, Case{"0", false}, Case{nullptr, false}, Case{"abc", false}}) {
        FreshHive();
        ResetGameState();
        if (c.stored) {
            SetGame("Full", c.stored);
            SetGame("Box", c.stored);
        }
        Lit_Ini({});
        EXPECT_EQ(FullScreen, c.expected) << (c.stored ? c.stored : "missing");
        EXPECT_EQ(ModeBox, c.expected) << (c.stored ? c.stored : "missing");
    }
}

TEST_F(Settings, TheRankComesFromTheTotalsNeverFromTheStoredPower) {
    struct Case {
        const char *killer, *killed, *snipper, *snipped;
        int32_t rank;
    };
    const Case cases[] = {
        {"0", "0", "0", "0", 1},  {"4", "0", "0", "0", 1},   {"5", "0", "0", "0", 2},  {"9", "0", "0", "0", 2},
        {"10", "0", "0", "0", 3}, {"14", "0", "0", "0", 3},  {"15", "0", "0", "0", 4}, {"0", "0", "1", "0", 2},
        {"19", "0", "0", "1", 3}, {"-20", "0", "0", "0", 1}, {"0", "0", "3", "0", 4},
    };
    for (const Case& c : cases) {
        FreshHive();
        ResetGameState();
        SetGame("Killer", c.killer);
        SetGame("Killed", c.killed);
        SetGame("Snipper", c.snipper);
        SetGame("Snipped", c.snipped);
        SetGame("Power", "4");
        Lit_Ini({});
        EXPECT_EQ(WeaponPower, c.rank) << c.killer << " " << c.killed << " " << c.snipper << " " << c.snipped;
    }
}

TEST_F(Settings, IntegersAreReadAsNumbersAndOtherTypesAsMissing) {
    SetDword(kGameKey, "Killer", 12);
    SetDword(kGameKey, "Tex", 2);
    SetDword(kProfileKey, "Login", 7);
    SetRaw(kGameKey, "Qua", REG_BINARY, "\x05");
    SetRaw(kGameKey, "Res", REG_MULTI_SZ, Bytes("1\0\0", 3));
    Lit_Ini({"32", 4, 0, 0});
    EXPECT_EQ(StatKiller, 12);
    EXPECT_EQ(TexIndex, 2);
    EXPECT_EQ(ProfileLogin, "7");
    EXPECT_EQ(QualityIndex, 3);
    EXPECT_EQ(ResIndex, 4);
}

TEST_F(Settings, AValueThatDoesNotFitLeavesItsVariableOrReadsAsZero) {
    SetGame("Bit", "70000");
    SetGame("Mode", "99999");
    SetGame("Killer", "3000000000");
    SetGame("Type", "abc");
    SetGame("Souris", "");
    BitDepth = 16;
    ScreenMode = 1;
    StatKiller = 9;
    IdModeleLocal = 1;
    InverseSouris = 1;
    Lit_Ini({"32", 0, 0, 0});
    EXPECT_EQ(BitDepth, 16);
    EXPECT_EQ(ScreenMode, 1);
    EXPECT_EQ(StatKiller, 0);
    EXPECT_EQ(IdModeleLocal, 0);
    EXPECT_EQ(InverseSouris, 0);

    // A missing "Bit" with no depth in the list leaves the depth too.
    FreshHive();
    Lit_Ini({"", 0, 0, 0});
    EXPECT_EQ(BitDepth, 16);
}

TEST_F(Settings, VeryLongTextsAreWrittenAndReadWhole) {
    std::string name;
    for (int i = 0; i < 50000; ++i) name += "é ";
    CreeCle(HKEY_LOCAL_MACHINE, kGameKey);
    ProfileName = name;
    Ecrit_Ini();
    ResetGameState();
    Lit_Ini({});
    EXPECT_EQ(ProfileName, name);
}

TEST_F(Settings, AHiveThatDoesNotParseIsSetAsideAndTheDefaultsApply) {
    QFile hive(QString::fromStdString(HiveFilePath(HKEY_LOCAL_MACHINE)));
    ASSERT_TRUE(hive.open(QIODevice::WriteOnly));
    hive.write("\x01\x02 not a hive {{{");
    hive.close();
    Lit_Ini({"32", 0, 0, 0});
    EXPECT_EQ(TexIndex, 1);
    EXPECT_EQ(WeaponPower, 1);
    StatKiller = 5;
    Ecrit_Ini();
    EXPECT_EQ(Stored(kGameKey, "Killer").second, Bytes("5\0", 2));
}

TEST_F(Settings, WithoutAWritableConfigurationFolderNothingIsStoredAndTheRunGoesOn) {
    QFile blocker(folder_.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SetHiveFolder(folder_.filePath("file/quellmar").toStdString());
    Lit_Ini({"32", 0, 0, 0});
    EXPECT_EQ(QualityIndex, 3);
    EXPECT_EQ(BitDepth, 32);
    EXPECT_FALSE(KeyExists(kGameKey));
    StatKiller = 5;
    Ecrit_Ini();
    EXPECT_FALSE(KeyExists(kGameKey));
}

}  // namespace
