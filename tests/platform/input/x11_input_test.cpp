// The system source on a real X server: keys and buttons that the X test
// extension presses reach the devices with their DirectInput codes, and the
// cursor moves where the program puts it.

#include "platform/input/cursor.h"
#include "platform/input/direct_input.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <QWidget>
#include <QWindow>

#include <functional>
#include <memory>

namespace {

class X11Input : public testing::Test {
protected:
    void SetUp() override {
        window.setGeometry(0, 0, 200, 200);
        window.show();
        ASSERT_TRUE(Within([&] { return window.isVisible() && window.windowHandle()->isExposed(); }));
        auto directInput = input::DirectInputCreate();
        keyboard = directInput->CreateDevice("GUID_SysKeyboard");
        keyboard->SetCommonDataFormat(input::DIFORMAT_KEYBOARD);
        keyboard->Acquire();
        mouse = directInput->CreateDevice("GUID_SysMouse");
        mouse->SetCommonDataFormat(input::DIFORMAT_MOUSE);
        mouse->Acquire();
        // Without a window manager the keyboard follows the pointer.
        XTest({"mousemove", "100", "100"});
        ASSERT_TRUE(Within([] { return input::GetCursorPos() == input::Point{100, 100}; }));
    }

    static void XTest(const QStringList& arguments) {
        ASSERT_EQ(QProcess::execute("xdotool", arguments), 0) << arguments.join(' ').toStdString();
    }
    // Lets events arrive until `condition` holds, for at most two seconds.
    static bool Within(const std::function<bool()>& condition) {
        QElapsedTimer timer;
        timer.start();
        while (!condition() && timer.elapsed() < 2000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return condition();
    }
    bool KeyDown(int32_t code) { return keyboard->GetDeviceStateKeyboard().Key(code) & 0x80; }

    QWidget window;
    std::shared_ptr<input::Device> keyboard;
    std::shared_ptr<input::Device> mouse;
};

TEST_F(X11Input, KeysReadDownWhileHeld) {
    const struct {
        const char* key;
        int32_t code;
    } keys[] = {{"Escape", 1},      {"p", 25},   {"F5", 63},    {"KP_Add", 78},
                {"Control_R", 157}, {"Up", 200}, {"Next", 209}, {"Delete", 211}};
    for (const auto& key : keys) {
        XTest({"keydown", key.key});
        EXPECT_TRUE(Within([&] { return KeyDown(key.code); })) << key.key;
        XTest({"keyup", key.key});
        EXPECT_TRUE(Within([&] { return !KeyDown(key.code); })) << key.key;
    }
}

TEST_F(X11Input, ButtonsReadDownWhileHeld) {
    for (const int button : {0, 1}) {
        const QString xButton = button == 0 ? "1" : "3";
        XTest({"mousedown", xButton});
        EXPECT_TRUE(Within([&] { return mouse->GetDeviceStateMouse().buttons[button] != 0; })) << button;
        XTest({"mouseup", xButton});
        EXPECT_TRUE(Within([&] { return mouse->GetDeviceStateMouse().buttons[button] == 0; })) << button;
    }
}

TEST_F(X11Input, CursorGoesWhereItIsPut) {
    input::SetCursorPos(50, 60);
    EXPECT_TRUE(Within([] { return input::GetCursorPos() == input::Point{50, 60}; }));
}

}  // namespace
