// A small library with entry points, as a component that the program loads
// and starts a thread at.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

namespace {
std::atomic<bool> released{false};
}

extern "C" {

int32_t ReturnsAtOnce() { return 7; }

// Does not return before Release is called: for a waiter, it never returns.
int32_t BlocksUntilReleased() {
    while (!released) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return 9;
}

int32_t Release() {
    released = true;
    return 0;
}
}
