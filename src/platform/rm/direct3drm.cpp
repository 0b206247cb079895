#include "platform/rm/direct3drm.h"

namespace rm {

Direct3DRM::Direct3DRM() : searchPath_(std::make_shared<SearchPath>()) {}

FramePtr Direct3DRM::CreateFrame(const FramePtr& parent) { return Frame::Create(parent, searchPath_); }

MeshBuilderPtr Direct3DRM::CreateMeshBuilder() { return std::make_shared<MeshBuilder>(searchPath_); }

MaterialPtr Direct3DRM::CreateMaterial(float power) { return std::make_shared<Material>(power); }

LightPtr Direct3DRM::CreateLight(int32_t type, uint32_t color) {
    return std::make_shared<Light>(type, ColorComponents(color));
}

LightPtr Direct3DRM::CreateLightRGB(int32_t type, float r, float g, float b) {
    return std::make_shared<Light>(type, ColorRGB{r, g, b});
}

TexturePtr Direct3DRM::LoadTexture(const std::string& file) { return Texture::FromFile(searchPath_->Find(file)); }

AnimationSetPtr Direct3DRM::CreateAnimationSet() { return std::make_shared<AnimationSet>(); }

AnimationPtr Direct3DRM::CreateAnimation() { return std::make_shared<Animation>(); }

void Direct3DRM::SetSearchPath(const std::string& folders) { searchPath_->Set(folders); }

}  // namespace rm
