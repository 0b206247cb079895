#pragma once

#include <QImage>

#include <string>

namespace ui {

// A picture as controls hold and hand it to each other: an image shared
// by value. An empty picture shows nothing.
class Picture {
public:
    Picture() = default;
    explicit Picture(QImage image) : image_(std::move(image)) {}

    bool IsEmpty() const { return image_.isNull(); }
    // Size in pixels.
    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    const QImage& Image() const { return image_; }

private:
    QImage image_;
};

// Loads a picture file (BMP, JPEG, PNG, GIF; a path starting with ":/" is
// one compiled into the program). An empty path gives an empty picture.
// A missing file fails with "File not found" (53), a file that is no
// picture with "Invalid picture" (481).
Picture LoadPicture(const std::string& path);

// Writes the picture as a Windows bitmap file (24 bits per pixel). An empty
// picture fails with "Invalid picture" (481), a file that cannot be written
// with "Path/File access error" (75).
void SavePicture(const Picture& picture, const std::string& path);

}  // namespace ui
