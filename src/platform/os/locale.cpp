#include "platform/os/locale.h"

#include <QLocale>

#include <utility>

namespace os {
namespace {
std::string& Separator() {
    static std::string separator = QLocale::system().decimalPoint().toStdString();
    return separator;
}
}  // namespace

const std::string& LocaleDecimalSeparator() { return Separator(); }

void SetLocaleDecimalSeparator(std::string separator) { Separator() = std::move(separator); }

}  // namespace os
