#pragma once

namespace ui {

// A set of controls of which some are loaded at run time (a control array):
// the form drops those when it unloads.
class ControlGroup {
public:
    virtual ~ControlGroup() = default;
    virtual void DropRunTimeElements() = 0;
};

}  // namespace ui
