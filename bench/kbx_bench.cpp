// Measures KBX transfers against kbx-sim at the real line rate: the wall time of each transfer against
// the time its bytes need on the line (11 bits a byte at 57600 baud), and the tool's CPU time as a share
// of the wall time. Targets: ratio at most 1.10, CPU at most 5 %.
//
// usage: kbx-bench [ROUNDS]   (kbx-sim is taken from beside this program's build)

#include "config/ConfigImage.h"
#include "device/KbxInterface.h"
#include "device/TtyTransport.h"

#include "BenchSupport.h"

#include <QCoreApplication>
#include <QProcess>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

using namespace zal;
using zal::bench::CpuSeconds;
using zal::bench::Figures;

namespace {

Figures Measure(TKbxInterface& kbx, const std::function<bool()>& transfer) {
    const qint64 bytesBefore = kbx.lineBytes();
    const double cpuBefore = CpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    if (!transfer())
        std::fprintf(stderr, "kbx-bench: transfer failed\n");
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = CpuSeconds() - cpuBefore;
    return {wall * 1000, bench::LineMs(kbx.lineBytes() - bytesBefore), cpu / wall};
}

void Report(const char* name, std::vector<Figures> runs) {
    std::sort(runs.begin(), runs.end(),
              [](const Figures& a, const Figures& b) { return a.wallMs < b.wallMs; });
    const Figures& median = runs[runs.size() / 2];
    double worstCpu = 0;
    for (const Figures& f : runs)
        worstCpu = std::max(worstCpu, f.cpuShare);
    std::printf(
        "%-28s wall %7.1f ms  line %7.1f ms  ratio %.3f (target <= 1.10)  cpu %4.1f %% of wall, worst "
        "%4.1f %% (target <= 5 %%)\n",
        name, median.wallMs, median.lineMs, median.wallMs / median.lineMs, median.cpuShare * 100,
        worstCpu * 100);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    QProcess sim;
    sim.setProgram(QStringLiteral(ZAL_BIN_DIR "/kbx-sim"));
    sim.setArguments({QStringLiteral("--latency-ms"), QStringLiteral("0")});
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start();
    if (!sim.waitForStarted() || !sim.waitForReadyRead(5000)) {
        std::fprintf(stderr, "kbx-bench: kbx-sim did not start\n");
        return 1;
    }
    const QString path = QString::fromLocal8Bit(sim.readLine().trimmed().mid(6));

    TKbxInterface kbx([path] { return std::make_unique<TtyTransport>(path); }, SystemClock());
    if (kbx.Open() != kbxOk || kbx.ConnectDevice() != kbxOk) {
        std::fprintf(stderr, "kbx-bench: no connection to kbx-sim\n");
        return 1;
    }

    ConfigImage image{}, source;
    for (int i = 0; i < kImageSize; ++i)
        source[i] = static_cast<std::uint8_t>(i);
    std::vector<Figures> reads, writes;
    for (int round = 0; round < rounds; ++round) {
        reads.push_back(Measure(kbx, [&] { return kbx.ReadImage(image) == kbxOk; }));
        writes.push_back(Measure(kbx, [&] {
            return kbx.WriteBlock(source, 0x00, 0xFF) == kbxOk && kbx.ReadImage(image) == kbxOk &&
                   image == source;
        }));
    }
    kbx.Close();
    std::printf("KBX transfers against kbx-sim (pacing on, device latency 0), median of %d rounds\n", rounds);
    Report("ReadImage", reads);
    Report("WriteBlock 00-FF + ReadImage", writes);

    sim.terminate();
    sim.waitForFinished();
    return 0;
}
