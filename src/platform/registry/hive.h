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
// Values belong to the key above them. A key's missing parents are created
// with it, so a key without values whose child follows it is not written.
// A UTF-8 byte-order mark at the start (an editor's) is ignored.
//
// Finding and creating a key take time in proportion to its path, and
// finding a value does not depend on how many its key holds, so reading a
// text is linear in its size.

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace registry {

struct Value {
    std::string name;
    uint32_t type = 0;
    std::vector<uint8_t> data;
};

struct Key {
    std::string name;   // its own subkey name, as created; empty for the root
    size_t parent = 0;  // its parent's place in the hive (the root's own)
    std::vector<Value> values;

    Value* FindValue(std::string_view name);
    void SetValue(Value value);

private:
    std::unordered_map<std::string, size_t> valueIndex_;  // lower-case name to place in `values`
};

class Hive {
public:
    Hive();

    // The key at `path` (subkeys joined by "\"; empty for the root), or null.
    Key* FindKey(std::string_view path);
    // Creates the key and its missing parents; `created` tells whether the
    // key itself is new.
    Key& CreateKey(std::string_view path, bool& created);
    // The full path of a key of this hive, with each subkey as created.
    std::string PathOf(const Key& key) const;

    std::string ToText() const;
    // The hive of a text, or nothing with `error` saying what is wrong.
    static std::optional<Hive> FromText(std::string_view text, std::string& error);

private:
    std::deque<Key> keys_;  // the root first, then in the order of creation
    // "<parent's place>\<lower-case name>" to the child's place in keys_.
    std::unordered_map<std::string, size_t> children_;
};

// Whether `path` is a well-formed key path: subkey names that are not empty
// and hold no control character.
bool IsValidKeyPath(std::string_view path);

}  // namespace registry
