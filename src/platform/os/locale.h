#pragma once

#include <string>

namespace os {

// The decimal separator of the user's locale ("." or "," for most), which
// numeric text is read and written with.
const std::string& LocaleDecimalSeparator();

// Puts another separator in place of the user's (tests run in any locale).
void SetLocaleDecimalSeparator(std::string separator);

}  // namespace os
