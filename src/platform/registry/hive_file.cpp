#include "platform/registry/hive_file.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace registry {
namespace {

// A hive holds a few dozen short values; anything near this size is not one.
constexpr qint64 kMaxHiveBytes = 16 * 1024 * 1024;

std::mutex overrideMutex;
std::string& Override() {
    static std::string folder;
    return folder;
}

bool EnsureFolder(const QString& folder) {
    if (QFileInfo(folder).isDir()) return true;
    if (!QDir().mkpath(folder)) return false;
    return QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

void SetAside(const QString& path, const std::string& reason) {
    const QString aside =
        path + ".corrupt-" + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    const bool renamed = QFile::rename(path, aside);
    std::fprintf(stderr, "registry: %s does not parse (%s); %s, starting from an empty hive\n", qPrintable(path),
                 reason.c_str(), renamed ? qPrintable("kept as " + aside) : "it could not be renamed aside");
}

}  // namespace

std::string HiveFolder() {
    {
        std::lock_guard lock(overrideMutex);
        if (!Override().empty()) return Override();
    }
    const char* configuration = std::getenv("XDG_CONFIG_HOME");
    QString base;
    if (configuration && QDir::isAbsolutePath(QString::fromLocal8Bit(configuration)))
        base = QString::fromLocal8Bit(configuration);
    else
        base = QDir::homePath() + "/.config";
    return (base + "/quellmar").toStdString();
}

void SetHiveFolderOverride(std::string folder) {
    std::lock_guard lock(overrideMutex);
    Override() = std::move(folder);
}

bool LoadHive(const std::string& path, Hive& hive) {
    const QString name = QString::fromStdString(path);
    QFile file(name);
    if (!file.exists()) {
        hive = Hive();
        return true;
    }
    if (!file.open(QIODevice::ReadOnly)) return false;
    if (file.size() > kMaxHiveBytes) {
        file.close();
        SetAside(name, "larger than a hive can be");
        hive = Hive();
        return true;
    }
    const QByteArray text = file.readAll();
    file.close();
    std::string error;
    std::optional<Hive> parsed =
        Hive::FromText(std::string_view(text.constData(), static_cast<size_t>(text.size())), error);
    if (!parsed) {
        SetAside(name, error);
        hive = Hive();
        return true;
    }
    hive = std::move(*parsed);
    return true;
}

bool SaveHive(const std::string& path, const Hive& hive) {
    const QString name = QString::fromStdString(path);
    if (!EnsureFolder(QFileInfo(name).absolutePath())) return false;
    // QSaveFile writes a temporary file beside the hive and renames it over
    // the hive only once every byte is on disk.
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (!file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        file.cancelWriting();
        return false;
    }
    const std::string text = hive.ToText();
    if (file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size())) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace registry
