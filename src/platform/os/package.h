#pragma once

// Downloaded packages (maps, releases) are zip archives, possibly behind an
// executable stub that would unpack them on the platform they were made for.
// Here they are unpacked in-process; nothing in them is ever run.
//
// A package is refused as a whole, with nothing unpacked, when it is larger
// than its limit, holds more entries or more bytes than the limits allow, or
// holds an entry that is not a plain file or folder (links, devices, ...) or
// whose path would leave the folder (absolute, drive letters, ".."). The
// sizes its listing declares are checked against the limits before anything
// is written, and an entry that holds more than it declares is refused as
// soon as it passes that size. Entries use "/" or "\" between names, which
// are UTF-8 whatever the user's locale. What it unpacks replaces files of the
// same names; a folder's existing links are never written through. Placing
// is all or nothing: when one entry cannot be placed, those placed before it
// go and the files they replaced come back. Unpacked files are readable by
// everyone and writable by the user; those marked executable stay executable.

#include <cstdint>
#include <string>

namespace os {

struct PackageLimits {
    uint64_t packageBytes = 256ull << 20;
    uint64_t unpackedBytes = 1ull << 30;
    uint32_t entries = 10000;
};

// Unpacks `package` into the existing folder `folder`, or throws Failure
// saying why nothing was unpacked.
void UnpackPackage(const std::string& package, const std::string& folder, const PackageLimits& limits = {});

}  // namespace os
