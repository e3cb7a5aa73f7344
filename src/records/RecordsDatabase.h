#pragma once

// The records in a database: SQLite in the data folder on every PC, or a PostgreSQL server that a
// production floor's stations or a service team share. One schema for both, versioned and migrated
// forward when the database is opened.
//
// What is kept: the device backups (the index of the backup files, with each image, so that a backup
// made at another station can be opened and restored), the devices they came from, the production
// runs with a row per device, and the fixed radio ID codes handed out, so that no code goes to two
// devices, whichever station or process hands it out and whenever one of them is killed.

#include "radio/DeviceIdentity.h"
#include "shell/Result.h"
#include "shell/Settings.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

class QSqlError;
class QSqlQuery;

namespace zal {

namespace records_connection {
struct Connection;
} // namespace records_connection

// What kind of failure a records call met: the program's one vocabulary of failures.
using RecordsProblem = Problem;

// One backup: which device, when, by what command and how that command ended, where.
struct BackupEntry {
    QString file; // the backup file's name in its station's backup folder
    DeviceIdentity device;
    QDateTime time;
    QString command; // what read the image: "read", "write", "write-default", ...
    QString result;  // how that command ended, once it has: "done", "refused", "failed", "cancelled"
    QString station; // the PC that made it
    QString user;
    QByteArray image; // the 256 bytes; only where asked for
};

// Which backups to list; empty fields do not narrow.
struct BackupQuery {
    QString serial{}; // in any form the editor or the records show it
    QDateTime since{};
    QDateTime before{};
    QString station{};
    QString deviceKey{};
    QString file{};
    bool images = false;
    int newest = 0; // only the newest so many (0: all); the list stays oldest first
};

// One device as the records know it.
struct DeviceRecord {
    DeviceIdentity device;
    QDateTime lastSeen; // in UTC, as the times below: shown with toLocalTime()
    QString station;    // where it was last seen
    int backups = 0;
    QString codes;      // the fixed codes the line gave it, space-separated
    QString replacedBy; // the device key of the device that took its place; empty when none did
    QDateTime replaced;
};

// A device of a production line's run.
struct ProductionRow {
    QDateTime time;
    QString serial, product, version, radioId;
    QString codes; // the fixed codes given, space-separated; empty when none
    // "written", "refused" (product or version), "failed": the log's own word for a done write is
    // "written", as the scripts that read production logs expect; the others are the records' words.
    QString result;
    QString message;
    qint64 durationMs = 0;
    QString unit; // the KBX the device was behind
};

// How a spreadsheet should take a column's cells: as text (codes, serial numbers and versions keep their
// form), as a number, or as a time (UTC; an empty cell is "never").
enum class CellKind { Text, Number, Time };

// One table of the records as the export gives it.
struct RecordsTable {
    QString name;
    QStringList columns;
    std::vector<CellKind> kinds;
};

// Where the export puts the tables: a CSV file each, a workbook's sheets. Each cell is text as the CSV
// shows it (a time in ISO 8601, a code in four hex digits).
class RecordsTableSink {
public:
    virtual ~RecordsTableSink() = default;
    virtual Result<> Begin(const RecordsTable& table) = 0;
    virtual Result<> Row(const QStringList& cells) = 0;
    virtual Result<> End() = 0;
};

class RecordsDatabase {
public:
    // The database to use: ZAL_RECORDS in the environment, else [Records] Database in the settings
    // file (a relative path is taken in the data folder, never in the current folder, so that a line
    // started from two job folders uses one database), else records.sqlite in the data folder.
    // ZAL_RECORDS must be an absolute path or a URL; anything else is refused when it is opened.
    // A PostgreSQL server is named as
    // postgresql://user@host[:port]/dbname (a host starting with "/" is a Unix socket folder), or with
    // a primary and its standbys as postgresql://user@db1,db2/dbname (tried in that order, writing
    // only where writing is possible); its
    // password comes from ~/.pgpass or PGPASSWORD, never from the settings. Its waits
    // (connect_timeout, statement_timeout, lock_timeout) come from the URL's query, else from
    // ConnectTimeout, StatementTimeout and LockTimeout under [Records], else 5 s, 30 s and 10 s.
    static QString Location(const QString& dataFolder, const Settings& settings);
    // Whether a location names a database this program can use: an absolute path or a
    // postgresql:// URL.
    static bool IsValidLocation(const QString& location);
    // Why it does not (never showing a password); empty when it does.
    static QString LocationProblem(const QString& location);
    // The location as messages show it: a server's URL without its password.
    static QString ShownLocation(const QString& location);
    // Cancels every records statement under way in this process (a stop was asked for); callable from
    // any thread but a signal handler.
    static void CancelRunning();
    // The name this PC's records go under: ZAL_STATION, else [Records] Station, else the host name.
    static QString Station(const Settings& settings);
    static QString User();

    // How long a call waits for a standby to be promoted when its server failed.
    static constexpr std::chrono::seconds kFailoverWait{30};
    // The wait for a standby that several callers share (a line's units): it starts with the first
    // call that finds no server and ends for all of them together, kFailoverWait later, however many
    // calls wait in turn; a call that reaches a server closes it.
    class FailoverWindow {
    public:
        std::chrono::steady_clock::time_point until();
        void close();

