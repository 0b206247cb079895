#include "platform/input/scripted_input.h"
#include "platform/failure.h"
#include "platform/input/cursor.h"
#include "platform/input/direct_input.h"

#include <gtest/gtest.h>

#include <QCursor>

namespace {

TEST(ScriptedInput, DrivesTheDevicesFrameByFrame) {
    input::ScriptedInput script;
    auto directInput = input::DirectInputCreate();
    auto keyboard = directInput->CreateDevice("GUID_SysKeyboard");
    auto mouse = directInput->CreateDevice("GUID_SysMouse");
    keyboard->SetCommonDataFormat(input::DIFORMAT_KEYBOARD);
    mouse->SetCommonDataFormat(input::DIFORMAT_MOUSE);
    keyboard->Acquire();
    mouse->Acquire();

    script.PressKey(157);
    script.PressButton(0);
    EXPECT_EQ(keyboard->GetDeviceStateKeyboard().Key(157), 0x80);
    EXPECT_NE(mouse->GetDeviceStateMouse().buttons[0], 0);
    EXPECT_EQ(mouse->GetDeviceStateMouse().buttons[1], 0);

    script.ReleaseKey(157);
    script.ReleaseButton(0);
    EXPECT_EQ(keyboard->GetDeviceStateKeyboard().Key(157), 0);
    EXPECT_EQ(mouse->GetDeviceStateMouse().buttons[0], 0);

    script.PressKey(1);
    script.PressButton(1);
    script.LoseInput();
    EXPECT_EQ(keyboard->GetDeviceStateKeyboard().Key(1), 0);
    EXPECT_EQ(mouse->GetDeviceStateMouse().buttons[1], 0);
}

TEST(ScriptedInput, OwnsTheCursorWhileItExists) {
    input::DirectInputCreate();
    input::SetCursorPos(10, 20);
    {
        input::ScriptedInput script;
        script.MoveCursor({400, 300});
        EXPECT_EQ(input::GetCursorPos(), (input::Point{400, 300}));
        input::SetCursorPos(320, 240);
        EXPECT_EQ(script.CursorPos(), (input::Point{320, 240}));
        EXPECT_EQ(QCursor::pos(), QPoint(10, 20)) << "the system cursor is left alone";

        EXPECT_EQ(input::ShowCursor(false), -1);
        EXPECT_FALSE(script.CursorShown());
        EXPECT_EQ(input::ShowCursor(true), 0);
        EXPECT_TRUE(script.CursorShown());
    }
    EXPECT_EQ(input::GetCursorPos(), (input::Point{10, 20}));
}

TEST(ScriptedInput, RejectsKeysAndButtonsThatDoNotExist) {
    input::ScriptedInput script;
    EXPECT_THROW(script.PressKey(256), Failure);
    EXPECT_THROW(script.PressKey(-1), Failure);
    EXPECT_THROW(script.PressButton(4), Failure);
}

}  // namespace
