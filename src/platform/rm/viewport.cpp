#include "platform/rm/viewport.h"

#include "platform/failure.h"
#include "platform/rm/device.h"
#include "platform/rm/frame.h"

namespace rm {

Viewport::Viewport(std::shared_ptr<Device> device, std::shared_ptr<Frame> camera, int32_t x, int32_t y, int32_t width,
                   int32_t height)
    : device_(std::move(device)), camera_(std::move(camera)) {
    if (!device_) throw Failure(failure_number::ObjectNotSet, "No device for the viewport");
    Configure(x, y, width, height);
}

void Viewport::Configure(int32_t x, int32_t y, int32_t width, int32_t height) {
    if (x < 0 || y < 0 || width <= 0 || height <= 0 || int64_t(x) + width > device_->GetWidth() ||
        int64_t(y) + height > device_->GetHeight())
        throw Failure(failure_number::InvalidArgument, "The viewport does not lie inside its device");
    x_ = x;
    y_ = y;
    width_ = width;
    height_ = height;
}

void Viewport::Clear(int32_t flags) { device_->GetRenderer().Clear(QRect(x_, y_, width_, height_), flags); }

void Viewport::Render(const std::shared_ptr<Frame>& root) {
    if (!root) throw Failure(failure_number::ObjectNotSet, "No frame to render");
    device_->GetRenderer().Render(*this, *root);
}

void Viewport::SetFront(float distance) {
    if (!(distance > 0)) throw Failure(failure_number::InvalidArgument, "Bad front plane");
    front_ = distance;
}

void Viewport::SetBack(float distance) {
    if (!(distance > 0)) throw Failure(failure_number::InvalidArgument, "Bad back plane");
    back_ = distance;
}

void Viewport::SetField(float field) {
    if (!(field > 0)) throw Failure(failure_number::InvalidArgument, "Bad field");
    field_ = field;
}

}  // namespace rm
