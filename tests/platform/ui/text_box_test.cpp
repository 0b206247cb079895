#include "platform/ui/text_box.h"
#include "platform/ui/form.h"
#include "support/ui_events.h"

#include <QApplication>
#include <QLineEdit>

#include <cctype>
#include <string>
#include <vector>

namespace {

class WaitingRoom : public ui::Form {
public:
    WaitingRoom() : ui::Form("frmWaiting") {
        mess.KeyPress = [this](int& key) {
            if (key == 13) {
                key = 0;
                sent.push_back(mess.Text());
            } else if (key == 'x') {
                key = 'X';
            }
        };
        mess.GotFocus = [this] { focus.push_back("mess got"); };
        mess.LostFocus = [this] { focus.push_back("mess lost"); };
    }
    ui::TextBox mess{*this, "mess"};
    ui::TextBox list_mess{*this, "list_mess", ui::TextBox::Lines::Multi};
    ui::TextBox txtpass{*this, "txtpass"};
    std::vector<std::string> sent;
    std::vector<std::string> focus;

protected:
    void Design() override {
        Move(0, 0, 6000, 4000);
        mess.Move(100, 100, 4000, 300);
        list_mess.Move(100, 500, 4000, 2000);
        txtpass.Move(100, 2700, 4000, 300);
    }
};

using TextBoxes = UiTest;

TEST_F(TextBoxes, KeyPressSeesEachCharacterAndMayChangeOrSwallowIt) {
    WaitingRoom room;
    room.Show();
    room.hWnd()->activateWindow();
    room.mess.SetFocus();
    ui_events::TypeKey(room, Qt::Key_A, "a");
    ui_events::TypeKey(room, Qt::Key_X, "x");
    ui_events::TypeKey(room, Qt::Key_Return, "\r");
    EXPECT_EQ(room.mess.Text(), "aX");
    EXPECT_EQ(room.sent, (std::vector<std::string>{"aX"}));
}

TEST_F(TextBoxes, FocusEventsFollowTheKeyboard) {
    WaitingRoom room;
    room.Show();
    QApplication::setActiveWindow(room.hWnd());
    room.mess.SetFocus();
    room.txtpass.SetFocus();
    EXPECT_EQ(room.focus, (std::vector<std::string>{"mess got", "mess lost"}));
}

TEST_F(TextBoxes, LimitsPasswordAndLock) {
    WaitingRoom room;
    room.Show();
    room.txtpass.SetPasswordChar("*");
    auto* edit = static_cast<QLineEdit*>(room.txtpass.hWnd());
    EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
    EXPECT_EQ(room.txtpass.PasswordChar(), "*");

    room.mess.SetMaxLength(3);
    room.mess.SetFocus();
    for (const char* key : {"a", "b", "c", "d"}) ui_events::TypeKey(room, Qt::Key_A, key);
    EXPECT_EQ(room.mess.Text(), "abc");

    room.list_mess.SetMaxLength(2);
    room.list_mess.SetFocus();
    for (const char* key : {"a", "b", "c"}) ui_events::TypeKey(room, Qt::Key_A, key);
    EXPECT_EQ(room.list_mess.Text(), "ab");

    room.mess.SetLocked(true);
    room.mess.SetFocus();
    ui_events::TypeKey(room, Qt::Key_Z, "z");
    EXPECT_EQ(room.mess.Text(), "abc");
}

TEST_F(TextBoxes, MultiLineTextHasCarriageReturnLineFeedAndSelectionCountsIt) {
    WaitingRoom room;
    room.list_mess.SetText("one\r\n\r\n10:00 login write: \r\nhello");
    EXPECT_EQ(room.list_mess.Text(), "one\r\n\r\n10:00 login write: \r\nhello");
    const int length = static_cast<int>(room.list_mess.Text().size());
    room.list_mess.SetSelStart(length);
    EXPECT_EQ(room.list_mess.SelStart(), length);
    room.list_mess.SetSelStart(3);
    room.list_mess.SetSelLength(4);
    EXPECT_EQ(room.list_mess.SelText(), "\r\n\r\n");

    room.mess.SetText("  hello ");
    room.mess.SetSelStart(0);
    room.mess.SetSelLength(static_cast<int>(room.mess.Text().size()));
    EXPECT_EQ(room.mess.SelLength(), 8);
    EXPECT_EQ(room.mess.SelText(), "  hello ");
    room.mess.SetSelStart(100);
    EXPECT_EQ(room.mess.SelStart(), 8);
}

}  // namespace
