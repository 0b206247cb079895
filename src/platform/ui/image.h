#pragma once

#include "platform/ui/control.h"
#include "platform/ui/picture.h"

namespace ui {

// A picture on a form. Stretched, the picture fills the control; otherwise
// the control takes the picture's size whenever it gets one.
class Image : public Control {
public:
    using Control::Control;

    ui::Picture Picture();
    void SetPicture(const ui::Picture& picture);
    bool Stretch();
    void SetStretch(bool stretch);

    void CopyLook(Control& from) override;

protected:
    QWidget* CreateWidget() override;
};

}  // namespace ui
