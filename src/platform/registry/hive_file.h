#pragma once

// Reading and writing one hive file (the layout is described in registry.h).

#include "platform/os/descriptor.h"
#include "platform/registry/hive.h"

#include <string>

namespace registry {

// The folder the hive files are kept in: the one set for tests, else
// "quellmar" in $XDG_CONFIG_HOME (when absolute), else in ~/.config.
std::string HiveFolder();
void SetHiveFolderOverride(std::string folder);

// Reads the hive at `path` into `hive`. A missing file is an empty hive. A
// file that does not parse, or is larger than a hive may be (16 MiB), is
// renamed aside, with a message on standard error, and gives an empty hive.
// False when the file cannot be read at all, or is not a regular file (a
// pipe, a folder, ...: it is left alone, with a message).
bool LoadHive(const std::string& path, Hive& hive);

// Replaces the file at `path` with `hive` atomically, readable by the user
// only, creating the folder when needed. False when it could not be written,
// or would be larger than LoadHive reads; the old file is then left as it was.
bool SaveHive(const std::string& path, const Hive& hive);

// The advisory lock of the hive at `path` (an flock on "<path>.lock" beside
// it, creating the folder when needed), held while the object lives, so that
// a read-change-write of another process waits for this one's. It waits up to
// a few seconds for another holder. Reading alone needs no lock: SaveHive
// replaces the file whole.
class HiveLock {
public:
    explicit HiveLock(const std::string& path);
    HiveLock(const HiveLock&) = delete;
    HiveLock& operator=(const HiveLock&) = delete;

    // False when the lock could not be had.
    bool Held() const { return held_; }

private:
    os::Descriptor fd_;  // closing it releases the lock
    bool held_ = false;
};

}  // namespace registry
