#pragma once

#include <QTimer>

#include <functional>
#include <string>

namespace ui {

class Form;

// A timer of a form. It ticks every Interval milliseconds while Enabled and
// its interval is above 0, and only while the event loop runs (DoEvents, a
// modal Show, Run). Setting Enabled to the value it has changes nothing (a
// running timer keeps its schedule); a new Interval starts the count again.
// A tick that comes due while the previous tick's handler is still running
// (it yields) is dropped, and so is one that comes due while a form just
// shown waits for its first paint (FormWidget::FirstPaintPending). Unloading the form stops the timer; it starts
// again, enabled with interval 0 and an empty tag, when the form loads.
class Timer {
public:
    Timer(Form& form, std::string name);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    const std::string& Name() const { return name_; }
    bool Enabled();
    void SetEnabled(bool enabled);
    int Interval();
    void SetInterval(int milliseconds);
    std::string Tag();
    void SetTag(const std::string& tag);

    std::function<void()> Tick;

    // Called by the form when it unloads.
    void Reset();

private:
    void Schedule();
    void Fire();

    Form& form_;
    std::string name_;
    QTimer timer_;
    bool enabled_ = true;
    int interval_ = 0;
    std::string tag_;
    bool ticking_ = false;
};

}  // namespace ui
