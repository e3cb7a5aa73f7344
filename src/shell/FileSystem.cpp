#include "FileSystem.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <pthread.h>
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

// The file a path names after all symbolic links: a save must replace the file a link points to, not
// the link. A link to a file that does not exist yet names the file to create.
QByteArray FollowLinks(QByteArray path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        QByteArray link(static_cast<qsizetype>(st.st_size > 0 ? st.st_size : 4096), '\0');
        const ssize_t n = ::readlink(path.constData(), link.data(), static_cast<size_t>(link.size()));
        if (n <= 0)
            return path;
        link.truncate(n);
        if (!link.startsWith('/')) {
            const qsizetype slash = path.lastIndexOf('/');
            link.prepend(slash >= 0 ? path.left(slash + 1) : QByteArray());
        }
        path = link;
    }
    return path;
}

// For a file in a folder that takes no new files: written over from the start, then cut to length.
bool OverwriteInPlace(const QByteArray& target, const QByteArray& data) {
    const int fd = ::open(target.constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = WriteAll(fd, data) && ::ftruncate(fd, static_cast<off_t>(data.size())) == 0 && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    return ok;
}

// A save's temporary file is ".NAME.zal-PID-XXXXXX" beside its target: hidden from file dialogs, and
// with the process id, so that a later save can tell a killed program's leftover from a save under way.
QByteArray TemporaryPrefix(const QByteArray& target) {
    // At most 200 bytes of the name: with ".", ".zal-", the process id and "-XXXXXX" the temporary
    // name stays within the 255 bytes a file system takes for any name it took for the target.
    constexpr qsizetype kNameBytes = 200;
    const qsizetype slash = target.lastIndexOf('/');
    return target.left(slash + 1) + '.' + target.mid(slash + 1).left(kNameBytes) + ".zal-";
}

// A target that is no regular file: a FIFO, a terminal, /dev/stdout, /dev/null, a device, a socket.
// Such a target is never replaced by a file of its own: a FIFO or a character device is written
// through (the reader gets the bytes, /dev/full says it is full), anything else is refused. Nothing
// when the target is a regular file or missing.
std::optional<Result<>> WriteThrough(const QByteArray& native, const QByteArray& data) {
    struct stat st {};
    const bool special = native.startsWith("/dev/") || native.startsWith("/proc/");
    if (::stat(native.constData(), &st) != 0 || (S_ISREG(st.st_mode) && !special))
        return std::nullopt;
    const auto refused = [](int cause, const QString& why) {
        errno = cause;
        return Result<>(Failure{Problem::Invalid, why});
    };
    if (S_ISDIR(st.st_mode))
        return refused(EISDIR, QString::fromLocal8Bit(std::strerror(EISDIR)));
    if (S_ISBLK(st.st_mode) || S_ISSOCK(st.st_mode))
        return refused(EINVAL, QCoreApplication::translate("Files", "ein Blockgerät oder Socket wird weder "
                                                                    "beschrieben noch ersetzt"));
    // Not waiting for a reader that may never come: a FIFO nobody reads is refused at once.
    // (A regular file behind /dev/stdout, a shell's redirection, is written from its start.)
    const int fd = ::open(native.constData(),
                          O_WRONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | (S_ISREG(st.st_mode) ? O_TRUNC : 0));
    if (fd < 0)
        return errno == ENXIO ? refused(ENXIO, QCoreApplication::translate("Files", "niemand liest daraus"))
                              : refused(errno, QString::fromLocal8Bit(std::strerror(errno)));
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    bool ok = WriteAll(fd, data);
    const int cause = errno;
    ok = (::close(fd) == 0) && ok;
    if (ok)
        return Result<>();
    errno = cause;
    return Result<>(Failure{FileProblem(cause), QString::fromLocal8Bit(std::strerror(cause))});
}

// Signals that end the program hold off while a temporary file exists, so that Ctrl+C or a closed
// terminal ends it after the rename or the cleanup, never between them.
class EndingSignalsHeld {
public:
    EndingSignalsHeld() {
        sigset_t ending;
        sigemptyset(&ending);
        for (const int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
            sigaddset(&ending, s);
        ::pthread_sigmask(SIG_BLOCK, &ending, &before_);
    }
    ~EndingSignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &before_, nullptr); }
    EndingSignalsHeld(const EndingSignalsHeld&) = delete;
    EndingSignalsHeld& operator=(const EndingSignalsHeld&) = delete;

private:
    sigset_t before_;
};

} // namespace

QString NameFromNative(const QByteArray& native) {
    if (QByteArrayView(native).isValidUtf8())
        return QString::fromUtf8(native);
    QString name;
    qsizetype i = 0;
    const auto continuation = [&native](qsizetype at) {
        return at < native.size() && (static_cast<unsigned char>(native[at]) & 0xC0) == 0x80;
    };
    while (i < native.size()) {
        const auto lead = static_cast<unsigned char>(native[i]);
        const qsizetype length = lead < 0x80                    ? 1
                                 : lead >= 0xC2 && lead <= 0xDF ? 2
                                 : lead >= 0xE0 && lead <= 0xEF ? 3
                                 : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                                : 0;
        bool valid = length > 0;
        for (qsizetype k = 1; valid && k < length; ++k)
            valid = continuation(i + k);
        // Overlong forms, surrogates and code points beyond U+10FFFF are no UTF-8 either.
        if (valid && length >= 3)
            valid = QByteArrayView(native.constData() + i, length).isValidUtf8();
        if (valid) {
            name += QString::fromUtf8(native.constData() + i, length);
            i += length;
        } else {
            name += QChar(static_cast<char16_t>(0xDC00 + lead));
            ++i;
        }
    }
    return name;
}

