#include "platform/ui/device_host.h"

#include "platform/ui/control_surface.h"

#include <QEvent>
#include <QWidget>

namespace ui {
namespace {

// Follows the container's size and stays behind its siblings.
class HostWidget : public SurfaceWidget<QWidget> {
public:
    HostWidget() { setAttribute(Qt::WA_NoSystemBackground); }

protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::ParentChange) Follow();
        return SurfaceWidget::event(event);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == parentWidget() && event->type() == QEvent::Resize) Fit();
        return false;
    }

private:
    void Follow() {
        if (watched_) watched_->removeEventFilter(this);
        watched_ = parentWidget();
        if (watched_) watched_->installEventFilter(this);
        Fit();
    }
    void Fit() {
        if (!parentWidget()) return;
        setGeometry(parentWidget()->rect());
        lower();
    }

    QWidget* watched_ = nullptr;
};

}  // namespace

QWidget* DeviceHost::CreateWidget() { return new HostWidget; }

}  // namespace ui
