#include "platform/os/executable.h"

#include <filesystem>
#include <system_error>
#include <utility>

namespace os {

namespace {
std::string& ReplacedFolder() {
    static std::string folder;
    return folder;
}
}  // namespace

void SetExecutableFolder(std::string folder) { ReplacedFolder() = std::move(folder); }

std::string ExecutableFolder() {
    if (!ReplacedFolder().empty()) return ReplacedFolder();
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return std::filesystem::current_path().string();
    return self.parent_path().string();
}

}  // namespace os
