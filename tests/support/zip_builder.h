#pragma once

// Zip archives made in memory: packages for the unpacking and download tests.

#include <cstdint>
#include <string>
#include <vector>

struct ZipEntry {
    enum class Kind { File, Folder, Symlink, Device };
    std::string path;
    std::string data;  // a file's contents, a link's target
    Kind kind = Kind::File;
    bool executable = false;
};

// The bytes of a zip archive holding `entries` in order, their names UTF-8.
std::string BuildZip(const std::vector<ZipEntry>& entries);

// Makes the central directory and the local header of the file `path` in
// `zip` declare `size` bytes.
void DeclareSize(std::string& zip, const std::string& path, uint32_t size);
