#include "platform/registry/registry.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cstring>
#include <string>
#include <vector>

using namespace registry;

namespace {

class Registry : public testing::Test {
protected:
    void SetUp() override { SetHiveFolder(folder_.path().toStdString()); }
    void TearDown() override { SetHiveFolder({}); }

    HKEY Create(std::string_view subKey, uint32_t* disposition = nullptr) {
        HKEY key = 0;
        EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, subKey, 0, "", 0, 0x3F, nullptr, &key, disposition),
                  ERROR_SUCCESS);
        return key;
    }

    QTemporaryDir folder_;
};

// What a reader learns of a value: its type, its size, then its bytes.
struct Read {
    LONG status;
    uint32_t type = 0;
    std::vector<uint8_t> data;
};

Read ReadValue(HKEY key, std::string_view name) {
    Read read{};
    uint32_t size = 0;
    read.status = RegQueryValueExA(key, name, 0, &read.type, nullptr, &size);
    if (read.status != ERROR_SUCCESS) return read;
    read.data.resize(size);
    read.status = RegQueryValueExA(key, name, 0, &read.type, read.data.data(), &size);
    read.data.resize(size);
    return read;
}

TEST_F(Registry, StringsKeepEveryByteTheirWriterCounted) {
    const HKEY key = Create("Software\\Dravonik");
    // Written as the game writes text: the terminator counted in the size.
    const std::vector<std::string> texts = {"Player", "", "a \"quoted\" \\ path\\\nnext line\ttab",
                                            "caf\xc3\xa9 \x01\x7f", std::string("in\0side", 7)};
    for (const std::string& text : texts) {
        ASSERT_EQ(RegSetValueExA(key, "Name", 0, REG_SZ, text.c_str(), static_cast<uint32_t>(text.size() + 1)),
                  ERROR_SUCCESS);
        const Read read = ReadValue(key, "Name");
        ASSERT_EQ(read.status, ERROR_SUCCESS);
        EXPECT_EQ(read.type, REG_SZ);
        ASSERT_EQ(read.data.size(), text.size() + 1);
        // The reader's rule: size minus one characters give the text back.
        EXPECT_EQ(std::string(read.data.begin(), read.data.end() - 1), text);
        EXPECT_EQ(read.data.back(), 0);
    }
    // A string written without its terminator comes back without one.
    ASSERT_EQ(RegSetValueExA(key, "Name", 0, REG_SZ, "abc", 3), ERROR_SUCCESS);
    EXPECT_EQ(ReadValue(key, "Name").data, (std::vector<uint8_t>{'a', 'b', 'c'}));
    RegCloseKey(key);
}

TEST_F(Registry, DwordsAndOtherTypesComeBackAsSet) {
    const HKEY key = Create("Software\\Dravonik\\Quellmar");
    const int32_t number = -5;
    ASSERT_EQ(RegSetValueExA(key, "Killer", 0, REG_DWORD, &number, 4), ERROR_SUCCESS);
    int32_t readBack = 0;
    uint32_t type = 0;
    uint32_t size = 4;
    ASSERT_EQ(RegQueryValueExA(key, "Killer", 0, &type, &readBack, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(readBack, -5);

    const std::vector<std::pair<uint32_t, std::vector<uint8_t>>> others = {
        {REG_BINARY, {0x00, 0xff, 0x10}}, {REG_MULTI_SZ, {'a', 0, 'b', 0, 0}}, {REG_DWORD, {1, 2}}, {REG_NONE, {}}};
    for (const auto& [otherType, bytes] : others) {
        ASSERT_EQ(RegSetValueExA(key, "Other", 0, otherType, bytes.data(), static_cast<uint32_t>(bytes.size())),
                  ERROR_SUCCESS);
        const Read read = ReadValue(key, "Other");
        EXPECT_EQ(read.type, otherType);
        EXPECT_EQ(read.data, bytes);
    }
    RegCloseKey(key);
}

TEST_F(Registry, CreatingAKeyCreatesItsParentsAndNamesIgnoreCase) {
    uint32_t disposition = 0;
    const HKEY game = Create("Software\\Dravonik\\Quellmar", &disposition);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    RegCloseKey(game);

    HKEY profile = 0;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\dravonik", 0, 0x3F, &profile), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(profile, "Login", 0, REG_SZ, "me", 3), ERROR_SUCCESS);
    EXPECT_EQ(ReadValue(profile, "LOGIN").data.size(), 3u);
    RegCloseKey(profile);

    Create("software\\DRAVONIK", &disposition);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
}

TEST_F(Registry, MissingKeysValuesAndHandlesAreReported) {
    HKEY key = 0;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Nobody", 0, 0x3F, &key), ERROR_FILE_NOT_FOUND);
    // Opening never creates.
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Nobody", 0, 0x3F, &key), ERROR_FILE_NOT_FOUND);

    key = Create("Software\\Dravonik");
    uint32_t size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "Absent", 0, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);

    ASSERT_EQ(RegSetValueExA(key, "Name", 0, REG_SZ, "Player", 7), ERROR_SUCCESS);
    char small[3];
    size = sizeof small;
    EXPECT_EQ(RegQueryValueExA(key, "Name", 0, nullptr, small, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 7u);

    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegQueryValueExA(key, "Name", 0, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegSetValueExA(key, "Name", 0, REG_SZ, "x", 2), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\\\Dravonik", 0, 0x3F, &key), ERROR_INVALID_PARAMETER);
}

}  // namespace
