// Usage: hive_writer <hive folder> once|forever. Writes the value "Blob" of
// the key "Software\Test" of HKEY_LOCAL_MACHINE, each time as one letter
// repeated: once (exit status 0 when it was written), or again and again
// until the process is killed.

#include "platform/registry/registry.h"

#include <string>
#include <string_view>

using namespace registry;

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    SetHiveFolder(argv[1]);
    const bool forever = std::string_view(argv[2]) == "forever";
    HKEY key = 0;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Test", 0, "", 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return 1;
    for (unsigned round = 0;; ++round) {
        const std::string blob(1 << 21, static_cast<char>('a' + round % 26));
        if (RegSetValueExA(key, "Blob", 0, REG_SZ, blob.c_str(), static_cast<uint32_t>(blob.size() + 1)) !=
            ERROR_SUCCESS)
            return 1;
        if (!forever) return 0;
    }
}
