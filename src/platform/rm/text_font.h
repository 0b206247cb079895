#pragma once

#include <QFont>

#include <cstdint>
#include <string>

namespace rm {

// The font of the text drawn over a device's picture. The window fonts the
// game names are not on this system as a rule: a family the font database
// does not know is drawn in the bundled bold sans font (DejaVu Sans Bold,
// package fonts-dejavu-core, loaded by path), so the text looks the same on
// every machine. Sizes are points; 0 or less gives 10.
QFont TextFont(const std::string& family, int32_t points);

}  // namespace rm