QByteArray NativeName(const QString& name) {
    QByteArray native;
    qsizetype start = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        const bool escaped = c >= 0xDC80 && c <= 0xDCFF && (i == 0 || !name[i - 1].isHighSurrogate());
        if (!escaped)
            continue;
        native += QStringView(name).mid(start, i - start).toUtf8();
        native += static_cast<char>(c - 0xDC00);
        start = i + 1;
    }
    return native + QStringView(name).mid(start).toUtf8();
}

QStringList ArgumentsFromNative(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << NameFromNative(QByteArray(argv[i]));
    return arguments;
}

bool PathExists(const QString& path) {
    struct stat st {};
    return !path.isEmpty() && ::lstat(NativeName(path).constData(), &st) == 0;
}

bool IsRegularFile(const QString& path) {
    struct stat st {};
    return !path.isEmpty() && ::stat(NativeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

bool SameFile(const QString& a, const QString& b) {
    struct stat first {
    }, second{};
    return ::stat(NativeName(a).constData(), &first) == 0 &&
           ::stat(NativeName(b).constData(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

int RemoveLeftoverTemporaries(const QString& path) {
    const QByteArray prefix = TemporaryPrefix(FollowLinks(NativeName(path)));
    const qsizetype slash = prefix.lastIndexOf('/');
    const QByteArray folder = slash >= 0 ? prefix.left(slash + 1) : QByteArray("./");
    const QByteArray namePrefix = prefix.mid(slash + 1);
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return 0;
    int removed = 0;
    const time_t now = ::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (!name.startsWith(namePrefix))
            continue;
        const QByteArray rest = name.mid(namePrefix.size()); // PID-XXXXXX
        const qsizetype dash = rest.indexOf('-');
        bool numeric = false;
        const long pid = rest.left(dash).toLong(&numeric);
        if (dash < 0 || !numeric || rest.size() - dash - 1 != 6 || pid == ::getpid())
            continue;
        struct stat st {};
        const QByteArray file = folder + name;
        if (::lstat(file.constData(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        // A save takes milliseconds: a temporary of a process that is gone, or one older than ten
        // minutes (its process id may have been given to another program since), is a leftover.
        const bool gone = ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
        if ((gone || now - st.st_mtime > 600) && ::unlink(file.constData()) == 0)
            ++removed;
    }
    ::closedir(dir);
    return removed;
}

bool IsWrittenThrough(const QString& path) {
    const QByteArray native = NativeName(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0)
        return false;
    return !S_ISREG(st.st_mode) || native.startsWith("/dev/") || native.startsWith("/proc/");
}

bool IsReadOnlyFile(const QString& path) {
    const QByteArray native = NativeName(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0)
        return false;
    return !(st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) || ::access(native.constData(), W_OK) != 0;
}

Problem FileProblem(int cause) {
    switch (cause) {
    case ENOSPC:
    case EDQUOT:
        return Problem::Full;
    case EACCES:
    case EROFS:
    case EPERM:
        return Problem::ReadOnly;
    default:
        return Problem::Unreachable;
    }
}

Result<> WriteFileAtomically(const QString& path, const QByteArray& data) {
    const auto failed = [](int cause) {
        errno = cause;
        return Failure{FileProblem(cause), QString::fromLocal8Bit(std::strerror(cause))};
    };
    if (std::optional<Result<>> through = WriteThrough(NativeName(path), data))
        return *through;
    const QByteArray target = FollowLinks(NativeName(path));
    if (IsReadOnlyFile(path))
        return failed(EACCES);
    struct stat existing {};
    const bool exists = ::stat(target.constData(), &existing) == 0;

    const EndingSignalsHeld held;
    QByteArray temp = TemporaryPrefix(target) + QByteArray::number(::getpid()) + "-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        const int cause = errno;
        if (!exists)
            return failed(cause);
        if (!OverwriteInPlace(target, data))
            return failed(errno);
        return {};
    }
    const mode_t mode = exists ? (existing.st_mode & 07777) : (0666 & ~CurrentUmask() & ~mode_t(S_IWOTH));
    if (exists && (existing.st_uid != ::geteuid() || existing.st_gid != ::getegid())) [[maybe_unused]]
        const int owned = ::fchown(fd, existing.st_uid, existing.st_gid);
    bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, data) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok)
        ok = ::rename(temp.constData(), target.constData()) == 0;
    if (!ok) {
        const int failure = errno; // what failed, for the caller's message
        ::unlink(temp.constData());
        return failed(failure);
    }
    return {};
}

bool OpenForReading(QFile& file, const QString& path) {
    const int fd = ::open(NativeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

bool ReadWholeFile(const QString& path, QByteArray& data) {
    QFile file;
    if (!OpenForReading(file, path))
        return false;
    data = file.readAll();
    return file.error() == QFileDevice::NoError;
}

bool MakeFolder(const QString& path) {
    const QByteArray native = NativeName(WithoutTrailingSeparator(path));
    if (::mkdir(native.constData(), 0755) == 0)
        return true;
    struct stat st {};
    return ::stat(native.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

Result<> CopyFileReplacing(const QString& source, const QString& target) {
    QByteArray data;
    if (!ReadWholeFile(source, data)) {
        const int cause = errno;
        return Failure{cause == ENOENT ? Problem::NotFound : FileProblem(cause),
                       source + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(cause))};
    }
    return WriteFileAtomically(target, data);
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
