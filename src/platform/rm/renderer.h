#pragma once

#include "platform/rm/math.h"

#include <QRect>

#include <cstdint>
#include <memory>

namespace rm {

class Frame;
class Viewport;

// The parts of a device's quality: fill + lighting + shading. Phong shading
// is drawn as Gouraud.
namespace quality {
inline constexpr int32_t ShadeMask = 7;
inline constexpr int32_t ShadeFlat = 0;
inline constexpr int32_t ShadeGouraud = 1;
inline constexpr int32_t ShadePhong = 2;
inline constexpr int32_t LightOn = 8;
inline constexpr int32_t FillMask = 0xC0;
inline constexpr int32_t FillWireframe = 64;
inline constexpr int32_t FillSolid = 128;
}  // namespace quality

// Device settings as the retained-mode constants give them.
struct RenderSettings {
    int32_t quality = quality::FillSolid | quality::LightOn | quality::ShadeGouraud;
    // 0 nearest, 1 linear, 2 to 5 the mipmapped filters.
    int32_t textureQuality = 1;
};

// Draws scenes with OpenGL 3.3 (core) into a picture of fixed size, in a
// context of its own on an offscreen surface; presenters read the picture
// back. The picture's rows run from the top, as the devices count them.
//
// Faces are drawn from both sides. Texels of a texture's transparent colour
// are not drawn (on meshes and decals), so the order in which the visuals are
// drawn never changes the picture and sort modes need no sorting. Lights come
// from the frames that are drawn: their ambient lights add up, and at most
// eight other lights light a frame.
class Renderer {
public:
    // Throws Failure when no OpenGL 3.3 context can be had.
    Renderer(int width, int height);
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    int Width() const;
    int Height() const;
    void SetSettings(const RenderSettings& settings);

    // Clear flags: 1 the picture (to black), 2 the depth buffer; only inside `area`.
    void Clear(const QRect& area, int32_t flags);
    void Fill(const QRect& area, uint32_t color);
    void Render(const Viewport& viewport, const Frame& root);
    // Copies `area` of the picture into `destination` (32-bit RGBA rows,
    // `stride` bytes apart), top row first.
    void ReadPixels(const QRect& area, uint8_t* destination, int stride);

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace rm
