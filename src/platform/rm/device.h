#pragma once

#include "platform/rm/display.h"
#include "platform/rm/renderer.h"

#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <string>

namespace rm {

class Display;
class Surface;

// A render target of fixed size. A windowed device presents with Update into
// its own child of the window it was made for; a device made on a back buffer
// shows nothing by itself: the primary surface's Blt presents it. Text written
// with TextOut appears over the presented picture until the next present.
//
// Settings are kept as given; quality and texture quality drive the renderer
// (see RenderSettings); render mode, dither and buffer count change nothing
// here, since the renderer always sorts what needs sorting and always has a
// back buffer.
class Device {
public:
    // Windowed: presents into a display on `host`.
    Device(QWidget* host, int32_t width, int32_t height);
    // On a back buffer: `primary` shows what is blitted to it.
    Device(const std::shared_ptr<Surface>& backBuffer);
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    int32_t GetWidth() const { return renderer_.Width(); }
    int32_t GetHeight() const { return renderer_.Height(); }
    void SetQuality(int32_t quality);
    int32_t GetQuality() const { return settings_.quality; }
    void SetTextureQuality(int32_t quality);
    int32_t GetTextureQuality() const { return settings_.textureQuality; }
    void SetRenderMode(int32_t mode) { renderMode_ = mode; }
    int32_t GetRenderMode() const { return renderMode_; }
    void SetDither(bool on) { dither_ = on; }
    bool GetDither() const { return dither_; }
    void SetBufferCount(int32_t count) { bufferCount_ = count; }
    int32_t GetBufferCount() const { return bufferCount_; }

    // Shows the rendered picture (windowed devices; nothing for back buffers).
    void Update();

    // Text over the shown picture, at its pixel (x, y) (top-left of the text).
    void SetTextColor(uint32_t color);
    void SetTextFont(const std::string& family, int32_t points);
    void TextOut(int32_t x, int32_t y, const std::string& text);

    Renderer& GetRenderer() { return renderer_; }
    // The picture as last rendered, read back now.
    QImage Picture();

private:
    Display* Shown() const;

    Renderer renderer_;
    RenderSettings settings_;
    QPointer<Display> display_;          // windowed devices own theirs
    std::weak_ptr<Surface> backBuffer_;  // full-screen devices
    int32_t renderMode_ = 0;
    bool dither_ = false;
    int32_t bufferCount_ = 1;
};

}  // namespace rm
