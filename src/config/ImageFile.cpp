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

bool LoadImageFile(const QString& path, ConfigImage& image) {
    QFile file;
    if (!IsRegularFile(path) || !OpenForReading(file, path))
        return false;
    image.fill(0);
    const qint64 read = file.read(reinterpret_cast<char*>(image.data()), kImageSize);
    return read == kImageSize;
}

QString ImageFileProblem(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat status {};
    if (path.isEmpty() || ::stat(name.constData(), &status) != 0) {
        if (path.isEmpty() || errno == ENOENT || errno == ENOTDIR)
            return QCoreApplication::translate("ImageFile", "Die Datei %1 gibt es nicht.").arg(path);
        return QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
    }
    if (S_ISDIR(status.st_mode))
        return QCoreApplication::translate("ImageFile", "%1 ist ein Ordner, keine Konfigurationsdatei.")
            .arg(path);
    if (!S_ISREG(status.st_mode))
        return QCoreApplication::translate("ImageFile", "%1 ist keine gewöhnliche Datei.").arg(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == EACCES || errno == EPERM)
            return QCoreApplication::translate("ImageFile", "Keine Berechtigung, %1 zu lesen.").arg(path);
        return QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
    }
    ::close(fd);
    if (status.st_size < kImageSize)
        return QCoreApplication::translate("ImageFile",
                                           "%1 ist %2 Bytes groß; eine Konfiguration hat %3 Bytes.")
            .arg(path)
            .arg(status.st_size)
            .arg(kImageSize);
    return QString();
}

Result<> SaveImageFile(const QString& path, const ConfigImage& image) {
    // A save of this file that was killed half way may have left its temporary beside it.
    RemoveLeftoverTemporaries(path);
    return WriteFileAtomically(
        path, QByteArray(reinterpret_cast<const char*>(image.data()), static_cast<qsizetype>(image.size())));
}

} // namespace zal
