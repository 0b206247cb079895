#pragma once

#include "platform/ui/units.h"

class QMouseEvent;

namespace ui {

// A Qt mouse event as the toolkit's mouse events pass it: the button that
// changed (or the buttons held, for a move), the shift keys and the point in
// the receiver's units.
struct MouseArguments {
    int button;
    int shift;
    float x;
    float y;
};
MouseArguments MouseArgumentsOf(const QMouseEvent& event, ScaleMode scale);

}  // namespace ui
