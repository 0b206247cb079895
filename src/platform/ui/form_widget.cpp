#include "platform/ui/form_widget.h"

#include "platform/ui/command_button.h"
#include "platform/ui/form.h"
#include "platform/ui/guard.h"
#include "platform/ui/mouse_event.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QWindow>

#include <algorithm>
#include <vector>

namespace ui {

namespace {

// Beyond this a window that is never exposed (minimised, say) holds no
// timer.
constexpr qint64 kFirstPaintWaitMilliseconds = 1000;

// The forms shown and not yet exposed, oldest first.
std::vector<FormWidget*>& AwaitingPaint() {
    static std::vector<FormWidget*> widgets;
    return widgets;
}

}  // namespace

FormWidget::~FormWidget() { StopAwaitingPaint(); }

bool FormWidget::FirstPaintPending() {
    std::vector<FormWidget*>& widgets = AwaitingPaint();
    std::erase_if(widgets, [](FormWidget* widget) {
        const QWindow* window = widget->windowHandle();
        return (window && window->isExposed()) || widget->shownAt_.elapsed() >= kFirstPaintWaitMilliseconds;
    });
    return !widgets.empty();
}

void FormWidget::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    StopAwaitingPaint();
    shownAt_.start();
    AwaitingPaint().push_back(this);
}

void FormWidget::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    StopAwaitingPaint();
}

void FormWidget::StopAwaitingPaint() { std::erase(AwaitingPaint(), this); }

void FormWidget::closeEvent(QCloseEvent* event) {
    bool accepted = true;
    if (owner) owner->UserClose(accepted);
    event->setAccepted(accepted);
}

void FormWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (owner) owner->UserResize();
}

void FormWidget::mouseMoveEvent(QMouseEvent* event) {
    if (owner) {
        const MouseArguments mouse = MouseArgumentsOf(*event, scaleMode);
        owner->UserMouseMove(mouse.button, mouse.shift, mouse.x, mouse.y);
    }
    event->accept();
}

// Enter presses the form's default button and Esc its cancel button when the
// control with the focus leaves the key alone.
void FormWidget::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool escape = event->key() == Qt::Key_Escape;
    if (owner && (enter || escape) && event->modifiers() == Qt::NoModifier) {
        if (CommandButton* button = CommandButton::ActingOn(*owner, enter)) {
            event->accept();
            Guarded([button] { button->UserClick(); });
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

void FormWidget::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (picture.IsEmpty()) return;
    QPainter painter(this);
    painter.drawImage(0, 0, picture.Image());
}

}  // namespace ui
