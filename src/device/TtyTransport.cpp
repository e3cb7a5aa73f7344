#include "TtyTransport.h"

#include <QCoreApplication>
#include <QFile>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

namespace zal {
namespace {

// 11 bits a byte (start, 8 data, 2 stop) at 57600 baud.
constexpr long kByteMicros = 11'000'000L / 57600;

// Why the tty at path could not be opened (errno cause), in the technician's words.
Failure OpenFailure(int cause, const QString& path) {
    if (cause == EBUSY)
        return {Problem::Busy,
                QCoreApplication::translate("Kbx", "Die KBX an %1 wird von einem anderen Programm verwendet.")
                    .arg(path)};
    if (cause == EACCES || cause == EPERM)
        return {Problem::Unreachable,
                QCoreApplication::translate(
                    "Kbx",
                    "Die KBX an %1 wurde gefunden, aber der Zugriff darauf wurde verweigert. Installieren "
                    "Sie die udev-Regel 70-zal-kbx.rules (sie kommt mit dem Paket) und stecken Sie die KBX "
                    "neu ein, oder treten Sie der Gruppe bei, der %1 gehört (meist dialout).")
                    .arg(path)};
    if (cause == ENOENT || cause == ENOTDIR)
        return {Problem::NotFound,
                QCoreApplication::translate(
                    "Kbx", "%1 gibt es nicht: die für die KBX angegebene Schnittstelle existiert "
                           "nicht. Ist die KBX eingesteckt, und stimmt der Name?")
                    .arg(path)};
    if (cause == EISDIR)
        return {Problem::Invalid, QCoreApplication::translate(
                                      "Kbx", "%1 ist ein Ordner, nicht die serielle Schnittstelle der KBX.")
                                      .arg(path)};
    return {Problem::Unreachable, QCoreApplication::translate("Kbx", "%1 konnte nicht geöffnet werden: %2")
                                      .arg(path, QString::fromLocal8Bit(strerror(cause)))};
}

} // namespace

TtyTransport::TtyTransport(QString path) : path_(std::move(path)) {}

TtyTransport::~TtyTransport() {
    close();
}

void TtyTransport::hungUp(const char* how) {
    if (lineFailure_.isEmpty())
        lineFailure_ = QCoreApplication::translate("Kbx", "Die KBX wurde getrennt (%1 %2).")
                           .arg(path_, QCoreApplication::translate("Kbx", how));
}

Result<> TtyTransport::open() {
    if (openPort())
        return {};
    return Failure{problem_, failure_};
}

bool TtyTransport::openPort() {
    close();
    failure_.clear();
    problem_ = Problem::NotFound;
    lineFailure_.clear();
    if (path_.isEmpty())
        return false;
    fd_ = ::open(QFile::encodeName(path_).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
        const Failure why = OpenFailure(errno, path_);
        problem_ = why.problem;
        failure_ = why.text;
        return false;
    }
    if (!lockExclusively()) {
        close();
        return false;
    }
    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0) {
        problem_ = Problem::Invalid;
        failure_ = QCoreApplication::translate(
                       "Kbx", "%1 ist keine serielle Schnittstelle, also kann keine KBX dahinter sein.")
                       .arg(path_);
        close();
        return false;
    }
    // Raw mode: without it the line discipline would take ETX (0x03) as the interrupt character and
    // flush the input, and would translate or echo bytes.
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::tcsetattr(fd_, TCSANOW, &tio);

    // Low-latency mode makes the driver hand over every byte at once instead of batching; not every
    // driver offers it, and a pseudo-terminal has no serial settings at all.
    serial_struct serial{};
    if (::ioctl(fd_, TIOCGSERIAL, &serial) == 0) {
        serial.flags |= ASYNC_LOW_LATENCY;
        ::ioctl(fd_, TIOCSSERIAL, &serial);
    }
    received_.clear();
    return true;
}

// Three locks, because each keeps out a different kind of second program: the advisory lock on the
// open file (flock) any program that asks for it, also another KBX session of this process; the record
// lock (fcntl) tells the process id of the holder; TIOCEXCL makes the kernel refuse every further open
// of the tty to programs that do not lock at all (except root's).
bool TtyTransport::lockExclusively() {
    struct flock record {};
    record.l_type = F_WRLCK;
    record.l_whence = SEEK_SET;
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0 || ::fcntl(fd_, F_SETLK, &record) != 0) {
        problem_ = Problem::Busy;
        struct flock holder {};
        holder.l_type = F_WRLCK;
        holder.l_whence = SEEK_SET;
        if (::fcntl(fd_, F_GETLK, &holder) == 0 && holder.l_type != F_UNLCK && holder.l_pid > 0)
            failure_ = QCoreApplication::translate(
                           "Kbx", "Die KBX an %1 wird von einem anderen Programm verwendet (Prozess %2).")
                           .arg(path_)
                           .arg(holder.l_pid);
        else
            failure_ =
                QCoreApplication::translate("Kbx", "Die KBX an %1 wird von einem anderen Programm verwendet.")
                    .arg(path_);
        return false;
    }
    exclusive_ = ::ioctl(fd_, TIOCEXCL) == 0;
    return true;
}

