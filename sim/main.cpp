// kbx-sim: a KBX programming unit with a device behind it, on a pseudo-terminal. Point the tool at it
// with ZAL_KBX_PORT=<path>.
//
// Lines on standard input: "code XXXX" makes a transmitter code arrive over the air, "save [FILE]" writes
// the memory to FILE or the --save file at once (and prints "saved"), "remove" takes the device away
// (device commands get NAK, as with --no-device), "insert [IMAGE]" puts a device back, with the memory
// of IMAGE when given (each prints "removed" or "inserted"), "quit" ends the simulator. End of input
// ends it too when standard input is a pipe or a terminal.

#include "KbxSimEngine.h"
#include "SimLine.h"
#include "config/ImageFile.h"
#include "device/KbxFrame.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

using namespace zal;
using namespace zal::sim;

namespace {

int gSignalPipe[2] = {-1, -1};

void OnSignal(int) {
    const char c = 1;
    [[maybe_unused]] ssize_t n = ::write(gSignalPipe[1], &c, 1);
}

std::int64_t NowMicros() {
    static const auto start = std::chrono::steady_clock::now();
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start)
        .count();
}

QByteArray Printable(const QByteArray& bytes) {
    QByteArray out;
    for (char c : bytes) {
        if (c == kStx)
            out += "<STX>";
        else if (c == kEtx)
            out += "<ETX>";
        else if (c == kAck)
            out += "<ACK>";
        else if (c == kNak)
            out += "<NAK>";
        else if (c >= 0x20 && c < 0x7F)
            out += c;
        else
            out += "<" + QByteArray::number(static_cast<unsigned char>(c), 16) + ">";
    }
    return out;
}

// Standard input ends the simulator at its end only when somebody can type into it or pipe into it;
// a background job's /dev/null or a file must not.
bool StdinEndsTheRun() {
    struct stat st {};
    if (::fstat(STDIN_FILENO, &st) != 0)
        return false;
    return S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode) || ::isatty(STDIN_FILENO);
}

