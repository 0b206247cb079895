#pragma once

#include "platform/ui/control.h"
#include "platform/ui/picture.h"

namespace ui {

// A box that shows a picture at its top left corner, unscaled, and holds
// other controls (placed in twips).
class PictureBox : public Control, public Container {
public:
    using Control::Control;

    ui::Picture Picture();
    void SetPicture(const ui::Picture& picture);

    void CopyLook(Control& from) override;

    Form& OwnerForm() override { return Parent(); }
    QWidget* ClientArea() override { return Widget(); }
    ScaleMode ChildScale() override { return vbTwips; }

protected:
    bool ColoursItsField() const override { return false; }
    QWidget* CreateWidget() override;
};

}  // namespace ui
