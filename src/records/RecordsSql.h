#pragma once

// What the records' sources share about talking to the database.

#include <QDateTime>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

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

inline QString Now() {
    return Utc(QDateTime::currentDateTimeUtc());
}

} // namespace zal::records_sql
