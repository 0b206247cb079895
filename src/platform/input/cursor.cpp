#include "platform/input/cursor.h"

namespace input {

int32_t ShowCursor(bool show) { return CurrentInput().ShowCursor(show); }

Point GetCursorPos() { return CurrentInput().CursorPos(); }

void SetCursorPos(int32_t x, int32_t y) { CurrentInput().MoveCursor({x, y}); }

}  // namespace input
