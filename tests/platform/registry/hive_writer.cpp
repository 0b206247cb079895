// Usage: hive_writer <hive folder> once|forever|values [<prefix> <count>].
// Writes values of the key "Software\Test" of HKEY_LOCAL_MACHINE: "Blob", as
// one letter repeated, once (exit status 0 when it was written) or again and
// again until the process is killed; or with "values", <count> values named
// <prefix> and a number, one call each (exit status 0 when every call
// reported success).

#include "platform/registry/registry.h"

#include <cstdlib>
#include <string>
#include <string_view>

using namespace registry;

namespace {

bool SetText(HKEY key, const std::string& name, const std::string& text) {
    return RegSetValueExA(key, name, 0, REG_SZ, text.c_str(), static_cast<uint32_t>(text.size() + 1)) == ERROR_SUCCESS;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    SetHiveFolder(argv[1]);
    const std::string_view mode = argv[2];
    HKEY key = 0;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Test", 0, "", 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return 1;
    if (mode == "values") {
        if (argc != 5) return 2;
        for (int i = 0; i < std::atoi(argv[4]); ++i)
            if (!SetText(key, argv[3] + std::to_string(i), std::to_string(i))) return 1;
        return 0;
    }
    for (unsigned round = 0;; ++round) {
        if (!SetText(key, "Blob", std::string(1 << 21, static_cast<char>('a' + round % 26)))) return 1;
        if (mode != "forever") return 0;
    }
}
