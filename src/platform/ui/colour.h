#pragma once

#include <QColor>

#include <cstdint>

namespace ui {

// The toolkit's colour numbers: red + 256 * green + 65536 * blue, so 255 is
// red and 16777215 white.
QColor ColourOf(int32_t number);
int32_t ColourNumber(const QColor& colour);

// The toolkit's named colours.
inline constexpr int32_t vbBlack = 0;
inline constexpr int32_t vbRed = 255;
inline constexpr int32_t vbWhite = 16777215;

}  // namespace ui