void TtyTransport::close() {
    if (fd_ >= 0) {
        // The exclusive mode belongs to the tty, not to this descriptor: it must not outlive our use.
        if (exclusive_)
            ::ioctl(fd_, TIOCNXCL);
        ::close(fd_); // releases both locks
    }
    fd_ = -1;
    exclusive_ = false;
    received_.clear();
}

bool TtyTransport::setBaudRate(int baud) {
    if (fd_ < 0 || baud != 57600)
        return false;
    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0)
        return false;
    ::cfsetispeed(&tio, B57600);
    ::cfsetospeed(&tio, B57600);
    return ::tcsetattr(fd_, TCSANOW, &tio) == 0;
}

bool TtyTransport::setDataCharacteristics(int dataBits, int stopBits, int parity) {
    if (fd_ < 0 || dataBits != 8 || parity != 0)
        return false;
    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0)
        return false;
    tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB);
    tio.c_cflag |= CS8;
    if (stopBits == 2)
        tio.c_cflag |= CSTOPB;
    return ::tcsetattr(fd_, TCSANOW, &tio) == 0;
}

bool TtyTransport::setNoFlowControl() {
    if (fd_ < 0)
        return false;
    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0)
        return false;
    tio.c_cflag &= ~CRTSCTS;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    return ::tcsetattr(fd_, TCSANOW, &tio) == 0;
}

bool TtyTransport::clearDtr() {
    if (fd_ < 0)
        return false;
    // A pseudo-terminal has no modem lines and refuses the call; that is no fault of the connection.
    int bits = TIOCM_DTR;
    if (::ioctl(fd_, TIOCMBIC, &bits) != 0 && errno != ENOTTY && errno != EINVAL)
        return false;
    return true;
}

void TtyTransport::purge(bool receive, bool transmit) {
    if (fd_ < 0)
        return;
    if (receive) {
        received_.clear();
        // Bytes that already reached the tty are dropped too; a pseudo-terminal ignores tcflush for
        // its input, so read them away as well.
        ::tcflush(fd_, transmit ? TCIOFLUSH : TCIFLUSH);
        // Bounded: a peer that writes faster than we read must not keep us here.
        char sink[256];
        for (int i = 0; i < 64 && ::read(fd_, sink, sizeof sink) > 0; ++i) {
        }
    } else if (transmit) {
        ::tcflush(fd_, TCOFLUSH);
    }
}

void TtyTransport::drain() {
    char buffer[512];
    const ssize_t n = ::read(fd_, buffer, sizeof buffer);
    if (n > 0)
        received_.append(buffer, static_cast<qsizetype>(n));
    else if (n < 0 && (errno == EIO || errno == ENXIO || errno == ENODEV))
        hungUp(QT_TRANSLATE_NOOP("Kbx", "meldete einen Ein-/Ausgabefehler"));
}

int TtyTransport::queueStatus() {
    if (fd_ < 0)
        return 0;
    int waiting = 0;
    if (::ioctl(fd_, FIONREAD, &waiting) != 0)
        waiting = 0;
    received_.markReported(received_.size() + waiting);
    return static_cast<int>(received_.size()) + waiting;
}

int TtyTransport::read(char* buffer, int maxBytes) {
    if (fd_ < 0)
        return -1;
    drain();
    return received_.take(buffer, maxBytes);
}

int TtyTransport::write(const QByteArray& bytes) {
    if (fd_ < 0)
        return -1;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && (errno == EIO || errno == ENXIO || errno == ENODEV))
            hungUp(QT_TRANSLATE_NOOP("Kbx", "meldete einen Ein-/Ausgabefehler"));
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return -1;
        pollfd p{fd_, POLLOUT, 0};
        int ready;
        while ((ready = ::poll(&p, 1, 100)) < 0 && errno == EINTR) {
        }
        if (ready <= 0)
            return -1;
    }
    return static_cast<int>(done);
}

void TtyTransport::waitForData(int timeoutMs, int bytesAwaited) {
    if (fd_ < 0 || timeoutMs <= 0)
        return;
    // What is waiting is moved into the buffer first, so that poll sleeps until a new byte arrives.
    drain();
    if (received_.grewSinceReport())
        return;
    pollfd p{fd_, POLLIN, 0};
    const int ready = ::poll(&p, 1, timeoutMs);
    if (ready <= 0)
        return;
    if (!(p.revents & POLLIN)) {
        // Hung up or gone: nothing will come. Said at once, so that the command ends now instead of
        // waiting out every remaining attempt.
        if (p.revents & (POLLHUP | POLLERR | POLLNVAL))
            hungUp(QT_TRANSLATE_NOOP("Kbx", "hat die Verbindung beendet"));
        return;
    }
    // The line delivers no faster than its byte rate: rather than waking for every byte of a reply,
    // sleep through the line time of the bytes still missing (a unit that sends faster has them all
    // there already, and then nothing is slept).
    int waiting = 0;
    ::ioctl(fd_, FIONREAD, &waiting);
    const int missing = bytesAwaited - waiting;
    if (missing > 0) {
        const long micros = std::min<long>(missing * kByteMicros, timeoutMs * 1000L);
        const timespec pause{micros / 1'000'000, (micros % 1'000'000) * 1000};
        ::clock_nanosleep(CLOCK_MONOTONIC, 0, &pause, nullptr);
    }
}

} // namespace zal
