#include "platform/ui/message_box.h"

#include <QApplication>
#include <QMessageBox>

#include <utility>

namespace ui {
namespace {
MessageBoxHandler& Handler() {
    static MessageBoxHandler handler;
    return handler;
}

QMessageBox::Icon IconOf(int style) {
    switch (style & 0x70) {
        case vbCritical:
            return QMessageBox::Critical;
        case vbExclamation:
            return QMessageBox::Warning;
        case vbInformation:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}
}  // namespace

void SetMessageBoxHandler(MessageBoxHandler handler) { Handler() = std::move(handler); }

int MsgBox(const std::string& prompt, int style, const std::string& title) {
    const std::string caption = title.empty() ? QApplication::applicationName().toStdString() : title;
    if (Handler()) return Handler()({prompt, style, caption});

    QMessageBox box(IconOf(style), QString::fromStdString(caption), QString::fromStdString(prompt));
    box.setTextFormat(Qt::PlainText);  // prompts hold text from servers and players, shown as it is
    switch (style & 0x7) {
        case vbOKCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case vbYesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        default:
            box.setStandardButtons(QMessageBox::Ok);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Cancel:
            return vbCancel;
        case QMessageBox::Yes:
            return vbYes;
        case QMessageBox::No:
            return vbNo;
        default:
            return vbOK;
    }
}

}  // namespace ui
