#pragma once

class QWidget;

namespace ui {

// The program's one mouse pointer over its windows: the default arrow or the
// hourglass. It is a single setting, not a stack: the last call wins. It
// sets the cursor of the forms' windows (also of forms loaded later) and
// never the application-wide override cursor, which the input layer uses to
// hide the cursor in the game.
enum MousePointerShape : int { vbDefault = 0, vbHourglass = 11 };

void SetMousePointer(int shape);
int MousePointer();

// Gives a newly loaded form's window the current pointer.
void ApplyMousePointer(QWidget& window);

}  // namespace ui
