#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

// A file's bytes as they stand; "" when it cannot be read.
inline std::string FileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}
