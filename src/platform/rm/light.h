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
// it is attached to. Point and spot lights do not fade with distance unless
// given attenuation; a spot lights fully inside its umbra angle and fades out
// to its penumbra angle (radians, full cone).
class Light {
public:
    Light(int32_t type, ColorRGB color);

    int32_t GetType() const { return type_; }
    void SetColorRGB(float r, float g, float b) { color_ = {r, g, b}; }
    ColorRGB GetColor() const { return color_; }
    void SetRange(float range) { range_ = range; }
    float GetRange() const { return range_; }
    void SetUmbra(float angle) { umbra_ = angle; }
    void SetPenumbra(float angle) { penumbra_ = angle; }
    float GetUmbra() const { return umbra_; }
    float GetPenumbra() const { return penumbra_; }
    void SetAttenuation(float constant, float linear, float quadratic);
    float GetConstantAttenuation() const { return constant_; }
    float GetLinearAttenuation() const { return linear_; }
    float GetQuadraticAttenuation() const { return quadratic_; }

private:
    int32_t type_;
    ColorRGB color_;
    float range_ = 1e30f;
    float umbra_ = 0.4f;
    float penumbra_ = 0.8f;
    float constant_ = 1, linear_ = 0, quadratic_ = 0;
};

using LightPtr = std::shared_ptr<Light>;

}  // namespace rm
