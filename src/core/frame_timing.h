#pragma once

// The main loop's frame statistics and the frame timing step. The statistics
// live for the whole run; the tick counter and the clock can be replaced (by
// tests) to feed exact readings.

#include "core/shared_state.h"

#include <cstdint>
#include <functional>

// Milliseconds of the tick counter; empty reads the DirectX root's.
inline std::function<int32_t()> TickCounter = Initial(&TickCounter, {});
// Seconds since midnight; empty reads the system's local time.
inline std::function<float()> ClockSeconds = Initial(&ClockSeconds, {});

// Clock reading at the start of the current frames-per-second window.
inline float RateWindowStart = Initial(&RateWindowStart, 0);
// Milliseconds between the last two tick readings.
inline float FrameTime = Initial(&FrameTime, 0);
// The tick counter as the previous timing step read it last. Kept as an
// integer so long up-times still give whole milliseconds.
inline int32_t LastTick = Initial(&LastTick, 0);
// The rate of the last completed window of 30 frames; 0 before the first.
inline float FramesPerSecond = Initial(&FramesPerSecond, 0);
// Frames rendered in the current window.
inline int32_t FrameCount = Initial(&FrameCount, 0);
// Set by the first frames-per-second sample: from then on the loop skips
// every failing statement instead of leaving.
inline bool LoopSkipsFailures = Initial(&LoopSkipsFailures, false);

int32_t ReadTickCounter();
float ReadClockSeconds();

// The timing step of one frame: the frame time, and every 30 rendered
// frames a frames-per-second sample.
void MesureImage();

// The speed ratio for the frame time just measured: frame time / 20 to two
// decimals, 1 for anything above 10 (a frame over 200 ms counts as one
// reference frame); a frame of 0 ms leaves it as it was.
void AppliqueRatio(double& ratio);
