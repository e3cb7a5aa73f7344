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
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QVariant>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

#include <unistd.h>

namespace zal {
using namespace records_sql;
namespace {

// A wait the URL sets (?lock_timeout=2s), in ms; the fallback where it sets none (a URL whose wait is
// no duration is refused before it gets here).
qint64 WaitMs(const records_url::ServerUrl& url, const char* name, qint64 fallback) {
    return DurationMs(url.item(QLatin1String(name))).value_or(fallback);
}

} // namespace

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

void RecordsDatabase::CancelRunning() {
    records_connection::CancelRunning();
}

RecordsDatabase::RecordsDatabase(QString location) : location_(std::move(location)) {
    postgres_ = IsServerLocation(location_);
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
    if (q.exec(QStringLiteral(
            "SELECT state, COUNT(*) AS codes FROM fixed_codes GROUP BY state ORDER BY state"))) {
        while (q.next())
            text += QStringLiteral("fixed codes %1: %2\n")
                        .arg(q.value(QStringLiteral("state")).toString())
                        .arg(q.value(QStringLiteral("codes")).toInt());
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
