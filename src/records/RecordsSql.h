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

inline void Bind(QSqlQuery& q, const QVariantList& values) {
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values[i]);
}

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
    QVariantList values;
};
inline Conditions QueryConditions(const BackupQuery& query, const QString& prefix, bool files) {
    Conditions c;
    const auto narrow = [&](const char* condition, const QVariant& value) {
        c.where << prefix + QString::fromLatin1(condition);
        c.values << value;
    };
    if (!query.serial.trimmed().isEmpty())
        narrow("serial_key = ?", SerialKey(query.serial));
    if (query.since.isValid())
        narrow("time_ms >= ?", query.since.toMSecsSinceEpoch());
    if (query.before.isValid())
        narrow("time_ms < ?", query.before.toMSecsSinceEpoch());
    if (!query.station.isEmpty())
        narrow("station = ?", query.station);
    if (!query.deviceKey.isEmpty())
        narrow("device_key = ?", query.deviceKey);
    if (files && !query.file.isEmpty())
        narrow("file = ?", query.file);
    return c;
}

inline QString Now() {
    return Utc(QDateTime::currentDateTimeUtc());
}

} // namespace zal::records_sql
