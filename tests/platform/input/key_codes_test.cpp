#include "platform/input/key_codes.h"

#include <gtest/gtest.h>

namespace {

struct KeyCase {
    const char* key;
    uint32_t x11Keycode;
    uint8_t code;
};

// Every key the game reads, a few keys of each block, and the extended keys
// whose codes differ from the kernel's numbers.
constexpr KeyCase Keys[] = {
    {"Escape", 9, 1},
    {"1", 10, 2},
    {"Backspace", 22, 14},
    {"Tab", 23, 15},
    {"P", 33, 25},
    {"Enter", 36, 28},
    {"left Ctrl", 37, 29},
    {"A", 38, 30},
    {"left Shift", 50, 42},
    {"right Shift", 62, 54},
    {"keypad *", 63, 55},
    {"Space", 65, 57},
    {"F1", 67, 59},
    {"F5", 71, 63},
    {"F10", 76, 68},
    {"keypad 7", 79, 71},
    {"keypad -", 82, 74},
    {"keypad +", 86, 78},
    {"keypad .", 91, 83},
    {"key beside Shift", 94, 86},
    {"F11", 95, 87},
    {"F12", 96, 88},
    {"keypad Enter", 104, 156},
    {"right Ctrl", 105, 157},
    {"keypad /", 106, 181},
    {"right Alt", 108, 184},
    {"Home", 110, 199},
    {"up", 111, 200},
    {"Page Up", 112, 201},
    {"left", 113, 203},
    {"right", 114, 205},
    {"End", 115, 207},
    {"down", 116, 208},
    {"Page Down", 117, 209},
    {"Insert", 118, 210},
    {"Delete", 119, 211},
    {"Pause", 127, 197},
    {"left Windows", 133, 219},
    {"menu", 135, 221},
};

TEST(KeyCodes, NativeScanCodesMapToDirectInputCodes) {
    for (const KeyCase& key : Keys) {
        EXPECT_EQ(input::KeyCodeFromNativeScanCode(key.x11Keycode), key.code) << key.key;
    }
}

TEST(KeyCodes, KeysWithoutACodeGiveZero) {
    for (const uint32_t keycode : {0u, 7u, 8u, 8u + 84u, 8u + 240u, 1000u}) {
        EXPECT_EQ(input::KeyCodeFromNativeScanCode(keycode), 0) << keycode;
    }
}

}  // namespace
