#pragma once

#include "platform/ui/picture.h"

class QLabel;

namespace ui {

// The picture that a picture box or image control shows, kept with its
// window so that a reload starts empty.
Picture PictureOf(QLabel& label);
void ShowPicture(QLabel& label, const Picture& picture);

}  // namespace ui
