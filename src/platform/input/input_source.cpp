#include "platform/input/input_source.h"

#include "platform/input/system_input.h"

namespace input {
namespace {
InputSource* installed = nullptr;
}

int32_t InputSource::ShowCursor(bool show) {
    showCount_ += show ? 1 : -1;
    if (show && showCount_ == 0) SetCursorVisible(true);
    if (!show && showCount_ == -1) SetCursorVisible(false);
    return showCount_;
}

void InputSource::ReleaseAll() {
    keys_.fill(0);
    buttons_.fill(0);
}

InputSource& CurrentInput() { return installed ? *installed : SystemInput::Instance(); }

InputSource* ReplaceInput(InputSource* source) {
    InputSource* previous = installed;
    installed = source;
    return previous;
}

}  // namespace input
