#pragma once

// Threads started at a library's entry point, waited for with a time-out.
//
// A thread runs to its end whatever becomes of its handle: closing the
// handle of a thread that has not ended lets it go on by itself. Its
// library stays loaded until it ends, even if FreeLibrary releases the
// last handle meanwhile, so that no code is unloaded under a running
// thread.

#include "platform/os/library.h"

#include <cstdint>

namespace os {

using HANDLE = std::uintptr_t;

inline constexpr uint32_t INFINITE = 0xFFFFFFFF;
inline constexpr uint32_t WAIT_OBJECT_0 = 0;
inline constexpr uint32_t WAIT_TIMEOUT = 258;
inline constexpr uint32_t WAIT_FAILED = 0xFFFFFFFF;
inline constexpr uint32_t STILL_ACTIVE = 259;

// Starts a thread that runs `entryPoint` at once; 0 when no thread starts.
HANDLE CreateThread(FARPROC entryPoint);

// Waits until the thread has ended (WAIT_OBJECT_0) or `milliseconds` have
// passed (WAIT_TIMEOUT); WAIT_FAILED for a handle that is not open.
uint32_t WaitForSingleObject(HANDLE thread, uint32_t milliseconds);

// The entry point's result once the thread has ended, STILL_ACTIVE before.
// False for a handle that is not open.
bool GetExitCodeThread(HANDLE thread, uint32_t* exitCode);

// Releases the handle. False for a handle that is not open.
bool CloseHandle(HANDLE handle);

}  // namespace os
