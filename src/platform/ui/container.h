#pragma once

#include "platform/ui/units.h"

class QWidget;

namespace ui {

class Form;

// What controls lie in: a form, a frame or a picture box.
class Container {
public:
    virtual ~Container() = default;

    virtual Form& OwnerForm() = 0;
    // The widget the contained controls are children of; loads the form.
    virtual QWidget* ClientArea() = 0;
    // The units of the contained controls' Left, Top, Width and Height.
    virtual ScaleMode ChildScale() = 0;
};

}  // namespace ui