bool ParseRange(const QString& text, std::pair<int, int>& range) {
    const QStringList parts = text.split(u'-');
    bool ok1 = false, ok2 = true;
    range.first = parts.value(0).toInt(&ok1, 16);
    range.second = parts.size() > 1 ? parts[1].toInt(&ok2, 16) : range.first;
    return ok1 && ok2 && parts.size() <= 2 && range.first >= 0 && range.second <= 0xFF &&
           range.first <= range.second;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kbx-sim"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("KBX programming unit and device simulator on a pseudo-terminal."));
    parser.addHelpOption();
    const QCommandLineOption image(QStringLiteral("image"),
                                   "Device memory from this 256-byte file (else all zero).", "FILE");
    const QCommandLineOption save(QStringLiteral("save"), "Save the device memory to this file on exit.",
                                  "FILE");
    const QCommandLineOption link(QStringLiteral("link"), "Make PATH a symbolic link to the pseudo-terminal.",
                                  "PATH");
    const QCommandLineOption noDevice(QStringLiteral("no-device"),
                                      "A KBX without a device: device commands get NAK.");
    const QCommandLineOption noKbx(QStringLiteral("silent"), "Nothing answers at all, as an unpowered KBX.");
    const QCommandLineOption latency(QStringLiteral("latency-ms"),
                                     "Device latency before each reply (default 2).", "MS", "2");
    const QCommandLineOption noPacing(QStringLiteral("no-pacing"),
                                      "Answer at once instead of at the line rate.");
    const QCommandLineOption seed(QStringLiteral("seed"), "Seed of the fault injection (default 1).", "N",
                                  "1");
    const QCommandLineOption nakRate(QStringLiteral("nak-rate"), "Share of commands refused with NAK.", "R",
                                     "0");
    const QCommandLineOption silenceRate(QStringLiteral("silence-rate"),
                                         "Share of commands lost without reply.", "R", "0");
    const QCommandLineOption corruptRate(QStringLiteral("corrupt-rate"),
                                         "Share of framed replies with a bad checksum.", "R", "0");
    const QCommandLineOption truncateRate(QStringLiteral("truncate-rate"),
                                          "Share of framed replies cut short.", "R", "0");
    const QCommandLineOption lowerCase(QStringLiteral("lower-case"),
                                       "Hexadecimal digits of replies in lower case.");
    const QCommandLineOption lowerCaseData(QStringLiteral("lower-case-data"),
                                           "Data digits of replies in lower case, with a checksum that "
                                           "matches them.");
    const QCommandLineOption lateRate(QStringLiteral("late-rate"),
                                      "Share of replies that come after the host's wait.", "R", "0");
    const QCommandLineOption lateMs(QStringLiteral("late-ms"), "How late those replies come (default 270).",
                                    "MS", "270");
    const QCommandLineOption babble(QStringLiteral("babble"),
                                    "Send bytes without end, at the line rate (a wrong serial device).");
    const QCommandLineOption disconnect(QStringLiteral("disconnect-after"),
                                        "Stop answering after N commands.", "N");
    const QCommandLineOption refuseWrites(QStringLiteral("refuse-writes"), "Answer every write with NAK.");
    const QCommandLineOption protect(QStringLiteral("protect"),
                                     "Accept writes to FIRST-LAST (hex) but store nothing.", "RANGE");
    const QCommandLineOption learnCode(QStringLiteral("learn-code"),
                                       "Transmitter code that arrives while receiving.", "CODE");
    const QCommandLineOption afterPolls(QStringLiteral("after-polls"),
                                        "... after this many polls (default 0).", "N", "0");
    const QCommandLineOption info(QStringLiteral("info"), "The 11-character answer to \"v\".", "TEXT",
                                  "KBX-SIM 1.0");
    const QCommandLineOption trace(QStringLiteral("trace"),
                                   "Log every frame in both directions with timestamps.");
    parser.addOptions({image,     save,       link,          noDevice,    noKbx,       latency,
                       noPacing,  seed,       nakRate,       silenceRate, corruptRate, truncateRate,
                       lowerCase, disconnect, refuseWrites,  protect,     learnCode,   afterPolls,
                       info,      trace,      lowerCaseData, lateRate,    lateMs,      babble});
    parser.process(app);

    KbxSimOptions options;
    options.devicePresent = !parser.isSet(noDevice);
    options.seed = parser.value(seed).toUInt();
    options.nakRate = parser.value(nakRate).toDouble();
    options.silenceRate = parser.value(silenceRate).toDouble();
    options.corruptRate = parser.value(corruptRate).toDouble();
    options.truncateRate = parser.value(truncateRate).toDouble();
    options.lowerCaseHex = parser.isSet(lowerCase);
    options.lowerCaseData = parser.isSet(lowerCaseData);
    options.lateRate = parser.value(lateRate).toDouble();
    options.lateMs = parser.value(lateMs).toDouble();
    const bool babbling = parser.isSet(babble);
    options.refuseWrites = parser.isSet(refuseWrites);
    options.disconnectAfter = parser.isSet(noKbx)        ? 0
                              : parser.isSet(disconnect) ? parser.value(disconnect).toInt()
                                                         : -1;
    options.learnCode = parser.value(learnCode);
    options.learnAfterPolls = parser.value(afterPolls).toInt();
    options.info = parser.value(info).toLatin1();
    for (const QString& range : parser.values(protect)) {
        std::pair<int, int> r;
        if (!ParseRange(range, r)) {
            std::fprintf(stderr, "kbx-sim: bad range '%s' (use e.g. 10-1E)\n", qPrintable(range));
            return 2;
        }
        options.writeProtected.push_back(r);
    }

    KbxSimEngine engine(options);
    if (parser.isSet(image) && !LoadImageFile(parser.value(image), engine.memory())) {
        std::fprintf(stderr, "kbx-sim: cannot load %s\n", qPrintable(parser.value(image)));
        return 1;
    }
    SimLine line(engine, !parser.isSet(noPacing), parser.value(latency).toDouble());
    const bool tracing = parser.isSet(trace);

    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        std::perror("kbx-sim: pseudo-terminal");
        return 1;
    }
    const QByteArray slaveName = ::ptsname(master);
    // Holding the slave open keeps the master from reporting a hang-up whenever the tool closes its
    // side, and lets the line start in raw mode before the tool sets it.
    const int slave = ::open(slaveName.constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    if (slave >= 0 && ::tcgetattr(slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(slave, TCSANOW, &tio);
    }
    QByteArray shownPath = slaveName;
    const QString linkPath = parser.value(link);
    if (!linkPath.isEmpty()) {
        const QByteArray native = QFile::encodeName(linkPath);
        if (QFileInfo(linkPath).isSymLink())
            ::unlink(native.constData());
        if (::symlink(slaveName.constData(), native.constData()) != 0) {
            std::perror("kbx-sim: --link");
            return 1;
        }
        shownPath = native;
    }

    if (::pipe2(gSignalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return 1;
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGPIPE, SIG_IGN);

    std::printf("ready %s\n", shownPath.constData());
    std::fflush(stdout);

    const bool stdinEnds = StdinEndsTheRun();
    bool stdinOpen = true;
    QByteArray stdinLine;
    bool running = true;
    while (running) {
        pollfd fds[3] = {{master, POLLIN, 0}, {gSignalPipe[0], POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        const int count = stdinOpen ? 3 : 2;
        // Wake exactly when the next reply byte is due: a millisecond timer would hold every byte back
        // by up to a millisecond.
        timespec timeout{};
        timespec* wait = nullptr;
        if (babbling) {
            timeout.tv_nsec = 10'000'000; // about the line rate: 52 bytes every 10 ms
            wait = &timeout;
        } else if (const auto next = line.nextArrival()) {
            const std::int64_t micros = std::max<std::int64_t>(0, *next - NowMicros());
            timeout.tv_sec = micros / 1'000'000;
            timeout.tv_nsec = (micros % 1'000'000) * 1000;
            wait = &timeout;
        }
        const int ready = ::ppoll(fds, count, wait, nullptr);
        if (ready < 0 && errno != EINTR)
            break;

        if (fds[1].revents & POLLIN)
            break;
        if (fds[0].revents & POLLIN) {
            char buffer[512];
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n > 0) {
                const QByteArray bytes(buffer, static_cast<qsizetype>(n));
                if (tracing)
                    std::fprintf(stderr, "%10.3f host> %s\n", NowMicros() / 1000.0,
                                 Printable(bytes).constData());
                line.hostWrite(bytes, NowMicros());
            }
        }
        if (count == 3 && (fds[2].revents & (POLLIN | POLLHUP))) {
            char buffer[256];
            const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
            if (n <= 0) {
                stdinOpen = false;
                running = !stdinEnds;
            } else {
                stdinLine.append(buffer, static_cast<qsizetype>(n));
                qsizetype nl;
                while ((nl = stdinLine.indexOf('\n')) >= 0) {
                    const QByteArray command = stdinLine.left(nl).trimmed();
                    stdinLine.remove(0, nl + 1);
                    if (command == "quit") {
                        running = false;
                    } else if (command == "save" || command.startsWith("save ")) {
                        // The device memory now, without ending: what a test compares a write with.
                        const QString target = command.size() > 4
                                                   ? QString::fromLocal8Bit(command.mid(5).trimmed())
                                                   : parser.value(save);
                        const bool saved = !target.isEmpty() && SaveImageFile(target, engine.memory());
                        std::printf("%s\n", saved ? "saved" : "not saved");
                        std::fflush(stdout);
                    } else if (command == "remove") {
                        engine.options().devicePresent = false;
                        std::printf("removed\n");
                        std::fflush(stdout);
                    } else if (command == "insert" || command.startsWith("insert ")) {
                        // A device with the memory of IMAGE, or the one that was taken away.
                        bool ok = true;
                        if (command.size() > 6) {
                            ConfigImage image{};
                            ok = static_cast<bool>(
                                LoadImageFile(QString::fromLocal8Bit(command.mid(7).trimmed()), image));
                            if (ok)
                                engine.memory() = image;
                        }
                        engine.options().devicePresent = ok;
                        std::printf("%s\n", ok ? "inserted" : "not inserted");
                        std::fflush(stdout);
                    } else if (command.startsWith("code "))
                        engine.injectCode(QString::fromLatin1(command.mid(5).trimmed()));
                    else if (!command.isEmpty())
                        std::fprintf(stderr,
                                     "kbx-sim: unknown input '%s' (code XXXX, save [FILE], remove, insert "
                                     "[IMAGE], quit)\n",
                                     command.constData());
                }
            }
        }
        if (babbling) {
            static const QByteArray noise(52, 'x');
            [[maybe_unused]] ssize_t n =
                ::write(master, noise.constData(), static_cast<size_t>(noise.size()));
        }
        // Each byte leaves at its own time, as it would from the unit's UART.
        const QByteArray due = line.take(NowMicros());
        if (!due.isEmpty()) {
            if (tracing)
                std::fprintf(stderr, "%10.3f kbx < %s\n", NowMicros() / 1000.0, Printable(due).constData());
            [[maybe_unused]] ssize_t n = ::write(master, due.constData(), static_cast<size_t>(due.size()));
        }
    }

    int result = 0;
    if (parser.isSet(save) && !SaveImageFile(parser.value(save), engine.memory())) {
        std::fprintf(stderr, "kbx-sim: cannot save %s\n", qPrintable(parser.value(save)));
        result = 1;
    }
    if (!linkPath.isEmpty())
        ::unlink(QFile::encodeName(linkPath).constData());
    if (slave >= 0)
        ::close(slave);
    ::close(master);
    return result;
}
