#include "RecordsDatabase.h"
#include "RecordsConnection.h"
#include "RecordsSql.h"
#include "ServerUrl.h"

#include "radio/FixedCodes.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>
#include <QUrl>
#include <QUrlQuery>
#include <QVariant>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

#include <pwd.h>
#include <unistd.h>

namespace zal {
using namespace records_sql;
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

namespace {

bool IsServer(const QString& location) {
    return location.startsWith(QLatin1String("postgresql://")) ||
           location.startsWith(QLatin1String("postgres://"));
}

// "garbage::%%%", "mysql://...": a scheme this program does not know, which must not become a file.
bool HasScheme(const QString& location) {
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    return scheme.match(location).hasMatch();
}

// A wait the URL sets (?lock_timeout=2s), in ms; the fallback where it sets none (a URL whose wait is
// no duration is refused before it gets here).
qint64 WaitMs(const records_url::ServerUrl& url, const char* name, qint64 fallback) {
    return records_url::DurationMs(url.item(QLatin1String(name))).value_or(fallback);
}

} // namespace

QString RecordsDatabase::Location(const QString& dataFolder, const Settings& settings) {
    QString location = settings.value(setting::kRecordsDatabase);
    if (location.isEmpty())
        return dataFolder + QStringLiteral("records.sqlite");
    // A relative name in the file is read against the data folder; one from the environment is taken
    // as it stands, and refused when opened rather than read against a folder the caller did not name.
    if (!Settings::FromEnvironment(setting::kRecordsDatabase) && !IsServer(location) &&
        !HasScheme(location) && !QDir::isAbsolutePath(location))
        return QDir::cleanPath(QDir(dataFolder).filePath(location));
    if (!IsServer(location))
        return location;
    // The waits the settings name go into the URL, unless it names them itself. Appended as text: a
    // URL naming several hosts is no URL Qt parses.
    const QUrlQuery query(location.section(u'?', 1));
    for (const auto& [wait, item] : {std::pair{setting::kRecordsConnectTimeout, "connect_timeout"},
                                     std::pair{setting::kRecordsStatementTimeout, "statement_timeout"},
                                     std::pair{setting::kRecordsLockTimeout, "lock_timeout"},
                                     std::pair{setting::kRecordsReplicationWait, "replication_wait"}}) {
        // A wait that is no duration is said with the settings' problems and leaves the default.
        const QString value = settings.wait(wait);
        if (!value.isEmpty() && !query.hasQueryItem(QLatin1String(item)))
            location += (location.contains(u'?') ? u'&' : u'?') + QLatin1String(item) + u'=' +
                        QString::fromLatin1(QUrl::toPercentEncoding(value));
    }
    return location;
}

bool RecordsDatabase::IsValidLocation(const QString& location) {
    return LocationProblem(location).isEmpty();
}

QString RecordsDatabase::LocationProblem(const QString& location) {
    if (IsServer(location))
        return records_url::ParseServerUrl(location).problem;
    if (!HasScheme(location) && QDir::isAbsolutePath(location))
        return QString();
    // A relative name would follow the current folder: two job folders, two databases, one code twice.
    return QCoreApplication::translate(
               "Records",
               "Die Aufzeichnungen müssen ein absoluter Pfad oder eine postgresql://-URL sein, nicht \"%1\"")
        .arg(records_url::WithoutPassword(location));
}

std::chrono::steady_clock::time_point RecordsDatabase::FailoverWindow::until() {
    const std::lock_guard lock(mutex_);
    if (!until_)
        until_ = std::chrono::steady_clock::now() + kFailoverWait;
    return *until_;
}

void RecordsDatabase::FailoverWindow::close() {
    const std::lock_guard lock(mutex_);
    until_.reset();
}

bool RecordsDatabase::mayAwaitFailover(RecordsProblem problem,
                                       std::chrono::steady_clock::time_point until) const {
    return problem == RecordsProblem::Unreachable && postgres_ &&
           records_url::ParseServerUrl(location_).hosts.size() >= 2 &&
           until > std::chrono::steady_clock::now() && !records_connection::Stopped();
}

bool RecordsDatabase::awaitFailover(RecordsProblem problem,
                                    std::chrono::steady_clock::time_point until) const {
    using namespace std::chrono;
    if (!mayAwaitFailover(problem, until))
        return false;
    const auto left = duration_cast<milliseconds>(until - steady_clock::now());
    return left.count() > 0 && records_connection::Pause(std::min(left, milliseconds(500)));
}

QString RecordsDatabase::ShownLocation(const QString& location) {
    return records_url::WithoutPassword(location);
}

void RecordsDatabase::CancelRunning() {
    records_connection::CancelRunning();
}

QString RecordsDatabase::Station(const Settings& settings) {
    const QString station = settings.value(setting::kRecordsStation);
    return station.isEmpty() ? QSysInfo::machineHostName() : station;
}

QString RecordsDatabase::User() {
    // The line's units ask from their threads: getpwuid_r, with a buffer of their own, never shares
    // the static record getpwuid fills.
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return QString::fromLocal8Bit(found->pw_name);
    return qEnvironmentVariable("USER");
}

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

RecordsDatabase::RecordsDatabase(QString location) : location_(std::move(location)) {
    postgres_ = IsServer(location_);
    if (const QString problem = LocationProblem(location_); !problem.isEmpty()) {
        openError_ = problem;
        openProblem_ = RecordsProblem::Invalid;
        return;
    }
    if (const Call call(*this); call) {
        // The connection may be older than this handle: another program may have moved the schema on.
        Connection& c = call.connection();
        QSqlQuery q(c.database());
        if (q.exec(QStringLiteral("SELECT version FROM schema_version")) && q.next())
            c.newerSchema = q.value(0).toInt() > CurrentSchemaVersion() ? q.value(0).toInt() : 0;
        newerSchema_ = c.newerSchema;
        readOnly_ = c.readOnly;
    } else {
        // Whatever went wrong while opening makes the records unusable; a later call's failure does not.
        openError_ = error_;
        openProblem_ = problem_;
        error_.clear();
        problem_ = RecordsProblem::None;
    }
}

RecordsDatabase::~RecordsDatabase() = default;

QString RecordsDatabase::whyNotWritable() const {
    if (newerSchema_ != 0)
        return QCoreApplication::translate(
                   "Records",
                   "die Aufzeichnungen stammen von einer neueren Version dieses Programms (Schema %1; "
                   "dieses Programm kennt %2)")
            .arg(newerSchema_)
            .arg(CurrentSchemaVersion());
    if (readOnly_)
        return QCoreApplication::translate("Records", "die Aufzeichnungen %1 sind hier nur lesbar")
            .arg(location_);
    return QString();
}

bool RecordsDatabase::writable() {
    if (!isOpen())
        return false;
    error_ = whyNotWritable();
    problem_ = error_.isEmpty()    ? RecordsProblem::None
               : newerSchema_ != 0 ? RecordsProblem::NewerSchema
                                   : RecordsProblem::ReadOnly;
    return error_.isEmpty();
}

records_connection::Connection* RecordsDatabase::connection() {
    if (openProblem_ == RecordsProblem::Invalid)
        return nullptr;
    Connection& c = records_connection::ThreadConnection(location_, [this](Connection& c) { open(c); });
    if (!c.error.isEmpty()) {
        error_ = c.error;
        problem_ = c.problem;
        return nullptr;
    }
    return &c;
}

namespace {

// Whether this user may write path (a read-only mount counts as well as the file's mode).
bool MayWrite(const QString& path) {
    return ::euidaccess(QFile::encodeName(path).constData(), W_OK) == 0;
}

} // namespace

void RecordsDatabase::open(Connection& c) const {
    c.postgres = postgres_;
    const auto failed = [&c](RecordsProblem problem, const QString& text) {
        c.problem = problem;
        c.error = text;
    };
    if (!QSqlDatabase::isDriverAvailable(postgres_ ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE")))
        return failed(
            RecordsProblem::Unreachable,
            postgres_
                ? QCoreApplication::translate(
                      "Records", "Der PostgreSQL-Treiber von Qt ist nicht installiert (libqt6sql6-psql)")
                : QCoreApplication::translate(
                      "Records", "Der SQLite-Treiber von Qt ist nicht installiert (libqt6sql6-sqlite)"));
    if (postgres_ && records_connection::Stopped())
        return failed(
            RecordsProblem::Cancelled,
            QCoreApplication::translate(
                "Records", "Der Zugriff auf die Aufzeichnungen wurde abgebrochen: ein Halt wurde verlangt"));
    QSqlDatabase db =
        QSqlDatabase::addDatabase(postgres_ ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE"), c.name);
    const records_url::ServerUrl url = records_url::ParseServerUrl(location_);
    if (postgres_) {
        // Several hosts (a primary and its standby) go to libpq as its list, tried in their order.
        db.setHostName(url.hosts.join(u','));
        db.setUserName(url.user);
        db.setDatabaseName(url.database);
        db.setConnectOptions(
            (QStringList{// libpq takes whole seconds, at least 2.
                         QStringLiteral("connect_timeout=%1")
                             .arg(std::max<qint64>(WaitMs(url, "connect_timeout", 5000) / 1000, 2))} +
             url.options())
                .join(u';'));
        // The program's own watch gives the server its statement time and a little more, then cuts.
        c.wait = std::chrono::milliseconds(WaitMs(url, "statement_timeout", 30000) + 2000);
        // A commit waits for a synchronous standby without any statement timeout: the watch ends it.
        c.commitWait = std::chrono::milliseconds(WaitMs(url, "replication_wait", 10000));
    } else {
        db.setDatabaseName(location_);
        // Records this user may read but not write (a read-only file, folder or mount) are still read.
        c.readOnly = QFileInfo::exists(location_) &&
                     (!MayWrite(location_) || !MayWrite(QFileInfo(location_).absolutePath()));
        if (c.readOnly)
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    }
    const QString shown = records_url::WithoutPassword(location_);
    if (!db.open())
        return failed(
            RecordsProblem::Unreachable,
            QCoreApplication::translate("Records", "Die Aufzeichnungen %1 können nicht geöffnet werden: %2")
                .arg(shown, db.lastError().text()));
    c.attach();
    // From here on every wait on the server is watched: a commit of the schema that waits for a standby
    // that is down, or a lock a stuck session keeps, ends with its time or a stop.
    std::optional<records_connection::Watch> watch;
    if (postgres_)
        watch.emplace(c);
    QSqlQuery q(db);
    if (postgres_) {
        // The server's notices ("already exists, skipping") are no news for the technician.
        q.exec(QStringLiteral("SET client_min_messages = warning"));
        // Commits wait at least for the server's own disk, and for its synchronous standby where it
        // has one: a session may not hand out codes a crash or a failover could forget.
        if (q.exec(QStringLiteral("SELECT current_setting('synchronous_commit')")) && q.next() &&
            (q.value(0).toString() == QLatin1String("off") ||
             q.value(0).toString() == QLatin1String("local")))
            q.exec(QStringLiteral("SET synchronous_commit = on"));
        // A statement never waits without end: a lock another session holds (an administrator's
        // LOCK TABLE) or a statement the server cannot finish fails with the server's reason instead.
        for (const auto& [name, fallback] :
             {std::pair{"statement_timeout", qint64{30000}}, std::pair{"lock_timeout", qint64{10000}}}) {
            if (!q.exec(
                    QStringLiteral("SET %1 = %2").arg(QLatin1String(name)).arg(WaitMs(url, name, fallback))))
                return failed(Classify(q.lastError(), c),
                              QCoreApplication::translate(
                                  "Records", "Die Aufzeichnungen können nicht verwendet werden: %1")
                                  .arg(q.lastError().text()));
        }
    } else if (!c.readOnly) {
        // The write-ahead journal: readers never wait for a writer, and a kill loses at most the
        // transaction under way.
        q.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        q.exec(QStringLiteral("PRAGMA synchronous=FULL"));
    } else if (!q.exec(QStringLiteral("SELECT version FROM schema_version"))) {
        // A journal's shared memory this user cannot make: the file is read as it stands, without
        // the locks no one here could take anyway.
        db.close();
        QUrl file = QUrl::fromLocalFile(location_);
        file.setQuery(QStringLiteral("immutable=1"));
        db.setDatabaseName(file.toString(QUrl::FullyEncoded));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
        if (!db.open())
            return failed(RecordsProblem::Unreachable,
                          QCoreApplication::translate(
                              "Records", "Die Aufzeichnungen %1 können nicht geöffnet werden: %2")
                              .arg(shown, db.lastError().text()));
        c.attach();
    }
    int version = 0;
    q = QSqlQuery(db);
    if (q.exec(QStringLiteral("SELECT version FROM schema_version")) && q.next())
        version = q.value(0).toInt();
    q.finish();
    if (version > CurrentSchemaVersion()) {
        c.newerSchema = version;
        return;
    }
    if (version == CurrentSchemaVersion())
        return;
    if (c.readOnly) {
        if (version == 0)
            failed(
                RecordsProblem::Damaged,
                QCoreApplication::translate(
                    "Records", "Die Aufzeichnungen %1 enthalten nichts und können nicht beschrieben werden")
                    .arg(shown));
        return; // an older schema is read as far as it goes
    }
    // One thread of this process at a time; another process waits in the migration's own transaction
    // (or, on a server, for its advisory lock) and then finds the version moved on.
    static std::mutex lock;
    const std::lock_guard guard(lock);
    if (const Result<> migrated = migrate(c, q); !migrated)
        failed(migrated.problem(),
               QCoreApplication::translate(
                   "Records", "Die Aufzeichnungen konnten nicht auf Version %1 gebracht werden: %2")
                   .arg(CurrentSchemaVersion())
                   .arg(migrated.error()));
}

namespace {

QString NotConfirmed(const records_connection::Connection& c) {
    return c.cutOff.load() == RecordsProblem::Cancelled
               ? QCoreApplication::translate(
                     "Records", "ein Halt wurde verlangt, bevor der Standby das Festschreiben bestätigt hat")
               : QCoreApplication::translate("Records",
                                             "der Standby hat das Festschreiben nicht innerhalb von %1 s "
                                             "bestätigt (der Server hält es nur bei sich; ein Failover "
                                             "kann es verlieren)")
                     .arg(QString::number(static_cast<double>(c.commitWait.count()) / 1000.0));
}

} // namespace

Result<> RecordsDatabase::committed(const QSqlQuery& q, const std::function<bool()>& statement) {
    if (!current_)
        return statement() ? Result<>() : Result<>(fail(q));
    switch (records_connection::CommitDurably(*current_, statement)) {
    case records_connection::Commit::Done:
        return {};
    case records_connection::Commit::Failed:
        return fail(q);
    case records_connection::Commit::Unconfirmed:
        break;
    }
    return fail(RecordsProblem::Unconfirmed, NotConfirmed(*current_));
}

bool RecordsDatabase::begin(QSqlQuery& q) const {
    // SQLite takes its write lock at once, so that two processes wait for each other rather than both
    // reading and then failing to write; PostgreSQL relies on the unique code instead.
    return q.exec(postgres_ ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE"));
}

Failure RecordsDatabase::fail(RecordsProblem problem, const QString& text) {
    problem_ = problem;
    error_ = text;
    return {problem, text};
}

Failure RecordsDatabase::fail(const QSqlQuery& q) {
    const RecordsProblem problem = current_ ? Classify(q.lastError(), *current_) : RecordsProblem::Other;
    switch (problem) {
    case RecordsProblem::TimedOut:
        if (current_ && current_->cutOff.load() == RecordsProblem::TimedOut)
            return fail(problem, QCoreApplication::translate(
                                     "Records",
                                     "Der Server der Aufzeichnungen hat nicht innerhalb von %1 s geantwortet")
                                     .arg(current_->wait.count() / 1000));
        break;
    case RecordsProblem::Cancelled:
        return fail(
            problem,
            QCoreApplication::translate(
                "Records", "Der Zugriff auf die Aufzeichnungen wurde abgebrochen: ein Halt wurde verlangt"));
    default:
        break;
    }
    return fail(problem,
                QCoreApplication::translate("Records", "Die Aufzeichnungen können nicht verwendet werden: %1")
                    .arg(q.lastError().text()));
}

Result<> RecordsDatabase::end(QSqlQuery& q, bool ok) {
    if (ok) {
        const Result<> done = committed(q, [&q] { return q.exec(QStringLiteral("COMMIT")); });
        // Unconfirmed is committed on the server: nothing is left to roll back.
        if (done || done.problem() == RecordsProblem::Unconfirmed)
            return done;
    } else if (error_.isEmpty()) { // a statement that failed may have said why already
        fail(q);
    }
    q.exec(QStringLiteral("ROLLBACK"));
    return failure();
}

QSqlQuery* RecordsDatabase::prepared(const QString& sql) {
    auto& query = current_->prepared[sql];
    if (!query) {
        query = std::make_unique<QSqlQuery>(current_->database());
        query->setForwardOnly(true);
        if (!query->prepare(sql)) {
            fail(*query);
            current_->prepared.erase(sql);
            return nullptr;
        }
    }
    return query.get();
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

QString RecordsDatabase::Summary() {
    QString text = QStringLiteral("back end: %1\nlocation: %2\n")
                       .arg(postgres_ ? QStringLiteral("PostgreSQL") : QStringLiteral("SQLite"),
                            records_url::WithoutPassword(location_));
    if (!isOpen())
        return text + QStringLiteral("not usable: ") + error() + u'\n';
    text += QStringLiteral("schema version: %1 (this program's: %2)\n")
                .arg(schemaVersion().value_or(0))
                .arg(CurrentSchemaVersion());
    Call call(*this);
    if (!call)
        return text + QStringLiteral("not usable now: ") + error() + u'\n';
    QSqlQuery q(call.db());
    for (const char* table : {"backups", "devices", "production_runs", "production_rows"}) {
        if (q.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table))) && q.next())
            text += QStringLiteral("%1: %2\n").arg(QLatin1String(table)).arg(q.value(0).toLongLong());
    }
    if (q.exec(QStringLiteral("SELECT state, COUNT(*) FROM fixed_codes GROUP BY state ORDER BY state"))) {
        while (q.next())
            text += QStringLiteral("fixed codes %1: %2\n").arg(q.value(0).toString()).arg(q.value(1).toInt());
    }
    if (q.exec(QStringLiteral("SELECT time_utc, station, user_name, product_name, version, serial, command, "
                              "result, file FROM backups ORDER BY time_ms DESC, id DESC LIMIT 50"))) {
        text += QStringLiteral("\nthe last 50 backups, newest first:\n");
        while (q.next()) {
            QStringList row;
            for (int i = 0; i < 9; ++i)
                row << q.value(i).toString();
            text += row.join(QStringLiteral("  ")) + u'\n';
        }
    }
    return text;
}

} // namespace zal
