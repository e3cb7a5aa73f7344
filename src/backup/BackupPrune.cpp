// The backup policy: what is older than the age limit goes, beyond the newest of each device.

#include "BackupNames.h"
#include "BackupStore.h"

#include <QFile>
#include <QLockFile>

#include <algorithm>
#include <map>
#include <set>

namespace zal {
using namespace backup_names;

int BackupStore::Prune(const QDateTime& now) {
    const auto lock = Lock();
    RecordsDatabase* const records = Records(true);
    return records ? PruneAll(*records, now) : 0;
}

int BackupStore::PruneAll(RecordsDatabase& records, const QDateTime& now) {
    // Only devices with a backup past the age limit can lose one: most days that is none, and the
    // records need not be read at all.
    const auto old = records.Backups({.before = now.addDays(-policy_.maxAgeDays), .station = station_});
    if (!old)
        return 0;
    std::set<QString> devices;
    for (const BackupEntry& e : *old)
        devices.insert(e.device.deviceKey());
    int removed = 0;
    for (const QString& device : devices) {
        if (const auto own = records.Backups({.station = station_, .deviceKey = device}))
            removed += PruneEntries(records, *own, now);
    }
    records.SetLastFullPrune(station_, now.toMSecsSinceEpoch());
    return removed;
}

namespace {

// The files the policy no longer keeps: old, and beyond the newest of their device.
std::vector<QString> Expired(const std::vector<BackupEntry>& entries, const BackupPolicy& policy,
                             const QDateTime& now) {
    const qint64 limit = now.addDays(-policy.maxAgeDays).toMSecsSinceEpoch();
    std::vector<qint64> times;
    for (const BackupEntry& e : entries)
        times.push_back(MsecsOf(e));
    const auto old = [&](size_t i) { return entries[i].time.isValid() && times[i] < limit; };
    std::vector<size_t> byTime;
    for (size_t i = 0; i < entries.size(); ++i)
        byTime.push_back(i);
    if (std::none_of(byTime.begin(), byTime.end(), old))
        return {};
    std::stable_sort(byTime.begin(), byTime.end(), [&](size_t a, size_t b) { return times[a] < times[b]; });
    std::map<QString, int> newer; // per device, how many newer backups were seen
    std::vector<QString> gone;
    for (auto i = byTime.rbegin(); i != byTime.rend(); ++i) {
        const int rank = newer[entries[*i].device.deviceKey()]++;
        if (rank >= policy.keepPerDevice && old(*i))
            gone.push_back(entries[*i].file);
    }
    return gone;
}

} // namespace

int BackupStore::PruneEntries(RecordsDatabase& records, const std::vector<BackupEntry>& entries,
                              const QDateTime& now) {
    const std::vector<QString> gone = Expired(entries, policy_, now);
    if (gone.empty() || !records.RemoveBackups(station_, gone))
        return 0;
    // The records first: a file whose record is gone is only a file; a record without its file would
    // still be listed.
    for (const QString& file : gone) {
        if (PlainName(file))
            QFile::remove(folder_ + file);
    }
    return static_cast<int>(gone.size());
}

} // namespace zal
