// The records as CSV files for a spreadsheet: every table but the images.

#include "RecordsConnection.h"
#include "RecordsDatabase.h"
#include "RecordsSql.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace zal {
using namespace records_sql;

namespace {

QByteArray CsvField(const QString& text) {
    QByteArray field = text.toUtf8();
    if (field.contains(',') || field.contains('"') || field.contains('\n') || field.contains('\r'))
        field = '"' + field.replace('"', "\"\"") + '"';
    return field;
}

} // namespace

Result<QStringList> RecordsDatabase::ExportCsv(const QString& folder) {
    if (!isOpen())
        return failure();
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir()) {
        return fail(RecordsProblem::Other,
                    QCoreApplication::translate("Records", "%1 ist kein Ordner, der beschrieben werden kann")
                        .arg(folder));
    }
    Call call(*this);
    if (!call)
        return failure();
    // Each table once; an image is the backup file itself, not a spreadsheet's cell.
    static const struct {
        const char* file;
        const char* query;
    } tables[] = {
        {"backups.csv", "SELECT station, file, time_utc, command, result, user_name, product_name, version, "
                        "serial, radio_id, device_key FROM backups ORDER BY time_ms, id"},
        {"devices.csv",
         "SELECT device_key, product_name, version, serial, radio_id, last_seen_ms AS last_seen, station, "
         "replaced_by, replaced_ms AS replaced FROM devices ORDER BY product_name, LENGTH(serial_key), "
         "serial_key"},
        // What each transfer left in a device (its image is in the records, a backup file's twin).
        {"device_events.csv", "SELECT time_utc, station, user_name, kind, product_name, version, serial, "
                              "radio_id, device_key, digest FROM device_events ORDER BY time_ms, id"},
        {"stations.csv", "SELECT station, pruned_ms AS pruned FROM stations ORDER BY station"},
        {"schema_version.csv", "SELECT version FROM schema_version"},
        {"production_runs.csv",
         "SELECT id, station, user_name, started_utc, file, product FROM production_runs "
         "ORDER BY id"},
        {"production_rows.csv",
         "SELECT run_id, time_utc, station, unit, serial, product, version, radio_id, "
         "codes, result, message, duration_ms FROM production_rows ORDER BY run_id, time_utc"},
        {"fixed_codes.csv", "SELECT code, block_first, state, station, unit, serial, product, reserved_at "
                            "FROM fixed_codes ORDER BY code"},
    };
    QStringList written;
    for (const auto& table : tables) {
        QSqlQuery q(call.db());
        q.setForwardOnly(true);
        if (!q.exec(QLatin1String(table.query))) {
            return fail(q);
        }
        const QString path = QDir(folder).filePath(QLatin1String(table.file));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return fail(RecordsProblem::Other,
                        QCoreApplication::translate("Records", "%1 kann nicht geschrieben werden: %2")
                            .arg(path, file.errorString()));
        }
        const QSqlRecord columns = q.record();
        QByteArrayList header;
        for (int i = 0; i < columns.count(); ++i)
            header << columns.fieldName(i).toUtf8();
        bool ok = file.write(header.join(',') + '\n') > 0;
        while (ok && q.next()) {
            call.rearm();
            QByteArrayList row;
            for (int i = 0; i < columns.count(); ++i) {
                const QString name = columns.fieldName(i);
                if (name == QLatin1String("code") || name == QLatin1String("block_first"))
                    row << QStringLiteral("%1")
                               .arg(q.value(i).toInt(), 4, 16, QChar(u'0'))
                               .toUpper()
                               .toUtf8();
                else if (name == QLatin1String("last_seen") || name == QLatin1String("replaced") ||
                         name == QLatin1String("pruned"))
                    // A time as a time; 0 is "never" (not replaced, never pruned).
                    row << (q.value(i).toLongLong() == 0
                                ? QByteArray()
                                : Utc(QDateTime::fromMSecsSinceEpoch(q.value(i).toLongLong())).toUtf8());
                else
                    row << CsvField(q.value(i).toString());
            }
            ok = file.write(row.join(',') + '\n') > 0;
        }
        if (!ok || !file.flush()) {
            return fail(RecordsProblem::Other,
                        QCoreApplication::translate("Records", "%1 kann nicht geschrieben werden: %2")
                            .arg(path, file.errorString()));
        }
        written << path;
    }
    return written;
}

} // namespace zal
