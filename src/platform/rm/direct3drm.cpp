#include "platform/rm/direct3drm.h"

#include "platform/failure.h"
#include "platform/rm/device.h"
#include "platform/rm/directdraw.h"
#include "platform/rm/viewport.h"

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

std::shared_ptr<Device> Direct3DRM::CreateDeviceFromClipper(const std::shared_ptr<Clipper>& clipper, const std::string&,
                                                            int32_t width, int32_t height) {
    if (!clipper) throw Failure(failure_number::ObjectNotSet, "No clipper for the device");
    return std::make_shared<Device>(clipper->GetHWnd(), width, height);
}

std::shared_ptr<Device> Direct3DRM::CreateDeviceFromSurface(const std::string&, const std::shared_ptr<DirectDraw7>&,
                                                            const std::shared_ptr<Surface>& backBuffer, int32_t) {
    if (!backBuffer || backBuffer->IsPrimary() || !backBuffer->GetPrimary())
        throw Failure(failure_number::InvalidArgument, "Devices draw into the back buffer of a primary surface");
    auto device = std::make_shared<Device>(backBuffer);
    backBuffer->AttachDevice(device);
    return device;
}

std::shared_ptr<Viewport> Direct3DRM::CreateViewport(const std::shared_ptr<Device>& device, const FramePtr& camera,
                                                     int32_t x, int32_t y, int32_t width, int32_t height) {
    return std::make_shared<Viewport>(device, camera, x, y, width, height);
}

}  // namespace rm
