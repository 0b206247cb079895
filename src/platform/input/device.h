#pragma once

#include "platform/input/input_source.h"

#include <array>
#include <cstdint>

namespace input {

// The common data formats a device reads in.
inline constexpr int32_t DIFORMAT_KEYBOARD = 1;
inline constexpr int32_t DIFORMAT_MOUSE = 2;

// The keyboard as one read saw it: one byte per DirectInput key code, bit 7
// (0x80) set while the key is down.
class KeyboardState {
public:
    explicit KeyboardState(const KeyBytes& bytes) : bytes_(bytes) {}
    // A code outside 0 to 255 is a failure (subscript out of range).
    uint8_t Key(int32_t code) const;

private:
    KeyBytes bytes_;
};

// The mouse as one read saw it. The motion fields read 0: the program steers
// with the system cursor. Buttons 0 (left) to 3, non-zero while down.
struct MouseState {
    int32_t x = 0;
    int32_t y = 0;
    int32_t z = 0;
    ButtonBytes buttons{};
};

// The system keyboard or mouse. It is read only after its data format is set
// and it is acquired; it stays acquired for its life (the devices read in
// the background, so losing the focus does not unacquire them).
class Device {
public:
    enum class Kind { Keyboard, Mouse };
    explicit Device(Kind kind) : kind_(kind) {}

    // DIFORMAT_KEYBOARD for the keyboard, DIFORMAT_MOUSE for the mouse.
    void SetCommonDataFormat(int32_t format);
    void Acquire();

    KeyboardState GetDeviceStateKeyboard() const;
    MouseState GetDeviceStateMouse() const;

private:
    void CheckReadable(Kind kind) const;

    Kind kind_;
    bool formatSet_ = false;
    bool acquired_ = false;
};

}  // namespace input
