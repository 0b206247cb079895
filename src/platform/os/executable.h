#pragma once

#include <string>

namespace os {

// The folder of the running executable, without a trailing separator.
std::string ExecutableFolder();

}  // namespace os
