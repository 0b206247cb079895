#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace input {

// A position on the screen, in the toolkit's (logical) pixels.
struct Point {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

using KeyBytes = std::array<uint8_t, 256>;   // by DirectInput key code; 0x80 = down
using ButtonBytes = std::array<uint8_t, 4>;  // left, right, middle, back; 0x80 = down

inline constexpr uint8_t Down = 0x80;

// Where the keyboard, mouse and cursor services take their input from: the
// system's (the toolkit's events and cursor) or a test's script. Keeps the
// key and button bytes and the cursor's show counter; the kinds differ in
// how they fill the bytes and where the cursor is.
class InputSource {
public:
    virtual ~InputSource() = default;

    const KeyBytes& Keys() const { return keys_; }
    const ButtonBytes& Buttons() const { return buttons_; }

    virtual Point CursorPos() const = 0;
    virtual void MoveCursor(Point point) = 0;

    // The show counter: the cursor is visible while it is 0 or more. Returns
    // the new count.
    int32_t ShowCursor(bool show);

protected:
    void SetKey(uint8_t code, bool down) { keys_[code] = down ? Down : 0; }
    void SetButton(size_t button, bool down) { buttons_[button] = down ? Down : 0; }
    // Everything up again, as after the program lost the keyboard and mouse.
    void ReleaseAll();

private:
    virtual void SetCursorVisible(bool visible) = 0;

    KeyBytes keys_{};
    ButtonBytes buttons_{};
    int32_t showCount_ = 0;
};

// The source that the services read now: a script while one is installed,
// else the system's. The system's starts listening at its first use; it
// needs the application object.
InputSource& CurrentInput();

// Installs `source` (none: the system's) and returns the one it replaces.
InputSource* ReplaceInput(InputSource* source);

}  // namespace input
