#pragma once

#include "platform/ui/control.h"

namespace ui {

// The place on a form where the 3D device draws: a plain child window that
// always fills its container and lies behind the container's other
// controls, so that controls such as a chat box show above the picture.
// The windowed device is bound to its hWnd and makes its own drawing
// widget inside it.
class DeviceHost : public Control {
public:
    using Control::Control;

protected:
    QWidget* CreateWidget() override;
};

}  // namespace ui
