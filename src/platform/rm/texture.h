#pragma once

#include "platform/rm/visual.h"

#include <QImage>

#include <cstdint>
#include <memory>
#include <string>

namespace rm {

// A picture for faces and decals. Loaded from a BMP or JPEG file each time it
// is asked for: nothing is cached by file name, so a rewritten file shows its
// new picture. With transparency on, texels of the transparent colour (red,
// green and blue compared, alpha ignored) are not drawn, on meshes and decals
// alike. Added to a frame as a visual, the texture is a decal: a rectangle
// facing the camera at the frame's origin, of the decal size in world units,
// whose decal origin (in texels from the picture's top-left corner) sits on
// the frame's origin. A new decal is 1 by 1 with its origin at texel (0, 0).
class Texture : public Visual {
public:
    // Throws Failure when the file cannot be read as a picture.
    static std::shared_ptr<Texture> FromFile(const std::string& path);
    static std::shared_ptr<Texture> FromImage(const QImage& image);

    int32_t GetWidth() const { return image_.width(); }
    int32_t GetHeight() const { return image_.height(); }

    void SetDecalSize(float width, float height);
    void SetDecalOrigin(int32_t x, int32_t y);
    void SetDecalTransparency(bool on);
    void SetDecalTransparentColor(uint32_t color);
    float GetDecalWidth() const { return decalWidth_; }
    float GetDecalHeight() const { return decalHeight_; }
    int32_t GetDecalOriginX() const { return originX_; }
    int32_t GetDecalOriginY() const { return originY_; }
    bool GetDecalTransparency() const { return transparency_; }
    uint32_t GetDecalTransparentColor() const { return transparentColor_; }

    // The picture as 32-bit RGBA, keyed texels with alpha 0.
    const QImage& Picture() const;
    // Grows whenever the picture as drawn changes.
    uint64_t Revision() const { return revision_; }

private:
    explicit Texture(QImage image);

    QImage image_;
    mutable QImage keyed_;
    mutable uint64_t keyedRevision_ = 0;
    uint64_t revision_ = 1;
    float decalWidth_ = 1, decalHeight_ = 1;
    int32_t originX_ = 0, originY_ = 0;
    bool transparency_ = false;
    uint32_t transparentColor_ = 0;
};

using TexturePtr = std::shared_ptr<Texture>;

}  // namespace rm
