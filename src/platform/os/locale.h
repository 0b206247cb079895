#pragma once

// The user's locale, as far as the program asks for it: its decimal
// separator. Numeric text is read and written with it by the text helpers
// (core/text.h), which convert by their own rules; the C library's numeric
// locale stays "C" once the application object exists, so that no other code
// reads or writes numbers differently under the user's locale.

#include <cstdint>
#include <string>

namespace os {

// The decimal separator of the user's locale ("." or "," for most), which
// numeric text is read and written with.
const std::string& LocaleDecimalSeparator();

// Puts another separator in place of the user's (tests run in any locale).
void SetLocaleDecimalSeparator(std::string separator);

inline constexpr uint32_t LOCALE_USER_DEFAULT = 0x400;
inline constexpr uint32_t LOCALE_SDECIMAL = 14;

// Locale information of `lcType` for `locale`; only the user's default
// locale and its decimal separator are known. With `size` 0, returns the
// size the answer needs, its terminating NUL included, and writes nothing.
// Otherwise writes the separator followed by a NUL into the start of `data`,
// which holds `size` characters (no more than data.size() are used), and
// returns the number written; 0 when the buffer is too small or the query
// is not known.
int32_t GetLocaleInfoA(uint32_t locale, uint32_t lcType, std::string& data, int32_t size);

}  // namespace os
