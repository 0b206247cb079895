#include "platform/registry/hive_file.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace registry {
namespace {

// A hive holds a few dozen short values; anything near this size is not one.
constexpr size_t kMaxHiveBytes = 16 * 1024 * 1024;

// Another process holds a hive's lock only while it rewrites the file.
constexpr auto kLockWait = std::chrono::seconds(10);
constexpr auto kLockRetry = std::chrono::milliseconds(5);

enum class Read { Whole, Missing, TooLarge, Failed, NotAFile };

// Reads at most kMaxHiveBytes of the file at `path`, which must be a regular
// file (opening a pipe never waits for a writer).
Read ReadHiveFile(const std::string& path, std::string& text) {
    const os::Descriptor file{open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    if (file.fd < 0) return errno == ENOENT ? Read::Missing : Read::Failed;
    struct stat status {};
    if (fstat(file.fd, &status) != 0) return Read::Failed;
    if (!S_ISREG(status.st_mode)) return Read::NotAFile;
    text.clear();
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = read(file.fd, buffer, sizeof buffer);
        if (got == 0) return Read::Whole;
        if (got < 0) {
            if (errno == EINTR) continue;
            return Read::Failed;
        }
        if (text.size() + static_cast<size_t>(got) > kMaxHiveBytes) return Read::TooLarge;
        text.append(buffer, static_cast<size_t>(got));
    }
}

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
    hive = Hive();
    std::string text;
    switch (ReadHiveFile(path, text)) {
        case Read::Missing:
            return true;
        case Read::Failed:
            return false;
        case Read::NotAFile:
            std::fprintf(stderr, "registry: %s is not a regular file; it is left alone\n", path.c_str());
            return false;
        case Read::TooLarge:
            SetAside(name, "larger than a hive can be");
            return true;
        case Read::Whole:
            break;
    }
    std::string error;
    std::optional<Hive> parsed = Hive::FromText(text, error);
    if (!parsed) {
        SetAside(name, error);
        return true;
    }
    hive = std::move(*parsed);
    return true;
}

bool SaveHive(const std::string& path, const Hive& hive) {
    const std::string text = hive.ToText();
    // The next read would set the whole root aside.
    if (text.size() > kMaxHiveBytes) return false;
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
    if (file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size())) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

HiveLock::HiveLock(const std::string& path) {
    if (!EnsureFolder(QFileInfo(QString::fromStdString(path)).absolutePath())) return;
    fd_.fd = open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd_.fd < 0) return;
    const auto giveUp = std::chrono::steady_clock::now() + kLockWait;
    while (!(held_ = flock(fd_.fd, LOCK_EX | LOCK_NB) == 0)) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() > giveUp) return;
        std::this_thread::sleep_for(kLockRetry);
    }
}

}  // namespace registry