    private:
        std::mutex mutex_;
        std::optional<std::chrono::steady_clock::time_point> until_;
    };
    // Makes call on a handle of its own and gives its result. When the server could not be reached
    // and the location names a standby beside it (several hosts), the call is made again while the
    // standby is promoted, until the window's end (kFailoverWait from now without one) and never after
    // a stop, so that a line goes on with the new primary instead of stopping. waiting hears once how
    // many seconds are left when the call starts to wait.
    template <class Call>
    static auto AcrossFailover(const QString& location, Call call, FailoverWindow* window = nullptr,
                               const std::function<void(qint64 secondsLeft)>& waiting = {}) {
        using Clock = std::chrono::steady_clock;
        std::optional<Clock::time_point> until;
        for (;;) {
            RecordsDatabase records(location);
            auto result = call(records);
            if (result) {
                if (window)
                    window->close();
                return result;
            }
            if (!until) {
                // Only a server that could not be reached opens the wait (and the shared window); any
                // other failure is the call's answer.
                if (!records.mayAwaitFailover(result.problem(), Clock::now() + kFailoverWait))
                    return result;
                until = window ? window->until() : Clock::now() + kFailoverWait;
                if (waiting && records.mayAwaitFailover(result.problem(), *until))
                    waiting(std::chrono::ceil<std::chrono::seconds>(*until - Clock::now()).count());
            }
            if (!records.awaitFailover(result.problem(), *until))
                return result;
        }
    }

    // Opens the database (creating an SQLite file on first use) and migrates its schema forward.
    explicit RecordsDatabase(QString location);
    ~RecordsDatabase();
    RecordsDatabase(const RecordsDatabase&) = delete;
    RecordsDatabase& operator=(const RecordsDatabase&) = delete;

    // Whether the database could be opened; a later call that fails leaves it open for the next one.
    bool isOpen() const { return openError_.isEmpty(); }
    // Why the database cannot be used, or why the last call failed; empty when neither.
    QString error() const { return error_.isEmpty() ? openError_ : error_; }
    // The kind of that failure.
    RecordsProblem problem() const { return error_.isEmpty() ? openProblem_ : problem_; }
    // The failure kept last: why the database could not be opened, or why a call failed.
    Failure failure() const {
        return {problem() == RecordsProblem::None ? RecordsProblem::Other : problem(), error()};
    }
    // An SQLite file or folder this user cannot write: the records are read, never written.
    bool readOnly() const { return readOnly_; }
    // The schema version of records made by a newer program, which this one reads but never writes
    // (a newer program may keep its reservations elsewhere); 0 when this program knows the schema.
    int newerSchema() const { return newerSchema_; }
    // Why these records must not be written ("the records were made by a newer version ..."); empty
    // when they may.
    QString whyNotWritable() const;
    QString location() const { return location_; }
    bool postgres() const { return postgres_; }
    Result<int> schemaVersion();
    static int CurrentSchemaVersion();

    // Reserves the next block of fixed codes from first on (six for the older products, nine for the
    // extended repeaters) in one committed transaction, skipping every block that shares a code with
    // one reserved before, by any station. A failure says whether the codes ran out (Exhausted) or
    // the database could not be reached or written.
    Result<std::vector<std::uint16_t>> ReserveCodeBlock(std::uint16_t first, bool plus,
                                                        const QString& station, const QString& unit);
    // Gives a block back: only for a device known never to have received any of it.
    Result<> ReleaseCodes(const std::vector<std::uint16_t>& block);
    // Records what became of a block: "written", or "failed" (it stays used; the device may hold part),
    // and which device (product and serial number) got it.
    Result<> SetCodesState(const std::vector<std::uint16_t>& block, const QString& state,
                           const QString& serial, const QString& product = {});
    // The replacement took the place of old (its configuration and fixed radio IDs written into
    // it), at station: old is marked as replaced, the codes the records gave old now belong to the
    // replacement, and the replacement is seen as it is now, in one transaction.
    Result<> RecordReplacement(const DeviceIdentity& old, const DeviceIdentity& replacement,
                               const QString& station);
    // Why a code handed out here might not last through a failover: the server streams to a standby,
    // but its commits wait for no synchronous one. Empty when they do, or when the server has no
    // standby (and for SQLite).
    Result<QString> ReplicationRisk();
    // Codes handed out elsewhere (an earlier CSV log, the backups' images) count as used; how many
    // were new.
    Result<int> ImportUsedCodes(const std::set<std::uint16_t>& codes, const QString& source);
    // What a log says became of its codes, for codes the records still hold as only reserved (their
    // state could not be recorded when the server was away): how many were brought up to date, in one
    // transaction.
    struct LoggedCode {
        QString state; // "written" or "failed"
        QString serial, product;
    };
    Result<int> ReconcileCodes(const std::map<std::uint16_t, LoggedCode>& logged);
    // Records backups, and their devices as last seen, in one transaction; an entry of the same station
    // and file already there is kept (an index taken in twice), and not counted: how many were added.
    Result<int> AddBackups(const std::vector<BackupEntry>& entries);
    Result<> SetBackupResult(const QString& station, const QString& file, const QString& result);
    // Oldest first.
    Result<std::vector<BackupEntry>> Backups(const BackupQuery& query);
    // Each backup in turn, oldest first, without holding them all (a list of 100,000 for a script);
    // each returns false to stop.
    Result<> Backups(const BackupQuery& query, const std::function<bool(const BackupEntry&)>& each);
    Result<> RemoveBackups(const QString& station, const std::vector<QString>& files);
    // What a transfer left in a device, verified by reading it back: the entry's image, its command
    // (the kind: "write", "restore", "replacement", "write-default", "line"), station, user and time.
    // The device's row takes it as its newest state; identical images are kept once.
    Result<> AddEvent(const BackupEntry& event);
    // The events the query names (serial, device key, station, times), oldest first, each with its
    // image and an empty file.
    Result<std::vector<BackupEntry>> Events(const BackupQuery& query);
    // When this station last went through all its backups for the policy (ms since the epoch; 0: never).
    Result<qint64> LastFullPrune(const QString& station);
    Result<> SetLastFullPrune(const QString& station, qint64 ms);
    // By product and serial number. Without countBackups each device's backups are -1 (counting
    // 100,000 backups takes longer than listing the devices): BackupCount gives them one at a time.
    Result<std::vector<DeviceRecord>> Devices(bool countBackups = true);
    // How many backups the records keep of a device.
    Result<int> BackupCount(const DeviceIdentity& device);

