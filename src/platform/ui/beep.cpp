#include "platform/ui/beep.h"

#include <QApplication>

namespace ui {
namespace {
int beeps = 0;
}  // namespace

void Beep() {
    ++beeps;
    QApplication::beep();
}

int BeepCount() { return beeps; }

}  // namespace ui
