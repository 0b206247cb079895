#include "platform/os/user_name.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace os {

bool GetUserNameA(std::string& buffer, uint32_t* size) {
    if (!size) return false;
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> strings(4096);
    if (getpwuid_r(getuid(), &entry, strings.data(), strings.size(), &found) != 0 || !found || !found->pw_name)
        return false;
    const std::string name = found->pw_name;
    const auto needed = static_cast<uint32_t>(name.size() + 1);
    if (std::min<size_t>(*size, buffer.size()) < needed) {
        *size = needed;
        return false;
    }
    std::copy(name.begin(), name.end(), buffer.begin());
    buffer[name.size()] = '\0';
    *size = needed;
    return true;
}

}  // namespace os
