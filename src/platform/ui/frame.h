#pragma once

#include "platform/ui/control.h"

namespace ui {

// A frame with a caption that holds other controls. Its controls are placed
// in twips from its top left corner. A disabled frame takes no input for
// any of them, and a hidden one hides them, while they keep their own
// Enabled and Visible.
class Frame : public Control, public Container {
public:
    using Control::Control;

    std::string Caption();
    void SetCaption(const std::string& caption);

    Form& OwnerForm() override { return Parent(); }
    QWidget* ClientArea() override { return Widget(); }
    ScaleMode ChildScale() override { return vbTwips; }

protected:
    bool ColoursItsField() const override { return false; }
    QWidget* CreateWidget() override;
};

}  // namespace ui
