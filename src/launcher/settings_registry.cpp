// The registry procedures under the settings.

#include "core/val_long.h"
#include "launcher/settings.h"

#include <algorithm>
#include <limits>

using namespace registry;

namespace {

// Query, set and create subkeys, as the settings open their keys.
constexpr uint32_t kKeyAccess = 0x3F;
// The status LitValeurEx gives for a value of a type it does not read.
constexpr LONG kUnreadType = -1;

LONG ReadText(HKEY key, std::string_view name, uint32_t size, RegistryValue& value) {
    std::string buffer(size, '\0');
    const LONG status = RegQueryValueExA(key, name, 0, nullptr, buffer.data(), &size);
    if (status != ERROR_SUCCESS) {
        value = std::monostate{};
        return status;
    }
    // Without a byte there is no terminator to drop: the value stays as it was.
    const size_t kept = std::min<size_t>(size, buffer.size());
    if (kept == 0) return status;
    buffer.resize(kept - 1);
    value = std::move(buffer);
    return status;
}

LONG ReadInteger(HKEY key, std::string_view name, RegistryValue& value) {
    int32_t number = 0;
    uint32_t size = sizeof number;
    const LONG status = RegQueryValueExA(key, name, 0, nullptr, &number, &size);
    if (status == ERROR_SUCCESS) value = number;
    return status;
}

}  // namespace

void CreeCle(HKEY root, std::string_view subKey) {
    HKEY key = 0;
    if (RegCreateKeyExA(root, subKey, 0, {}, REG_OPTION_NON_VOLATILE, kKeyAccess, nullptr, &key, nullptr) ==
        ERROR_SUCCESS)
        RegCloseKey(key);
}

RegistryValue LitValeurCle(HKEY root, std::string_view subKey, std::string_view name) {
    RegistryValue value;
    HKEY key = 0;
    if (RegOpenKeyExA(root, subKey, 0, kKeyAccess, &key) != ERROR_SUCCESS) return value;
    LitValeurEx(key, name, value);
    RegCloseKey(key);
    return value;
}

LONG LitValeurEx(HKEY key, std::string_view name, RegistryValue& value) {
    uint32_t type = REG_NONE;
    uint32_t size = 0;
    const LONG status = RegQueryValueExA(key, name, 0, &type, nullptr, &size);
    if (status != ERROR_SUCCESS) return status;
    switch (type) {
        case REG_SZ:
            return ReadText(key, name, size, value);
        case REG_DWORD:
            return ReadInteger(key, name, value);
        default:
            return kUnreadType;
    }
}

void EcritValeurCle(HKEY root, std::string_view subKey, std::string_view name, const RegistryValue& value,
                    uint32_t type) {
    HKEY key = 0;
    if (RegOpenKeyExA(root, subKey, 0, kKeyAccess, &key) != ERROR_SUCCESS) return;
    EcritValeurEx(key, name, type, value);
    RegCloseKey(key);
}

LONG EcritValeurEx(HKEY key, std::string_view name, uint32_t type, const RegistryValue& value) {
    if (type == REG_SZ) {
        const std::string text = TextOf(value);
        if (text.size() >= std::numeric_limits<uint32_t>::max()) return ERROR_INVALID_PARAMETER;
        // The data are the text and its NUL: c_str() holds both.
        return RegSetValueExA(key, name, 0, REG_SZ, text.c_str(), static_cast<uint32_t>(text.size() + 1));
    }
    if (type == REG_DWORD) {
        const int32_t number = ValLong(value);
        return RegSetValueExA(key, name, 0, REG_DWORD, &number, sizeof number);
    }
    return ERROR_SUCCESS;
}

std::string TextOf(const RegistryValue& value) {
    if (const auto* text = std::get_if<std::string>(&value)) return *text;
    if (const auto* number = std::get_if<int32_t>(&value)) return std::to_string(*number);
    return {};
}

int32_t ValLong(const RegistryValue& value) {
    if (const auto* text = std::get_if<std::string>(&value)) return ValLong(std::string_view(*text));
    if (const auto* number = std::get_if<int32_t>(&value)) return *number;
    return 0;
}

bool InIDE() { return false; }
