#pragma once

// The look the launcher, the lobby windows and the web status window give
// themselves when they load.

#include "platform/ui/form.h"

// Every control of the window, in its control order, gets the font "arial
// black" (but for those named "abo", the about frame's credit lines, which
// keep their designed font); labels, frames and option buttons get white
// text; controls named "btn" get bold, upright, 14-point text. Each change
// that fails is skipped, so a control without the property is left alone.
// Check boxes, text boxes, lists and buttons keep their designed colours.
void HabilleForm(ui::Form& window);
