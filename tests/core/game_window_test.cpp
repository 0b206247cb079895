// The game window's design, its timed info lines and its chat box.

#include "core/game_window.h"
#include "core/game_state.h"
#include "launcher/splash.h"
#include "platform/play/direct_play.h"
#include "platform/rm/directx7.h"
#include "support/ui_events.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

namespace {

class GameWindowTest : public UiTest {
protected:
    void TearDown() override { window.Unload(); }

    Form1& window = GameWindow();
};

TEST_F(GameWindowTest, DesignedAsTheLoadingScreen) {
    window.Show();
    EXPECT_FLOAT_EQ(window.Width(), 8535);
    EXPECT_FLOAT_EQ(window.Height(), 5850);
    EXPECT_TRUE(window.hWnd()->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(window.BackColor(), 0);
    EXPECT_FALSE(window.Text1.Visible());
    EXPECT_TRUE(window.Text2.Visible());
    EXPECT_EQ(window.Text2.ForeColor(), 65535);
    EXPECT_EQ(window.hWnd()->childAt(ui_events::MiddleOf(window.Text2)), window.Text2.hWnd());
    for (ui::Timer* timer : {&window.Timer1, &window.Timer2}) {
        EXPECT_EQ(timer->Interval(), 10000);
        EXPECT_FALSE(timer->Enabled());
    }
    EXPECT_EQ(window.Image1.Picture().Width(), 512);
    EXPECT_EQ(window.Image2.Picture().Height(), 128);
    // The splash window's pictures, shown at their designed size.
    EXPECT_EQ(window.Image3.Picture().Height(), 250);
    EXPECT_EQ(window.Image4.Picture().Width(), 256);
    EXPECT_FALSE(window.Image5.Picture().IsEmpty());
    EXPECT_FLOAT_EQ(window.Image5.Width(), 2520);
    EXPECT_FALSE(SplashWindow().IsLoaded());  // they came from the splash, which is gone again
}

TEST_F(GameWindowTest, ChatBoxFollowsTheWindowSize) {
    window.Show();
    window.Move(0, 0, 12000, 9000);
    EXPECT_NEAR(window.Text1.Left(), 50, 7.5);
    EXPECT_NEAR(window.Text1.Top(), window.ScaleHeight() - 3 * 315 - 50, 7.5);
    EXPECT_NEAR(window.Text1.Width(), window.ScaleWidth() - 100, 7.5);
    EXPECT_NEAR(window.Text1.Height(), 315, 7.5);
}

TEST_F(GameWindowTest, InfoLinesShowForOneTimerTickEach) {
    window.AfficheMessage("Ana est arrivée", 0);
    window.AfficheMessage2("Bob a tué Ana", 5);
    EXPECT_EQ(Message1, "Ana est arrivée");
    EXPECT_TRUE(window.Timer1.Enabled());
    EXPECT_TRUE(window.Timer2.Enabled());

    // Set again while shown: the new text at once, the other line untouched.
    window.AfficheMessage("Cyd est arrivé", 0);
    EXPECT_EQ(Message1, "Cyd est arrivé");
    EXPECT_EQ(Message2, "Bob a tué Ana");

    window.Timer1.Tick();
    EXPECT_EQ(Message1, "");
    EXPECT_FALSE(window.Timer1.Enabled());
    EXPECT_EQ(Message2, "Bob a tué Ana");
    window.Timer2.Tick();
    EXPECT_EQ(Message2, "");
    EXPECT_FALSE(window.Timer2.Enabled());
}

TEST_F(GameWindowTest, InfoLineWithAnUnknownSoundStillShows) {
    window.AfficheMessage("x", 42);
    window.AfficheMessage2("y", -1);
    EXPECT_EQ(Message1, "x");
    EXPECT_EQ(Message2, "y");
}

TEST_F(GameWindowTest, UnloadDropsTheRootWhateverDirectPlaySays) {
    window.Show();
    DX7 = std::make_shared<rm::DirectX7>();
    DPlay = std::make_shared<play::DirectPlay>();  // no session: destroying the player fails
    IdLocalDP = 12345;
    window.Unload();
    EXPECT_FALSE(window.IsLoaded());
    EXPECT_FALSE(DX7);

    window.Show();
    DX7 = std::make_shared<rm::DirectX7>();
    DPlay = nullptr;
    window.Unload();
    EXPECT_FALSE(DX7);
}

class ChatBox : public GameWindowTest {
protected:
    void Open(const char* typed) {
        window.Show();
        QApplication::setActiveWindow(window.hWnd());
        window.Text1.SetVisible(true);
        ChatTyping = true;
        window.Text1.SetText(typed);
    }
    void ExpectClosed() {
        EXPECT_FALSE(ChatTyping);
        EXPECT_FALSE(window.Text1.Visible());
        EXPECT_EQ(window.Text1.Text(), "");
    }
};

TEST_F(ChatBox, EnterIsSwallowedAndClosesTheBoxEvenWhenEmpty) {
    for (const char* typed : {"salut", ""}) {
        Open(typed);
        int key = 13;
        window.Text1_KeyPress(key);
        EXPECT_EQ(key, 0);
        ExpectClosed();
    }
}

TEST_F(ChatBox, OtherCharactersGoIntoTheBox) {
    Open("");
    int key = 'a';
    window.Text1_KeyPress(key);
    EXPECT_EQ(key, 'a');
    EXPECT_TRUE(ChatTyping);
    EXPECT_TRUE(window.Text1.Visible());
}

TEST_F(ChatBox, TypedEnterClosesTheBox) {
    Open("");
    window.Text1.SetFocus();
    ui_events::TypeKey(window, Qt::Key_H, "h");
    EXPECT_EQ(window.Text1.Text(), "h");
    ui_events::TypeKey(window, Qt::Key_Return, "\r");
    ExpectClosed();
}

TEST_F(ChatBox, LosingTheFocusClosesTheBox) {
    Open("salut");
    window.Text1.SetFocus();
    window.Text2.SetFocus();
    ExpectClosed();
}

}  // namespace
