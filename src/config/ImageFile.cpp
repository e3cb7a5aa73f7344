#include "ImageFile.h"

#include "shell/FileSystem.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zal {

namespace {

// Why a file cannot be loaded, looked at once loading failed.
Failure Unloadable(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat status {};
    if (path.isEmpty() || ::stat(name.constData(), &status) != 0) {
        if (path.isEmpty() || errno == ENOENT || errno == ENOTDIR)
            return {Problem::NotFound,
                    QCoreApplication::translate("ImageFile", "Die Datei %1 gibt es nicht.").arg(path)};
        return {Problem::Unreachable,
                QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)))};
    }
    if (S_ISDIR(status.st_mode))
        return {Problem::Invalid,
                QCoreApplication::translate("ImageFile", "%1 ist ein Ordner, keine Konfigurationsdatei.")
                    .arg(path)};
    if (!S_ISREG(status.st_mode))
        return {Problem::Invalid,
                QCoreApplication::translate("ImageFile", "%1 ist keine gewöhnliche Datei.").arg(path)};
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == EACCES || errno == EPERM)
            return {Problem::Unreachable,
                    QCoreApplication::translate("ImageFile", "Keine Berechtigung, %1 zu lesen.").arg(path)};
        return {Problem::Unreachable,
                QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)))};
    }
    ::close(fd);
    if (status.st_size < kImageSize)
        return {Problem::Damaged, QCoreApplication::translate(
                                      "ImageFile", "%1 ist %2 Bytes groß; eine Konfiguration hat %3 Bytes.")
                                      .arg(path)
                                      .arg(status.st_size)
                                      .arg(kImageSize)};
    // It changed between the load and this look: say so in the words of the system.
    return {Problem::Unreachable,
            QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(EIO)))};
}

} // namespace

Result<> LoadImageFile(const QString& path, ConfigImage& image) {
    QFile file;
    if (!IsRegularFile(path) || !OpenForReading(file, path))
        return Unloadable(path);
    image.fill(0);
    const qint64 read = file.read(reinterpret_cast<char*>(image.data()), kImageSize);
    if (read != kImageSize)
        return Unloadable(path);
    return {};
}

Result<> SaveImageFile(const QString& path, const ConfigImage& image) {
    // A save of this file that was killed half way may have left its temporary beside it.
    RemoveLeftoverTemporaries(path);
    return WriteFileAtomically(
        path, QByteArray(reinterpret_cast<const char*>(image.data()), static_cast<qsizetype>(image.size())));
}

} // namespace zal
