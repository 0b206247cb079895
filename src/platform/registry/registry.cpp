#include "platform/registry/registry.h"

#include "platform/os/handle_table.h"
#include "platform/registry/hive_file.h"

#include <cstring>
#include <mutex>
#include <optional>

namespace registry {
namespace {

struct OpenKey {
    HKEY root;
    std::string path;
};

os::HandleTable<OpenKey>& Handles() {
    static os::HandleTable<OpenKey> handles;
    return handles;
}

// Every operation reads, and a change rewrites, a whole hive file; one at a
// time, so that two changes never lose each other: the mutex orders this
// process's threads, the hive's lock file other processes.
std::mutex hiveMutex;

const char* RootName(HKEY key) {
    switch (key) {
        case HKEY_CLASSES_ROOT:
            return "HKEY_CLASSES_ROOT";
        case HKEY_CURRENT_USER:
            return "HKEY_CURRENT_USER";
        case HKEY_LOCAL_MACHINE:
            return "HKEY_LOCAL_MACHINE";
        case HKEY_USERS:
            return "HKEY_USERS";
        case HKEY_CURRENT_CONFIG:
            return "HKEY_CURRENT_CONFIG";
        default:
            return nullptr;
    }
}

// The root and the full path of `subKey` below `key`.
LONG Resolve(HKEY key, std::string_view subKey, HKEY& root, std::string& path) {
    if (RootName(key)) {
        root = key;
        path.clear();
    } else if (const std::shared_ptr<OpenKey> open = Handles().Find(key)) {
        root = open->root;
        path = open->path;
    } else {
        return ERROR_INVALID_HANDLE;
    }
    if (!IsValidKeyPath(subKey)) return ERROR_INVALID_PARAMETER;
    if (!subKey.empty()) path = path.empty() ? std::string(subKey) : path + "\\" + std::string(subKey);
    return ERROR_SUCCESS;
}

// The hive of a root, read for one operation under the locks it holds while
// it lives; `change` when the operation may write it. Only a change takes the
// file's lock: a hive file is always replaced whole, so a read alone sees
// either the old one or the new one, even in a folder it may not write.
struct LockedHive {
    LockedHive(HKEY root, bool change) : file(HiveFilePath(root)) {
        if (change) fileLock.emplace(file);
        loaded = (!fileLock || fileLock->Held()) && LoadHive(file, hive);
    }

    std::lock_guard<std::mutex> threadLock{hiveMutex};
    std::string file;
    std::optional<HiveLock> fileLock;
    Hive hive;
    bool loaded = false;
};

}  // namespace

LONG RegCreateKeyExA(HKEY key, std::string_view subKey, uint32_t reserved, std::string_view /*keyClass*/,
                     uint32_t /*options*/, uint32_t /*samDesired*/, const void* /*securityAttributes*/, HKEY* result,
                     uint32_t* disposition) {
    if (reserved != 0 || !result) return ERROR_INVALID_PARAMETER;
    HKEY root = 0;
    std::string path;
    if (const LONG status = Resolve(key, subKey, root, path); status != ERROR_SUCCESS) return status;
    LockedHive locked(root, true);
    if (!locked.loaded) return ERROR_REGISTRY_IO_FAILED;
    Hive& hive = locked.hive;
    bool created = false;
    const Key& createdKey = hive.CreateKey(path, created);
    if (created && !SaveHive(locked.file, hive)) return ERROR_REGISTRY_IO_FAILED;
    *result = Handles().Add(std::make_shared<OpenKey>(OpenKey{root, hive.PathOf(createdKey)}));
    if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return ERROR_SUCCESS;
}

LONG RegOpenKeyExA(HKEY key, std::string_view subKey, uint32_t /*options*/, uint32_t /*samDesired*/, HKEY* result) {
    if (!result) return ERROR_INVALID_PARAMETER;
    HKEY root = 0;
    std::string path;
    if (const LONG status = Resolve(key, subKey, root, path); status != ERROR_SUCCESS) return status;
    LockedHive locked(root, false);
    if (!locked.loaded) return ERROR_REGISTRY_IO_FAILED;
    Hive& hive = locked.hive;
    const Key* found = hive.FindKey(path);
    if (!found) return ERROR_FILE_NOT_FOUND;
    *result = Handles().Add(std::make_shared<OpenKey>(OpenKey{root, hive.PathOf(*found)}));
    return ERROR_SUCCESS;
}

LONG RegQueryValueExA(HKEY key, std::string_view valueName, uint32_t reserved, uint32_t* type, void* data,
                      uint32_t* size) {
    if (reserved != 0 || (data && !size)) return ERROR_INVALID_PARAMETER;
    HKEY root = 0;
    std::string path;
    if (const LONG status = Resolve(key, {}, root, path); status != ERROR_SUCCESS) return status;
    LockedHive locked(root, false);
    if (!locked.loaded) return ERROR_REGISTRY_IO_FAILED;
    Hive& hive = locked.hive;
    Key* found = hive.FindKey(path);
    if (!found) return ERROR_KEY_DELETED;
    const Value* value = found->FindValue(valueName);
    if (!value) return ERROR_FILE_NOT_FOUND;
    const auto needed = static_cast<uint32_t>(value->data.size());
    if (type) *type = value->type;
    if (data) {
        if (*size < needed) {
            *size = needed;
            return ERROR_MORE_DATA;
        }
        if (needed > 0) std::memcpy(data, value->data.data(), needed);
    }
    if (size) *size = needed;
    return ERROR_SUCCESS;
}

LONG RegSetValueExA(HKEY key, std::string_view valueName, uint32_t reserved, uint32_t type, const void* data,
                    uint32_t size) {
    if (reserved != 0 || (!data && size > 0)) return ERROR_INVALID_PARAMETER;
    HKEY root = 0;
    std::string path;
    if (const LONG status = Resolve(key, {}, root, path); status != ERROR_SUCCESS) return status;
    LockedHive locked(root, true);
    if (!locked.loaded) return ERROR_REGISTRY_IO_FAILED;
    Hive& hive = locked.hive;
    Key* found = hive.FindKey(path);
    if (!found) return ERROR_KEY_DELETED;
    const auto* bytes = static_cast<const uint8_t*>(data);
    found->SetValue(Value{std::string(valueName), type, std::vector<uint8_t>(bytes, bytes + size)});
    return SaveHive(locked.file, hive) ? ERROR_SUCCESS : ERROR_REGISTRY_IO_FAILED;
}

LONG RegCloseKey(HKEY key) {
    if (RootName(key)) return ERROR_SUCCESS;
    return Handles().Remove(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

void SetHiveFolder(std::string folder) { SetHiveFolderOverride(std::move(folder)); }

std::string HiveFilePath(HKEY root) {
    const char* name = RootName(root);
    if (!name) return {};
    return HiveFolder() + "/" + name + ".hive";
}

}  // namespace registry
