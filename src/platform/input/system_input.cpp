#include "platform/input/system_input.h"

#include "platform/failure.h"
#include "platform/input/input_failures.h"
#include "platform/input/key_codes.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>

#include <utility>

namespace input {
namespace {

constexpr std::pair<Qt::MouseButton, size_t> ButtonNumbers[] = {
    {Qt::LeftButton, 0}, {Qt::RightButton, 1}, {Qt::MiddleButton, 2}, {Qt::BackButton, 3}};

}  // namespace

SystemInput& SystemInput::Instance() {
    static QPointer<SystemInput> instance;
    if (!instance) {
        QCoreApplication* application = QCoreApplication::instance();
        if (!application) throw Failure(failure::NotInitialized, "The input services need the application object");
        instance = new SystemInput(application);
    }
    return *instance;
}

SystemInput::SystemInput(QObject* application) : QObject(application) { application->installEventFilter(this); }

Point SystemInput::CursorPos() const {
    const QPoint position = QCursor::pos();
    return {position.x(), position.y()};
}

void SystemInput::MoveCursor(Point point) { QCursor::setPos(point.x, point.y); }

void SystemInput::SetCursorVisible(bool visible) {
    if (visible) {
        QGuiApplication::restoreOverrideCursor();
    } else {
        QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
    }
}

bool SystemInput::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->isAutoRepeat()) break;
            if (const uint8_t code = KeyCodeFromNativeScanCode(key->nativeScanCode())) {
                SetKey(code, event->type() == QEvent::KeyPress);
            }
            break;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease: {
            const Qt::MouseButtons held = static_cast<QMouseEvent*>(event)->buttons();
            for (const auto& [button, number] : ButtonNumbers) SetButton(number, held.testFlag(button));
            break;
        }
        case QEvent::ApplicationDeactivate:
            ReleaseAll();
            break;
        default:
            break;
    }
    return false;
}

}  // namespace input
