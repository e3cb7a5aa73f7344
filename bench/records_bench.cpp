// Fixed-code reservations in the records database, as the production line makes one per device: the
// time for one block (its own connection, the look for a free block, the committed insert) with many
// codes already handed out. Target: under 10 ms a block.
//
// usage: records-bench [CODES_HANDED_OUT] [ROUNDS]
// SQLite in a temporary folder; with ZAL_RECORDS naming a PostgreSQL server (postgresql://...), that
// server too.

#include "line/ProductionLine.h"
#include "records/RecordsDatabase.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <set>
#include <vector>

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
            std::fprintf(stderr, "records-bench: %s\n", qPrintable(codes.why()));
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

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int handedOut = argc > 1 ? std::clamp(atoi(argv[1]), 0, 40000) : 30000;
    const int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 50;
    QTemporaryDir folder;
    bool ok = Measure("SQLite", folder.filePath(QStringLiteral("records.sqlite")), handedOut, rounds);
    const QString server = qEnvironmentVariable("ZAL_RECORDS");
    if (server.startsWith(QLatin1String("postgres")))
        ok = Measure("PostgreSQL", server, handedOut, rounds) && ok;
    return ok ? 0 : 1;
}
