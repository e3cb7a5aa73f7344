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
    const DeviceIdentity& d = e.device;
    // The device's row is its newest state: an event older than what the row shows leaves it alone.
    const bool ok = Insert(q, "device_images", {{"digest", digest}, {"image", e.image}},
                           "ON CONFLICT (digest) DO NOTHING") &&
                    Insert(q, "device_events",
                           {{"station", Text(e.station)},
                            {"time_ms", ms},
                            {"time_utc", Utc(e.time)},
                            {"kind", Text(e.command)},
                            {"user_name", Text(e.user)},
                            {"product", d.product},
                            {"product_name", Text(d.productName)},
                            {"version", Text(d.version)},
                            {"serial", Text(d.serial)},
                            {"serial_key", SerialKey(d.serial)},
                            {"radio_id", Text(d.radioId)},
                            {"device_key", d.deviceKey()},
                            {"digest", digest}}) &&
                    Insert(q, "devices", DeviceRow(d, ms, e.station), kNewestDeviceState);
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
