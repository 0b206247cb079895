#pragma once

#include "platform/rm/animation.h"
#include "platform/rm/frame.h"
#include "platform/rm/light.h"
#include "platform/rm/material.h"
#include "platform/rm/mesh.h"
#include "platform/rm/mesh_builder.h"
#include "platform/rm/search_path.h"
#include "platform/rm/texture.h"

#include <cstdint>
#include <memory>
#include <string>

namespace rm {

class Clipper;
class Device;
class DirectDraw7;
class Surface;
class Viewport;

// The retained-mode object: makes frames, meshes, lights, materials,
// textures, animations, devices and viewports, and keeps the search path
// through which its frames and mesh builders find their files.
class Direct3DRM {
public:
    Direct3DRM();

    FramePtr CreateFrame(const FramePtr& parent);
    MeshBuilderPtr CreateMeshBuilder();
    MaterialPtr CreateMaterial(float power);
    LightPtr CreateLight(int32_t type, uint32_t color);
    LightPtr CreateLightRGB(int32_t type, float r, float g, float b);
    // Reads the picture anew every time (BMP or JPEG), found through the
    // search path.
    TexturePtr LoadTexture(const std::string& file);
    AnimationSetPtr CreateAnimationSet();
    AnimationPtr CreateAnimation();
    // Folders joined by ";"; replaces the previous path. Frames and mesh
    // builders made before see the change.
    void SetSearchPath(const std::string& folders);

    // A device drawing into a child of the clipper's window, of the given
    // size in pixels. Any device identifier is accepted: there is one kind.
    std::shared_ptr<Device> CreateDeviceFromClipper(const std::shared_ptr<Clipper>& clipper, const std::string& guid,
                                                    int32_t width, int32_t height);
    // A device drawing into a back buffer of a full-screen surface chain.
    std::shared_ptr<Device> CreateDeviceFromSurface(const std::string& guid, const std::shared_ptr<DirectDraw7>& draw,
                                                    const std::shared_ptr<Surface>& backBuffer, int32_t flags = 0);
    std::shared_ptr<Viewport> CreateViewport(const std::shared_ptr<Device>& device, const FramePtr& camera, int32_t x,
                                             int32_t y, int32_t width, int32_t height);

private:
    std::shared_ptr<SearchPath> searchPath_;
};

}  // namespace rm
