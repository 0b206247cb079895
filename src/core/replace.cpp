#include "core/replace.h"

#include "core/text.h"

std::string RemplaceCar(std::string_view text, std::string_view search, std::string_view replacement) {
    const int32_t at = InStr(text, search);
    if (at == 0 || search.empty()) return std::string(text);
    return Left(text, at - 1) + std::string(replacement) + Mid(text, at + Len(search));
}

std::string Remplace(std::string_view text, std::string_view search, std::string_view replacement) {
    const int32_t scanned = Len(text);
    const int32_t searchLength = Len(search);
    std::string current(text);
    if (searchLength == 0) return current;
    for (int32_t p = 1; p <= scanned; ++p) {
        if (Mid(current, p, searchLength) == search)
            current = Left(current, p - 1) + std::string(replacement) + Mid(current, p + searchLength);
    }
    return current;
}
