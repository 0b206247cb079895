#pragma once

#include <cstdint>

namespace input {

// DirectInput key codes of the keys the game reads: the index of a key's byte
// in the keyboard state.
namespace key {
inline constexpr int32_t Escape = 1;
inline constexpr int32_t Backspace = 14;
inline constexpr int32_t P = 25;
inline constexpr int32_t F1 = 59;
inline constexpr int32_t F5 = 63;
inline constexpr int32_t KeypadMinus = 74;
inline constexpr int32_t KeypadPlus = 78;
inline constexpr int32_t F11 = 87;
inline constexpr int32_t F12 = 88;
inline constexpr int32_t RightControl = 157;
inline constexpr int32_t UpArrow = 200;
inline constexpr int32_t LeftArrow = 203;
inline constexpr int32_t RightArrow = 205;
inline constexpr int32_t End = 207;
inline constexpr int32_t DownArrow = 208;
inline constexpr int32_t PageDown = 209;
inline constexpr int32_t Delete = 211;
}  // namespace key

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
