#include "platform/os/thread.h"

#include "platform/os/handle_table.h"

#include <dlfcn.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace os {
namespace {

struct ThreadState {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    uint32_t exitCode = STILL_ACTIVE;
};

HandleTable<ThreadState>& Threads() {
    static HandleTable<ThreadState> threads;
    return threads;
}

// A reference of its own to the library that holds `entryPoint`, so that the
// library stays loaded while the thread runs; null when it is not in one.
void* HoldLibraryOf(FARPROC entryPoint) {
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(entryPoint), &info) || !info.dli_fname) return nullptr;
    return dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
}

}  // namespace

HANDLE CreateThread(FARPROC entryPoint) {
    if (!entryPoint) return 0;
    auto state = std::make_shared<ThreadState>();
    void* library = HoldLibraryOf(entryPoint);
    try {
        std::thread([state, entryPoint, library] {
            const auto code = static_cast<uint32_t>(entryPoint());
            {
                std::lock_guard lock(state->mutex);
                state->exitCode = code;
                state->done = true;
            }
            state->ended.notify_all();
            if (library) dlclose(library);
        }).detach();
    } catch (const std::system_error&) {
        if (library) dlclose(library);
        return 0;
    }
    return Threads().Add(std::move(state));
}

uint32_t WaitForSingleObject(HANDLE thread, uint32_t milliseconds) {
    const std::shared_ptr<ThreadState> state = Threads().Find(thread);
    if (!state) return WAIT_FAILED;
    std::unique_lock lock(state->mutex);
    if (milliseconds == INFINITE) {
        state->ended.wait(lock, [&] { return state->done; });
        return WAIT_OBJECT_0;
    }
    const bool done = state->ended.wait_for(lock, std::chrono::milliseconds(milliseconds), [&] { return state->done; });
    return done ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

bool GetExitCodeThread(HANDLE thread, uint32_t* exitCode) {
    const std::shared_ptr<ThreadState> state = Threads().Find(thread);
    if (!state || !exitCode) return false;
    std::lock_guard lock(state->mutex);
    *exitCode = state->exitCode;
    return true;
}

bool CloseHandle(HANDLE handle) { return Threads().Remove(handle) != nullptr; }

}  // namespace os