    // A production run's id.
    Result<qint64> StartRun(const QString& station, const QString& file, const QString& product);
    Result<> AddRunRow(qint64 run, const QString& station, const ProductionRow& row);

    // The tables as CSV files in folder (made if need be), for a spreadsheet: backups without their
    // images, devices, production runs and rows, fixed codes as the hex text the log shows. The files
    // written.
    Result<QStringList> ExportCsv(const QString& folder);
    // Every table but the images, table by table, into sink.
    Result<> ExportTables(RecordsTableSink& sink);

    // Every code reserved, with its state.
    Result<std::vector<std::pair<std::uint16_t, QString>>> Codes();
    // For the support bundle: the back end, the schema version, how many records of each kind there
    // are and the last 50 backups; never a password or an image.
    QString Summary();

    // The SQL (PostgreSQL) that gives the stations of a team's server the role they need and no more:
    // read everything; add codes, backups, devices, runs and rows; record what became of a code (its
    // state only from reserved to written or failed, its value never), a backup's result and a device
    // as last seen. No station deletes anything, so a code is never freed and a backup never pruned by a
    // station: a block the line gives back stays reserved, and pruning is the owner's.
    static QString StationRoleSql(const QString& role);

    // The statements that take the schema from version to version + 1, as this back end runs them.
    static QStringList MigrationStatements(int version, bool postgres);

private:
    class Call;
    using Connection = records_connection::Connection;

    // After a call that found no server: whether a standby may take over before until (it has then
    // waited a moment for it).
    bool awaitFailover(RecordsProblem problem, std::chrono::steady_clock::time_point until) const;
    // Whether it would wait at all.
    bool mayAwaitFailover(RecordsProblem problem, std::chrono::steady_clock::time_point until) const;
    // This thread's connection, made when it has none; nothing when it cannot be (error() says why).
    Connection* connection();
    void open(Connection& c) const;
    // False (with error() saying why) when the records are of a newer schema, or read-only here.
    bool writable();
    // Brings the schema forward under the watch; a commit the standby did not confirm fails it.
    static Result<> migrate(Connection& c, QSqlQuery& q);
    // Starts a transaction that writes.
    bool begin(QSqlQuery& q) const;
    // Ends one: commits when ok, else rolls back; error() says why it failed. A commit the server's
    // synchronous standby did not confirm in time is Unconfirmed (the server keeps it, locally only).
    Result<> end(QSqlQuery& q, bool ok);
    // Runs a statement that commits (COMMIT, or a write outside a transaction) so that it is known to
    // last, as end() does: Unconfirmed when the standby did not confirm it in time.
    Result<> committed(const QSqlQuery& q, const std::function<bool()>& statement);
    // Keeps why a call failed (error() and problem() say it too) and gives it as the call's result.
    Failure fail(const QSqlQuery& q);
    Failure fail(RecordsProblem problem, const QString& text);
    Result<> insertBackup(const BackupEntry& entry, bool* added);
    // A statement prepared once for this connection, to run again with new values (a server then
    // gets one round trip per run); nothing when it cannot be prepared (error() says why).
    QSqlQuery* prepared(const QString& sql);

    QString location_;
    QString openError_;
    RecordsProblem openProblem_ = RecordsProblem::None;
    QString error_;
    RecordsProblem problem_ = RecordsProblem::None;
    int newerSchema_ = 0;
    bool postgres_ = false;
    bool readOnly_ = false;
    Connection* current_ = nullptr; // the connection of the call under way
};

} // namespace zal
