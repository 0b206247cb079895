// Linked into the tests that draw. The GL library unloads its driver when the
// display closes, before the leak check runs; kept loaded, the driver's own
// leaks stay attributable to it (and suppressed as such).

#include <dlfcn.h>

namespace {

[[maybe_unused]] const bool kDriverKept =
    dlopen("swrast_dri.so", RTLD_LAZY | RTLD_NODELETE) != nullptr ||
    dlopen("/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", RTLD_LAZY | RTLD_NODELETE) != nullptr;

}  // namespace
