#pragma once

#include <string>

namespace gen {

// weapons/: the thirteen weapon descriptions (<type>_<name>.QC), each with
// its reference mesh on "Bip01 R Hand" and a bare "flash" bone at the
// muzzle; their textures, fire sounds (<name>-1.wav) and arsenal pictures
// (640_<name>.bmp); the muzzle flashes and the two sights.
void WriteWeapons(const std::string& weapons);

}  // namespace gen
