#pragma once

// What the records' sources share about talking to the database.

#include "RecordsDatabase.h"
#include "radio/DeviceIdentity.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <utility>
#include <vector>

namespace zal::records_sql {

// A text that is never NULL to the database (a null QString binds as NULL).
// A PostgreSQL server's URL, as opposed to an SQLite file.
inline bool IsServerLocation(const QString& location) {
    return location.startsWith(QLatin1String("postgresql://")) ||
           location.startsWith(QLatin1String("postgres://"));
}

inline QString Text(const QString& text) {
    return text.isNull() ? QStringLiteral("") : text;
}

// Times are kept in UTC with their zone, whichever station's clock wrote them.
inline QString Utc(const QDateTime& time) {
    return time.toUTC().toString(Qt::ISODate);
}

// A row to write, each value beside its column's name: the statement and its binds are made from the
// same list, so that no value can land in another column.
using Row = std::vector<std::pair<const char*, QVariant>>;

// "INSERT INTO table (a, b) VALUES (:a, :b)", then tail (an ON CONFLICT clause, RETURNING).
inline QString InsertInto(const char* table, const Row& row, const char* tail = "") {
    QStringList names, binds;
    for (const auto& [name, value] : row) {
        names << QLatin1String(name);
        binds << u':' + QLatin1String(name);
    }
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)%4")
        .arg(QLatin1String(table), names.join(QStringLiteral(", ")), binds.join(QStringLiteral(", ")),
             *tail ? u' ' + QLatin1String(tail) : QString());
}

// Each value to the placeholder of its name (":a").
inline void Bind(QSqlQuery& q, const Row& row) {
    for (const auto& [name, value] : row)
        q.bindValue(u':' + QLatin1String(name), value);
}

// Prepares the row's INSERT and runs it.
inline bool Insert(QSqlQuery& q, const char* table, const Row& row, const char* tail = "") {
    if (!q.prepare(InsertInto(table, row, tail)))
        return false;
    Bind(q, row);
    return q.exec();
}

// A device's row as a backup or an event shows it, seen at ms.
inline Row DeviceRow(const DeviceIdentity& d, qint64 ms, const QString& station) {
    return {{"device_key", d.deviceKey()}, {"product", d.product},     {"product_name", Text(d.productName)},
            {"version", Text(d.version)},  {"serial", Text(d.serial)}, {"serial_key", SerialKey(d.serial)},
            {"radio_id", Text(d.radioId)}, {"last_seen_ms", ms},       {"station", Text(station)}};
}

// The device's row is its newest state: one seen earlier than what the row shows leaves it alone.
inline constexpr const char* kNewestDeviceState =
    "ON CONFLICT (device_key) DO UPDATE SET product = excluded.product, product_name = "
    "excluded.product_name, version = excluded.version, serial = excluded.serial, serial_key = "
    "excluded.serial_key, radio_id = excluded.radio_id, last_seen_ms = excluded.last_seen_ms, station = "
    "excluded.station WHERE excluded.last_seen_ms >= devices.last_seen_ms";

// Codes as the log writes them: four hex digits in capitals, space-separated.
inline QString CodeList(const std::vector<std::uint16_t>& codes) {
    QStringList texts;
    for (const std::uint16_t code : codes)
        texts << QStringLiteral("%1").arg(code, 4, 16, QLatin1Char('0')).toUpper();
    return texts.join(u' ');
}

// The conditions a query names, over the columns of a table of backups or of events (prefix: the
// table's alias with its dot, or none); a file only where the table has files.
struct Conditions {
    QStringList where;
    Row values;
};
inline Conditions QueryConditions(const BackupQuery& query, const QString& prefix, bool files) {
    Conditions c;
    // Each bound by a name of its own (":since", ":before" on the same column).
    const auto narrow = [&](const char* column, const char* op, const char* name, const QVariant& value) {
        c.where << QStringLiteral("%1%2 %3 :%4")
                       .arg(prefix, QLatin1String(column), QLatin1String(op), QLatin1String(name));
        c.values.emplace_back(name, value);
    };
    if (!query.serial.trimmed().isEmpty())
        narrow("serial_key", "=", "serial_key", SerialKey(query.serial));
    if (query.since.isValid())
        narrow("time_ms", ">=", "since", query.since.toMSecsSinceEpoch());
    if (query.before.isValid())
        narrow("time_ms", "<", "before", query.before.toMSecsSinceEpoch());
    if (!query.station.isEmpty())
        narrow("station", "=", "station", query.station);
    if (!query.deviceKey.isEmpty())
        narrow("device_key", "=", "device_key", query.deviceKey);
    if (files && !query.file.isEmpty())
        narrow("file", "=", "file", query.file);
    return c;
}

inline QString Now() {
    return Utc(QDateTime::currentDateTimeUtc());
}

} // namespace zal::records_sql
