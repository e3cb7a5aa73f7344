// soak-bench: write-with-verification cycles, as the editor runs them, against kbx-sim with seeded
// random faults (refusals, lost commands, bad checksums, cut replies, a unit that stops answering).
// It counts what each cycle came to and fails when a cycle reported success while the device holds
// something else, or when the program leaks (memory or open files growing from cycle 100 on).
//
// usage: soak-bench [--cycles N] [--seed S]     (default 2000 cycles)

#include "config/ImageFile.h"
#include "device/TtyTransport.h"
#include "editor/EnterData.h"

#include "BenchSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <map>
#include <random>
#include <unistd.h>

using namespace zal;

namespace {

// Resident memory in KiB and open file descriptors of this process.
long ResidentKiB() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

int OpenFiles() {
    return static_cast<int>(
        QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size());
}

// One kbx-sim with its device memory in a file and faults drawn from the seed; stopped, it saves the
// memory, which is then what the device truly holds.
class Device {
public:
    Device(const QString& memory, std::mt19937& random) : memory_(memory) {
        std::uniform_real_distribution<double> rate(0.0, 0.015);
        QStringList args{"--no-pacing",
                         "--image",
                         memory,
                         "--save",
                         memory,
                         "--seed",
                         QString::number(random()),
                         "--nak-rate",
                         QString::number(rate(random)),
                         "--silence-rate",
                         QString::number(rate(random) / 4),
                         "--corrupt-rate",
                         QString::number(rate(random)),
                         "--truncate-rate",
                         QString::number(rate(random))};
        if (std::uniform_int_distribution<int>(0, 9)(random) == 0) // now and then the unit goes away
            args << "--disconnect-after"
                 << QString::number(std::uniform_int_distribution<int>(5, 60)(random));
        sim_.setProgram(QStringLiteral(ZAL_BIN_DIR "/kbx-sim"));
        sim_.setArguments(args);
        sim_.start();
        if (sim_.waitForStarted() && sim_.waitForReadyRead(5000))
            path_ = QString::fromLocal8Bit(sim_.readLine().trimmed().mid(6));
    }
    ~Device() { stop(); }
    QString path() const { return path_; }
    // What the device holds now.
    ConfigImage memory() {
        sim_.write("save\n");
        QByteArray line;
        while (!line.startsWith("saved") && !line.startsWith("not saved") && sim_.waitForReadyRead(5000))
            line = sim_.readLine().trimmed();
        ConfigImage image{};
        LoadImageFile(memory_, image);
        return image;
    }
    ConfigImage stop() {
        if (sim_.state() != QProcess::NotRunning) {
            sim_.terminate();
            sim_.waitForFinished(5000);
        }
        ConfigImage image{};
        LoadImageFile(memory_, image);
        return image;
    }

private:
    QString memory_, path_;
    QProcess sim_;
};

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    int cycles = 2000;
    unsigned seed = 1;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (qstrcmp(argv[i], "--cycles") == 0)
            cycles = QByteArray(argv[i + 1]).toInt();
        else if (qstrcmp(argv[i], "--seed") == 0)
            seed = QByteArray(argv[i + 1]).toUInt();
    }
    std::mt19937 random(seed);
    QTemporaryDir home;
    const QString memory = home.filePath(QStringLiteral("device.bin"));
    QFile::copy(QStringLiteral(ZAL_BIN_DIR "/Default ZAL V22.b"), memory);

    QString port;
    bench::SilentDialogs dialogs;
    TfrmEnterData::Options options;
    options.installFolder = QStringLiteral(ZAL_BIN_DIR "/");
    options.platform.applicationData = home.path();
    options.platform.documents = home.path();
    options.kbxFactory = [&port] { return std::make_unique<TtyTransport>(port); };
    TfrmEnterData editor(dialogs, options);
    editor.SelectProduct(kZal);

    std::map<int, int> outcomes; // by the last message number (10619 is a verified write)
    int wrongSuccess = 0;
    long rssAt100 = 0;
    int filesAt100 = 0;
    auto device = std::make_unique<Device>(memory, random);
    for (int cycle = 0; cycle < cycles; ++cycle) {
        if (cycle % 25 == 0 && cycle > 0) { // a fresh unit with other faults now and then
            device.reset();
            device = std::make_unique<Device>(memory, random);
        }
        port = device->path();
        editor.form().replaceText(editor.form()["edtNoShortTransm"], QString::number(cycle % 200));
        editor.form().replaceText(editor.form()["edtNoLongTransm"], QString::number(random() % 200));
        dialogs.last = 0;
        const bool verified = static_cast<bool>(editor.WriteToDevice());
        ++outcomes[dialogs.last];
        if (verified) {
            // What the device truly holds must be what was written, over the ranges a write sends.
            const ConfigImage truth = device->memory();
            for (const AddressRange& r : VerifiedRanges(kZal)) {
                if (!SameRange(truth, editor.working(), r.first, r.last)) {
                    ++wrongSuccess;
                    std::fprintf(stderr, "cycle %d: success reported, device differs in %02X-%02X\n", cycle,
                                 r.first, r.last);
                    break;
                }
            }
        }
        if (cycle == 100) {
            rssAt100 = ResidentKiB();
            filesAt100 = OpenFiles();
        }
    }
    device.reset();
    const long rss = ResidentKiB();
    const int files = OpenFiles();
    std::printf("soak: %d write-with-verification cycles against kbx-sim with random faults (seed %u)\n",
                cycles, seed);
    for (const auto& [id, count] : outcomes)
        std::printf("  %5d  %s\n", count,
                    id == 10619 ? "verified (10619)"
                                : qPrintable(QStringLiteral("failed, message %1").arg(id)));
    std::printf("success reported while the device differs: %d\n", wrongSuccess);
    const bool leaked = cycles > 100 && (rss - rssAt100 > 4096 || files > filesAt100);
    if (cycles > 100)
        std::printf("memory %ld KiB at cycle 100, %ld KiB at the end; open files %d and %d%s\n", rssAt100,
                    rss, filesAt100, files, leaked ? "  LEAK" : "");
    return wrongSuccess == 0 && !leaked ? 0 : 1;
}
