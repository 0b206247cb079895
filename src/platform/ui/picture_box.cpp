#include "platform/ui/picture_box.h"

#include "platform/ui/control_surface.h"
#include "platform/ui/picture_label.h"

#include <QLabel>

namespace ui {

QWidget* PictureBox::CreateWidget() {
    auto* box = new SurfaceWidget<QLabel>;
    box->clicksOnRelease = true;
    box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return box;
}

ui::Picture PictureBox::Picture() { return PictureOf(*static_cast<QLabel*>(Widget())); }
void PictureBox::SetPicture(const ui::Picture& picture) { ShowPicture(*static_cast<QLabel*>(Widget()), picture); }

void PictureBox::CopyLook(Control& from) {
    Control::CopyLook(from);
    if (auto* box = dynamic_cast<PictureBox*>(&from)) SetPicture(box->Picture());
}

}  // namespace ui
