#pragma once

// Files and folders, as the game's file statements handle them. Paths are
// paths of this system (core/paths.h turns the game's own into them).
// Failures carry the numbers the game knows: 53 "File not found", 75
// "Path/File access error", 76 "Path not found".

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace os {

// True for a file, or a link to one; folders are not files.
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

// Creates one folder in an existing folder. Anything already at `path`
// (a folder too) is a failure, as is a missing parent.
void MkDir(const std::string& path);

// Makes `path` the current folder.
void ChDir(const std::string& path);

// Removes an empty folder.
void RmDir(const std::string& path);

// Copies a file over any file at `destination`. The copy is written beside
// it and then renamed into place, so a program that has the old file open
// (or loaded as a library) goes on seeing the old one.
void FileCopy(const std::string& source, const std::string& destination);

// Writes `bytes` as the whole file at `path`, in the same way: beside it
// first, then renamed over whatever file was there. A failed write leaves
// the old file as it was.
void WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes);

// Renames a file. A file already at `newPath` is replaced in one step, so a
// reader sees either the old file or the new one, never a part of either.
void Name(const std::string& oldPath, const std::string& newPath);

// Deletes a file.
void Kill(const std::string& path);

// The names of the files (not folders) in `folder` whose name ends with
// `suffix` (case kept, as names are), in alphabetical order of the names
// with ASCII letters' case ignored. A folder that is missing or cannot be
// read lists nothing.
std::vector<std::string> FilesEndingWith(const std::string& folder, std::string_view suffix);

}  // namespace os
