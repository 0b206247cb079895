#pragma once

#include <string>

namespace gen {

// map/: the shared sky box boite.x, the sky set env/dusk*.bmp, the shared
// textures/ (one of them, "{fence.bmp", keyed on pure blue) and the sample
// level "docks": docks.map and its meshes docks.sol, .mur, .pla and .lad
// (a ladder up the watchtower). The meshes are written at 1/8 of their
// size: the .map's scale line is 8.
void WriteMapFolder(const std::string& map);

}  // namespace gen
