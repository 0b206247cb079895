#pragma once

// The keys and values of one registry root, and their text form.
//
// The text form, one item a line:
//   ; a comment
//   [Software\Vendor\Program]          a key (its full path, "[]" the root)
//   "Name"=sz:"text\0"                 a REG_SZ, every stored byte shown
//   "Count"=dword:0000002a             a REG_DWORD of four bytes
//   "Blob"=hex(3):01,ff                any other value, in bytes
// Quoted texts escape \\, \", \0, \t, \n, \r and other control bytes as \xHH.
// Values belong to the key above them.

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace registry {

struct Value {
    std::string name;
    uint32_t type = 0;
    std::vector<uint8_t> data;
};

struct Key {
    std::string path;  // subkeys joined by "\", as created
    std::vector<Value> values;

    Value* FindValue(std::string_view name);
    void SetValue(Value value);
};

class Hive {
public:
    Hive();

    // The key at `path` (subkeys joined by "\"; empty for the root), or null.
    Key* FindKey(std::string_view path);
    // Creates the key and its missing parents; `created` tells whether the
    // key itself is new.
    Key& CreateKey(std::string_view path, bool& created);

    std::string ToText() const;
    // The hive of a text, or nothing with `error` saying what is wrong.
    static std::optional<Hive> FromText(std::string_view text, std::string& error);

private:
    std::deque<Key> keys_;  // the root first, then in the order of creation
};

// Whether `path` is a well-formed key path: subkey names that are not empty
// and hold no control character.
bool IsValidKeyPath(std::string_view path);

}  // namespace registry
