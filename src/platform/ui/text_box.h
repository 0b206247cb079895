#pragma once

#include "platform/ui/control.h"

#include <functional>

namespace ui {

// A box the user types text into, on one line or on several (chosen when it
// is made). Text with several lines uses CR LF between lines, as the toolkit
// did; SelStart and SelLength count characters of that text.
//
// KeyPress sees each typed character's code (8 backspace, 13 Enter, 27 Esc,
// other characters by their code) before the box takes it; setting the code
// to 0 swallows the key, another code types that character instead.
class TextBox : public Control {
public:
    enum class Lines { Single, Multi };

    TextBox(Container& container, std::string name, int index = -1, Lines lines = Lines::Single);
    TextBox(Container& container, std::string name, Lines lines) : TextBox(container, std::move(name), -1, lines) {}

    std::string Text();
    void SetText(const std::string& text);
    // "" shows the typed characters; any other text hides each behind its
    // first character.
    std::string PasswordChar();
    void SetPasswordChar(const std::string& character);
    // 0 for no limit; the user cannot type beyond it.
    int MaxLength();
    void SetMaxLength(int length);
    // A locked box shows its text but the user cannot change it.
    bool Locked();
    void SetLocked(bool locked);

    int SelStart();
    void SetSelStart(int start);
    int SelLength();
    void SetSelLength(int length);
    std::string SelText();

    std::function<void(int& keyAscii)> KeyPress;
    std::function<void()> Change;
    std::function<void()> GotFocus;
    std::function<void()> LostFocus;

    // Called by the box's window.
    int UserKeyPress(int keyAscii);
    void UserFocus(bool got);
    void UserChange();

protected:
    QWidget* CreateWidget() override;

private:
    bool Multi() const { return lines_ == Lines::Multi; }

    Lines lines_;
};

}  // namespace ui
