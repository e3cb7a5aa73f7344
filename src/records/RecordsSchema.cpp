// The records' schema: the migrations that take it from each version to the next, run in order when
// the records are opened.

#include "RecordsConnection.h"
#include "RecordsDatabase.h"
#include "RecordsSql.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <vector>

namespace zal {
using namespace records_sql;
using records_connection::NotConfirmed;

namespace {

// Each migration takes the schema from its index to the next version, in one transaction.
const std::vector<std::vector<const char*>>& Migrations() {
    static const std::vector<std::vector<const char*>> migrations = {
        {
            "CREATE TABLE fixed_codes (code INTEGER PRIMARY KEY, block_first INTEGER NOT NULL, "
            "state TEXT NOT NULL, station TEXT NOT NULL, unit TEXT NOT NULL, serial TEXT NOT NULL, "
            "reserved_at TEXT NOT NULL)",
        },
        {
            // Where the search for the next free block from a first code goes on: every code between the
            // first code and this one is taken or in a run too short for a block.
            "CREATE TABLE code_cursors (first_code INTEGER NOT NULL, plus INTEGER NOT NULL, "
            "next_code INTEGER NOT NULL, PRIMARY KEY (first_code, plus))",
        },
        {
            // The backups' index, each with its image; serial_key is the serial without leading zeros in
            // capitals, by which every form of a serial number finds its device.
            "CREATE TABLE backups (id %ID%, station TEXT NOT NULL, file TEXT NOT NULL, "
            "time_ms BIGINT NOT NULL, time_utc TEXT NOT NULL, command TEXT NOT NULL, result TEXT NOT NULL, "
            "user_name TEXT NOT NULL, product INTEGER NOT NULL, product_name TEXT NOT NULL, "
            "version TEXT NOT NULL, serial TEXT NOT NULL, serial_key TEXT NOT NULL, radio_id TEXT NOT NULL, "
            "device_key TEXT NOT NULL, image %BLOB% NOT NULL, UNIQUE (station, file))",
            "CREATE INDEX backups_device ON backups (station, device_key, time_ms)",
            "CREATE INDEX backups_serial ON backups (serial_key, time_ms)",
            "CREATE INDEX backups_time ON backups (station, time_ms)",
            "CREATE TABLE devices (device_key TEXT PRIMARY KEY, product INTEGER NOT NULL, "
            "product_name TEXT NOT NULL, version TEXT NOT NULL, serial TEXT NOT NULL, "
            "serial_key TEXT NOT NULL, radio_id TEXT NOT NULL, last_seen_ms BIGINT NOT NULL, "
            "station TEXT NOT NULL)",
            "CREATE TABLE stations (station TEXT PRIMARY KEY, pruned_ms BIGINT NOT NULL)",
            "CREATE TABLE production_runs (id %ID%, station TEXT NOT NULL, user_name TEXT NOT NULL, "
            "started_utc TEXT NOT NULL, file TEXT NOT NULL, product TEXT NOT NULL)",
            "CREATE TABLE production_rows (run_id BIGINT NOT NULL REFERENCES production_runs (id), "
            "time_utc TEXT NOT NULL, station TEXT NOT NULL, unit TEXT NOT NULL, serial TEXT NOT NULL, "
            "product TEXT NOT NULL, version TEXT NOT NULL, radio_id TEXT NOT NULL, codes TEXT NOT NULL, "
            "result TEXT NOT NULL, message TEXT NOT NULL, duration_ms BIGINT NOT NULL)",
            "CREATE INDEX production_rows_serial ON production_rows (serial)",
        },
        {
            // The backups window lists the newest backups of all stations first.
            "CREATE INDEX backups_recent ON backups (time_ms, id)",
        },
        {
            // A device is its product and serial number: a BORA and a ZAL of the same serial are two.
            // Codes given before are matched to the product their production row names.
            "ALTER TABLE fixed_codes ADD COLUMN product TEXT NOT NULL DEFAULT ''",
            "UPDATE fixed_codes SET product = COALESCE((SELECT r.product FROM production_rows r "
            "WHERE r.serial = fixed_codes.serial AND r.codes LIKE '%' || %HEX% || '%' "
            "ORDER BY r.time_utc DESC LIMIT 1), '') WHERE serial <> ''",
        },
        {
            // A device that another took the place of (a broken transmitter replaced): the device key
            // of the one that took its fixed codes, and when.
            "ALTER TABLE devices ADD COLUMN replaced_by TEXT NOT NULL DEFAULT ''",
            "ALTER TABLE devices ADD COLUMN replaced_ms BIGINT NOT NULL DEFAULT 0",
        },
        {
            // What each write, restore, replacement, default write and line device left in the device,
            // read back: the history's events beside the images read before a change. An image is kept
            // once, by its digest, however many events leave the same bytes.
            "CREATE TABLE device_images (digest TEXT PRIMARY KEY, image %BLOB% NOT NULL)",
            "CREATE TABLE device_events (id %ID%, station TEXT NOT NULL, time_ms BIGINT NOT NULL, "
            "time_utc TEXT NOT NULL, kind TEXT NOT NULL, user_name TEXT NOT NULL, product INTEGER NOT NULL, "
            "product_name TEXT NOT NULL, version TEXT NOT NULL, serial TEXT NOT NULL, "
            "serial_key TEXT NOT NULL, radio_id TEXT NOT NULL, device_key TEXT NOT NULL, "
            "digest TEXT NOT NULL REFERENCES device_images (digest))",
            "CREATE INDEX device_events_device ON device_events (device_key, time_ms)",
            "CREATE INDEX device_events_serial ON device_events (serial_key, time_ms)",
        },
    };
    return migrations;
}

} // namespace

int RecordsDatabase::CurrentSchemaVersion() {
    return static_cast<int>(Migrations().size());
}

QStringList RecordsDatabase::MigrationStatements(int version, bool postgres) {
    QStringList statements;
    if (version < 0 || version >= CurrentSchemaVersion())
        return statements;
    for (const char* statement : Migrations()[static_cast<size_t>(version)]) {
        QString sql = QString::fromLatin1(statement);
        sql.replace(QLatin1String("%ID%"),
                    postgres ? QLatin1String("BIGSERIAL PRIMARY KEY") : QLatin1String("INTEGER PRIMARY KEY"));
        sql.replace(QLatin1String("%BLOB%"), postgres ? QLatin1String("BYTEA") : QLatin1String("BLOB"));
        // A code as the log writes it: four hex digits in capitals.
        sql.replace(QLatin1String("%HEX%"),
                    postgres ? QLatin1String("upper(lpad(to_hex(fixed_codes.code), 4, '0'))")
                             : QLatin1String("printf('%04X', fixed_codes.code)"));
        statements << sql;
    }
    return statements;
}

Result<> RecordsDatabase::migrate(Connection& c, QSqlQuery& q) {
    using records_connection::Commit;
    const auto failed = [&c](const QSqlQuery& query) {
        return Failure{Classify(query.lastError(), c), query.lastError().text()};
    };
    // Each statement that commits: on a server, one the standby does not confirm fails the migration.
    const auto commit = [&](const QString& statement) -> Result<> {
        const Commit done = records_connection::CommitDurably(c, [&] { return q.exec(statement); });
        if (done == Commit::Done)
            return {};
        if (done == Commit::Failed)
            return failed(q);
        return Failure{RecordsProblem::Unconfirmed, NotConfirmed(c)};
    };
    if (c.postgres) {
        // Stations starting at the same moment would create the version table twice (PostgreSQL's
        // IF NOT EXISTS does not hold against a concurrent create): one at a time, until the schema
        // stands. The lock ends with the session at the latest; its wait ends with the lock timeout.
        if (!q.exec(QStringLiteral("SELECT pg_advisory_lock(74603)")))
            return failed(q);
    }
    Result<> done =
        commit(QStringLiteral("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)"));
    while (done) {
        // One migration at a time, each in its own transaction; a second process migrating at the same
        // moment waits for the first, then finds the version moved on.
        if (!q.exec(c.postgres ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE"))) {
            done = failed(q);
            break;
        }
        int version = 0;
        if (q.exec(QStringLiteral("SELECT version FROM schema_version")) && q.next())
            version = q.value(0).toInt();
        if (version >= CurrentSchemaVersion()) {
            q.exec(QStringLiteral("COMMIT"));
            break;
        }
        bool ok = true;
        for (const QString& sql : MigrationStatements(version, c.postgres))
            ok = ok && q.exec(sql);
        ok = ok &&
             q.exec(version == 0 ? QStringLiteral("INSERT INTO schema_version VALUES (1)")
                                 : QStringLiteral("UPDATE schema_version SET version = %1").arg(version + 1));
        if (!ok) {
            done = failed(q);
            q.exec(QStringLiteral("ROLLBACK"));
            break;
        }
        done = commit(QStringLiteral("COMMIT"));
    }
    if (c.postgres && c.alive()) {
        QSqlQuery unlock(c.database());
        unlock.exec(QStringLiteral("SELECT pg_advisory_unlock(74603)"));
    }
    return done;
}

Result<int> RecordsDatabase::schemaVersion() {
    Call call(*this);
    if (!call)
        return failure();
    QSqlQuery q(call.db());
    if (!q.exec(QStringLiteral("SELECT version FROM schema_version")))
        return fail(q);
    return q.next() ? q.value(0).toInt() : 0;
}

} // namespace zal
