#include "platform/ui/colour.h"

namespace ui {

QColor ColourOf(int32_t number) { return QColor(number & 0xFF, (number >> 8) & 0xFF, (number >> 16) & 0xFF); }

int32_t ColourNumber(const QColor& colour) { return colour.red() | (colour.green() << 8) | (colour.blue() << 16); }

}  // namespace ui
