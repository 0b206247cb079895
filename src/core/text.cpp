#include "core/text.h"

#include "platform/failure.h"
#include "platform/os/locale.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

// To the nearest whole number, halves to even, as the default rounding mode
// does, without the library call that nearbyint is here: the movement rounds
// every frame. Below 2^52, adding 2^52 leaves no fraction bits, so
// the sum is rounded; taking it away again is exact. Larger values, and
// those that are not numbers, come back as they are.
double RoundHalfToEven(double value) {
    constexpr double kNoFractionFrom = 4503599627370496.0;  // 2^52
    const double magnitude = std::fabs(value);
    if (!(magnitude < kNoFractionFrom)) return value;
    return std::copysign((magnitude + kNoFractionFrom) - kNoFractionFrom, value);
}

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Byte offset of the character at 0-based index `index`, or the text's size.
size_t ByteOffset(std::string_view text, int32_t index) {
    size_t offset = 0;
    while (index > 0 && offset < text.size()) {
        ++offset;
        while (offset < text.size() && IsContinuationByte(text[offset])) ++offset;
        --index;
    }
    return offset;
}

int32_t CharIndex(std::string_view text, size_t byteOffset) {
    int32_t index = 0;
    for (size_t i = 0; i < byteOffset && i < text.size(); ++i)
        if (!IsContinuationByte(text[i])) ++index;
    return index;
}

Failure TypeMismatch() { return Failure(failure_number::TypeMismatch, "Type mismatch"); }
Failure Overflow() { return Failure(failure_number::Overflow, "Overflow"); }

// Reads numeric text strictly: blanks around it, a sign, digits with at most
// one locale separator, an optional exponent. Returns false on anything else.
bool ParseNumber(std::string_view text, double& value) {
    const std::string& separator = os::LocaleDecimalSeparator();
    std::string plain;
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    size_t end = text.size();
    while (end > i && text[end - 1] == ' ') --end;
    if (i < end && (text[i] == '+' || text[i] == '-')) plain += text[i++];
    bool digits = false;
    bool point = false;
    while (i < end) {
        const char c = text[i];
        if (std::isdigit(static_cast<unsigned char>(c))) {
            plain += c;
            digits = true;
            ++i;
        } else if (!point && !separator.empty() && text.substr(i, separator.size()) == separator) {
            plain += '.';
            point = true;
            i += separator.size();
        } else {
            break;
        }
    }
    if (!digits) return false;
    if (i < end && (text[i] == 'e' || text[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < end && (text[i] == '+' || text[i] == '-')) plain += text[i++];
        bool exponentDigits = false;
        while (i < end && std::isdigit(static_cast<unsigned char>(text[i]))) {
            plain += text[i++];
            exponentDigits = true;
        }
        if (!exponentDigits) return false;
    }
    if (i != end) return false;
    char* stop = nullptr;
    value = std::strtod(plain.c_str(), &stop);
    return std::isfinite(value);
}

std::string WithLocaleSeparator(std::string text) {
    const size_t point = text.find('.');
    if (point != std::string::npos) text.replace(point, 1, os::LocaleDecimalSeparator());
    return text;
}

}  // namespace

int32_t Len(std::string_view text) { return CharIndex(text, text.size()); }

std::string Mid(std::string_view text, int32_t start, int32_t length) {
    if (start < 1) start = 1;
    const size_t from = ByteOffset(text, start - 1);
    if (length < 0) return std::string(text.substr(from));
    const size_t to = from + ByteOffset(text.substr(from), length);
    return std::string(text.substr(from, to - from));
}

std::string Left(std::string_view text, int32_t length) { return Mid(text, 1, length < 0 ? 0 : length); }

std::string Right(std::string_view text, int32_t length) {
    const int32_t size = Len(text);
    if (length >= size) return std::string(text);
    if (length <= 0) return {};
    return Mid(text, size - length + 1);
}

int32_t InStr(std::string_view text, std::string_view found) { return InStr(1, text, found); }

