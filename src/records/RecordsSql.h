#pragma once

// What the records' sources share about talking to the database.

#include <QDateTime>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <vector>

namespace zal::records_sql {

// A text that is never NULL to the database (a null QString binds as NULL).
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

inline QString Now() {
    return Utc(QDateTime::currentDateTimeUtc());
}

} // namespace zal::records_sql
