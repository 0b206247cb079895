#pragma once

namespace ui {

// The toolkit measures windows in twips. This layer fixes the screen at
// 96 dots per inch, so one pixel is always 15 twips across and down,
// whatever the real screen's density.
inline constexpr int TwipsPerPixel = 15;
inline constexpr float TwipsPerPixelX() { return TwipsPerPixel; }
inline constexpr float TwipsPerPixelY() { return TwipsPerPixel; }

// The units of a container's inner coordinates.
enum ScaleMode : int { vbTwips = 1, vbPixels = 3 };

// A length in the given units as whole pixels, rounded to the nearest pixel
// (halves to even), and back.
int ToPixels(float length, ScaleMode scale);
float FromPixels(int pixels, ScaleMode scale);

}  // namespace ui
