#pragma once

#include "platform/rm/color.h"

#include <memory>
#include <string>

namespace rm {

// How a surface reflects light: the diffuse colour comes from the face or
// vertex colour; the material adds ambient, emissive and specular colours and
// the specular power.
class Material {
public:
    explicit Material(float power = 0) : power_(power) {}

    void SetName(std::string name) { name_ = std::move(name); }
    const std::string& GetName() const { return name_; }
    void SetPower(float power) { power_ = power; }
    float GetPower() const { return power_; }
    void SetSpecular(float r, float g, float b) { specular_ = {r, g, b}; }
    void SetEmissive(float r, float g, float b) { emissive_ = {r, g, b}; }
    void SetAmbient(float r, float g, float b) { ambient_ = {r, g, b}; }
    ColorRGB GetSpecular() const { return specular_; }
    ColorRGB GetEmissive() const { return emissive_; }
    ColorRGB GetAmbient() const { return ambient_; }

private:
    std::string name_;
    float power_;
    ColorRGB specular_{0, 0, 0};
    ColorRGB emissive_{0, 0, 0};
    // A face without its own ambient reflects ambient light with its colour.
    ColorRGB ambient_{1, 1, 1};
};

using MaterialPtr = std::shared_ptr<Material>;

}  // namespace rm
