#include "platform/ui/image.h"

#include "platform/ui/control_surface.h"
#include "platform/ui/picture_label.h"

#include <QLabel>

namespace ui {
namespace {
QLabel* LabelOf(QWidget* widget) { return static_cast<QLabel*>(widget); }
}  // namespace

QWidget* Image::CreateWidget() {
    auto* image = new SurfaceWidget<QLabel>;
    image->clicksOnRelease = true;
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return image;
}

ui::Picture Image::Picture() { return PictureOf(*LabelOf(Widget())); }

void Image::SetPicture(const ui::Picture& picture) {
    QLabel* label = LabelOf(Widget());
    ShowPicture(*label, picture);
    if (!label->hasScaledContents() && !picture.IsEmpty()) label->resize(picture.Width(), picture.Height());
}

bool Image::Stretch() { return LabelOf(Widget())->hasScaledContents(); }
void Image::SetStretch(bool stretch) { LabelOf(Widget())->setScaledContents(stretch); }

void Image::CopyLook(Control& from) {
    Control::CopyLook(from);
    if (auto* image = dynamic_cast<Image*>(&from)) {
        SetStretch(image->Stretch());
        SetPicture(image->Picture());
        Widget()->resize(image->Widget()->size());
    }
}

}  // namespace ui
