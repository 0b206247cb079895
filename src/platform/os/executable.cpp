#include "platform/os/executable.h"

#include <filesystem>
#include <system_error>

namespace os {

std::string ExecutableFolder() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return std::filesystem::current_path().string();
    return self.parent_path().string();
}

}  // namespace os
