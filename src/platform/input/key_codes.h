#pragma once

#include <cstdint>

namespace input {

// The DirectInput key code (1 to 255) of a key event's native scan code, 0
// for a key that has none. On X11 the native scan code is the X keycode,
// which is the kernel's key number + 8; the kernel numbers the main block,
// the function keys and the keypad as the PC keyboard's scan codes do, and
// the extended keys (arrows, navigation block, right-hand modifiers, keypad
// Enter and /) get the PC's extended codes (0x80 + base scan code).
uint8_t KeyCodeFromNativeScanCode(uint32_t nativeScanCode);

}  // namespace input