int32_t InStr(int32_t start, std::string_view text, std::string_view found) {
    if (start < 1) start = 1;
    const size_t from = ByteOffset(text, start - 1);
    if (start - 1 > Len(text)) return 0;
    const size_t at = text.find(found, from);
    if (at == std::string_view::npos) return 0;
    return CharIndex(text, at) + 1;
}

std::string LTrim(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

std::string RTrim(std::string_view text) {
    const size_t last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string() : std::string(text.substr(0, last + 1));
}

std::string Trim(std::string_view text) { return LTrim(RTrim(text)); }

std::string LCase(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

std::string UCase(std::string_view text) {
    std::string result(text);
    for (char& c : result) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

bool IsNumeric(std::string_view text) {
    double ignored = 0;
    return ParseNumber(text, ignored);
}

double CDbl(std::string_view text) {
    double value = 0;
    if (!ParseNumber(text, value)) throw TypeMismatch();
    return value;
}

float CSng(std::string_view text) {
    const double value = CDbl(text);
    if (std::fabs(value) > std::numeric_limits<float>::max()) throw Overflow();
    return static_cast<float>(value);
}

int32_t CLng(double value) {
    const double rounded = RoundHalfToEven(value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) throw Overflow();
    return static_cast<int32_t>(rounded);
}

int32_t CLng(std::string_view text) { return CLng(CDbl(text)); }

int16_t CInt(double value) {
    const double rounded = RoundHalfToEven(value);
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) throw Overflow();
    return static_cast<int16_t>(rounded);
}

int16_t CInt(std::string_view text) { return CInt(CDbl(text)); }

std::string CStr(double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    std::string text = buffer;
    const size_t exponent = text.find('E');
    std::string mantissa = text.substr(0, exponent);
    if (mantissa.find('.') != std::string::npos) {
        mantissa.erase(mantissa.find_last_not_of('0') + 1);
        if (mantissa.back() == '.') mantissa.pop_back();
    }
    if (mantissa == "-0") mantissa = "0";
    return WithLocaleSeparator(mantissa + (exponent == std::string::npos ? "" : text.substr(exponent)));
}

std::string CStr(int32_t value) { return std::to_string(value); }

std::string Format(double value, std::string_view pattern) {
    const size_t point = pattern.find('.');
    const std::string_view integerPattern = pattern.substr(0, point);
    const std::string_view fractionPattern =
        point == std::string_view::npos ? std::string_view() : pattern.substr(point + 1);
    const int decimals = static_cast<int>(fractionPattern.size());
    // Digits from the first '0' of the integer part, and up to the last '0'
    // of the fraction, always show.
    const size_t firstIntegerZero = integerPattern.find('0');
    const size_t requiredIntegerDigits =
        firstIntegerZero == std::string_view::npos ? 0 : integerPattern.size() - firstIntegerZero;
    const size_t lastFractionZero = fractionPattern.find_last_of('0');
    const size_t requiredDecimals = lastFractionZero == std::string_view::npos ? 0 : lastFractionZero + 1;

    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, std::fabs(value));
    std::string digits = buffer;
    std::string integerPart = digits.substr(0, digits.find('.'));
    std::string fractionPart = decimals > 0 ? digits.substr(digits.find('.') + 1) : std::string();

    const bool zero = integerPart.find_first_not_of('0') == std::string::npos &&
                      fractionPart.find_first_not_of('0') == std::string::npos;
    integerPart.erase(0, integerPart.find_first_not_of('0'));
    if (integerPart.size() < requiredIntegerDigits)
        integerPart.insert(0, requiredIntegerDigits - integerPart.size(), '0');
    while (fractionPart.size() > requiredDecimals && fractionPart.back() == '0') fractionPart.pop_back();

    std::string result = (value < 0 && !zero) ? "-" : "";
    result += integerPart;
    if (point != std::string_view::npos) result += os::LocaleDecimalSeparator() + fractionPart;
    return result;
}
