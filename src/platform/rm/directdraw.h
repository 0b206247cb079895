#pragma once

#include "platform/window_handle.h"

#include <QImage>
#include "platform/rm/display.h"

#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace rm {

class Device;
class Display;

// A rectangle in pixels: left and top inside, right and bottom just outside.
struct Rect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct DisplayMode {
    int32_t width = 0, height = 0, bits = 0;
};

// Binds devices to a window.
class Clipper {
public:
    void SetHWnd(WindowHandle window) { window_ = window; }
    WindowHandle GetHWnd() const { return window_; }

private:
    QPointer<QWidget> window_;
};

// A DirectDraw surface. The primary surface of a full-screen chain shows a
// picture of the display-mode size, scaled onto the screen: in the window
// given to the cooperative level, which it makes full screen and fills
// beneath that window's own children (so a chat box stays visible in a strip
// that blits leave alone), or else in a full-screen window of its own. Its
// attached back buffer is what a device made on it renders into. Blt copies a rectangle of the back buffer into the
// primary picture and shows it; rectangles are clipped to the surfaces.
class Surface : public std::enable_shared_from_this<Surface> {
public:
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    // The back buffer of a primary surface; Failure for any other surface.
    std::shared_ptr<Surface> GetAttachedSurface(int32_t caps);
    void SetClipper(const std::shared_ptr<Clipper>& clipper) { clipper_ = clipper; }
    // Onto the primary surface from its back buffer (the only blit the
    // surfaces offer). Flags (waiting) change nothing: blits finish at once.
    void Blt(const Rect& destination, const std::shared_ptr<Surface>& source, const Rect& sourceRect,
             int32_t flags = 0);
    // Fills the rectangle with a colour (0xAARRGGBB).
    void BltColorFill(const Rect& area, uint32_t color);
    int32_t GetWidth() const { return width_; }
    int32_t GetHeight() const { return height_; }
    bool IsPrimary() const { return primary_; }

    // What the primary surface shows (its window's picture).
    const QImage& Picture() const;
    Display* GetDisplay() const { return display_; }
    std::shared_ptr<Surface> GetPrimary() const { return front_.lock(); }
    void AttachDevice(const std::shared_ptr<Device>& device) { device_ = device; }

private:
    friend class DirectDraw7;
    Surface(bool primary, int32_t width, int32_t height);

    bool primary_;
    int32_t width_, height_;
    QPointer<Display> display_;      // primary: its window
    std::shared_ptr<Surface> back_;  // primary: its back buffer
    std::weak_ptr<Surface> front_;   // back buffer: its primary
    std::weak_ptr<Device> device_;   // back buffer: the device drawing into it
    std::shared_ptr<Clipper> clipper_;
};

// The display driver, as the full-screen path uses it. The display mode is
// taken as the size of the full-screen picture; the desktop's own mode is
// never changed. The cooperative level's window is where the primary surface
// is shown.
class DirectDraw7 {
public:
    void SetCooperativeLevel(WindowHandle window, int32_t flags);
    void SetDisplayMode(int32_t width, int32_t height, int32_t bits, int32_t refresh, int32_t flags);
    // The primary surface with one back buffer (description flags and caps
    // are accepted as the full-screen path gives them).
    std::shared_ptr<Surface> CreateSurface(int32_t flags, int32_t caps, int32_t backBufferCount);
    std::shared_ptr<Clipper> CreateClipper(int32_t flags);

private:
    DisplayMode mode_;
    QPointer<QWidget> window_;
};

// The display modes offered: the common sizes up to the desktop's, and the
// desktop's own, each at 16 and 32 bits.
class DisplayModesEnum {
public:
    explicit DisplayModesEnum(std::vector<DisplayMode> modes) : modes_(std::move(modes)) {}
    int32_t GetCount() const { return static_cast<int32_t>(modes_.size()); }
    // Counts from 1; Failure out of range.
    DisplayMode GetModeDesc(int32_t index) const;

private:
    std::vector<DisplayMode> modes_;
};

// One 3D device: name "Direct3D HAL", identifier "IID_IDirect3DHALDevice".
class Direct3DEnumDevices {
public:
    int32_t GetCount() const { return 1; }
    std::string GetName(int32_t index) const;
    std::string GetGuid(int32_t index) const;
};

class Direct3D7 {
public:
    Direct3DEnumDevices GetDevicesEnum() const { return {}; }
};

// The display driver, as the windowed path and the launcher use it. Setting
// a display mode is accepted and changes nothing.
class DirectDraw4 {
public:
    DisplayMode GetDisplayMode() const;
    void SetDisplayMode(int32_t width, int32_t height, int32_t bits, int32_t refresh, int32_t flags);
    std::shared_ptr<Clipper> CreateClipper(int32_t flags);
    DisplayModesEnum GetDisplayModesEnum(int32_t flags) const;
    Direct3D7 GetDirect3D() const { return {}; }
};

// One display driver: description "Primary Display Driver", identifier ""
// (the default driver).
class DirectDrawEnum {
public:
    int32_t GetCount() const { return 1; }
    std::string GetDescription(int32_t index) const;
    std::string GetGuid(int32_t index) const;
};

}  // namespace rm
