// Production-line throughput against kbx-sim units at the real line rate: devices per hour for 1 and 4
// units, each device taken away and the next one put in after a fixed swap time, and the per-device
// overhead of the line (opening the file, the record) beyond the write with verification itself.
// Target: overhead under 5 % of the write.
//
// usage: line-bench [DEVICES_PER_UNIT] [SWAP_MS]
//
// Each device put in has a serial number of its own, as on a real line.

#include "config/ImageFile.h"
#include "config/ImageLayout.h"
#include "device/TtyTransport.h"
#include "line/ProductionLine.h"

#include "BenchSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace zal;
using zal::bench::SilentDialogs;

namespace {

// Ctrl+C, SIGTERM or a closed terminal end the run after the devices under way, so that the simulators
// and the temporary folders go with the benchmark.
std::atomic<bool> gStop{false};
void OnStop(int) {
    gStop = true;
}

// A simulated KBX whose device comes and goes through lines on its input (a FIFO, written from any
// thread).
struct SimUnit {
    QProcess process;
    QString pty;
    int input = -1;

    bool start(const QString& fifo) {
        if (::mkfifo(QFile::encodeName(fifo).constData(), 0600) != 0)
            return false;
        process.setProgram(QStringLiteral(ZAL_BIN_DIR "/kbx-sim"));
        process.setArguments({QStringLiteral("--latency-ms"), QStringLiteral("0"), QStringLiteral("--image"),
                              QStringLiteral(ZAL_BIN_DIR "/Default ZAL V22.b")});
        // Opened for reading and writing, which never waits for the other end (QProcess opens the
        // FIFO for the simulator's input in this process, and would wait for a writer). Not inherited by
        // the other units' simulators: the input must end with this process, and the simulator with it,
        // however the benchmark ends.
        input = ::open(QFile::encodeName(fifo).constData(), O_RDWR | O_CLOEXEC);
        process.setStandardInputFile(fifo);
        process.start();
        if (!process.waitForStarted() || input < 0 || !process.waitForReadyRead(5000))
            return false;
        pty = QString::fromLocal8Bit(process.readLine().trimmed().mid(6));
        return !pty.isEmpty();
    }
    void send(const char* line) const { [[maybe_unused]] ssize_t n = ::write(input, line, strlen(line)); }
    ~SimUnit() {
        if (input >= 0)
            ::close(input);
        process.terminate();
        process.waitForFinished(3000);
    }
};

struct Unit {
    SimUnit sim;
    SilentDialogs dialogs;
    std::unique_ptr<TfrmEnterData> editor;
    std::unique_ptr<LineUnit> line;
};

std::unique_ptr<TfrmEnterData> MakeEditor(Dialogs& dialogs, const QString& home, const QString& pty) {
    TfrmEnterData::Options options;
    options.installFolder = QStringLiteral(ZAL_BIN_DIR "/");
    options.platform.applicationData = home;
    options.platform.documents = home;
    options.kbxFactory = [pty] { return std::make_unique<TtyTransport>(pty); };
    return std::make_unique<TfrmEnterData>(dialogs, options);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The write with verification alone, as the line runs it (backup read included), on one unit.
double WriteMs(const QString& home, const QString& file) {
    QTemporaryDir dir;
    SimUnit sim;
    if (!sim.start(dir.filePath(QStringLiteral("in"))))
        return 0;
    SilentDialogs dialogs;
    auto editor = MakeEditor(dialogs, home, sim.pty);
    editor->OpenPath(file);
    std::vector<double> times;
    for (int i = 0; i < 5 && !gStop; ++i) {
        QElapsedTimer t;
        t.start();
        if (!editor->WriteToDevice())
            return 0;
        times.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    return Median(times);
}

// A device as shipped with the given serial number (BCD), written to a file for the simulator's "insert".
QString DeviceImage(const QTemporaryDir& dir, int serial) {
    ConfigImage image{};
    LoadImageFile(QStringLiteral(ZAL_BIN_DIR "/Default ZAL V22.b"), image);
    for (int i = 2, rest = serial; i >= 0; --i, rest /= 100)
        image[static_cast<size_t>(kSerialAddress + i)] =
            static_cast<std::uint8_t>((rest % 100 / 10) << 4 | rest % 10);
    const QString path = dir.filePath(QStringLiteral("device%1.b").arg(serial));
    SaveImageFile(path, image);
    return path;
}

bool Run(int units, int perUnit, int swapMs, double writeMs, const QString& home, const QString& file) {
    QTemporaryDir dir;
    std::atomic<int> nextSerial{1};
    std::vector<std::unique_ptr<Unit>> all;
    for (int i = 0; i < units; ++i) {
        auto u = std::make_unique<Unit>();
        if (!u->sim.start(dir.filePath(QStringLiteral("in%1").arg(i)))) {
            std::fprintf(stderr, "line-bench: kbx-sim did not start\n");
            return false;
        }
        u->editor = MakeEditor(u->dialogs, home, u->sim.pty);
        all.push_back(std::move(u));
    }
    LineLog log;
    const QString logPath = dir.filePath(QStringLiteral("log.csv"));
    log.Open(logPath);
    LineShared shared;
    shared.log = &log;
    shared.count = units * perUnit;
    shared.stopRequested = [] { return gStop.load(); };
    std::vector<std::thread> swaps;
    std::mutex swapLock;
    for (auto& u : all) {
        u->line = std::make_unique<LineUnit>(*u->editor, u->sim.pty, LineOptions{file, 500}, shared);
        const SimUnit* sim = &u->sim;
        // The technician takes the device away and puts the next one in after the swap time.
        u->line->event = [sim, swapMs, &swaps, &swapLock, &dir, &nextSerial](LineEvent event) {
            if (event != LineEvent::RemoveDevice)
                return;
            sim->send("remove\n");
            const QByteArray insert = "insert " + QFile::encodeName(DeviceImage(dir, nextSerial++)) + '\n';
            std::lock_guard lock(swapLock);
            swaps.emplace_back([sim, swapMs, insert] {
                QThread::msleep(static_cast<unsigned long>(swapMs));
                sim->send(insert.constData());
            });
        };
    }
    QElapsedTimer wall;
    wall.start();
    std::vector<std::thread> threads;
    for (auto& u : all)
        threads.emplace_back([&u] { u->line->Run(); });
    for (std::thread& t : threads)
        t.join();
    const double seconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;
    for (std::thread& t : swaps)
        t.join();

    QFile csv(logPath);
    csv.open(QIODevice::ReadOnly);
    csv.readLine();
    std::vector<double> durations;
    int written = 0;
    while (!csv.atEnd()) {
        const QStringList f = QString::fromUtf8(csv.readLine()).trimmed().split(u',');
        written += f.value(6) == QLatin1String("written");
        // The message before it may hold quoted commas: the duration is the last column but one.
        durations.push_back(f.value(f.size() - 2).toDouble());
    }
    const double perDevice = Median(durations);
    std::printf("%d unit%s: %3d devices (%d written) in %6.1f s = %6.0f devices/hour; per device %6.1f ms "
                "against the write's %6.1f ms: overhead %.3f (target < 0.05)\n",
                units, units == 1 ? " " : "s", static_cast<int>(durations.size()), written, seconds,
                durations.size() / seconds * 3600, perDevice, writeMs, perDevice / writeMs - 1);
    std::fflush(stdout);
    return written == shared.count && perDevice / writeMs - 1 < 0.05;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        bool number = false;
        a.toInt(&number);
        if (!number) {
            std::printf("usage: line-bench [DEVICES_PER_UNIT] [SWAP_MS]\n"
                        "Runs production lines on 1 and 4 simulated KBX units at the line rate (default 5\n"
                        "devices per unit, 1000 ms to swap a device) and compares the time per device with\n"
                        "the write with verification alone (target: overhead under 5 %%).\n");
            return a == "--help" || a == "-h" ? 0 : 2;
        }
    }
    const int perUnit = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    const int swapMs = argc > 2 ? std::max(0, atoi(argv[2])) : 1000;
    for (const int s : {SIGINT, SIGTERM, SIGHUP})
        std::signal(s, OnStop);
    QTemporaryDir home;
    // The configuration: a ZAL V22 as shipped.
    const QString file = home.filePath(QStringLiteral("line.Zal"));
    QFile::copy(QStringLiteral(ZAL_BIN_DIR "/Default ZAL V22.b"), file);
    const double writeMs = WriteMs(home.path(), file);
    if (writeMs <= 0 && !gStop) {
        std::fprintf(stderr, "line-bench: the write alone did not succeed\n");
        return 1;
    }
    std::printf("Production line against kbx-sim (pacing on), %d devices per unit, %d ms to swap a device, "
                "polled every 500 ms\n",
                perUnit, swapMs);
    const bool one = !gStop && writeMs > 0 && Run(1, perUnit, swapMs, writeMs, home.path(), file);
    const bool four = !gStop && Run(4, perUnit, swapMs, writeMs, home.path(), file);
    if (gStop) {
        std::fprintf(stderr, "line-bench: interrupted\n");
        return 130;
    }
    return one && four ? 0 : 1;
}
