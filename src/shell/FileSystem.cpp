#include "FileSystem.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zal {
namespace {

mode_t CurrentUmask() {
    // umask can only be read by setting it; the program is single-threaded when it does this.
    const mode_t mask = ::umask(0022);
    ::umask(mask);
    return mask;
}

bool WriteAll(int fd, const QByteArray& data) {
    const char* p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

} // namespace

bool IsReadOnlyFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    constexpr auto anyWrite = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return !(info.permissions() & anyWrite) || ::access(QFile::encodeName(path).constData(), W_OK) != 0;
}

bool WriteFileAtomically(const QString& path, const QByteArray& data) {
    const QByteArray target = QFile::encodeName(path);
    if (IsReadOnlyFile(path))
        return false;

    QByteArray temp = target + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
    const mode_t mode = 0666 & ~CurrentUmask() & ~mode_t(S_IWOTH);
    bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, data) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok)
        ok = ::rename(temp.constData(), target.constData()) == 0;
    if (!ok)
        ::unlink(temp.constData());
    return ok;
}

bool ReadWholeFile(const QString& path, QByteArray& data) {
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        return false;
    data = file.readAll();
    return file.error() == QFileDevice::NoError;
}

bool MakeFolder(const QString& path) {
    const QByteArray native = QFile::encodeName(WithoutTrailingSeparator(path));
    if (::mkdir(native.constData(), 0755) == 0)
        return true;
    return QFileInfo(path).isDir();
}

bool CopyFileReplacing(const QString& source, const QString& target) {
    QByteArray data;
    return ReadWholeFile(source, data) && WriteFileAtomically(target, data);
}

QString WithoutTrailingSeparator(QString path) {
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}

QString WithTrailingSeparator(QString path) {
    if (!path.endsWith(u'/'))
        path += u'/';
    return path;
}

} // namespace zal
