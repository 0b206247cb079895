#include "platform/ui/beep.h"

#include <QApplication>

namespace ui {

void Beep() { QApplication::beep(); }

}  // namespace ui
