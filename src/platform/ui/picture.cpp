#include "platform/ui/picture.h"

#include "platform/failure.h"
#include "platform/ui/ui_failures.h"

#include <QFile>
#include <QImageReader>

namespace ui {

Picture LoadPicture(const std::string& path) {
    if (path.empty()) return {};
    const QString file = QString::fromStdString(path);
    if (!QFile::exists(file)) throw Failure(failure_number::FileNotFound, "File not found: " + path);
    QImageReader reader(file);
    reader.setDecideFormatFromContent(true);
    QImage image = reader.read();
    if (image.isNull()) throw Failure(failure::InvalidPicture, "Invalid picture: " + path);
    return Picture(std::move(image));
}

void SavePicture(const Picture& picture, const std::string& path) {
    if (picture.IsEmpty()) throw Failure(failure::InvalidPicture, "Invalid picture");
    const QImage image = picture.Image().convertToFormat(QImage::Format_RGB888);
    if (!image.save(QString::fromStdString(path), "BMP"))
        throw Failure(failure_number::PathFileAccessError, "Path/File access error: " + path);
}

}  // namespace ui
