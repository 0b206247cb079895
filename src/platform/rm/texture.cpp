#include "platform/rm/texture.h"

#include "platform/failure.h"

namespace rm {

std::shared_ptr<Texture> Texture::FromFile(const std::string& path) {
    QImage image;
    if (!image.load(QString::fromStdString(path)) || image.isNull())
        throw Failure(failure_number::FileNotFound, "Cannot read the picture " + path);
    return FromImage(image);
}

std::shared_ptr<Texture> Texture::FromImage(const QImage& image) {
    if (image.isNull()) throw Failure(failure_number::InvalidArgument, "Empty picture");
    return std::shared_ptr<Texture>(new Texture(image.convertToFormat(QImage::Format_RGBA8888)));
}

Texture::Texture(QImage image) : image_(std::move(image)) {}

void Texture::SetDecalSize(float width, float height) {
    decalWidth_ = width;
    decalHeight_ = height;
}

void Texture::SetDecalOrigin(int32_t x, int32_t y) {
    originX_ = x;
    originY_ = y;
}

void Texture::SetDecalTransparency(bool on) {
    if (on != transparency_) ++revision_;
    transparency_ = on;
}

void Texture::SetDecalTransparentColor(uint32_t color) {
    if ((color & 0xFFFFFF) != (transparentColor_ & 0xFFFFFF)) ++revision_;
    transparentColor_ = color;
}

const QImage& Texture::Picture() const {
    if (!transparency_) return image_;
    if (keyedRevision_ != revision_) {
        keyed_ = image_.copy();
        const uint8_t r = (transparentColor_ >> 16) & 0xFF, g = (transparentColor_ >> 8) & 0xFF,
                      b = transparentColor_ & 0xFF;
        for (int y = 0; y < keyed_.height(); ++y) {
            uchar* texel = keyed_.scanLine(y);
            for (int x = 0; x < keyed_.width(); ++x, texel += 4)
                if (texel[0] == r && texel[1] == g && texel[2] == b) texel[3] = 0;
        }
        keyedRevision_ = revision_;
    }
    return keyed_;
}

}  // namespace rm
