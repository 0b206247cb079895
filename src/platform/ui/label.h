#pragma once

#include "platform/ui/control.h"

namespace ui {

enum Alignment : int { vbLeftJustify = 0, vbRightJustify = 1, vbCenter = 2 };

// A text on a form; with Click and MouseMove it also serves as a button.
// In a caption "&&" shows as one "&" and a single "&" marks the access key.
class Label : public Control {
public:
    using Control::Control;

    std::string Caption();
    void SetCaption(const std::string& caption);
    int Alignment();
    void SetAlignment(int alignment);

    void CopyLook(Control& from) override;

protected:
    QWidget* CreateWidget() override;
};

}  // namespace ui
