// A stand-in for a system component, built in three kinds:
// - COMPONENT_LOGS: its entry points append a line to the file named by
//   QUELLMAR_TEST_COMPONENT_LOG: the entry point's name and the path the
//   component was loaded from;
// - COMPONENT_BLOCKS: DllRegisterServer does not return before Release runs;
// - neither: a library without entry points.

#include <dlfcn.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

[[maybe_unused]] void Log(const char* entryPoint) {
    const char* log = std::getenv("QUELLMAR_TEST_COMPONENT_LOG");
    Dl_info self{};
    if (!log || !dladdr(reinterpret_cast<void*>(&Log), &self) || !self.dli_fname) return;
    if (std::FILE* file = std::fopen(log, "a")) {
        std::fprintf(file, "%s %s\n", entryPoint, self.dli_fname);
        std::fclose(file);
    }
}

[[maybe_unused]] std::atomic<bool> released{false};

}  // namespace

extern "C" {

#if defined(COMPONENT_LOGS)
int32_t DllRegisterServer() {
    Log("DllRegisterServer");
    return 0;
}

int32_t DllUnregisterServer() {
    Log("DllUnregisterServer");
    return 0;
}
#elif defined(COMPONENT_BLOCKS)
int32_t DllRegisterServer() {
    while (!released) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return 0;
}

int32_t Release() {
    released = true;
    return 0;
}
#else
int32_t NotAnEntryPoint() { return 0; }
#endif
}
