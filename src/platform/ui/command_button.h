#pragma once

#include "platform/ui/control.h"

namespace ui {

// A push button. Enter in its form presses the default button and Esc the
// cancel button (when visible and enabled), unless the control with the
// focus takes the key itself.
class CommandButton : public Control {
public:
    using Control::Control;

    std::string Caption();
    void SetCaption(const std::string& caption);
    bool Default();
    void SetDefault(bool isDefault);
    bool Cancel();
    void SetCancel(bool isCancel);

    // The form's button that Enter (or Esc) presses, if any.
    static CommandButton* ActingOn(Form& form, bool enter);

protected:
    QWidget* CreateWidget() override;
};

}  // namespace ui
