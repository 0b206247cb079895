#pragma once

// Reading and writing one hive file (the layout is described in registry.h).

#include "platform/registry/hive.h"

#include <string>

namespace registry {

// The folder the hive files are kept in: the one set for tests, else
// "quellmar" in $XDG_CONFIG_HOME (when absolute), else in ~/.config.
std::string HiveFolder();
void SetHiveFolderOverride(std::string folder);

// Reads the hive at `path` into `hive`. A missing file is an empty hive. A
// file that does not parse is renamed aside, with a message on standard
// error, and gives an empty hive. False when the file cannot be read at all.
bool LoadHive(const std::string& path, Hive& hive);

// Replaces the file at `path` with `hive` atomically, readable by the user
// only, creating the folder when needed. False when it could not be written;
// the old file is then left as it was.
bool SaveHive(const std::string& path, const Hive& hive);

}  // namespace registry
