#pragma once

#include <string>

namespace os {

// Claims the right to run for one game folder and one user. Returns false
// when a live process holds it already; a claim left behind by a process that
// died is taken over. The claim lasts until the process ends.
bool ClaimSingleInstance(const std::string& gameFolder);

// Where the claim for `gameFolder` is kept (for tests).
std::string SingleInstanceLockPath(const std::string& gameFolder);

}  // namespace os
