#include "platform/rm/directx7.h"

#include "platform/rm/direct3drm.h"
#include "platform/rm/directdraw.h"

#include <chrono>

namespace rm {

std::shared_ptr<Direct3DRM> DirectX7::Direct3DRMCreate() { return std::make_shared<Direct3DRM>(); }

std::shared_ptr<DirectDraw7> DirectX7::DirectDrawCreate(const std::string&) { return std::make_shared<DirectDraw7>(); }

std::shared_ptr<DirectDraw4> DirectX7::DirectDraw4Create(const std::string&) { return std::make_shared<DirectDraw4>(); }

DirectDrawEnum DirectX7::GetDDEnum() { return {}; }

int32_t DirectX7::TickCount() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return int32_t(std::chrono::duration_cast<std::chrono::milliseconds>(now).count() & 0x7FFFFFFF);
}

}  // namespace rm
