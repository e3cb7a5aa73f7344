// The records for a spreadsheet: every table but the images, as CSV files or through any other sink.

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

// How a column's stored value becomes its cell: as it is, a code as four hex digits, a time in ms as
// ISO 8601 (0 is "never": not replaced, never pruned).
enum class Stored { AsIs, Code, Ms };

struct ExportedColumn {
    const char* name;
    CellKind kind = CellKind::Text;
    Stored stored = Stored::AsIs;
};

struct ExportedTable {
    const char* name;
    const char* from; // FROM ... ORDER BY ...
    std::vector<ExportedColumn> columns;
};

constexpr ExportedColumn kTimeUtc{"time_utc", CellKind::Time};

// Each table once; an image is the backup file itself, not a spreadsheet's cell.
const std::vector<ExportedTable>& Tables() {
    static const std::vector<ExportedTable> tables = {
        {"backups",
         "FROM backups ORDER BY time_ms, id",
         {{"station"},
          {"file"},
          kTimeUtc,
          {"command"},
          {"result"},
          {"user_name"},
          {"product_name"},
          {"version"},
          {"serial"},
          {"radio_id"},
          {"device_key"}}},
        {"devices",
         "FROM devices ORDER BY product_name, LENGTH(serial_key), serial_key",
         {{"device_key"},
          {"product_name"},
          {"version"},
          {"serial"},
          {"radio_id"},
          {"last_seen_ms", CellKind::Time, Stored::Ms},
          {"station"},
          {"replaced_by"},
          {"replaced_ms", CellKind::Time, Stored::Ms}}},
        // What each transfer left in a device (its image is in the records, a backup file's twin).
        {"device_events",
         "FROM device_events ORDER BY time_ms, id",
         {kTimeUtc,
          {"station"},
          {"user_name"},
          {"kind"},
          {"product_name"},
          {"version"},
          {"serial"},
          {"radio_id"},
          {"device_key"},
          {"digest"}}},
        {"stations",
         "FROM stations ORDER BY station",
         {{"station"}, {"pruned_ms", CellKind::Time, Stored::Ms}}},
        {"schema_version", "FROM schema_version", {{"version", CellKind::Number}}},
        {"production_runs",
         "FROM production_runs ORDER BY id",
         {{"id", CellKind::Number},
          {"station"},
          {"user_name"},
          {"started_utc", CellKind::Time},
          {"file"},
          {"product"}}},
        {"production_rows",
         "FROM production_rows ORDER BY run_id, time_utc",
         {{"run_id", CellKind::Number},
          kTimeUtc,
          {"station"},
          {"unit"},
          {"serial"},
          {"product"},
          {"version"},
          {"radio_id"},
          {"codes"},
          {"result"},
          {"message"},
          {"duration_ms", CellKind::Number}}},
        {"fixed_codes",
         "FROM fixed_codes ORDER BY code",
         {{"code", CellKind::Text, Stored::Code},
          {"block_first", CellKind::Text, Stored::Code},
          {"state"},
          {"station"},
          {"unit"},
          {"serial"},
          {"product"},
          {"reserved_at", CellKind::Time}}},
    };
    return tables;
}

// The heading a column shows: a time kept in ms is shown as a time, so it loses its unit.
QString Heading(const ExportedColumn& c) {
    QString name = QLatin1String(c.name);
    if (c.stored == Stored::Ms)
        name.chop(3);
    return name;
}

QString Cell(const ExportedColumn& c, const QVariant& value) {
    switch (c.stored) {
    case Stored::Code:
        return QStringLiteral("%1").arg(value.toInt(), 4, 16, QChar(u'0')).toUpper();
    case Stored::Ms:
        return value.toLongLong() == 0 ? QString() : Utc(QDateTime::fromMSecsSinceEpoch(value.toLongLong()));
    case Stored::AsIs:
        break;
    }
    return value.toString();
}

QByteArray CsvField(const QString& text) {
    QByteArray field = text.toUtf8();
    if (field.contains(',') || field.contains('"') || field.contains('\n') || field.contains('\r'))
        field = '"' + field.replace('"', "\"\"") + '"';
    return field;
}

// A CSV file per table in a folder.
class CsvFolder final : public RecordsTableSink {
public:
    explicit CsvFolder(const QString& folder) : folder_(folder) {}

    Result<> Begin(const RecordsTable& table) override {
        file_.setFileName(QDir(folder_).filePath(table.name + QStringLiteral(".csv")));
        if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return failed();
        return Row(table.columns);
    }
    Result<> Row(const QStringList& cells) override {
        QByteArrayList fields;
        for (const QString& cell : cells)
            fields << CsvField(cell);
        if (file_.write(fields.join(',') + '\n') <= 0)
            return failed();
        return {};
    }
    Result<> End() override {
        if (!file_.flush())
            return failed();
        file_.close();
        written_ << file_.fileName();
        return {};
    }
    const QStringList& written() const { return written_; }

private:
    Failure failed() const {
        return Failure{Problem::Other,
                       QCoreApplication::translate("Records", "%1 kann nicht geschrieben werden: %2")
                           .arg(file_.fileName(), file_.errorString())};
    }

    QString folder_;
    QFile file_;
    QStringList written_;
};

} // namespace

Result<> RecordsDatabase::ExportTables(RecordsTableSink& sink) {
    if (!isOpen())
        return failure();
    Call call(*this);
    if (!call)
        return failure();
    for (const ExportedTable& declared : Tables()) {
        RecordsTable table{QLatin1String(declared.name), {}, {}};
        QStringList columns;
        for (const ExportedColumn& c : declared.columns) {
            table.columns << Heading(c);
            table.kinds.push_back(c.kind);
            columns << QLatin1String(c.name);
        }
        QSqlQuery q(call.db());
        q.setForwardOnly(true);
        if (!q.exec(QStringLiteral("SELECT %1 %2")
                        .arg(columns.join(QStringLiteral(", ")), QLatin1String(declared.from))))
            return fail(q);
        if (Result<> begun = sink.Begin(table); !begun)
            return begun;
        while (q.next()) {
            call.rearm();
            QStringList cells;
            for (int i = 0; i < static_cast<int>(declared.columns.size()); ++i)
                cells << Cell(declared.columns[static_cast<size_t>(i)], q.value(i));
            if (Result<> row = sink.Row(cells); !row)
                return row;
        }
        if (q.lastError().isValid())
            return fail(q);
        if (Result<> ended = sink.End(); !ended)
            return ended;
    }
    return {};
}

Result<QStringList> RecordsDatabase::ExportCsv(const QString& folder) {
    if (!isOpen())
        return failure();
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir()) {
        return fail(RecordsProblem::Other,
                    QCoreApplication::translate("Records", "%1 ist kein Ordner, der beschrieben werden kann")
                        .arg(folder));
    }
    CsvFolder csv(folder);
    if (Result<> exported = ExportTables(csv); !exported)
        return exported.failure();
    return csv.written();
}

} // namespace zal
