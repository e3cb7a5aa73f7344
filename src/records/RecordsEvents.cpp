// The history's events: what each transfer left in a device, read back, with the image kept once.

#include "RecordsConnection.h"
#include "RecordsDatabase.h"
#include "RecordsSql.h"

#include <QCryptographicHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
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
    // Read by column name, each looked up once.
    const QSqlRecord columns = q.record();
    const int station = columns.indexOf(QStringLiteral("station")),
              user = columns.indexOf(QStringLiteral("user_name")),
              time = columns.indexOf(QStringLiteral("time_ms")),
              kind = columns.indexOf(QStringLiteral("kind")),
              product = columns.indexOf(QStringLiteral("product")),
              productName = columns.indexOf(QStringLiteral("product_name")),
              version = columns.indexOf(QStringLiteral("version")),
              serial = columns.indexOf(QStringLiteral("serial")),
              radioId = columns.indexOf(QStringLiteral("radio_id")),
              image = columns.indexOf(QStringLiteral("image"));
    while (q.next()) {
        BackupEntry e;
        e.station = q.value(station).toString();
        e.user = q.value(user).toString();
        e.time = QDateTime::fromMSecsSinceEpoch(q.value(time).toLongLong());
        e.command = q.value(kind).toString();
        e.result = QStringLiteral("verified");
        e.device.product = q.value(product).toInt();
        e.device.productName = q.value(productName).toString();
        e.device.version = q.value(version).toString();
        e.device.serial = q.value(serial).toString();
        e.device.radioId = q.value(radioId).toString();
        e.image = q.value(image).toByteArray();
        events.push_back(std::move(e));
    }
    if (q.lastError().isValid())
        return fail(q);
    return events;
}

} // namespace zal
