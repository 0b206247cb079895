#include "platform/ui/input_box.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>

#include <utility>

namespace ui {
namespace {
InputBoxHandler& Handler() {
    static InputBoxHandler handler;
    return handler;
}
}  // namespace

void SetInputBoxHandler(InputBoxHandler handler) { Handler() = std::move(handler); }

std::string InputBox(const std::string& prompt, const std::string& title, const std::string& defaultText) {
    const std::string caption = title.empty() ? QApplication::applicationName().toStdString() : title;
    if (Handler()) return Handler()({prompt, caption, defaultText});

    QInputDialog box;
    box.setWindowTitle(QString::fromStdString(caption));
    box.setLabelText(QString::fromStdString(prompt));
    // The prompt is shown as it is, never as markup.
    for (QLabel* label : box.findChildren<QLabel*>()) label->setTextFormat(Qt::PlainText);
    box.setTextValue(QString::fromStdString(defaultText));
    if (box.exec() != QDialog::Accepted) return {};
    return box.textValue().toStdString();
}

}  // namespace ui
