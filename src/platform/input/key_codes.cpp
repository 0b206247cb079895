#include "platform/input/key_codes.h"

#include <linux/input-event-codes.h>

#include <array>
#include <utility>

namespace input {
namespace {

constexpr uint32_t X11KeycodeOffset = 8;

// Kernel key numbers that are not the key's DirectInput code.
constexpr std::array<std::pair<uint32_t, uint8_t>, 41> ExtendedKeys{{
    {KEY_KPENTER, 0x9C},           // keypad Enter
    {KEY_RIGHTCTRL, 0x9D},         // right Ctrl
    {KEY_KPSLASH, 0xB5},           // keypad /
    {KEY_SYSRQ, 0xB7},             // Print Screen
    {KEY_RIGHTALT, 0xB8},          // right Alt
    {KEY_PAUSE, 0xC5},             // Pause
    {KEY_HOME, 0xC7},              // Home
    {KEY_UP, 0xC8},                // up arrow
    {KEY_PAGEUP, 0xC9},            // Page Up
    {KEY_LEFT, 0xCB},              // left arrow
    {KEY_RIGHT, 0xCD},             // right arrow
    {KEY_END, 0xCF},               // End
    {KEY_DOWN, 0xD0},              // down arrow
    {KEY_PAGEDOWN, 0xD1},          // Page Down
    {KEY_INSERT, 0xD2},            // Insert
    {KEY_DELETE, 0xD3},            // Delete
    {KEY_LEFTMETA, 0xDB},          // left Windows key
    {KEY_RIGHTMETA, 0xDC},         // right Windows key
    {KEY_COMPOSE, 0xDD},           // menu key
    {KEY_POWER, 0xDE},             // power
    {KEY_SLEEP, 0xDF},             // sleep
    {KEY_WAKEUP, 0xE3},            // wake
    {KEY_F13, 0x64},               // F13
    {KEY_F14, 0x65},               // F14
    {KEY_F15, 0x66},               // F15
    {KEY_KATAKANAHIRAGANA, 0x70},  // Kana
    {KEY_RO, 0x73},                // the Brazilian and Japanese / key
    {KEY_HENKAN, 0x79},            // Convert
    {KEY_MUHENKAN, 0x7B},          // No Convert
    {KEY_YEN, 0x7D},               // Yen
    {KEY_KPEQUAL, 0x8D},           // keypad =
    {KEY_KPCOMMA, 0xB3},           // keypad ,
    {KEY_MUTE, 0xA0},              // mute
    {KEY_VOLUMEDOWN, 0xAE},        // volume down
    {KEY_VOLUMEUP, 0xB0},          // volume up
    {KEY_PREVIOUSSONG, 0x90},      // previous track
    {KEY_NEXTSONG, 0x99},          // next track
    {KEY_PLAYPAUSE, 0xA2},         // play/pause
    {KEY_STOPCD, 0xA4},            // media stop
    {KEY_CALC, 0xA1},              // calculator
    {KEY_HOMEPAGE, 0xB2},          // web home
}};

// Escape (1) to keypad . (83), the key beside the left Shift (86), F11, F12.
constexpr bool KeepsItsNumber(uint32_t key) {
    return (key >= KEY_ESC && key <= KEY_KPDOT) || (key >= KEY_102ND && key <= KEY_F12);
}

}  // namespace

uint8_t KeyCodeFromNativeScanCode(uint32_t nativeScanCode) {
    if (nativeScanCode < X11KeycodeOffset) return 0;
    const uint32_t key = nativeScanCode - X11KeycodeOffset;
    if (KeepsItsNumber(key)) return static_cast<uint8_t>(key);
    for (const auto& [kernelKey, code] : ExtendedKeys) {
        if (kernelKey == key) return code;
    }
    return 0;
}

}  // namespace input
