// The in-game keys, frame by frame with scripted keys (view size: see the
// drawing tests, which have a device).

#include "core/game_keys.h"
#include "core/game_state.h"
#include "core/game_window.h"
#include "platform/input/device.h"
#include "platform/input/key_codes.h"
#include "platform/input/scripted_input.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

#include <memory>
#include <vector>

namespace {

using input::key::Escape, input::key::F1, input::key::F5;

class GameKeys : public testing::Test {
protected:
    void SetUp() override {
        DevClavier = std::make_shared<input::Device>(input::Device::Kind::Keyboard);
        DevClavier->SetCommonDataFormat(input::DIFORMAT_KEYBOARD);
        DevClavier->Acquire();
        GameWindow().Show();
        QApplication::setActiveWindow(GameWindow().hWnd());
    }
    void TearDown() override { GameWindow().Unload(); }

    // One frame with exactly these keys down.
    void Frame(std::initializer_list<int32_t> down) {
        for (int32_t code : held) keys.ReleaseKey(code);
        held.assign(down);
        for (int32_t code : held) keys.PressKey(code);
        ScruteClavierJeu();
    }

    input::ScriptedInput keys;
    std::vector<int32_t> held;
};

TEST_F(GameKeys, EscQuitsAtOnce) {
    Frame({Escape, F1});
    EXPECT_TRUE(QuitteJeu);
    EXPECT_FALSE(AfficheInfos);
}

TEST_F(GameKeys, F1TogglesThePanelOnEachPress) {
    Frame({F1});
    EXPECT_TRUE(AfficheInfos);
    Frame({F1});
    EXPECT_TRUE(AfficheInfos);
    Frame({});
    Frame({F1});
    EXPECT_FALSE(AfficheInfos);
}

TEST_F(GameKeys, F5OpensAnEmptyChatBoxAboveTheBottomEdge) {
    Form1& window = GameWindow();
    window.Text1.SetText("old");
    Frame({F5});
    EXPECT_TRUE(ChatTyping);
    EXPECT_TRUE(window.Text1.Visible());
    EXPECT_EQ(window.Text1.Text(), "");
    EXPECT_NEAR(window.Text1.Left(), 50, 7.5);
    EXPECT_NEAR(window.Text1.Top(), window.ScaleHeight() - 2 * window.Text1.Height(), 7.5);
    EXPECT_NEAR(window.Text1.Width(), window.ScaleWidth() - 100, 7.5);
}

TEST_F(GameKeys, EscWithTheChatBoxOpenClosesItFirstAndQuitsIfStillDown) {
    Frame({F5});
    Frame({Escape});
    EXPECT_FALSE(ChatTyping);
    EXPECT_FALSE(GameWindow().Text1.Visible());
    EXPECT_FALSE(QuitteJeu);
    Frame({Escape});
    EXPECT_TRUE(QuitteJeu);
}

TEST_F(GameKeys, EscClosesTheChatBoxWithoutItsLostFocusHandler) {
    Form1& window = GameWindow();
    Frame({F5});
    window.Text1.SetText("brouillon");
    ASSERT_EQ(window.hWnd()->focusWidget(), window.Text1.hWnd());
    Frame({Escape});
    EXPECT_FALSE(window.Text1.Visible());
    // The lost-focus handler would have sent and emptied the line.
    EXPECT_EQ(window.Text1.Text(), "brouillon");
}

TEST_F(GameKeys, KeysPressedWhileChattingActOnceTheBoxCloses) {
    Frame({F5});
    Frame({});
    Frame({F1, F5});
    EXPECT_FALSE(AfficheInfos);
    EXPECT_TRUE(ChatTyping);
    // The box closes in this very frame; F1 was last seen up, and acts.
    Frame({F1, Escape});
    EXPECT_TRUE(AfficheInfos);
    EXPECT_FALSE(ChatTyping);
    // F5 was seen up in that frame, after the box closed.
    Frame({F5});
    EXPECT_TRUE(ChatTyping);
}

}  // namespace
