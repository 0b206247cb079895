#include "core/paths.h"

std::string NativePath(std::string_view gamePath) {
    std::string path(gamePath);
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string joined = NativePath(folder);
    std::string tail = NativePath(name);
    while (!joined.empty() && joined.back() == '/' && joined.size() > 1) joined.pop_back();
    size_t start = 0;
    while (start < tail.size() && tail[start] == '/') ++start;
    if (joined.empty()) return tail;
    if (joined != "/") joined += '/';
    return joined + tail.substr(start);
}
