#include "platform/os/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#include <unistd.h>

#include <memory>

namespace os {

std::string SingleInstanceLockPath(const std::string& gameFolder) {
    QFileInfo folder(QString::fromStdString(gameFolder));
    const QString canonical = folder.exists() ? folder.canonicalFilePath() : folder.absoluteFilePath();
    const QByteArray key = QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    const QString name = QStringLiteral("quellmar-%1-%2.lock").arg(getuid()).arg(QString::fromLatin1(key));
    return QDir(QDir::tempPath()).filePath(name).toStdString();
}

bool ClaimSingleInstance(const std::string& gameFolder) {
    // Held for the life of the process. QLockFile recognises a lock whose
    // owner is no longer running and takes it over.
    static std::unique_ptr<QLockFile> claim;
    if (claim) return true;
    auto lock = std::make_unique<QLockFile>(QString::fromStdString(SingleInstanceLockPath(gameFolder)));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) return false;
    claim = std::move(lock);
    return true;
}

}  // namespace os
