// The records' history: the backups with their images, the devices they came from and the
// production runs.

#include "RecordsConnection.h"
#include "RecordsDatabase.h"
#include "RecordsSql.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTimeZone>
#include <QVariant>

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

namespace zal {
using namespace records_sql;

namespace {

const char* const kBackupColumns =
    "file, station, user_name, time_ms, command, result, product, product_name, version, serial, radio_id";

BackupEntry BackupFrom(const QSqlQuery& q, bool image) {
    const auto text = [&q](const char* column) { return q.value(QLatin1String(column)).toString(); };
    BackupEntry e;
    e.file = text("file");
    e.station = text("station");
    e.user = text("user_name");
    e.time = QDateTime::fromMSecsSinceEpoch(q.value(QStringLiteral("time_ms")).toLongLong());
    e.command = text("command");
    e.result = text("result");
    e.device.product = q.value(QStringLiteral("product")).toInt();
    e.device.productName = text("product_name");
    e.device.version = text("version");
    e.device.serial = text("serial");
    e.device.radioId = text("radio_id");
    if (image)
        e.image = q.value(QStringLiteral("image")).toByteArray();
    return e;
}

} // namespace

Result<> RecordsDatabase::insertBackup(const BackupEntry& e, bool* added) {
    *added = false;
    const qint64 ms = e.time.toMSecsSinceEpoch();
    const Row row{{"station", Text(e.station)},
                  {"file", Text(e.file)},
                  {"time_ms", ms},
                  {"time_utc", Utc(e.time)},
                  {"command", Text(e.command)},
                  {"result", Text(e.result)},
                  {"user_name", Text(e.user)},
                  {"product", e.device.product},
                  {"product_name", Text(e.device.productName)},
                  {"version", Text(e.device.version)},
                  {"serial", Text(e.device.serial)},
                  {"serial_key", SerialKey(e.device.serial)},
                  {"radio_id", Text(e.device.radioId)},
                  {"device_key", e.device.deviceKey()},
                  {"image", e.image}};
    QSqlQuery* backup = prepared(InsertInto("backups", row, "ON CONFLICT (station, file) DO NOTHING"));
    if (!backup)
        return failure();
    Bind(*backup, row);
    if (!backup->exec())
        return fail(*backup);
    *added = backup->numRowsAffected() > 0;
    if (!*added)
        return {};
    // The device as its newest backup shows it; an older backup imported later leaves it alone.
    const Row seen = DeviceRow(e.device, ms, e.station);
    QSqlQuery* device = prepared(InsertInto("devices", seen, kNewestDeviceState));
    if (!device)
        return failure();
    Bind(*device, seen);
    if (!device->exec())
        return fail(*device);
    return {};
}

Result<int> RecordsDatabase::AddBackups(const std::vector<BackupEntry>& entries) {
    if (!writable())
        return failure();
    Call call(*this);
    if (!call)
        return failure();
    QSqlQuery q(call.db());
    if (!begin(q))
        return fail(q);
    bool ok = true;
    int added = 0;
    for (const BackupEntry& e : entries) {
        call.rearm(); // an index of thousands is many statements, each given its own time
        bool one = false;
        ok = ok && insertBackup(e, &one);
        added += one;
    }
    if (const Result<> ended = end(q, ok); !ended)
        return ended.failure();
    // Many rows at once (an earlier index): the planner learns of them now rather than at the next
    // automatic look, so that looking up a device stays on its index.
    if (added > 100)
        q.exec(QStringLiteral("ANALYZE backups"));
    return added;
}

Result<> RecordsDatabase::SetBackupResult(const QString& station, const QString& file,
                                          const QString& result) {
    if (!writable())
        return failure();
    Call call(*this);
    if (!call)
        return failure();
    QSqlQuery* q = prepared(
        QStringLiteral("UPDATE backups SET result = :result WHERE station = :station AND file = :file"));
    if (!q)
        return failure();
    Bind(*q, {{"result", Text(result)}, {"station", Text(station)}, {"file", Text(file)}});
    return committed(*q, [q] { return q->exec(); });
}

Result<> RecordsDatabase::RecordReplacement(const DeviceIdentity& old, const DeviceIdentity& replacement,
                                            const QString& station) {
    if (!writable())
        return failure();
    Call call(*this);
    if (!call)
        return failure();
    QSqlQuery q(call.db());
    if (!begin(q))
        return fail(q);
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    // A device seen now; for the old one only that it was replaced, for it was not seen.
    const char* seen =
        "ON CONFLICT (device_key) DO UPDATE SET replaced_by = excluded.replaced_by, replaced_ms = "
        "excluded.replaced_ms, radio_id = CASE WHEN excluded.replaced_by = '' THEN excluded.radio_id ELSE "
        "devices.radio_id END, last_seen_ms = CASE WHEN excluded.replaced_by = '' THEN excluded.last_seen_ms "
        "ELSE devices.last_seen_ms END, station = CASE WHEN excluded.replaced_by = '' THEN excluded.station "
        "ELSE devices.station END";
    const auto device = [&](const DeviceIdentity& d, const QString& replacedBy) {
        Row row = DeviceRow(d, now, station);
        row.emplace_back("replaced_by", Text(replacedBy));
        row.emplace_back("replaced_ms", replacedBy.isEmpty() ? 0 : now);
        return row;
    };
    // Codes of an older program's records that name no product are the old device's too.
    bool ok =
        q.prepare(QStringLiteral("UPDATE fixed_codes SET serial = :new_serial, product = :new_product "
                                 "WHERE serial = :old_serial AND (product = :old_product OR product = '')"));
    q.bindValue(QStringLiteral(":new_serial"), Text(replacement.serial));
    q.bindValue(QStringLiteral(":new_product"), Text(replacement.productName));
    q.bindValue(QStringLiteral(":old_serial"), Text(old.serial));
    q.bindValue(QStringLiteral(":old_product"), Text(old.productName));
    ok = ok && q.exec() && Insert(q, "devices", device(old, replacement.deviceKey()), seen) &&
         Insert(q, "devices", device(replacement, {}), seen);
    return end(q, ok);
}

Result<std::vector<BackupEntry>> RecordsDatabase::Backups(const BackupQuery& query) {
    std::vector<BackupEntry> entries;
    if (const Result<> read = Backups(query,
                                      [&entries](const BackupEntry& e) {
                                          entries.push_back(e);
                                          return true;
                                      });
        !read)
        return read.failure();
    return entries;
}

Result<> RecordsDatabase::Backups(const BackupQuery& query,
                                  const std::function<bool(const BackupEntry&)>& each) {
    if (!isOpen())
        return failure();
    const auto [where, values] = QueryConditions(query, QString(), true);
    Call call(*this);
    if (!call)
        return failure();
    const QString columns =
        QLatin1String(kBackupColumns) + (query.images ? QStringLiteral(", image") : QString());
    const auto filtered = [](const QStringList& conditions) {
        return conditions.isEmpty() ? QString()
                                    : QStringLiteral(" WHERE ") + conditions.join(QLatin1String(" AND "));
    };
    if (query.newest > 0) {
        // The newest so many come newest first; they are few, and given oldest first.
        QSqlQuery* q =
            prepared(QStringLiteral("SELECT %1 FROM backups%2 ORDER BY time_ms DESC, id DESC LIMIT %3")
                         .arg(columns, filtered(where))
                         .arg(query.newest));
        if (!q)
            return failure();
        Bind(*q, values);
        if (!q->exec())
            return fail(*q);
        std::vector<BackupEntry> newest;
        while (q->next())
            newest.push_back(BackupFrom(*q, query.images));
        const Result<> read = q->lastError().isValid() ? Result<>(fail(*q)) : Result<>();
        q->finish();
        for (auto e = newest.rbegin(); read && e != newest.rend(); ++e) {
            if (!each(*e))
                break;
        }
        return read;
    }
    // In pages, each a statement of its own that goes on after the last row of the one before: no
    // statement of a long list runs into the server's statement timeout, and none is held whole.
    constexpr int kPage = 5000;
    std::optional<std::pair<qint64, qint64>> after; // the last row's time and id
    for (;;) {
        QStringList conditions = where;
        Row bound = values;
        if (after) {
            // A name once each: a driver may bind by position under the names.
            conditions << QStringLiteral("(time_ms > :after_ms OR (time_ms = :at_ms AND id > :after_id))");
            bound.emplace_back("after_ms", after->first);
            bound.emplace_back("at_ms", after->first);
            bound.emplace_back("after_id", after->second);
        }
        QSqlQuery* q = prepared(QStringLiteral("SELECT id, %1 FROM backups%2 ORDER BY time_ms, id LIMIT %3")
                                    .arg(columns, filtered(conditions))
                                    .arg(kPage));
        if (!q)
            return failure();
        Bind(*q, bound);
        if (!q->exec())
            return fail(*q);
        int rows = 0;
        bool going = true;
        while (going && q->next()) {
            ++rows;
            after = std::pair{q->value(QStringLiteral("time_ms")).toLongLong(),
                              q->value(QStringLiteral("id")).toLongLong()};
            going = each(BackupFrom(*q, query.images));
        }
        const Result<> read = q->lastError().isValid() ? Result<>(fail(*q)) : Result<>();
        // Done with: a statement left open would hold on to what the database was when it ran.
        q->finish();
        if (!read || !going || rows < kPage)
            return read;
        call.rearm(); // the next page has the whole wait again
    }
}

Result<> RecordsDatabase::RemoveBackups(const QString& station, const std::vector<QString>& files) {
    if (!writable())
        return failure();
    Call call(*this);
    if (!call)
        return failure();
    QSqlQuery q(call.db());
    if (!begin(q))
        return fail(q);
    bool ok = q.prepare(QStringLiteral("DELETE FROM backups WHERE station = :station AND file = :file"));
    for (const QString& file : files) {
        q.bindValue(QStringLiteral(":station"), Text(station));
        q.bindValue(QStringLiteral(":file"), file);
        ok = ok && q.exec();
    }
    return end(q, ok);
}

Result<qint64> RecordsDatabase::LastFullPrune(const QString& station) {
    Call call(*this);
    if (!call)
        return failure();
    QSqlQuery q(call.db());
    q.prepare(QStringLiteral("SELECT pruned_ms FROM stations WHERE station = :station"));
    q.bindValue(QStringLiteral(":station"), Text(station));
    if (!q.exec())
        return fail(q);
    return q.next() ? q.value(0).toLongLong() : qint64{0};
}

Result<> RecordsDatabase::SetLastFullPrune(const QString& station, qint64 ms) {
    if (!writable())
        return failure();
    Call call(*this);
    if (!call)
        return failure();
    QSqlQuery q(call.db());
    const Row row{{"station", Text(station)}, {"pruned_ms", ms}};
    q.prepare(
        InsertInto("stations", row, "ON CONFLICT (station) DO UPDATE SET pruned_ms = excluded.pruned_ms"));
    Bind(q, row);
    return committed(q, [&q] { return q.exec(); });
}

Result<int> RecordsDatabase::BackupCount(const DeviceIdentity& device) {
    Call call(*this);
    if (!call)
        return failure();
    // By the serial number's index: a device's few backups, not all of them.
    QSqlQuery* q = prepared(QStringLiteral("SELECT COUNT(*) FROM backups WHERE serial_key = :serial_key AND "
                                           "device_key = :device_key"));
    if (!q)
        return failure();
    Bind(*q, {{"serial_key", SerialKey(device.serial)}, {"device_key", device.deviceKey()}});
    const Result<int> count =
        q->exec() && q->next() ? Result<int>(q->value(0).toInt()) : Result<int>(fail(*q));
    q->finish();
    return count;
}

Result<std::vector<DeviceRecord>> RecordsDatabase::Devices(bool countBackups) {
    if (!isOpen())
        return failure();
    Call call(*this);
    if (!call)
        return failure();
    QSqlQuery q(call.db());
    q.setForwardOnly(true);
    // The codes the line gave a device are kept under its product and serial number; codes of an
    // older program's records whose product nothing names stay under the serial alone.
    std::map<QString, QStringList> codes;
    const auto codesKey = [](const QString& product, const QString& serial) {
        return product.isEmpty() ? SerialKey(serial) : product + u' ' + SerialKey(serial);
    };
    if (!q.exec(QStringLiteral("SELECT serial, code, product FROM fixed_codes WHERE serial <> '' AND "
                               "state = 'written' ORDER BY code"))) {
        return fail(q);
    }
    while (q.next())
        codes[codesKey(q.value(QStringLiteral("product")).toString(),
                       q.value(QStringLiteral("serial")).toString())]
            << QStringLiteral("%1")
                   .arg(q.value(QStringLiteral("code")).toInt(), 4, 16, QChar(u'0'))
                   .toUpper();
    // Counted in one pass over the backups, not one per device; grouped as the index orders them
    // (station first), which spares sorting 100,000 rows, and added up across stations here.
    std::map<QString, int> backups;
    if (countBackups &&
        !q.exec(QStringLiteral(
            "SELECT device_key, COUNT(*) AS backups FROM backups GROUP BY station, device_key"))) {
        return fail(q);
    }
    const int backupKey = q.record().indexOf(QStringLiteral("device_key")),
              backupCount = q.record().indexOf(QStringLiteral("backups"));
    while (countBackups && q.next())
        backups[q.value(backupKey).toString()] += q.value(backupCount).toInt();
    // By serial number as a number: the keys have no leading zeros, so the shorter comes first.
    if (!q.exec(
            QStringLiteral("SELECT product, product_name, version, serial, radio_id, last_seen_ms, station, "
                           "device_key, serial_key, replaced_by, replaced_ms FROM devices "
                           "ORDER BY product_name, LENGTH(serial_key), serial_key"))) {
        return fail(q);
    }
    // Each column found by its name once, not once a row: 5,000 devices list in a blink.
    const QSqlRecord columns = q.record();
    const auto at = [&columns](const char* name) { return columns.indexOf(QLatin1String(name)); };
    const int product = at("product"), productName = at("product_name"), version = at("version"),
              serial = at("serial"), radioId = at("radio_id"), lastSeen = at("last_seen_ms"),
              station = at("station"), deviceKey = at("device_key"), replacedBy = at("replaced_by"),
              replacedMs = at("replaced_ms");
    const auto codesOf = [&codes](const QString& key) {
        const auto found = codes.find(key);
        return found == codes.end() ? QStringList() : found->second;
    };
    const QTimeZone utc = QTimeZone::utc();
    std::vector<DeviceRecord> devices;
    while (q.next()) {
        DeviceRecord d;
        d.device.product = q.value(product).toInt();
        d.device.productName = q.value(productName).toString();
        d.device.version = q.value(version).toString();
        d.device.serial = q.value(serial).toString();
        d.device.radioId = q.value(radioId).toString();
        // In UTC: turning 5,000 times into local time costs more than reading the rows.
        d.lastSeen = QDateTime::fromMSecsSinceEpoch(q.value(lastSeen).toLongLong(), utc);
        d.station = q.value(station).toString();
        if (!countBackups)
            d.backups = -1;
        else if (const auto counted = backups.find(q.value(deviceKey).toString()); counted != backups.end())
            d.backups = counted->second;
        d.replacedBy = q.value(replacedBy).toString();
        if (const qint64 replaced = q.value(replacedMs).toLongLong(); replaced > 0)
            d.replaced = QDateTime::fromMSecsSinceEpoch(replaced, utc);
        if (!codes.empty())
            d.codes = (codesOf(codesKey(d.device.productName, d.device.serial)) +
                       codesOf(codesKey({}, d.device.serial)))
                          .join(u' ');
        devices.push_back(std::move(d));
    }
    return devices;
}

Result<qint64> RecordsDatabase::StartRun(const QString& station, const QString& file,
                                         const QString& product) {
    if (!writable())
        return failure();
    Call call(*this);
    if (!call)
        return failure();
    QSqlQuery q(call.db());
    const Row values{{"station", Text(station)},
                     {"user_name", Text(User())},
                     {"started_utc", Now()},
                     {"file", Text(file)},
                     {"product", Text(product)}};
    q.prepare(InsertInto("production_runs", values, postgres_ ? "RETURNING id" : ""));
    Bind(q, values);
    if (const Result<> made = committed(q, [&q] { return q.exec(); }); !made)
        return made.failure();
    if (postgres_ && !q.next())
        return fail(q);
    return postgres_ ? q.value(0).toLongLong() : q.lastInsertId().toLongLong();
}

Result<> RecordsDatabase::AddRunRow(qint64 run, const QString& station, const ProductionRow& row) {
    if (!writable())
        return failure();
    Call call(*this);
    if (!call)
        return failure();
    QSqlQuery q(call.db());
    const Row values{{"run_id", run},
                     {"time_utc", Utc(row.time)},
                     {"station", Text(station)},
                     {"unit", Text(row.unit)},
                     {"serial", Text(row.serial)},
                     {"product", Text(row.product)},
                     {"version", Text(row.version)},
                     {"radio_id", Text(row.radioId)},
                     {"codes", Text(row.codes)},
                     {"result", Text(row.result)},
                     {"message", Text(row.message)},
                     {"duration_ms", row.durationMs}};
    q.prepare(InsertInto("production_rows", values));
    Bind(q, values);
    return committed(q, [&q] { return q.exec(); });
}

} // namespace zal
