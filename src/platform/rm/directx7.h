#pragma once

#include "platform/rm/color.h"
#include "platform/rm/math.h"

#include <cstdint>
#include <memory>
#include <string>

namespace rm {

class Direct3DRM;
class DirectDraw4;
class DirectDraw7;
class DirectDrawEnum;

// The root of the graphics services, one per run. The input, sound and play
// services are made by their own layers.
class DirectX7 {
public:
    std::shared_ptr<Direct3DRM> Direct3DRMCreate();
    // Any driver identifier (see DirectDrawEnum) gives the one display driver.
    std::shared_ptr<DirectDraw7> DirectDrawCreate(const std::string& guid);
    std::shared_ptr<DirectDraw4> DirectDraw4Create(const std::string& guid);
    DirectDrawEnum GetDDEnum();
    uint32_t CreateColorRGB(float r, float g, float b) { return rm::CreateColorRGB(r, g, b); }
    // Milliseconds from an arbitrary start, wrapping at 2^31.
    int32_t TickCount();
    Quaternion QuaternionMultiply(const Quaternion& a, const Quaternion& b) { return rm::QuaternionMultiply(a, b); }
    Matrix4 IdentityMatrix() { return {}; }
    // Turns by `angle` radians about z, as AddRotation does: (1, 0, 0)
    // goes to (cos, sin, 0).
    Matrix4 RotateZMatrix(float angle) { return RotationMatrix({0, 0, 1}, angle); }
};

}  // namespace rm
