#pragma once

#include "platform/ui/control.h"

#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

namespace ui {

// The window of a control: a Qt widget that hands the user's mouse input to
// its control. Mouse moves are taken here (not passed on to the container),
// so a container sees the moves over its own background only. Widgets of
// kinds without a click of their own (labels, frames, pictures) make the
// click from a press and release inside them.
class ControlSurface {
public:
    virtual ~ControlSurface() = default;
    Control* owner = nullptr;
    bool clicksOnRelease = false;
};

template <class Base>
class SurfaceWidget : public Base, public ControlSurface {
public:
    using Base::Base;

protected:
    void mouseMoveEvent(QMouseEvent* event) override {
        Base::mouseMoveEvent(event);
        if (owner) owner->UserMouseMove(*event);
        event->accept();
    }
    void mousePressEvent(QMouseEvent* event) override {
        Base::mousePressEvent(event);
        pressed_ = event->button() == Qt::LeftButton;
        if (owner) owner->UserMouseButton(*event, true);
        event->accept();
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        Base::mouseReleaseEvent(event);
        const bool click =
            pressed_ && event->button() == Qt::LeftButton && this->rect().contains(event->position().toPoint());
        pressed_ = false;
        // The handlers may unload the form: this widget then waits for its
        // deferred deletion and has no owner any more.
        const QPointer<QObject> alive(this);
        if (owner) owner->UserMouseButton(*event, false);
        if (alive && click && clicksOnRelease && owner) owner->UserClick();
        event->accept();
    }

private:
    bool pressed_ = false;
};

// Finds the control surface of a widget, or null for other widgets.
inline ControlSurface* SurfaceOf(QWidget* widget) { return dynamic_cast<ControlSurface*>(widget); }

}  // namespace ui
