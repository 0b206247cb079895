#pragma once

// Zip archives made in memory for the package tests.

#include <string>
#include <vector>

struct ZipEntry {
    enum class Kind { File, Folder, Symlink, Device };
    std::string path;
    std::string data;  // a file's contents, a link's target
    Kind kind = Kind::File;
    bool executable = false;
};

// The bytes of a zip archive holding `entries` in order.
std::string BuildZip(const std::vector<ZipEntry>& entries);
