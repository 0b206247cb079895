#pragma once

// The system registry: keys below a few predefined roots, each key holding
// named values of a type and a size in bytes. The operations report their
// outcome as the platform's status codes (ERROR_SUCCESS when they succeed)
// and never throw.
//
// Where the keys live: each root is one readable text file (a "hive"),
// "<root name>.hive" in the folder "quellmar" of the user's configuration
// folder ($XDG_CONFIG_HOME, else ~/.config), readable by the user only, since
// it holds the account's password. Every change is written at once and
// atomically: a crash or a full disk while writing leaves the old file or the
// new one, never a mix. A hive file that does not parse is renamed aside
// ("<file>.corrupt-<time>"), a message goes to standard error, and the root
// starts empty; the other roots are untouched.
//
// What the platform decided, decided here:
// - Key and value names compare without regard to the case of ASCII letters
//   and keep the case they were created with. Subkeys are separated by "\";
//   an empty subkey stands for the key itself. Key names may not hold control
//   characters.
// - Every handle can read and write; access masks, options and classes are
//   accepted and have no effect. Reserved arguments must be 0.
// - Values keep exactly the bytes they were set with: a REG_SZ is stored with
//   whatever terminator its writer counted in the size, and read back with it.
//   Values of every type are stored and reported as they were set.
// - Each operation reads the hive file, so a change made by another process
//   is seen by the next operation. Each operation that may write (creating
//   a key, setting a value) holds the hive's advisory lock (the file
//   "<hive>.lock" beside it) from its read to its write, so two processes
//   changing one root at once never lose each other's changes; one that
//   cannot have the lock within seconds fails with ERROR_REGISTRY_IO_FAILED.
// - A change that would make the hive file larger than 16 MiB (the most a
//   read takes in) fails with ERROR_REGISTRY_IO_FAILED and leaves the file as
//   it was. A hive that is not a regular file (a pipe, a folder) is never
//   opened: every operation on its root fails with ERROR_REGISTRY_IO_FAILED.

#include <cstdint>
#include <string>
#include <string_view>

namespace registry {

using HKEY = std::uintptr_t;
using LONG = std::int32_t;

inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002;
inline constexpr HKEY HKEY_USERS = 0x80000003;
inline constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005;

inline constexpr uint32_t REG_NONE = 0;
inline constexpr uint32_t REG_SZ = 1;
inline constexpr uint32_t REG_EXPAND_SZ = 2;
inline constexpr uint32_t REG_BINARY = 3;
inline constexpr uint32_t REG_DWORD = 4;
inline constexpr uint32_t REG_MULTI_SZ = 7;

inline constexpr uint32_t KEY_ALL_ACCESS = 0xF003F;
inline constexpr uint32_t REG_OPTION_NON_VOLATILE = 0;
inline constexpr uint32_t REG_CREATED_NEW_KEY = 1;
inline constexpr uint32_t REG_OPENED_EXISTING_KEY = 2;

inline constexpr LONG ERROR_SUCCESS = 0;
inline constexpr LONG ERROR_FILE_NOT_FOUND = 2;
inline constexpr LONG ERROR_INVALID_HANDLE = 6;
inline constexpr LONG ERROR_INVALID_PARAMETER = 87;
inline constexpr LONG ERROR_MORE_DATA = 234;
inline constexpr LONG ERROR_REGISTRY_IO_FAILED = 1016;
inline constexpr LONG ERROR_KEY_DELETED = 1018;

// Opens `subKey` below `key`, creating it and any missing parent. `result`
// receives the new handle; `disposition`, when given, says whether the key
// was created or existed already.
LONG RegCreateKeyExA(HKEY key, std::string_view subKey, uint32_t reserved, std::string_view keyClass, uint32_t options,
                     uint32_t samDesired, const void* securityAttributes, HKEY* result, uint32_t* disposition);

// Opens an existing key; ERROR_FILE_NOT_FOUND when it does not exist.
LONG RegOpenKeyExA(HKEY key, std::string_view subKey, uint32_t options, uint32_t samDesired, HKEY* result);

// Reads a value (the empty name is the key's default value). `type` and
// `size` receive its type and size in bytes when given. With no `data` only
// the type and size are reported. With `data`, `*size` is the buffer's size
// in bytes: a smaller buffer gives ERROR_MORE_DATA (and the size needed),
// otherwise the bytes are copied. A missing value gives ERROR_FILE_NOT_FOUND.
LONG RegQueryValueExA(HKEY key, std::string_view valueName, uint32_t reserved, uint32_t* type, void* data,
                      uint32_t* size);

// Stores `size` bytes from `data` as the value's data, with its type,
// replacing any value of that name.
LONG RegSetValueExA(HKEY key, std::string_view valueName, uint32_t reserved, uint32_t type, const void* data,
                    uint32_t size);

// Closes a handle. Closing a predefined root succeeds and does nothing.
LONG RegCloseKey(HKEY key);

// Keeps the hive files in `folder` instead of the configuration folder
// (tests); an empty folder goes back to the configuration folder.
void SetHiveFolder(std::string folder);

// Where the hive of `root` is kept; empty for a handle that is not a root.
std::string HiveFilePath(HKEY root);

}  // namespace registry
