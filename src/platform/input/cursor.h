#pragma once

#include "platform/input/input_source.h"

#include <cstdint>

// The system cursor calls, in screen pixels of the toolkit (logical pixels,
// the unit in which windows report their place). They act on the current
// input source (input_source.h).
namespace input {

// Raises (show) or lowers the cursor's show counter and returns the new
// count; the cursor is visible while the count is 0 or more, so each hide
// needs its own show.
int32_t ShowCursor(bool show);

Point GetCursorPos();
void SetCursorPos(int32_t x, int32_t y);

}  // namespace input
