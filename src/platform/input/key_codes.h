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

// DirectInput key codes of the keys the game binds by name.
inline constexpr int32_t KeyBackspace = 14;
inline constexpr int32_t KeyP = 25;
inline constexpr int32_t KeyRightControl = 157;
inline constexpr int32_t KeyUp = 200;
inline constexpr int32_t KeyLeft = 203;
inline constexpr int32_t KeyRight = 205;
inline constexpr int32_t KeyEnd = 207;
inline constexpr int32_t KeyDown = 208;
inline constexpr int32_t KeyPageDown = 209;
inline constexpr int32_t KeyDelete = 211;

}  // namespace input
