#include "platform/input/scripted_input.h"

#include "platform/failure.h"

#include <string>

namespace input {
namespace {

size_t Checked(int32_t index, size_t count, const char* what) {
    if (index < 0 || static_cast<size_t>(index) >= count) {
        throw Failure(failure_number::SubscriptOutOfRange,
                      std::string("No such ") + what + ": " + std::to_string(index));
    }
    return static_cast<size_t>(index);
}

}  // namespace

ScriptedInput::ScriptedInput() : previous_(ReplaceInput(this)) {}

ScriptedInput::~ScriptedInput() { ReplaceInput(previous_); }

void ScriptedInput::PressKey(int32_t code) {
    SetKey(static_cast<uint8_t>(Checked(code, KeyBytes{}.size(), "key")), true);
}

void ScriptedInput::ReleaseKey(int32_t code) {
    SetKey(static_cast<uint8_t>(Checked(code, KeyBytes{}.size(), "key")), false);
}

void ScriptedInput::PressButton(int32_t button) { SetButton(Checked(button, ButtonBytes{}.size(), "button"), true); }

void ScriptedInput::ReleaseButton(int32_t button) { SetButton(Checked(button, ButtonBytes{}.size(), "button"), false); }

void ScriptedInput::LoseInput() { ReleaseAll(); }

}  // namespace input
