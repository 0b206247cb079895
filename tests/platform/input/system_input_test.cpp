// The system source, fed with the toolkit events that a window of the
// program would receive.

#include "platform/input/cursor.h"
#include "platform/input/direct_input.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <memory>

namespace {

constexpr uint32_t X11Up = 111;  // DirectInput 200
constexpr uint32_t X11P = 33;    // DirectInput 25

class SystemInput : public testing::Test {
protected:
    void SetUp() override {
        auto directInput = input::DirectInputCreate();
        keyboard = directInput->CreateDevice("GUID_SysKeyboard");
        keyboard->SetCommonDataFormat(input::DIFORMAT_KEYBOARD);
        keyboard->Acquire();
        mouse = directInput->CreateDevice("GUID_SysMouse");
        mouse->SetCommonDataFormat(input::DIFORMAT_MOUSE);
        mouse->Acquire();
    }
    void TearDown() override { LoseInput(); }

    void Key(QEvent::Type type, uint32_t keycode, bool autoRepeat = false) {
        QKeyEvent event(type, Qt::Key_unknown, Qt::NoModifier, keycode, 0, 0, QString(), autoRepeat);
        QCoreApplication::sendEvent(&window, &event);
    }
    void Mouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(5, 5), QPointF(5, 5), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &event);
    }
    void LoseInput() {
        QEvent event(QEvent::ApplicationDeactivate);
        QCoreApplication::sendEvent(QCoreApplication::instance(), &event);
    }
    uint8_t KeyState(int32_t code) { return keyboard->GetDeviceStateKeyboard().Key(code); }

    QWidget window;
    std::shared_ptr<input::Device> keyboard;
    std::shared_ptr<input::Device> mouse;
};

TEST_F(SystemInput, KeyHeldThenReleasedReadsDownThenUp) {
    Key(QEvent::KeyPress, X11Up);
    EXPECT_EQ(KeyState(200), 0x80);
    EXPECT_EQ(KeyState(200), 0x80) << "a held key stays down from frame to frame";
    Key(QEvent::KeyRelease, X11Up, true);
    Key(QEvent::KeyPress, X11Up, true);
    EXPECT_EQ(KeyState(200), 0x80) << "key repeats are neither releases nor presses";
    Key(QEvent::KeyRelease, X11Up);
    EXPECT_EQ(KeyState(200), 0);
}

TEST_F(SystemInput, LosingTheInputReleasesKeysAndButtons) {
    Key(QEvent::KeyPress, X11Up);
    Key(QEvent::KeyPress, X11P);
    Mouse(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton);
    LoseInput();
    EXPECT_EQ(KeyState(200), 0);
    EXPECT_EQ(KeyState(25), 0);
    EXPECT_EQ(mouse->GetDeviceStateMouse().buttons[1], 0);
}

TEST_F(SystemInput, MouseButtonsFollowTheHeldButtons) {
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonPress, Qt::RightButton, Qt::LeftButton | Qt::RightButton);
    input::MouseState state = mouse->GetDeviceStateMouse();
    EXPECT_NE(state.buttons[0], 0);
    EXPECT_NE(state.buttons[1], 0);
    EXPECT_EQ(state.x, 0);
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::RightButton);
    state = mouse->GetDeviceStateMouse();
    EXPECT_EQ(state.buttons[0], 0);
    EXPECT_NE(state.buttons[1], 0);
}

TEST(SystemCursor, ShowCounterHidesWithABlankOverrideCursor) {
    input::DirectInputCreate();
    EXPECT_EQ(input::ShowCursor(false), -1);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);
    EXPECT_EQ(input::ShowCursor(false), -2);
    EXPECT_EQ(input::ShowCursor(true), -1);
    EXPECT_NE(QGuiApplication::overrideCursor(), nullptr) << "every hide needs its own show";
    EXPECT_EQ(input::ShowCursor(true), 0);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(input::ShowCursor(true), 1);
    EXPECT_EQ(input::ShowCursor(false), 0);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(SystemCursor, SetThenGetInScreenPixels) {
    input::DirectInputCreate();
    input::SetCursorPos(123, 45);
    EXPECT_EQ(input::GetCursorPos(), (input::Point{123, 45}));
    EXPECT_EQ(QCursor::pos(), QPoint(123, 45));
}

}  // namespace
