#pragma once

// Values in the registry's hive, set and read as they stand, for tests of
// the settings and of the programs that keep them.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace hive_values {

// Stores a value under HKEY_LOCAL_MACHINE, creating its key, whatever its
// type and bytes.
void SetRaw(std::string_view subKey, std::string_view name, uint32_t type, const std::string& bytes);
// A text as the settings store writes it: REG_SZ with its NUL.
void SetText(std::string_view subKey, std::string_view name, const std::string& text);

// The type and bytes stored; type REG_NONE with "<missing>" for a missing
// value, "<no key>" for a missing key.
std::pair<uint32_t, std::string> Stored(std::string_view subKey, std::string_view name);

bool KeyExists(std::string_view subKey);

}  // namespace hive_values
