#pragma once

// Libraries loaded while the program runs, and their entry points.
// An entry point of a library for this system is a C function with no
// arguments that returns a 32-bit code: extern "C" int32_t Name(void).

#include <cstdint>
#include <string>

namespace os {

using HMODULE = std::uintptr_t;
using FARPROC = int32_t (*)();

// Loads a library by its path (or by its name, searched where the system
// searches); 0 when it cannot be loaded. Each call gives a handle of its own,
// to be freed once.
HMODULE LoadLibraryA(const std::string& fileName);

// The entry point of that name, or null when the library has none.
FARPROC GetProcAddress(HMODULE module, const std::string& procName);

// Releases the handle; the library is unloaded once no handle and no thread
// started at one of its entry points (thread.h) holds it. False for a handle
// that is not open.
bool FreeLibrary(HMODULE module);

}  // namespace os
