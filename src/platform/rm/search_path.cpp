#include "platform/rm/search_path.h"

#include "platform/failure.h"

#include <filesystem>

namespace rm {

std::string NativeFileName(std::string_view name) {
    std::string native(name);
    for (char& c : native)
        if (c == '\\') c = '/';
    return native;
}

void SearchPath::Set(std::string_view folders) {
    folders_.clear();
    while (!folders.empty()) {
        const size_t end = folders.find(';');
        const std::string_view folder = folders.substr(0, end);
        if (!folder.empty()) folders_.push_back(NativeFileName(folder));
        if (end == std::string_view::npos) break;
        folders.remove_prefix(end + 1);
    }
}

std::string SearchPath::Find(std::string_view name) const {
    namespace fs = std::filesystem;
    std::error_code error;
    const bool onlyInFolders = !name.empty() && name.front() == '\\';
    const std::string native = NativeFileName(name);
    if (!native.empty() && !onlyInFolders && fs::is_regular_file(native, error)) return native;
    std::string_view relative = native;
    while (!relative.empty() && relative.front() == '/') relative.remove_prefix(1);
    if (!relative.empty()) {
        for (const std::string& folder : folders_) {
            const std::string candidate = (fs::path(folder) / relative).string();
            if (fs::is_regular_file(candidate, error)) return candidate;
        }
    }
    throw Failure(failure_number::FileNotFound, "File not found: " + std::string(name));
}

}  // namespace rm
