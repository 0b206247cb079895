#pragma once

#include <string>

namespace gen {

// models/: terror.qc with its hit boxes, body group and sequences, the
// reference and animation files, the skins, the blood decals and the
// launcher's two preview meshes with their textures.
void WritePlayerModel(const std::string& models);

}  // namespace gen
