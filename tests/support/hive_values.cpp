#include "support/hive_values.h"

#include "platform/registry/registry.h"

#include <gtest/gtest.h>

using namespace registry;

namespace hive_values {

void SetRaw(std::string_view subKey, std::string_view name, uint32_t type, const std::string& bytes) {
    HKEY key = 0;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, subKey, 0, {}, 0, 0x3F, nullptr, &key, nullptr), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, name, 0, type, bytes.data(), static_cast<uint32_t>(bytes.size())), ERROR_SUCCESS);
    RegCloseKey(key);
}

void SetText(std::string_view subKey, std::string_view name, const std::string& text) {
    SetRaw(subKey, name, REG_SZ, text + '\0');
}

std::pair<uint32_t, std::string> Stored(std::string_view subKey, std::string_view name) {
    HKEY key = 0;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey, 0, 0x3F, &key) != ERROR_SUCCESS) return {REG_NONE, "<no key>"};
    uint32_t type = REG_NONE, size = 0;
    std::string bytes = "<missing>";
    if (RegQueryValueExA(key, name, 0, &type, nullptr, &size) == ERROR_SUCCESS) {
        bytes.assign(size, '\0');
        RegQueryValueExA(key, name, 0, nullptr, bytes.data(), &size);
    }
    RegCloseKey(key);
    return {type, bytes};
}

bool KeyExists(std::string_view subKey) {
    HKEY key = 0;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey, 0, 0x3F, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

}  // namespace hive_values
