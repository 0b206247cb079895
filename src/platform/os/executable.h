#pragma once

#include <string>

namespace os {

// The folder of the running executable, without a trailing separator.
std::string ExecutableFolder();

// Makes ExecutableFolder report `folder` instead (tests run the game on the
// build's game folder); an empty text restores the real one.
void SetExecutableFolder(std::string folder);

}  // namespace os
