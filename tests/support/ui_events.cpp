#include "support/ui_events.h"

#include "platform/ui/guard.h"
#include "platform/ui/input_box.h"
#include "platform/ui/message_box.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace ui_events {
namespace {

void SendMouse(ui::Form& form, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QWidget* window = form.hWnd();
    QWidget* receiver = window->childAt(at);
    if (!receiver) receiver = window;
    const QPoint local = receiver->mapFrom(window, at);
    QMouseEvent event(type, QPointF(local), QPointF(window->mapToGlobal(at)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(receiver, &event);
}

}  // namespace

void MoveMouse(ui::Form& form, QPoint at) {
    SendMouse(form, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
    ui::RethrowDeferred();
}

void ClickAt(ui::Form& form, QPoint at) {
    SendMouse(form, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    SendMouse(form, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    ui::RethrowDeferred();
}

QPoint MiddleOf(ui::Control& control) {
    QWidget* widget = control.hWnd();
    return widget->mapTo(widget->window(), widget->rect().center());
}

void Click(ui::Control& control) { ClickAt(control.Parent(), MiddleOf(control)); }

void TypeKey(ui::Form& form, int key, const QString& text) {
    QWidget* window = form.hWnd();
    QWidget* receiver = window->focusWidget() ? window->focusWidget() : window;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(receiver, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(receiver, &release);
    ui::RethrowDeferred();
}

void CloseBox(ui::Form& form) {
    form.hWnd()->close();
    ui::RethrowDeferred();
}

}  // namespace ui_events
