// The roles a team's server gives its stations. The owner (the role the first program connected as)
// makes and migrates the schema; a station may reserve codes, add backups, devices, runs and rows, and
// record what became of its codes, and nothing else: it deletes nothing, and a code's value never
// changes, nor its state but from reserved to written or failed.

#include "RecordsDatabase.h"

#include <QStringList>

namespace zal {
namespace {

// What a station may do to each table beyond reading it: the rows it adds, and the columns it may
// change (in an upsert, or as the line records a code's fate).
struct TableRights {
    const char* table;
    bool insert;
    const char* updates; // columns, comma-separated; nullptr: none
};

constexpr TableRights kStationRights[] = {
    {"schema_version", false, nullptr},
    {"fixed_codes", true, "state, serial, product"},
    {"code_cursors", true, "next_code"},
    {"backups", true, "result"},
    {"devices", true,
     "product, product_name, version, serial, serial_key, radio_id, last_seen_ms, station, replaced_by, "
     "replaced_ms"},
    {"stations", true, "pruned_ms"},
    {"production_runs", true, nullptr},
    {"production_rows", true, nullptr},
    {"device_images", true, nullptr},
    {"device_events", true, nullptr},
};

} // namespace

QString RecordsDatabase::StationRoleSql(const QString& role) {
    // A role name as an identifier, quoted; the same text as a literal for the catalogue's look-up.
    const QString name = QString(role).replace(u'"', QStringLiteral("\"\""));
    const QString literal = QString(role).replace(u'\'', QStringLiteral("''"));
    QStringList sql{
        QStringLiteral(
            "-- The station role of the ZAL programmer's records, schema version %1. Run it as the")
            .arg(CurrentSchemaVersion()),
        QStringLiteral(
            "-- owner of the tables (the role the first program connected as), once the tables stand,"),
        QStringLiteral("-- and again after a program update that moved the schema on."),
        QStringLiteral("BEGIN;"),
        QStringLiteral("DO $$ BEGIN IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = '%1') THEN "
                       "CREATE ROLE \"%2\" NOLOGIN; END IF; END $$;")
            .arg(literal, name),
        QStringLiteral("GRANT USAGE ON SCHEMA %1 TO \"%2\";").arg(QStringLiteral("public"), name),
    };
    for (const TableRights& t : kStationRights) {
        const QString table = QLatin1String(t.table);
        sql << QStringLiteral("REVOKE ALL ON %1 FROM \"%2\";").arg(table, name)
            << QStringLiteral("GRANT SELECT%1 ON %2 TO \"%3\";")
                   .arg(t.insert ? QStringLiteral(", INSERT") : QString(), table, name);
        if (t.updates)
            sql << QStringLiteral("GRANT UPDATE (%1) ON %2 TO \"%3\";")
                       .arg(QLatin1String(t.updates), table, name);
    }
    sql << QStringLiteral(
               "GRANT USAGE ON SEQUENCE backups_id_seq, production_runs_id_seq, device_events_id_seq TO "
               "\"%1\";")
               .arg(name)
        // A row rule for every role: a code keeps its value and where it came from, and its state only
        // moves on from reserved (the owner may drop the trigger for a repair by hand).
        << QStringLiteral(
               "CREATE OR REPLACE FUNCTION zal_fixed_code_rule() RETURNS trigger LANGUAGE plpgsql AS $$ "
               "BEGIN IF NEW.code <> OLD.code OR NEW.block_first <> OLD.block_first OR NEW.station <> "
               "OLD.station OR NEW.unit <> OLD.unit OR NEW.reserved_at <> OLD.reserved_at OR (NEW.state <> "
               "OLD.state AND NOT (OLD.state = 'reserved' AND NEW.state IN ('written', 'failed'))) THEN "
               "RAISE EXCEPTION 'fixed code %: its value never changes, and its state goes only from "
               "reserved to written or failed', to_hex(OLD.code) USING ERRCODE = 'insufficient_privilege'; "
               "END IF; RETURN NEW; END $$;")
        << QStringLiteral("DROP TRIGGER IF EXISTS zal_fixed_code_rule ON fixed_codes;")
        << QStringLiteral("CREATE TRIGGER zal_fixed_code_rule BEFORE UPDATE ON fixed_codes FOR EACH ROW "
                          "EXECUTE FUNCTION zal_fixed_code_rule();")
        << QStringLiteral("COMMIT;");
    return sql.join(u'\n') + u'\n';
}

} // namespace zal
