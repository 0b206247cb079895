#include "platform/os/locale.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>
#include <clocale>
#include <utility>

namespace os {
namespace {
std::string& Separator() {
    static std::string separator = QLocale::system().decimalPoint().toStdString();
    return separator;
}

// The application object sets the C library's locale from the environment;
// numbers go back to "C" right after.
void KeepNumbersInTheCLocale() { std::setlocale(LC_NUMERIC, "C"); }
Q_COREAPP_STARTUP_FUNCTION(KeepNumbersInTheCLocale)

}  // namespace

const std::string& LocaleDecimalSeparator() { return Separator(); }

void SetLocaleDecimalSeparator(std::string separator) { Separator() = std::move(separator); }

int32_t GetLocaleInfoA(uint32_t locale, uint32_t lcType, std::string& data, int32_t size) {
    if (locale != LOCALE_USER_DEFAULT || lcType != LOCALE_SDECIMAL || size < 0) return 0;
    const std::string& separator = LocaleDecimalSeparator();
    const auto needed = static_cast<int32_t>(separator.size() + 1);
    if (size == 0) return needed;
    if (std::min<size_t>(static_cast<size_t>(size), data.size()) < static_cast<size_t>(needed)) return 0;
    std::copy(separator.begin(), separator.end(), data.begin());
    data[separator.size()] = '\0';
    return needed;
}

}  // namespace os
