#pragma once

// A player's formal name carries its side and skin to the other machines: the
// side digit followed by the skin code ("12" is side 1 with skin "2"). The
// name comes from another machine, so reading it never fails: a first
// character that is not a number gives side 0, and a skin code that is not
// plain (ASCII letters and digits only) is dropped, because it becomes part of
// a file name below the models folder.

#include <cstdint>
#include <string>
#include <string_view>

struct FormalNameParts {
    int32_t side = 0;  // 0 terrorists, any other number GIGN
    std::string skin;  // "" when the name holds none or an unsafe one
};

FormalNameParts ReadFormalName(std::string_view formalName);

// The formal name this machine gives its own player.
std::string MakeFormalName(int32_t side, std::string_view skin);

// The skin bitmap of a side and skin code: "TS" for side 0, else "GS", then
// the code and ".bmp".
std::string SkinFileName(int32_t side, std::string_view skin);
