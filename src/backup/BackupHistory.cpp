// A device's history: the images read before each change, and what each transfer left behind.

#include "BackupStore.h"

#include "radio/DeviceIdentity.h"

#include <algorithm>

namespace zal {

Result<> BackupStore::RecordEvent(const ConfigImage& image, const QString& kind, const QDateTime& now) {
    RecordsDatabase* const records = Records(false);
    if (!records)
        return failure_;
    const QByteArray bytes(reinterpret_cast<const char*>(image.data()), static_cast<qsizetype>(image.size()));
    return records->AddEvent(BackupEntry{QString(), IdentifyDevice(image), now, kind, QString(), station_,
                                         RecordsDatabase::User(), bytes});
}

Result<std::vector<BackupEntry>> BackupStore::History(BackupQuery query) {
    RecordsDatabase* const records = Records(false);
    if (!records)
        return failure_;
    query.images = true;
    Result<std::vector<BackupEntry>> backups = records->Backups(query);
    if (!backups)
        return backups;
    Result<std::vector<BackupEntry>> events = records->Events(query);
    if (!events)
        return events;
    std::vector<BackupEntry> merged;
    merged.reserve(backups->size() + events->size());
    // Records of an earlier version hold no events: their backups stand as they are. At the same
    // moment a backup (read before a change) comes before an event (after it).
    std::merge(backups->begin(), backups->end(), events->begin(), events->end(), std::back_inserter(merged),
               [](const BackupEntry& a, const BackupEntry& b) { return a.time < b.time; });
    return merged;
}

} // namespace zal
