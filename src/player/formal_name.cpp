#include "player/formal_name.h"

#include "core/text.h"
#include "core/val_long.h"

#include <algorithm>

namespace {

bool IsPlainSkinCode(std::string_view code) {
    return std::all_of(code.begin(), code.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    });
}

}  // namespace

FormalNameParts ReadFormalName(std::string_view formalName) {
    FormalNameParts parts;
    parts.side = ValLong(Left(formalName, 1));
    std::string skin = Mid(formalName, 2);
    if (IsPlainSkinCode(skin)) parts.skin = std::move(skin);
    return parts;
}

std::string MakeFormalName(int32_t side, std::string_view skin) { return std::to_string(side) + std::string(skin); }

std::string SkinFileName(int32_t side, std::string_view skin) {
    return (side == 0 ? "TS" : "GS") + std::string(skin) + ".bmp";
}
