#include "platform/ui/mouse_event.h"

#include "platform/ui/control.h"

#include <QMouseEvent>

namespace ui {
namespace {
int ButtonsOf(Qt::MouseButtons buttons) {
    return (buttons & Qt::LeftButton ? vbLeftButton : 0) | (buttons & Qt::RightButton ? vbRightButton : 0) |
           (buttons & Qt::MiddleButton ? vbMiddleButton : 0);
}
}  // namespace

MouseArguments MouseArgumentsOf(const QMouseEvent& event, ScaleMode scale) {
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    const int shift = (modifiers & Qt::ShiftModifier ? vbShiftMask : 0) |
                      (modifiers & Qt::ControlModifier ? vbCtrlMask : 0) |
                      (modifiers & Qt::AltModifier ? vbAltMask : 0);
    const int button = ButtonsOf(event.type() == QEvent::MouseMove ? event.buttons() : event.button());
    const QPoint at = event.position().toPoint();
    return {button, shift, FromPixels(at.x(), scale), FromPixels(at.y(), scale)};
}

}  // namespace ui
