#include "platform/registry/hive.h"

#include <cstdio>

namespace registry {
namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Names compare without regard to the case of ASCII letters.
std::string Folded(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) c = LowerAscii(c);
    return folded;
}

std::string ChildName(size_t parent, std::string_view name) { return std::to_string(parent) + '\\' + Folded(name); }

// Calls `each` with every subkey name of a valid, non-empty key path.
template <class Each>
void ForEachSubkey(std::string_view path, Each each) {
    if (path.empty()) return;
    for (size_t start = 0;;) {
        const size_t end = path.find('\\', start);
        each(path.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) return;
        start = end + 1;
    }
}

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

constexpr uint32_t kDword = 4;
constexpr uint32_t kString = 1;

void AppendQuoted(std::string& out, std::string_view bytes) {
    out += '"';
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\0':
                out += "\\0";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                if (byte < 0x20 || byte == 0x7F) {
                    char escaped[5];
                    std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
                    out += escaped;
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = LowerAscii(c);
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Reads one line of the text form, moving `rest` past what it read.
class LineReader {
public:
    explicit LineReader(std::string_view line) : rest_(line) {}

    bool Take(char expected) {
        if (rest_.empty() || rest_.front() != expected) return false;
        rest_.remove_prefix(1);
        return true;
    }

    bool TakeWord(std::string_view word) {
        if (rest_.substr(0, word.size()) != word) return false;
        rest_.remove_prefix(word.size());
        return true;
    }

    bool Quoted(std::string& out) {
        if (!Take('"')) return false;
        while (!rest_.empty()) {
            const char c = rest_.front();
            rest_.remove_prefix(1);
            if (c == '"') return true;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (rest_.empty()) return false;
            const char escape = rest_.front();
            rest_.remove_prefix(1);
            switch (escape) {
                case '\\':
                    out += '\\';
                    break;
                case '"':
                    out += '"';
                    break;
                case '0':
                    out += '\0';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 'x': {
                    int byte = 0;
                    if (!HexByte(byte)) return false;
                    out += static_cast<char>(byte);
                    break;
                }
                default:
                    return false;
            }
        }
        return false;
    }

    bool HexByte(int& byte) {
        if (rest_.size() < 2) return false;
        const int high = HexDigit(rest_[0]);
        const int low = HexDigit(rest_[1]);
        if (high < 0 || low < 0) return false;
        byte = high * 16 + low;
        rest_.remove_prefix(2);
        return true;
    }

    bool Decimal(uint32_t& number) {
        size_t digits = 0;
        uint64_t value = 0;
        while (digits < rest_.size() && rest_[digits] >= '0' && rest_[digits] <= '9') {
            value = value * 10 + static_cast<uint64_t>(rest_[digits] - '0');
            if (value > UINT32_MAX) return false;
            ++digits;
        }
        if (digits == 0) return false;
        rest_.remove_prefix(digits);
        number = static_cast<uint32_t>(value);
        return true;
    }

    bool AtEnd() const { return rest_.empty(); }

private:
    std::string_view rest_;
};

std::optional<Value> ParseValue(std::string_view line) {
    LineReader reader(line);
    Value value;
    if (!reader.Quoted(value.name) || !reader.Take('=')) return std::nullopt;
    if (reader.TakeWord("sz:")) {
        value.type = kString;
        std::string text;
        if (!reader.Quoted(text)) return std::nullopt;
        value.data.assign(text.begin(), text.end());
    } else if (reader.TakeWord("dword:")) {
        value.type = kDword;
        uint32_t number = 0;
        for (int i = 0; i < 4; ++i) {
            int byte = 0;
            if (!reader.HexByte(byte)) return std::nullopt;
            number = number << 8 | static_cast<uint32_t>(byte);
        }
        for (int i = 0; i < 4; ++i) value.data.push_back(static_cast<uint8_t>(number >> (8 * i)));
    } else if (reader.TakeWord("hex(")) {
        if (!reader.Decimal(value.type) || !reader.Take(')') || !reader.Take(':')) return std::nullopt;
        bool first = true;
        while (!reader.AtEnd()) {
            int byte = 0;
            if ((!first && !reader.Take(',')) || !reader.HexByte(byte)) return std::nullopt;
            value.data.push_back(static_cast<uint8_t>(byte));
            first = false;
        }
    } else {
        return std::nullopt;
    }
    if (!reader.AtEnd()) return std::nullopt;
    return value;
}

void AppendValue(std::string& out, const Value& value) {
    AppendQuoted(out, value.name);
    out += '=';
    if (value.type == kString) {
        out += "sz:";
        AppendQuoted(out, std::string_view(reinterpret_cast<const char*>(value.data.data()), value.data.size()));
    } else if (value.type == kDword && value.data.size() == 4) {
        uint32_t number = 0;
        for (int i = 3; i >= 0; --i) number = number << 8 | value.data[static_cast<size_t>(i)];
        char hex[9];
        std::snprintf(hex, sizeof hex, "%08x", number);
        out += "dword:";
        out += hex;
    } else {
        out += "hex(" + std::to_string(value.type) + "):";
        for (size_t i = 0; i < value.data.size(); ++i) {
            char hex[4];
            std::snprintf(hex, sizeof hex, i == 0 ? "%02x" : ",%02x", value.data[i]);
            out += hex;
        }
    }
    out += '\n';
}

}  // namespace

Value* Key::FindValue(std::string_view name) {
    const auto found = valueIndex_.find(Folded(name));
    return found == valueIndex_.end() ? nullptr : &values[found->second];
}

void Key::SetValue(Value value) {
    if (Value* existing = FindValue(value.name)) {
        // The name keeps the case it was first written with.
        existing->type = value.type;
        existing->data = std::move(value.data);
        return;
    }
    valueIndex_.emplace(Folded(value.name), values.size());
    values.push_back(std::move(value));
}

Hive::Hive() { keys_.push_back(Key{}); }

Key* Hive::FindKey(std::string_view path) {
    size_t place = 0;
    bool found = true;
    ForEachSubkey(path, [&](std::string_view name) {
        if (!found) return;
        const auto child = children_.find(ChildName(place, name));
        found = child != children_.end();
        if (found) place = child->second;
    });
    return found ? &keys_[place] : nullptr;
}

// Parents first, so that every prefix of a key's path is a key too.
Key& Hive::CreateKey(std::string_view path, bool& created) {
    created = false;
    size_t place = 0;
    ForEachSubkey(path, [&](std::string_view name) {
        const auto [child, added] = children_.try_emplace(ChildName(place, name), keys_.size());
        created = added;
        if (added) {
            Key& key = keys_.emplace_back();
            key.name = name;
            key.parent = place;
        }
        place = child->second;
    });
    return keys_[place];
}

std::string Hive::PathOf(const Key& key) const {
    std::vector<const Key*> chain;
    for (const Key* k = &key; k != &keys_.front(); k = &keys_[k->parent]) chain.push_back(k);
    std::string path;
    for (auto k = chain.rbegin(); k != chain.rend(); ++k) {
        if (!path.empty()) path += '\\';
        path += (*k)->name;
    }
    return path;
}

std::string Hive::ToText() const {
    std::string text = "; Registry hive, written by the program. One [key] per section, then its values.\n";
    for (size_t place = 0; place < keys_.size(); ++place) {
        const Key& key = keys_[place];
        // Reading its child creates it again, in the same place.
        const bool implied = place + 1 < keys_.size() && keys_[place + 1].parent == place;
        if (key.values.empty() && (place == 0 || implied)) continue;
        text += "\n[" + PathOf(key) + "]\n";
        for (const Value& value : key.values) AppendValue(text, value);
    }
    return text;
}

std::optional<Hive> Hive::FromText(std::string_view text, std::string& error) {
    Hive hive;
    Key* current = nullptr;
    size_t lineNumber = 0;
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    while (!text.empty()) {
        ++lineNumber;
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            const std::string_view path = line.size() >= 2 ? line.substr(1, line.size() - 2) : std::string_view();
            if (line.size() < 2 || line.back() != ']' || !IsValidKeyPath(path)) {
                error = "line " + std::to_string(lineNumber) + ": not a key";
                return std::nullopt;
            }
            bool created = false;
            current = &hive.CreateKey(path, created);
            continue;
        }
        std::optional<Value> value = ParseValue(line);
        if (!value || !current) {
            error = "line " + std::to_string(lineNumber) + (value ? ": value outside a key" : ": not a value");
            return std::nullopt;
        }
        current->SetValue(std::move(*value));
    }
    return hive;
}

bool IsValidKeyPath(std::string_view path) {
    if (path.empty()) return true;
    size_t start = 0;
    while (true) {
        const size_t end = path.find('\\', start);
        const std::string_view name = path.substr(start, end == std::string_view::npos ? end : end - start);
        if (name.empty()) return false;
        for (const char c : name)
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
        if (end == std::string_view::npos) return true;
        start = end + 1;
    }
}

}  // namespace registry
