#include "platform/rm/directdraw.h"

#include "platform/failure.h"
#include "platform/rm/device.h"
#include "platform/rm/display.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace rm {
namespace {

Failure OutOfRange() { return Failure(failure_number::SubscriptOutOfRange, "Enumeration index out of range"); }

QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

DisplayMode Desktop() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return {640, 480, 32};
    return {screen->geometry().width(), screen->geometry().height(), screen->depth() > 16 ? 32 : 16};
}

}  // namespace

Surface::Surface(bool primary, int32_t width, int32_t height) : primary_(primary), width_(width), height_(height) {}

Surface::~Surface() { delete display_.data(); }

std::shared_ptr<Surface> Surface::GetAttachedSurface(int32_t) {
    if (!back_) throw Failure(failure_number::InvalidArgument, "The surface has no back buffer");
    return back_;
}

const QImage& Surface::Picture() const {
    if (!display_) throw Failure(failure_number::ObjectNotSet, "The surface shows nothing");
    return display_->Picture();
}

void Surface::Blt(const Rect& destination, const std::shared_ptr<Surface>& source, const Rect& sourceRect, int32_t) {
    if (!primary_ || !display_ || !source || source != back_)
        throw Failure(failure_number::InvalidArgument, "Blits go from the back buffer to its primary surface");
    const std::shared_ptr<Device> device = source->device_.lock();
    if (!device) throw Failure(failure_number::ObjectNotSet, "No device draws into the back buffer");
    const QRect from = ToQRect(sourceRect).intersected(QRect(0, 0, device->GetWidth(), device->GetHeight()));
    const QRect to = ToQRect(destination).intersected(QRect(0, 0, width_, height_));
    if (from.isEmpty() || to.isEmpty()) return;
    QImage& picture = display_->Picture();
    if (from.size() == to.size()) {
        device->GetRenderer().ReadPixels(from, picture.scanLine(to.y()) + to.x() * 4, int(picture.bytesPerLine()));
    } else {
        const QImage part = device->Picture().copy(from);
        QPainter painter(&picture);
        painter.drawImage(to, part);
    }
    display_->Present();
}

void Surface::BltColorFill(const Rect& area, uint32_t color) {
    const QRect inside = ToQRect(area).intersected(QRect(0, 0, width_, height_));
    if (inside.isEmpty()) return;
    if (display_) {
        QPainter painter(&display_->Picture());
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(inside, QColor::fromRgb(color & 0xFFFFFF));
        painter.end();
        display_->update();
    } else if (const std::shared_ptr<Device> device = device_.lock()) {
        device->GetRenderer().Fill(inside, color);
    }
}

void DirectDraw7::SetCooperativeLevel(WindowHandle window, int32_t) { window_ = window; }

void DirectDraw7::SetDisplayMode(int32_t width, int32_t height, int32_t bits, int32_t, int32_t) {
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384)
        throw Failure(failure_number::InvalidArgument, "Unsupported display mode");
    mode_ = {width, height, bits};
}

std::shared_ptr<Surface> DirectDraw7::CreateSurface(int32_t, int32_t, int32_t backBufferCount) {
    const DisplayMode mode = mode_.width > 0 ? mode_ : Desktop();
    std::shared_ptr<Surface> primary(new Surface(true, mode.width, mode.height));
    if (window_) window_->showFullScreen();
    primary->display_ = new Display(window_, mode.width, mode.height);
    if (backBufferCount > 0) {
        primary->back_.reset(new Surface(false, mode.width, mode.height));
        primary->back_->front_ = primary;
    }
    return primary;
}

std::shared_ptr<Clipper> DirectDraw7::CreateClipper(int32_t) { return std::make_shared<Clipper>(); }

DisplayMode DisplayModesEnum::GetModeDesc(int32_t index) const {
    if (index < 1 || index > GetCount()) throw OutOfRange();
    return modes_[size_t(index - 1)];
}

std::string Direct3DEnumDevices::GetName(int32_t index) const {
    if (index != 1) throw OutOfRange();
    return "Direct3D HAL";
}

std::string Direct3DEnumDevices::GetGuid(int32_t index) const {
    if (index != 1) throw OutOfRange();
    return "IID_IDirect3DHALDevice";
}

DisplayMode DirectDraw4::GetDisplayMode() const { return Desktop(); }

void DirectDraw4::SetDisplayMode(int32_t, int32_t, int32_t, int32_t, int32_t) {}

std::shared_ptr<Clipper> DirectDraw4::CreateClipper(int32_t) { return std::make_shared<Clipper>(); }

DisplayModesEnum DirectDraw4::GetDisplayModesEnum(int32_t) const {
    static constexpr DisplayMode kCommon[] = {{640, 480, 0},   {800, 600, 0},  {1024, 768, 0},  {1280, 720, 0},
                                              {1280, 1024, 0}, {1600, 900, 0}, {1920, 1080, 0}, {2560, 1440, 0}};
    const DisplayMode desktop = Desktop();
    std::vector<DisplayMode> sizes;
    for (const DisplayMode& mode : kCommon)
        if (mode.width <= desktop.width && mode.height <= desktop.height) sizes.push_back(mode);
    if (sizes.empty() || sizes.back().width != desktop.width || sizes.back().height != desktop.height)
        sizes.push_back(desktop);
    std::vector<DisplayMode> modes;
    for (const DisplayMode& size : sizes)
        for (int32_t bits : {16, 32}) modes.push_back({size.width, size.height, bits});
    return DisplayModesEnum(std::move(modes));
}

std::string DirectDrawEnum::GetDescription(int32_t index) const {
    if (index != 1) throw OutOfRange();
    return "Primary Display Driver";
}

std::string DirectDrawEnum::GetGuid(int32_t index) const {
    if (index != 1) throw OutOfRange();
    return "";
}

}  // namespace rm
