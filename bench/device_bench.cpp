// Write to device with verification, as the editor runs it (with and without the device backup read
// before it), against kbx-sim at the real line rate:
// the wall time against the line time of the bytes that crossed the line (11 bits a byte at 57600
// baud), and the tool's CPU time as a share of the wall time. Targets, on the tty and on the chip path:
// ratio at most 1.05, CPU under 2 %. The exit code is 1 when a target is missed.
//
// usage: device-bench [ROUNDS] [--ftdi]
//
// With --ftdi the KBX is reached through libftdi1 instead of kbx-sim's tty: run it as bench/ftdi-bench.sh
// does, with libusb replaced by the model of the FT232R chip from the tests.

#include "device/TtyTransport.h"
#include "editor/EnterData.h"

#include "BenchSupport.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace zal;
using zal::bench::CpuSeconds;
using zal::bench::Figures;
using zal::bench::SilentDialogs;

namespace {

bool ftdi = false;

bool Measure(const char* name, const char* image, int product, int rounds, bool backup) {
    QProcess sim;
    QString path;
    if (ftdi) {
        qputenv("ZAL_FAKE_USB", QStringLiteral("kbx,B1,slow=0,image=" ZAL_BIN_DIR "/%1.b")
                                    .arg(QLatin1String(image))
                                    .toLocal8Bit());
    } else {
        sim.setProgram(QStringLiteral(ZAL_BIN_DIR "/kbx-sim"));
        sim.setArguments({QStringLiteral("--latency-ms"), QStringLiteral("0"), QStringLiteral("--image"),
                          QStringLiteral(ZAL_BIN_DIR "/%1.b").arg(QLatin1String(image))});
        sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        sim.start();
        if (!sim.waitForStarted() || !sim.waitForReadyRead(5000)) {
            std::fprintf(stderr, "device-bench: kbx-sim did not start\n");
            return false;
        }
        path = QString::fromLocal8Bit(sim.readLine().trimmed().mid(6));
    }

    QTemporaryDir home;
    SilentDialogs dialogs;
    TfrmEnterData::Options options;
    options.installFolder = QStringLiteral(ZAL_BIN_DIR "/");
    options.platform.applicationData = home.path();
    options.platform.documents = home.path();
    if (ftdi)
        options.kbxFactory = TransportFactoryFor(QString(), QStringLiteral("B1"));
    else
        options.kbxFactory = [path] { return std::make_unique<TtyTransport>(path); };
    TfrmEnterData editor(dialogs, options);
    StoreBackupBeforeWrite(editor.folders().settingsFile, backup);
    editor.SelectProduct(product);

    std::vector<Figures> runs;
    for (int round = 0; round < rounds; ++round) {
        const qint64 bytesBefore = editor.kbx().lineBytes();
        const double cpuBefore = CpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        const bool verified = static_cast<bool>(editor.WriteToDevice());
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!verified) {
            std::fprintf(stderr, "device-bench: %s: write not verified (message %d)\n", name, dialogs.last);
            return false;
        }
        runs.push_back({wall * 1000, bench::LineMs(editor.kbx().lineBytes() - bytesBefore),
                        (CpuSeconds() - cpuBefore) / wall});
    }
    sim.terminate();
    sim.waitForFinished();

    std::sort(runs.begin(), runs.end(),
              [](const Figures& a, const Figures& b) { return a.wallMs < b.wallMs; });
    const Figures& m = runs[runs.size() / 2];
    const bool met = m.wallMs / m.lineMs <= 1.05 && m.cpuShare < 0.02;
    std::printf("%-34s wall %7.1f ms  line %7.1f ms  ratio %.3f (target <= 1.05)  cpu %4.1f %% of wall "
                "(target < 2 %%)%s\n",
                name, m.wallMs, m.lineMs, m.wallMs / m.lineMs, m.cpuShare * 100, met ? "" : "  MISSED");
    return met;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    int rounds = 5;
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--ftdi") == 0)
            ftdi = true;
        else
            rounds = std::max(1, atoi(argv[i]));
    }
    std::printf(
        "Write to device with verification against %s, median of %d\n",
        ftdi
            ? "the modelled FT232R chip through libftdi1 (line rate, latency timer 1 ms, event character ETX)"
            : "kbx-sim (pacing on, device latency 0)",
        rounds);
    // Every case is measured, also after one that missed its target.
    bool ok = Measure("BORA V22", "Default BORA V22", 1, rounds, true);
    ok = Measure("MUVE+", "Default MUVEPLUS V1", 5, rounds, true) && ok;
    ok = Measure("BORA V22, no backup before", "Default BORA V22", 1, rounds, false) && ok;
    ok = Measure("MUVE+, no backup before", "Default MUVEPLUS V1", 5, rounds, false) && ok;
    return ok ? 0 : 1;
}
