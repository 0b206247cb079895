#pragma once

#include "platform/rm/color.h"

#include <cstdint>
#include <memory>

namespace rm {

// Light types as the game numbers them.
namespace light_type {
inline constexpr int32_t Ambient = 0;
inline constexpr int32_t Point = 1;
inline constexpr int32_t Spot = 2;
inline constexpr int32_t Directional = 3;
}  // namespace light_type

// A light takes its place and direction (its frame's z axis) from the frames
// it is attached to. Point and spot lights reach any distance without fading;
// a spot lights fully inside a cone of 0.4 radians and fades out to 0.8
// (full angles).
class Light {
public:
    Light(int32_t type, ColorRGB color);

    int32_t GetType() const { return type_; }
    void SetColorRGB(float r, float g, float b) { color_ = {r, g, b}; }
    ColorRGB GetColor() const { return color_; }
    static constexpr float kUmbra = 0.4f;
    static constexpr float kPenumbra = 0.8f;

private:
    int32_t type_;
    ColorRGB color_;
};

using LightPtr = std::shared_ptr<Light>;

}  // namespace rm
