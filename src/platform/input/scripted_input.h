#pragma once

#include "platform/input/input_source.h"

namespace input {

// Keys, buttons and a cursor that a test sets between frames, so the game's
// code can run frame by frame without a display. While it exists it is the
// source that every device and cursor call reads; its destruction gives the
// previous source back. The program's own cursor moves (SetCursorPos) move
// it too, and its show counter starts at 0 like the system's.
class ScriptedInput : public InputSource {
public:
    ScriptedInput();
    ~ScriptedInput() override;
    ScriptedInput(const ScriptedInput&) = delete;
    ScriptedInput& operator=(const ScriptedInput&) = delete;

    // Key codes 0 to 255; buttons 0 (left) to 3.
    void PressKey(int32_t code);
    void ReleaseKey(int32_t code);
    void PressButton(int32_t button);
    void ReleaseButton(int32_t button);
    // The program loses the input: everything reads up.
    void LoseInput();

    Point CursorPos() const override { return cursor_; }
    void MoveCursor(Point point) override { cursor_ = point; }
    bool CursorShown() const { return shown_; }

private:
    void SetCursorVisible(bool visible) override { shown_ = visible; }

    InputSource* previous_;
    Point cursor_;
    bool shown_ = true;
};

}  // namespace input
