#include "platform/failure.h"
#include "platform/input/direct_input.h"
#include "platform/input/input_failures.h"
#include "platform/input/scripted_input.h"
#include "support/failure_number.h"

#include <gtest/gtest.h>

namespace {

TEST(Device, SystemDevicesByNameInAnyCase) {
    auto directInput = input::DirectInputCreate();
    EXPECT_NE(directInput->CreateDevice("GUID_SysKeyboard"), nullptr);
    EXPECT_NE(directInput->CreateDevice("GUID_Sysmouse"), nullptr);
    EXPECT_NE(directInput->CreateDevice("guid_sysmouse"), nullptr);
    EXPECT_EQ(FailureNumberOf([&] { directInput->CreateDevice("GUID_Joystick"); }),
              input::failure::DeviceNotRegistered);
}

TEST(Device, ReadsOnlyWithItsFormatOnceAcquired) {
    auto directInput = input::DirectInputCreate();
    auto keyboard = directInput->CreateDevice("GUID_SysKeyboard");
    auto mouse = directInput->CreateDevice("GUID_SysMouse");

    EXPECT_EQ(FailureNumberOf([&] { keyboard->Acquire(); }), input::failure::InvalidParam);
    EXPECT_EQ(FailureNumberOf([&] { keyboard->SetCommonDataFormat(input::DIFORMAT_MOUSE); }),
              input::failure::InvalidParam);
    keyboard->SetCommonDataFormat(input::DIFORMAT_KEYBOARD);
    mouse->SetCommonDataFormat(input::DIFORMAT_MOUSE);
    EXPECT_EQ(FailureNumberOf([&] { keyboard->GetDeviceStateKeyboard(); }), input::failure::NotAcquired);

    keyboard->Acquire();
    mouse->Acquire();
    EXPECT_EQ(FailureNumberOf([&] { keyboard->GetDeviceStateMouse(); }), input::failure::InvalidParam);
    EXPECT_EQ(FailureNumberOf([&] { mouse->GetDeviceStateKeyboard(); }), input::failure::InvalidParam);
    EXPECT_EQ(FailureNumberOf([&] { keyboard->GetDeviceStateKeyboard(); }), 0);
    EXPECT_EQ(FailureNumberOf([&] { mouse->GetDeviceStateMouse(); }), 0);
}

TEST(Device, KeyCodeOutsideTheStateIsAFailure) {
    input::ScriptedInput script;
    auto keyboard = input::DirectInputCreate()->CreateDevice("GUID_SysKeyboard");
    keyboard->SetCommonDataFormat(input::DIFORMAT_KEYBOARD);
    keyboard->Acquire();
    const input::KeyboardState state = keyboard->GetDeviceStateKeyboard();
    EXPECT_EQ(state.Key(255), 0);
    for (const int32_t code : {-1, 256}) {
        EXPECT_EQ(FailureNumberOf([&] { state.Key(code); }), failure_number::SubscriptOutOfRange) << code;
    }
}

}  // namespace
