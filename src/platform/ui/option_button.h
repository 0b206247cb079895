#pragma once

#include "platform/ui/control.h"

namespace ui {

// A choice among the option buttons of the same container: selecting one
// clears the others. Selecting it, by the user or by code, runs Click.
class OptionButton : public Control {
public:
    using Control::Control;

    std::string Caption();
    void SetCaption(const std::string& caption);
    bool Value();
    void SetValue(bool selected);

protected:
    bool ColoursItsField() const override { return false; }
    QWidget* CreateWidget() override;
};

}  // namespace ui
