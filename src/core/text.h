#pragma once

// The text and number rules the whole game uses. Positions count characters
// from 1; texts are UTF-8 and a character is one code point. Conversions to
// integers round halves to the even neighbour; numeric text uses the locale's
// decimal separator. A conversion that cannot be made throws Failure.

#include <cstdint>
#include <string>
#include <string_view>

int32_t Len(std::string_view text);

// `length` characters from position `start` (1-based); all the rest when
// `length` is negative. Positions past the end give an empty text.
std::string Mid(std::string_view text, int32_t start, int32_t length = -1);
std::string Left(std::string_view text, int32_t length);
std::string Right(std::string_view text, int32_t length);

// Position (1-based) of the first `found` at or after `start`; 0 when absent.
// An empty `found` is found at `start`.
int32_t InStr(std::string_view text, std::string_view found);
int32_t InStr(int32_t start, std::string_view text, std::string_view found);

std::string Trim(std::string_view text);
std::string LTrim(std::string_view text);
std::string RTrim(std::string_view text);
std::string LCase(std::string_view text);
std::string UCase(std::string_view text);

// True when `text` reads as a number in the locale's format.
bool IsNumeric(std::string_view text);

double CDbl(std::string_view text);
float CSng(std::string_view text);
int32_t CLng(double value);
int32_t CLng(std::string_view text);
int16_t CInt(double value);
int16_t CInt(std::string_view text);

// A number as numeric text in the locale's format: up to 15 significant
// digits, no trailing zeros.
std::string CStr(double value);
std::string CStr(int32_t value);

// A number by a pattern of '#' and '0' with one '.' ("#.00", "#.0", "0.0"):
// each '0' always shows a digit, a '#' only a significant one, so 0 by "#.0"
// gives ".0". The separator is the locale's.
std::string Format(double value, std::string_view pattern);
