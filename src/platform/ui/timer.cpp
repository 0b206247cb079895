#include "platform/ui/timer.h"

#include "platform/failure.h"
#include "platform/ui/form.h"
#include "platform/ui/form_widget.h"
#include "platform/ui/guard.h"
#include "platform/ui/ui_failures.h"

namespace ui {

Timer::Timer(Form& form, std::string name) : form_(form), name_(std::move(name)) {
    form_.Register(*this);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Fire(); });
}

Timer::~Timer() { form_.Forget(*this); }

bool Timer::Enabled() {
    form_.Load();
    return enabled_;
}

void Timer::SetEnabled(bool enabled) {
    form_.Load();
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Schedule();
}

int Timer::Interval() {
    form_.Load();
    return interval_;
}

void Timer::SetInterval(int milliseconds) {
    if (milliseconds < 0 || milliseconds > 65535)
        throw Failure(failure::InvalidPropertyValue, "Invalid property value");
    form_.Load();
    interval_ = milliseconds;
    Schedule();
}

std::string Timer::Tag() {
    form_.Load();
    return tag_;
}

void Timer::SetTag(const std::string& tag) {
    form_.Load();
    tag_ = tag;
}

void Timer::Reset() {
    timer_.stop();
    enabled_ = true;
    interval_ = 0;
    tag_.clear();
}

void Timer::Schedule() {
    if (enabled_ && interval_ > 0)
        timer_.start(interval_);
    else
        timer_.stop();
}

void Timer::Fire() {
    if (ticking_ || !Tick || FormWidget::FirstPaintPending()) return;
    ticking_ = true;
    const std::function<void()> run = Tick;
    Guarded([&] { run(); });
    ticking_ = false;
}

}  // namespace ui
