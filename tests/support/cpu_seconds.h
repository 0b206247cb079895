#pragma once

// The processor time the calling thread has used, in seconds. Tests that
// bound what an algorithm costs measure it so, not by the clock on the wall,
// which also counts whatever else the machine runs meanwhile.

#include <time.h>

inline double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}
