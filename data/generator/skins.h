#pragma once

#include <string>
#include <vector>

#include "body.h"
#include "picture.h"

// The players' skins (256 x 256, laid out as the body's regions) and the
// blood decals.

namespace gen {

struct SkinStyle {
    std::string code;  // digits or capitals: the file is TS<code>.bmp or GS<code>.bmp
    Rgb cloth, trim, skin, gear;
    bool masked;  // the face hidden behind a balaclava or visor
};

// Three styles for each team.
const std::vector<SkinStyle>& SkinStyles(Team team);
Picture Skin(Team team, const SkinStyle& style);
// Blood decal n (1 to 9): a 16 x 16 splash on black, which is transparent.
Picture Blood(int n);

}  // namespace gen
