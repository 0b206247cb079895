#include "platform/ui/text_box.h"

#include "platform/failure.h"
#include "platform/ui/control_surface.h"
#include "platform/ui/guard.h"
#include "platform/ui/ui_failures.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextBlock>

#include <algorithm>

namespace ui {
namespace {
constexpr char MaxLengthProperty[] = "quellmarMaxLength";
constexpr char PasswordProperty[] = "quellmarPassword";

// The character code of a key as the key-press event passes it, 0 for keys
// that type nothing.
int KeyAsciiOf(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Escape:
            return 27;
        default:
            break;
    }
    const QString text = event.text();
    if (text.size() != 1 || !text[0].isPrint()) return 0;
    return text[0].unicode();
}

// Line breaks inside the widgets are "\n"; the toolkit's text has CR LF.
std::string ToolkitText(const QString& text) {
    std::string result;
    for (char c : text.toStdString()) {
        if (c == '\n') result += '\r';
        result += c;
    }
    return result;
}

QString WidgetText(const std::string& text) {
    QString result = QString::fromStdString(text);
    result.replace("\r\n", "\n");
    return result;
}

// Positions in the toolkit's text count each line break twice.
int WidgetPosition(const QString& text, int position) {
    int widget = 0;
    for (int counted = 0; widget < text.size() && counted < position; ++widget) counted += text[widget] == '\n' ? 2 : 1;
    return widget;
}

int ToolkitPosition(const QString& text, int position) {
    int counted = 0;
    for (int i = 0; i < position && i < text.size(); ++i) counted += text[i] == '\n' ? 2 : 1;
    return counted;
}

template <class Base>
class TextSurface : public SurfaceWidget<Base> {
public:
    explicit TextSurface(TextBox& box) : box_(box) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const int typed = KeyAsciiOf(*event);
        if (typed == 0 || !this->owner) return Base::keyPressEvent(event);
        const int code = box_.UserKeyPress(typed);
        if (code == typed) return Base::keyPressEvent(event);
        event->accept();
        if (code == 0) return;
        QKeyEvent replaced(QEvent::KeyPress,
                           code == 13  ? Qt::Key_Return
                           : code == 8 ? Qt::Key_Backspace
                                       : 0,
                           event->modifiers(), code == 13 || code == 8 ? QString() : QString(QChar(code)));
        Base::keyPressEvent(&replaced);
    }
    void focusInEvent(QFocusEvent* event) override {
        Base::focusInEvent(event);
        if (this->owner) box_.UserFocus(true);
    }
    void focusOutEvent(QFocusEvent* event) override {
        Base::focusOutEvent(event);
        if (this->owner) box_.UserFocus(false);
    }

private:
    TextBox& box_;
};

// The multi-line widget keeps its own length limit, which Qt lacks there.
class MultiLineSurface : public TextSurface<QPlainTextEdit> {
public:
    using TextSurface::TextSurface;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const int limit = property(MaxLengthProperty).toInt();
        const bool types = !event->text().isEmpty() && event->text()[0].isPrint();
        if (limit > 0 && types && !textCursor().hasSelection() && toPlainText().size() >= limit) {
            event->accept();
            return;
        }
        TextSurface::keyPressEvent(event);
    }
};
}  // namespace

TextBox::TextBox(Container& container, std::string name, int index, Lines lines)
    : Control(container, std::move(name), index), lines_(lines) {}

QWidget* TextBox::CreateWidget() {
    if (Multi()) {
        auto* edit = new MultiLineSurface(*this);
        edit->viewport()->setMouseTracking(true);
        QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [this] { UserChange(); });
        return edit;
    }
    auto* edit = new TextSurface<QLineEdit>(*this);
    edit->setMaxLength(32767);
    QObject::connect(edit, &QLineEdit::textEdited, edit, [this] { UserChange(); });
    return edit;
}

std::string TextBox::Text() {
    QWidget* widget = Widget();
    if (Multi()) return ToolkitText(static_cast<QPlainTextEdit*>(widget)->toPlainText());
    return static_cast<QLineEdit*>(widget)->text().toStdString();
}

void TextBox::SetText(const std::string& text) {
    QWidget* widget = Widget();
    if (text == Text()) return;
    {
        const QSignalBlocker quiet(widget);
        if (Multi()) {
            QString content = WidgetText(text);
            const int limit = MaxLength();
            if (limit > 0) content.truncate(limit);
            static_cast<QPlainTextEdit*>(widget)->setPlainText(content);
        } else {
            static_cast<QLineEdit*>(widget)->setText(QString::fromStdString(text));
        }
    }
    CodeEvent(Change);
}

std::string TextBox::PasswordChar() { return Widget()->property(PasswordProperty).toString().toStdString(); }

