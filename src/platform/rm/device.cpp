#include "platform/rm/device.h"

#include "platform/failure.h"
#include "platform/rm/directdraw.h"
#include "platform/rm/display.h"
#include "platform/rm/text_font.h"

namespace rm {

Device::Device(QWidget* host, int32_t width, int32_t height) : renderer_(width, height) {
    if (!host) throw Failure(failure_number::ObjectNotSet, "The clipper is bound to no window");
    display_ = new Display(host, width, height);
    renderer_.SetSettings(settings_);
}

Device::Device(const std::shared_ptr<Surface>& backBuffer)
    : renderer_(backBuffer->GetWidth(), backBuffer->GetHeight()), backBuffer_(backBuffer) {
    renderer_.SetSettings(settings_);
}

Device::~Device() { delete display_.data(); }

void Device::SetQuality(int32_t quality) {
    settings_.quality = quality;
    renderer_.SetSettings(settings_);
}

void Device::SetTextureQuality(int32_t quality) {
    settings_.textureQuality = quality;
    renderer_.SetSettings(settings_);
}

void Device::Update() {
    if (!display_) return;
    QImage& picture = display_->Picture();
    renderer_.ReadPixels(QRect(0, 0, GetWidth(), GetHeight()), picture.bits(), int(picture.bytesPerLine()));
    display_->Present();
}

Display* Device::Shown() const {
    if (display_) return display_;
    const std::shared_ptr<Surface> back = backBuffer_.lock();
    const std::shared_ptr<Surface> primary = back ? back->GetPrimary() : nullptr;
    if (!primary || !primary->GetDisplay()) throw Failure(failure_number::ObjectNotSet, "The device shows nothing");
    return primary->GetDisplay();
}

void Device::SetTextColor(uint32_t color) { Shown()->SetTextColor(color); }

void Device::SetTextFont(const std::string& family, int32_t points) { Shown()->SetTextFont(TextFont(family, points)); }

void Device::TextOut(int32_t x, int32_t y, const std::string& text) {
    Shown()->TextOut(x, y, QString::fromStdString(text));
}

QImage Device::Picture() {
    QImage picture(GetWidth(), GetHeight(), QImage::Format_RGBA8888);
    renderer_.ReadPixels(QRect(0, 0, GetWidth(), GetHeight()), picture.bits(), int(picture.bytesPerLine()));
    return picture;
}

}  // namespace rm
