// The history's events: what each transfer left in a device, read back, with the image kept once.

#include "RecordsConnection.h"
#include "RecordsDatabase.h"
#include "RecordsSql.h"

#include <QCryptographicHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace zal {
using namespace records_sql;

Result<> RecordsDatabase::AddEvent(const BackupEntry& e) {
    if (!writable())
        return failure();
    Call call(*this);
    if (!call)
        return failure();
    QSqlQuery q(call.db());
    if (!begin(q))
        return fail(q);
    const qint64 ms = e.time.toMSecsSinceEpoch();
    const QString digest =
        QString::fromLatin1(QCryptographicHash::hash(e.image, QCryptographicHash::Sha256).toHex());
    const auto run = [&q](const char* sql, const QVariantList& values) {
        if (!q.prepare(QString::fromLatin1(sql)))
            return false;
        Bind(q, values);
        return q.exec();
    };
    const DeviceIdentity& d = e.device;
    // The device's row is its newest state: an event older than what the row shows leaves it alone.
    const bool ok =
        run("INSERT INTO device_images (digest, image) VALUES (?, ?) ON CONFLICT (digest) DO NOTHING",
            {digest, e.image}) &&
        run("INSERT INTO device_events (station, time_ms, time_utc, kind, user_name, product, product_name, "
            "version, serial, serial_key, radio_id, device_key, digest) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
            {Text(e.station), ms, Utc(e.time), Text(e.command), Text(e.user), d.product, Text(d.productName),
             Text(d.version), Text(d.serial), SerialKey(d.serial), Text(d.radioId), d.deviceKey(), digest}) &&
        run("INSERT INTO devices (device_key, product, product_name, version, serial, serial_key, radio_id, "
            "last_seen_ms, station) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT (device_key) DO UPDATE "
            "SET "
            "product = excluded.product, product_name = excluded.product_name, version = excluded.version, "
            "serial = excluded.serial, serial_key = excluded.serial_key, radio_id = excluded.radio_id, "
            "last_seen_ms = excluded.last_seen_ms, station = excluded.station "
            "WHERE excluded.last_seen_ms >= devices.last_seen_ms",
            {d.deviceKey(), d.product, Text(d.productName), Text(d.version), Text(d.serial),
             SerialKey(d.serial), Text(d.radioId), ms, Text(e.station)});
    return end(q, ok);
}

Result<std::vector<BackupEntry>> RecordsDatabase::Events(const BackupQuery& query) {
    if (!isOpen())
        return failure();
    const auto [where, values] = QueryConditions(query, QStringLiteral("e."), false);
    Call call(*this);
    if (!call)
        return failure();
    QSqlQuery q(call.db());
    const QString sql =
        QStringLiteral(
            "SELECT e.station, e.user_name, e.time_ms, e.kind, e.product, e.product_name, e.version, "
            "e.serial, e.radio_id, i.image FROM device_events e JOIN device_images i ON i.digest = "
            "e.digest%1 ORDER BY e.time_ms, e.id")
            .arg(where.isEmpty() ? QString()
                                 : QStringLiteral(" WHERE ") + where.join(QLatin1String(" AND ")));
    if (!q.prepare(sql))
        return fail(q);
    Bind(q, values);
    if (!q.exec())
        return fail(q);
    std::vector<BackupEntry> events;
    while (q.next()) {
        BackupEntry e;
        e.station = q.value(0).toString();
        e.user = q.value(1).toString();
        e.time = QDateTime::fromMSecsSinceEpoch(q.value(2).toLongLong());
        e.command = q.value(3).toString();
        e.result = QStringLiteral("verified");
        e.device.product = q.value(4).toInt();
        e.device.productName = q.value(5).toString();
        e.device.version = q.value(6).toString();
        e.device.serial = q.value(7).toString();
        e.device.radioId = q.value(8).toString();
        e.image = q.value(9).toByteArray();
        events.push_back(std::move(e));
    }
    if (q.lastError().isValid())
        return fail(q);
    return events;
}

} // namespace zal