void TextBox::SetPasswordChar(const std::string& character) {
    QWidget* widget = Widget();
    widget->setProperty(PasswordProperty, QString::fromStdString(character.substr(0, 1)));
    if (Multi()) return;  // the toolkit hides no characters of a multi-line box
    auto* edit = static_cast<QLineEdit*>(widget);
    if (character.empty()) {
        edit->setEchoMode(QLineEdit::Normal);
        edit->setStyleSheet({});
        return;
    }
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet(
        QString("QLineEdit { lineedit-password-character: %1; }").arg(static_cast<unsigned char>(character[0])));
}

int TextBox::MaxLength() { return Widget()->property(MaxLengthProperty).toInt(); }

void TextBox::SetMaxLength(int length) {
    if (length < 0) throw Failure(failure::InvalidPropertyValue, "Invalid property value");
    QWidget* widget = Widget();
    widget->setProperty(MaxLengthProperty, length);
    if (!Multi()) static_cast<QLineEdit*>(widget)->setMaxLength(length == 0 ? 32767 : length);
}

bool TextBox::Locked() {
    QWidget* widget = Widget();
    if (Multi()) return static_cast<QPlainTextEdit*>(widget)->isReadOnly();
    return static_cast<QLineEdit*>(widget)->isReadOnly();
}

void TextBox::SetLocked(bool locked) {
    QWidget* widget = Widget();
    if (Multi())
        static_cast<QPlainTextEdit*>(widget)->setReadOnly(locked);
    else
        static_cast<QLineEdit*>(widget)->setReadOnly(locked);
}

int TextBox::SelStart() {
    QWidget* widget = Widget();
    if (Multi()) {
        auto* edit = static_cast<QPlainTextEdit*>(widget);
        return ToolkitPosition(edit->toPlainText(), edit->textCursor().selectionStart());
    }
    auto* edit = static_cast<QLineEdit*>(widget);
    return edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
}

int TextBox::SelLength() {
    QWidget* widget = Widget();
    if (Multi()) {
        auto* edit = static_cast<QPlainTextEdit*>(widget);
        const QTextCursor cursor = edit->textCursor();
        const QString text = edit->toPlainText();
        return ToolkitPosition(text, cursor.selectionEnd()) - ToolkitPosition(text, cursor.selectionStart());
    }
    return static_cast<int>(static_cast<QLineEdit*>(widget)->selectedText().size());
}

// Setting the start drops the selection; setting the length selects from
// the start. Positions beyond the text stop at its end.
void TextBox::SetSelStart(int start) {
    QWidget* widget = Widget();
    if (start < 0) throw Failure(failure::InvalidPropertyValue, "Invalid property value");
    if (Multi()) {
        auto* edit = static_cast<QPlainTextEdit*>(widget);
        QTextCursor cursor = edit->textCursor();
        cursor.setPosition(WidgetPosition(edit->toPlainText(), start));
        edit->setTextCursor(cursor);
        return;
    }
    auto* edit = static_cast<QLineEdit*>(widget);
    edit->setCursorPosition(std::min<int>(start, static_cast<int>(edit->text().size())));
}

void TextBox::SetSelLength(int length) {
    QWidget* widget = Widget();
    if (length < 0) throw Failure(failure::InvalidPropertyValue, "Invalid property value");
    const int start = SelStart();
    if (Multi()) {
        auto* edit = static_cast<QPlainTextEdit*>(widget);
        const QString text = edit->toPlainText();
        QTextCursor cursor = edit->textCursor();
        cursor.setPosition(WidgetPosition(text, start));
        cursor.setPosition(WidgetPosition(text, start + length), QTextCursor::KeepAnchor);
        edit->setTextCursor(cursor);
        return;
    }
    auto* edit = static_cast<QLineEdit*>(widget);
    const int end = std::min<int>(start + length, static_cast<int>(edit->text().size()));
    edit->setSelection(start, end - start);
}

std::string TextBox::SelText() {
    QWidget* widget = Widget();
    if (Multi())
        return ToolkitText(
            static_cast<QPlainTextEdit*>(widget)->textCursor().selectedText().replace(QChar::ParagraphSeparator, '\n'));
    return static_cast<QLineEdit*>(widget)->selectedText().toStdString();
}

int TextBox::UserKeyPress(int keyAscii) {
    if (!KeyPress) return keyAscii;
    int code = keyAscii;
    const std::function<void(int&)> run = KeyPress;
    Guarded([&] { run(code); });
    return code;
}

void TextBox::UserFocus(bool got) {
    const std::function<void()> run = got ? GotFocus : LostFocus;
    if (run) Guarded([&] { run(); });
}

void TextBox::UserChange() {
    const std::function<void()> run = Change;
    if (run) Guarded([&] { run(); });
}

}  // namespace ui
