#include "platform/ui/units.h"

#include <cmath>

namespace ui {

int ToPixels(float length, ScaleMode scale) {
    const double pixels = scale == vbPixels ? length : static_cast<double>(length) / TwipsPerPixel;
    return static_cast<int>(std::nearbyint(pixels));
}

float FromPixels(int pixels, ScaleMode scale) {
    return scale == vbPixels ? static_cast<float>(pixels) : static_cast<float>(pixels * TwipsPerPixel);
}

}  // namespace ui
