#include "platform/ui/check_box.h"

#include "platform/failure.h"
#include "platform/ui/control_surface.h"
#include "platform/ui/ui_failures.h"

#include <QCheckBox>
#include <QSignalBlocker>

namespace ui {
namespace {
QCheckBox* BoxOf(QWidget* widget) { return static_cast<QCheckBox*>(widget); }
}  // namespace

QWidget* CheckBox::CreateWidget() {
    auto* box = new SurfaceWidget<QCheckBox>;
    QObject::connect(box, &QCheckBox::clicked, box, [this] { UserClick(); });
    return box;
}

std::string CheckBox::Caption() { return BoxOf(Widget())->text().toStdString(); }
void CheckBox::SetCaption(const std::string& caption) { BoxOf(Widget())->setText(QString::fromStdString(caption)); }

int CheckBox::Value() {
    switch (BoxOf(Widget())->checkState()) {
        case Qt::Checked:
            return vbChecked;
        case Qt::PartiallyChecked:
            return vbGrayed;
        default:
            return vbUnchecked;
    }
}

void CheckBox::SetValue(int value) {
    if (value < vbUnchecked || value > vbGrayed) throw Failure(failure::InvalidPropertyValue, "Invalid property value");
    if (value == Value()) return;
    {
        const QSignalBlocker quiet(Widget());
        BoxOf(Widget())->setCheckState(value == vbChecked  ? Qt::Checked
                                       : value == vbGrayed ? Qt::PartiallyChecked
                                                           : Qt::Unchecked);
    }
    CodeEvent(Click);
}

}  // namespace ui
