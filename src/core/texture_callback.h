#pragma once

#include <memory>
#include <string>

namespace rm {
class Texture;
}

// Chooses the picture for every texture that a map mesh names while the map
// loads: the six faces of the sky box come from the map's sky set
// (map\env\ + CielMap + a face suffix), every other name from the maps'
// shared map\textures folder. It never fails: a picture that cannot be had
// leaves its faces untextured and the load goes on. Names come from files
// made elsewhere, so a texture name or a sky prefix that is not a plain file
// name (IsPlainMapName, with "{" in front and one extension allowed for a
// texture) loads no picture and reads no file.
class Class1 {
public:
    // The texture for `fileName` (compared exactly, case kept), or none. A
    // name beginning with "{" gets pure blue as its transparent colour, so
    // its blue texels are not drawn.
    std::shared_ptr<rm::Texture> Direct3DRMLoadTextureCallback3_CallbackRMLoadTexture(const std::string& fileName);
};
