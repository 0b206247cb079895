#include "core/texture_callback.h"

#include "core/game_state.h"
#include "core/map_level.h"
#include "core/paths.h"
#include "platform/failure.h"
#include "platform/os/files.h"
#include "platform/rm/color.h"
#include "platform/rm/direct3drm.h"
#include "platform/ui/event_loop.h"

#include <array>
#include <string_view>

namespace {

struct SkyFace {
    std::string_view textureName;
    std::string_view suffix;
};

// The sky box names its six faces; the map's sky set supplies the pictures.
constexpr std::array<SkyFace, 6> kSkyFaces{{{"devant.bmp", "ft.bmp"},
                                            {"droite.bmp", "rt.bmp"},
                                            {"gauche.bmp", "lf.bmp"},
                                            {"derriere.bmp", "bk.bmp"},
                                            {"bas.bmp", "dn.bmp"},
                                            {"haut.bmp", "up.bmp"}}};

// A texture name of a map's mesh: a plain name, with the transparent mark "{"
// in front and an extension after a "." when it has them. Only such a name
// may become part of a path.
bool IsPlainTextureName(std::string_view name) {
    if (name.starts_with('{')) name.remove_prefix(1);
    const size_t dot = name.find('.');
    if (dot == std::string_view::npos) return IsPlainMapName(name);
    return IsPlainMapName(name.substr(0, dot)) && IsPlainMapName(name.substr(dot + 1));
}

rm::TexturePtr LoadSkyFace(std::string_view suffix) {
    // The prefix comes from the map's file: a sky set named otherwise has no pictures.
    if (!CielMap.empty() && !IsPlainMapName(CielMap)) return nullptr;
    rm::TexturePtr texture;
    skip([&] { texture = D3DRM->LoadTexture(NativePath(CheminJeu + "\\map\\env\\" + CielMap + std::string(suffix))); });
    return texture;
}

rm::TexturePtr LoadMapTexture(const std::string& fileName) {
    rm::TexturePtr texture;
    const std::string path = NativePath(CheminJeu + "\\map\\textures\\" + fileName);
    bool exists = false;
    if (IsPlainTextureName(fileName)) skip([&] { exists = os::FileExists(path); });
    if (exists) skip([&] { texture = D3DRM->LoadTexture(path); });
    if (!texture) {
        skip([] { ui::DoEvents(); });
        return nullptr;
    }
    if (fileName.starts_with("{")) {
        skip([&] { texture->SetDecalTransparentColor(rm::CreateColorRGB(0, 0, 1)); });
        skip([&] { texture->SetDecalTransparency(true); });
    }
    return texture;
}

}  // namespace

rm::TexturePtr Class1::Direct3DRMLoadTextureCallback3_CallbackRMLoadTexture(const std::string& fileName) {
    for (const SkyFace& face : kSkyFaces)
        if (fileName == face.textureName) return LoadSkyFace(face.suffix);
    return LoadMapTexture(fileName);
}
