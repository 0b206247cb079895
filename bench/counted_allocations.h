#pragma once

// Counts every allocation of the benchmark's process, for benchmarks that
// report what a measured step allocates. Include it in one source file only:
// it replaces the global operator new.

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

inline std::atomic<int64_t> Allocations{0};

void* operator new(size_t size) {
    ++Allocations;
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, size_t) noexcept { std::free(memory); }
