#include "platform/ui/mouse_pointer.h"

#include "platform/ui/form.h"

#include <QWidget>

namespace ui {
namespace {
int& Current() {
    static int shape = vbDefault;
    return shape;
}
}  // namespace

void SetMousePointer(int shape) {
    Current() = shape == vbHourglass ? vbHourglass : vbDefault;
    for (QWidget* window : LoadedFormWindows()) ApplyMousePointer(*window);
}

int MousePointer() { return Current(); }

void ApplyMousePointer(QWidget& window) {
    if (Current() == vbHourglass)
        window.setCursor(Qt::WaitCursor);
    else
        window.unsetCursor();
}

}  // namespace ui
