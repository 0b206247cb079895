#pragma once

#include <algorithm>
#include <cstdint>

namespace rm {

// Colours travel as 32-bit values 0xAARRGGBB, made from components 0 to 1.
struct ColorRGB {
    float r = 1, g = 1, b = 1;
};

constexpr uint8_t ColorByte(float component) {
    return static_cast<uint8_t>(std::clamp(component, 0.0f, 1.0f) * 255.0f + 0.5f);
}

constexpr uint32_t CreateColorRGB(float r, float g, float b) {
    return 0xFF000000u | (uint32_t{ColorByte(r)} << 16) | (uint32_t{ColorByte(g)} << 8) | ColorByte(b);
}

constexpr ColorRGB ColorComponents(uint32_t color) {
    return {((color >> 16) & 0xFF) / 255.0f, ((color >> 8) & 0xFF) / 255.0f, (color & 0xFF) / 255.0f};
}

}  // namespace rm
