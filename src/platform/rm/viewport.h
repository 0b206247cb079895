#pragma once

#include <cstdint>
#include <memory>

namespace rm {

class Device;
class Frame;

// Clear flags.
namespace clear {
inline constexpr int32_t Target = 1;
inline constexpr int32_t ZBuffer = 2;
inline constexpr int32_t DirtyRects = 4;  // nothing to do: the whole viewport is cleared
inline constexpr int32_t All = Target | ZBuffer | DirtyRects;
}  // namespace clear

// A rectangle of a device through which a camera frame sees the scene. The
// camera looks along its z axis with y up. The field is half the extent of the
// view, along the viewport's shorter side, at the front plane's distance; so
// moving the front plane away narrows the view (zooms in). New viewports have
// front 1, back 100 and field 0.5.
class Viewport {
public:
    // Throws Failure when the rectangle does not lie inside the device.
    Viewport(std::shared_ptr<Device> device, std::shared_ptr<Frame> camera, int32_t x, int32_t y, int32_t width,
             int32_t height);

    void Clear(int32_t flags);
    void Render(const std::shared_ptr<Frame>& root);
    void Configure(int32_t x, int32_t y, int32_t width, int32_t height);
    int32_t GetX() const { return x_; }
    int32_t GetY() const { return y_; }
    int32_t GetWidth() const { return width_; }
    int32_t GetHeight() const { return height_; }

    // Throw Failure for a distance or field that is not positive. A back plane
    // not beyond the front one draws as if just beyond it.
    void SetFront(float distance);
    void SetBack(float distance);
    void SetField(float field);
    float GetFront() const { return front_; }
    float GetBack() const { return back_; }
    float GetField() const { return field_; }
    const std::shared_ptr<Frame>& GetCamera() const { return camera_; }

private:
    std::shared_ptr<Device> device_;
    std::shared_ptr<Frame> camera_;
    int32_t x_, y_, width_, height_;
    float front_ = 1, back_ = 100, field_ = 0.5f;
};

}  // namespace rm
