#include "platform/ui/picture_label.h"

#include <QLabel>
#include <QPixmap>

namespace ui {
namespace {
constexpr char PictureProperty[] = "quellmarPicture";
}

Picture PictureOf(QLabel& label) { return Picture(label.property(PictureProperty).value<QImage>()); }

void ShowPicture(QLabel& label, const Picture& picture) {
    label.setProperty(PictureProperty, picture.Image());
    if (picture.IsEmpty())
        label.clear();
    else
        label.setPixmap(QPixmap::fromImage(picture.Image()));
}

}  // namespace ui
