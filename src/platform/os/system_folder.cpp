#include "platform/os/system_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdlib>

namespace os {

uint32_t GetSystemDirectoryA(std::string& buffer, uint32_t size) {
    const char* data = std::getenv("XDG_DATA_HOME");
    QString base;
    if (data && QDir::isAbsolutePath(QString::fromLocal8Bit(data)))
        base = QString::fromLocal8Bit(data);
    else
        base = QDir::homePath() + "/.local/share";
    const QString folder = base + "/quellmar/system";
    if (!QFileInfo(folder).isDir()) {
        if (!QDir().mkpath(folder)) return 0;
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    const QByteArray path = folder.toLocal8Bit();
    const auto length = static_cast<uint32_t>(path.size());
    const auto room = std::min<size_t>(size, buffer.size());
    if (room <= length) return length + 1;
    std::copy(path.begin(), path.end(), buffer.begin());
    buffer[length] = '\0';
    return length;
}

}  // namespace os
