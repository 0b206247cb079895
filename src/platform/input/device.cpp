#include "platform/input/device.h"

#include "platform/failure.h"
#include "platform/input/input_failures.h"

#include <string>

namespace input {

uint8_t KeyboardState::Key(int32_t code) const {
    if (code < 0 || static_cast<size_t>(code) >= bytes_.size()) {
        throw Failure(failure_number::SubscriptOutOfRange, "Subscript out of range: key code " + std::to_string(code));
    }
    return bytes_[static_cast<size_t>(code)];
}

void Device::SetCommonDataFormat(int32_t format) {
    const int32_t expected = kind_ == Kind::Keyboard ? DIFORMAT_KEYBOARD : DIFORMAT_MOUSE;
    if (format != expected) {
        throw Failure(failure::InvalidParam, "Data format " + std::to_string(format) + " does not suit this device");
    }
    formatSet_ = true;
}

void Device::Acquire() {
    if (!formatSet_) throw Failure(failure::InvalidParam, "The device has no data format");
    acquired_ = true;
}

KeyboardState Device::GetDeviceStateKeyboard() const {
    CheckReadable(Kind::Keyboard);
    return KeyboardState(CurrentInput().Keys());
}

MouseState Device::GetDeviceStateMouse() const {
    CheckReadable(Kind::Mouse);
    MouseState state;
    state.buttons = CurrentInput().Buttons();
    return state;
}

void Device::CheckReadable(Kind kind) const {
    if (kind != kind_) throw Failure(failure::InvalidParam, "The device does not read in this format");
    if (!acquired_) throw Failure(failure::NotAcquired, "The device is not acquired");
}

}  // namespace input
