#include "models/model_text.h"

#include "core/paths.h"
#include "core/replace.h"
#include "core/text.h"
#include "platform/failure.h"

#include <charconv>
#include <cmath>
#include <fstream>

namespace {

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

Failure NotANumber(std::string_view field) {
    return Failure(failure_number::TypeMismatch, "Type mismatch: \"" + std::string(field) + "\" is not a number");
}

}  // namespace

ModelLines::ModelLines(const std::string& path) : path_(path) {
    std::ifstream file(NativePath(path), std::ios::binary);
    if (!file) throw Failure(failure_number::FileNotFound, "File not found: " + path);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines_.push_back(std::move(line));
    }
    if (file.bad()) throw Failure(failure_number::FileNotFound, "Cannot read " + path);
}

const std::string& ModelLines::Next() {
    if (AtEnd()) throw Failure(failure_number::InputPastEndOfFile, "Input past end of file: " + path_);
    return lines_[next_++];
}

double ModelNumber(std::string_view field) {
    std::string_view text = TrimBlanks(field);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        throw NotANumber(field);
    return value;
}

int32_t ModelIndex(std::string_view field) {
    const std::string_view text = TrimBlanks(field);
    if (text.empty()) throw NotANumber(field);
    return CLng(text);
}

std::string BoneName(std::string_view name) { return Remplace(Remplace(name, " ", "_"), "-", "D"); }

std::vector<std::string_view> SplitFields(std::string_view line, size_t count) {
    std::vector<std::string_view> fields(count);
    for (size_t i = 0; i < count; ++i) {
        const size_t blank = i + 1 < count ? line.find(' ') : std::string_view::npos;
        fields[i] = line.substr(0, blank);
        if (blank == std::string_view::npos) break;
        line.remove_prefix(blank + 1);
    }
    return fields;
}

void MalformedModel(const std::string& what) { throw Failure(failure_number::InvalidArgument, what); }
