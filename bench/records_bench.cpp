// The records database under a production floor's load:
// - fixed-code reservations, as the production line makes one per device: the time for one block (its
//   own connection, the look for a free block, the committed insert) with many codes already handed
//   out. Target: under 10 ms a block.
// - backups, with 100,000 recorded (5,000 devices, 20 each): the backup before a write (the file, the
//   records' look for the device's newest backup, the committed record, the device's pruning), target
//   at most 5 ms; the backups of one serial number as `backups list --serial` asks for them, target
//   under 50 ms. The once-a-day pruning of all the station's backups is shown beside them.
// - the whole list for a script, `zalctl backups list --json` of all 100,000: its peak memory, target
//   at most 50 MB.
//
// usage: records-bench [CODES_HANDED_OUT] [ROUNDS] [BACKUPS]
// SQLite in a temporary folder; with ZAL_RECORDS naming a PostgreSQL server (postgresql://...), that
// server too.

#include "BenchRecords.h"
#include "backup/BackupStore.h"
#include "line/ProductionLine.h"
#include "records/RecordsDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <set>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zal;

namespace {

bool Measure(const char* name, const QString& location, int handedOut, int rounds) {
    RecordsDatabase records(location);
    if (!records.isOpen()) {
        std::fprintf(stderr, "records-bench: %s\n", qPrintable(records.error()));
        return false;
    }
    std::set<std::uint16_t> used;
    for (int i = 0; i < handedOut; ++i)
        used.insert(static_cast<std::uint16_t>(0x1000 + i));
    records.ImportUsedCodes(used, QStringLiteral("records-bench"));
    CodeAllocator codes(0x1000, false, location, QStringLiteral("bench"));
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const auto block = codes.Next(QStringLiteral("unit"));
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        if (!block) {
            std::fprintf(stderr, "records-bench: %s\n", qPrintable(block.error()));
            return false;
        }
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    std::printf("%-11s %6d codes handed out: a block in %6.2f ms (median of %d, slowest %6.2f ms), %.2fx the "
                "10 ms target\n",
                name, handedOut, median, rounds, times.back(), median / 10.0);
    return median < 10.0;
}

template <typename Step> double MedianMs(int rounds, Step step) {
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        step(i);
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The peak resident size of a program run, in kB, printed on stdout; its own output thrown away. Run
// from a fresh start of this program: a child forked from the bench itself would count the bench's
// memory as its own.
int PeakOfChild(char* const* command) {
    const pid_t child = ::fork();
    if (child < 0)
        return 1;
    if (child == 0) {
        const int devnull = ::open("/dev/null", O_WRONLY);
        ::dup2(devnull, STDOUT_FILENO);
        ::execv(command[0], command);
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    if (::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return 1;
    std::printf("%ld\n", usage.ru_maxrss);
    return 0;
}

// The most memory a run of the program took, in MB; -1 when it failed.
double PeakMegabytes(const QString& program, const QStringList& arguments, const QString& home,
                     const QString& records) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("ZAL_RECORDS"), records);
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QCoreApplication::applicationFilePath(),
            QStringList{QStringLiteral("--peak"), program} + arguments);
    if (!p.waitForFinished(120000) || p.exitCode() != 0)
        return -1;
    return p.readAllStandardOutput().trimmed().toDouble() / 1024.0;
}

bool MeasureBackups(const char* name, const QString& location, const QString& folder, int count, int rounds) {
    const QString station = QStringLiteral("bench-%1").arg(QCoreApplication::applicationPid());
    RecordsDatabase records(location);
    const std::vector<BackupEntry> entries = bench::BenchBackups(count, station);
    const QDateTime now = QDateTime::currentDateTime();
    if (const Result<int> added = records.AddBackups(entries); !added || *added != count) {
        std::fprintf(stderr, "records-bench: %s\n", qPrintable(added.error()));
        return false;
    }
    BackupStore store(folder, location, station);
    // The first backup of the day goes through all of the station's backups for the policy.
    const double daily =
        MedianMs(1, [&](int) { store.Store(bench::BenchDevice(0, 99), QStringLiteral("write"), now); });
    bool stored = true;
    const double backup = MedianMs(rounds, [&](int i) {
        const Result<StoredBackup> one =
            store.Store(bench::BenchDevice(i * 37 % (count / 20), 100 + i), QStringLiteral("write"), now);
        if (!one || !one->recordsProblem.isEmpty()) {
            std::fprintf(stderr, "records-bench: %s%s\n", qPrintable(one.error()),
                         qPrintable(one ? one->recordsProblem : QString()));
            stored = false;
        }
    });
    std::size_t found = 0;
    const double list = MedianMs(rounds, [&](int i) {
        found = store.List({.serial = QString::number(i * 53 % (count / 20))})
                    .value_or(std::vector<BackupEntry>{})
                    .size();
    });
    // The command as a technician types it: the whole program, from its start to the list printed.
    const QString zalctl = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/zalctl");
    double command = -1;
    bool listed = true;
    if (QFileInfo::exists(zalctl)) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), folder);
        env.insert(QStringLiteral("ZAL_RECORDS"), location);
        command = MedianMs(std::min(rounds, 10), [&](int i) {
            QProcess p;
            p.setProcessEnvironment(env);
            p.start(zalctl, {QStringLiteral("backups"), QStringLiteral("list"), QStringLiteral("--serial"),
                             QString::number(i * 53 % (count / 20))});
            listed = p.waitForFinished(30000) && p.exitCode() == 0 && !p.readAllStandardOutput().isEmpty() &&
                     listed;
        });
    }
    // The whole list for a script: its memory at its peak, the output thrown away.
    double peakMb = -1;
    if (QFileInfo::exists(zalctl))
        peakMb = PeakMegabytes(zalctl,
                               {QStringLiteral("backups"), QStringLiteral("list"), QStringLiteral("--json")},
                               folder, location);
    std::printf("%-11s %6d backups: zalctl backups list --json at most %.1f MB, %.2fx the 50 MB target\n",
                name, count + rounds + 1, peakMb, peakMb / 50.0);
    std::printf("%-11s %6d backups recorded: the backup before a write %6.2f ms, %.2fx the 5 ms target; "
                "the list of one serial number %6.2f ms (%zu found), zalctl backups list --serial %6.1f ms, "
                "%.2fx the 50 ms target; the day's first backup, pruning all, %.0f ms\n",
                name, count, backup, backup / 5.0, list, found, command, std::max(list, command) / 50.0,
                daily);
    if (!listed)
        std::fprintf(stderr, "records-bench: zalctl backups list --serial did not list the backups\n");
    return stored && listed && backup <= 5.0 && std::max(list, command) < 50.0 && peakMb >= 0 &&
           peakMb <= 50.0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc > 2 && std::strcmp(argv[1], "--peak") == 0)
        return PeakOfChild(argv + 2);
    QCoreApplication app(argc, argv);
    const int handedOut = argc > 1 ? std::clamp(atoi(argv[1]), 0, 40000) : 30000;
    const int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 50;
    const int backups = argc > 3 ? std::clamp(atoi(argv[3]), 20, 1000000) : 100000;
    QTemporaryDir folder;
    const QString sqlite = folder.filePath(QStringLiteral("records.sqlite"));
    bool ok = Measure("SQLite", sqlite, handedOut, rounds);
    ok = MeasureBackups("SQLite", sqlite, folder.filePath(QStringLiteral("Backups")), backups, rounds) && ok;
    const QString server = qEnvironmentVariable("ZAL_RECORDS");
    if (server.startsWith(QLatin1String("postgres"))) {
        ok = Measure("PostgreSQL", server, handedOut, rounds) && ok;
        ok = MeasureBackups("PostgreSQL", server, folder.filePath(QStringLiteral("Backups-pg")), backups,
                            rounds) &&
             ok;
    }
    return ok ? 0 : 1;
}
