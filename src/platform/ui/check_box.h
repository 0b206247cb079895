#pragma once

#include "platform/ui/control.h"

namespace ui {

enum CheckValue : int { vbUnchecked = 0, vbChecked = 1, vbGrayed = 2 };

// A box that is ticked or not. A change of Value, by the user or by code,
// runs Click.
class CheckBox : public Control {
public:
    using Control::Control;

    std::string Caption();
    void SetCaption(const std::string& caption);
    int Value();
    void SetValue(int value);

protected:
    bool ColoursItsField() const override { return false; }
    QWidget* CreateWidget() override;
};

}  // namespace ui
