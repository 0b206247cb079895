// Prints the decimal separator as the program reads it at start, and the C
// library's numeric locale once the application object exists:
// "separator=<text>" and "numeric=<locale>", one a line.

#include "platform/os/locale.h"

#include <QCoreApplication>

#include <clocale>
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    std::string buffer;
    const int32_t size = os::GetLocaleInfoA(os::LOCALE_USER_DEFAULT, os::LOCALE_SDECIMAL, buffer, 0);
    buffer.assign(static_cast<size_t>(size), ' ');
    if (os::GetLocaleInfoA(os::LOCALE_USER_DEFAULT, os::LOCALE_SDECIMAL, buffer, size) != size) return 1;
    buffer.pop_back();  // the terminator
    std::printf("separator=%s\nnumeric=%s\n", buffer.c_str(), std::setlocale(LC_NUMERIC, nullptr));
    return 0;
}
