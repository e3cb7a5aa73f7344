#include "FileSystem.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
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
    const qsizetype slash = target.lastIndexOf('/');
    return target.left(slash + 1) + '.' + target.mid(slash + 1) + ".zal-";
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

int RemoveLeftoverTemporaries(const QString& path) {
    const QByteArray prefix = TemporaryPrefix(FollowLinks(QFile::encodeName(path)));
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

bool IsReadOnlyFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    constexpr auto anyWrite = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return !(info.permissions() & anyWrite) || ::access(QFile::encodeName(path).constData(), W_OK) != 0;
}

bool WriteFileAtomically(const QString& path, const QByteArray& data) {
    const QByteArray target = FollowLinks(QFile::encodeName(path));
    if (IsReadOnlyFile(path))
        return false;
    struct stat existing {};
    const bool exists = ::stat(target.constData(), &existing) == 0;

    RemoveLeftoverTemporaries(path);
    const EndingSignalsHeld held;
    QByteArray temp = TemporaryPrefix(target) + QByteArray::number(::getpid()) + "-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return exists && OverwriteInPlace(target, data);
    const mode_t mode = exists ? (existing.st_mode & 07777) : (0666 & ~CurrentUmask() & ~mode_t(S_IWOTH));
    if (exists && (existing.st_uid != ::geteuid() || existing.st_gid != ::getegid())) [[maybe_unused]]
        const int owned = ::fchown(fd, existing.st_uid, existing.st_gid);
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
