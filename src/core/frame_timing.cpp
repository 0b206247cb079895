#include "core/frame_timing.h"

#include "core/game_state.h"
#include "core/text.h"
#include "core/trace.h"
#include "platform/failure.h"
#include "platform/rm/directx7.h"

#include <ctime>

int32_t ReadTickCounter() {
    if (TickCounter) return TickCounter();
    if (!DX7) throw Failure(failure_number::ObjectNotSet, "No DirectX root for the tick counter");
    return DX7->TickCount();
}

float ReadClockSeconds() {
    if (ClockSeconds) return ClockSeconds();
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    return static_cast<float>(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) +
           static_cast<float>(now.tv_nsec) / 1e9f;
}

void MesureImage() {
    const int64_t tick = ReadTickCounter();
    // Differences in 64 bits: the counter wraps, and a wrap must not overflow.
    FrameTime = static_cast<float>(tick - LastTick);
    LastTick = ReadTickCounter();
    if (FrameCount == 30) {
        LoopSkipsFailures = true;
        FramesPerSecond = 30.0f / (ReadClockSeconds() - RateWindowStart);
        Trace("frame rate ", FramesPerSecond);
        RateWindowStart = ReadClockSeconds();
        FrameCount = 0;
    }
}

void AppliqueRatio(double& ratio) {
    if (FrameTime == 0) return;
    ratio = CDbl(Format(FrameTime / 20.0, "#.00"));
    if (ratio > 10) ratio = 1;
}
