#pragma once

// The system folder: where the platform kept the shared components that a
// program installs. This system has none for the user to write to, so the
// folder is one of the program's own, per user: "quellmar/system" in
// $XDG_DATA_HOME (when absolute), else in ~/.local/share. The query creates
// it (readable by the user only) when it is missing.

#include <cstdint>
#include <string>

namespace os {

// Writes the folder's path followed by a NUL into `buffer`, which holds
// `size` characters (no more than buffer.size() are used), and returns the
// path's length. When the buffer is too small nothing is written and the
// size needed, NUL included, is returned; 0 when the folder cannot be made.
uint32_t GetSystemDirectoryA(std::string& buffer, uint32_t size);

}  // namespace os
