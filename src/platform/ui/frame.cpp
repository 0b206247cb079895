#include "platform/ui/frame.h"

#include "platform/ui/control_surface.h"

#include <QGroupBox>

namespace ui {

QWidget* Frame::CreateWidget() {
    auto* frame = new SurfaceWidget<QGroupBox>;
    frame->clicksOnRelease = true;
    return frame;
}

std::string Frame::Caption() { return static_cast<QGroupBox*>(Widget())->title().toStdString(); }

void Frame::SetCaption(const std::string& caption) {
    static_cast<QGroupBox*>(Widget())->setTitle(QString::fromStdString(caption));
}

}  // namespace ui
