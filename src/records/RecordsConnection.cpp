#include "RecordsConnection.h"

#include <QCoreApplication>
#include <QSqlDriver>
#include <QVariant>
#include <QtGlobal>

#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

#include <dlfcn.h>
#include <libpq-fe.h>
#include <sqlite3.h>
#include <sys/socket.h>

namespace zal::records_connection {
namespace {

// The few calls made beside Qt's drivers (cancelling, the server's notices, SQLite's lock wait) are
// looked up in the client libraries the drivers load, once a database of their kind is opened: a
// command that opens none never loads them (libpq alone brings some twenty libraries with it: Kerberos,
// LDAP, TLS), which keeps every zalctl command's start-up short.
template <typename Function> bool Find(void* library, const char* name, Function& function) {
    function = library ? reinterpret_cast<Function>(::dlsym(library, name)) : nullptr;
    return function != nullptr;
}

void* Library(const char* name) {
    void* library = ::dlopen(name, RTLD_NOW | RTLD_NOLOAD); // the driver's, already there
    return library ? library : ::dlopen(name, RTLD_NOW | RTLD_LOCAL);
}

struct PqCalls {
    decltype(&PQcancel) cancel = nullptr;
    decltype(&PQstatus) status = nullptr;
    decltype(&PQsetNoticeReceiver) setNoticeReceiver = nullptr;
    decltype(&PQresultErrorField) resultErrorField = nullptr;
    decltype(&PQsocket) socket = nullptr;
    decltype(&PQgetCancel) getCancel = nullptr;
    decltype(&PQfreeCancel) freeCancel = nullptr;
    bool found = false;
};

// Nothing when libpq cannot be found (no PostgreSQL connection can then have been opened either).
const PqCalls* Pq() {
    static const PqCalls calls = [] {
        PqCalls c;
        void* pq = Library("libpq.so.5");
        c.found = Find(pq, "PQcancel", c.cancel) && Find(pq, "PQstatus", c.status) &&
                  Find(pq, "PQsetNoticeReceiver", c.setNoticeReceiver) &&
                  Find(pq, "PQresultErrorField", c.resultErrorField) && Find(pq, "PQsocket", c.socket) &&
                  Find(pq, "PQgetCancel", c.getCancel) && Find(pq, "PQfreeCancel", c.freeCancel);
        return c;
    }();
    return calls.found ? &calls : nullptr;
}

decltype(&sqlite3_busy_handler) SqliteBusyHandler() {
    static const decltype(&sqlite3_busy_handler) call = [] {
        decltype(&sqlite3_busy_handler) f = nullptr;
        Find(Library("libsqlite3.so.0"), "sqlite3_busy_handler", f);
        return f;
    }();
    return call;
}

using Clock = std::chrono::steady_clock;

// How long the server has to answer a cancel request before the connection is cut.
constexpr std::chrono::milliseconds kCancelGrace{700};
// How long a call started after a stop may wait at most: enough for a server that answers to take the
// last row, too short to hold the stop.
constexpr std::chrono::milliseconds kAfterStop{300};

std::atomic<bool> gStopped{false};

// The one thread that ends waits past their time. It outlives every connection (it is never
// destroyed), so that a thread ending during the program's exit still finds it.
class Watchdog {
public:
    static Watchdog& Get() {
        static Watchdog* const watchdog = new Watchdog;
        return *watchdog;
    }

    void Arm(Connection* c, std::chrono::milliseconds wait) {
        const std::lock_guard lock(mutex_);
        if (gStopped.load())
            armed_[c] = {Clock::now() + kAfterStop, true}; // no cancel request first: cut at once
        else
            armed_[c] = {Clock::now() + wait, false};
        if (!thread_.joinable())
            thread_ = std::thread([this] { Loop(); });
        wake_.notify_one();
    }

    void Disarm(Connection* c) {
        const std::lock_guard lock(mutex_);
        armed_.erase(c);
    }

    void CancelAll() {
        const std::lock_guard lock(mutex_);
        gStopped = true;
        for (auto& [c, state] : armed_) {
            if (!state.asked)
                Ask(c, state, RecordsProblem::Cancelled);
        }
        wake_.notify_one();
    }

private:
    struct State {
        Clock::time_point deadline;
        bool asked; // the cancel request went out; at the deadline the connection is cut
    };

    void Loop() {
        std::unique_lock lock(mutex_);
        for (;;) {
            auto next = Clock::time_point::max();
            for (const auto& [c, state] : armed_)
                next = std::min(next, state.deadline);
            if (next == Clock::time_point::max())
                wake_.wait(lock);
            else
                wake_.wait_until(lock, next);
            const auto now = Clock::now();
            for (auto i = armed_.begin(); i != armed_.end();) {
                if (i->second.deadline > now) {
                    ++i;
                } else if (!i->second.asked) {
                    Ask(i->first, i->second, RecordsProblem::TimedOut);
                    ++i;
                } else {
                    // No answer to the cancel request either: a frozen server. Its socket shut, the
                    // driver's wait returns at once with the connection gone.
                    if (i->first->socket >= 0)
                        ::shutdown(i->first->socket, SHUT_RDWR);
                    i = armed_.erase(i);
                }
            }
        }
    }

    // Asks the server, or SQLite, to end the statement under way.
    static void Ask(Connection* c, State& state, RecordsProblem why) {
        RecordsProblem none = RecordsProblem::None;
        c->cutOff.compare_exchange_strong(none, why);
        state.asked = true;
        state.deadline = Clock::now() + kCancelGrace;
        if (c->postgres && c->cancel) {
            // The request opens a connection of its own, which a frozen server never answers: it runs
            // beside the watch, holding its own share of the request.
            std::thread([cancel = c->cancel] {
                char reason[256];
                if (const PqCalls* pq = Pq())
                    pq->cancel(static_cast<PGcancel*>(cancel.get()), reason, sizeof reason);
            }).detach();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::map<Connection*, State> armed_;
    std::thread thread_;
};

// SQLite's wait for another program's lock, in short sleeps, ended by a stop as well as by its time.
// (Its other statements are local and short: only a server's are watched.)
int BusyWait(void* data, int count) {
    auto* c = static_cast<Connection*>(data);
    if (count == 0)
        c->busySince = Clock::now();
    if (gStopped.load() || Clock::now() - c->busySince >= c->busyWait)
        return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return 1;
}

// Qt's PostgreSQL driver frees a prepared statement on the server when its query goes, and warns
// when it cannot: on a connection that was lost, every query of it warns once. The loss itself is
// what the call reports; these warnings are dropped, every other message goes on as before.
QtMessageHandler gPreviousHandler = nullptr;

void DropLostStatementWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    // So does a statement on a connection the driver closed when it was lost (a rollback after it).
    if (type == QtWarningMsg && (message.startsWith(QLatin1String("Unable to free statement:")) ||
                                 message.startsWith(QLatin1String("QSqlQuery::exec: database not open")) ||
                                 message.startsWith(QLatin1String("QSqlQuery::prepare: database not open"))))
        return;
    if (gPreviousHandler)
        gPreviousHandler(type, context, message);
}

void QuietenLostStatements() {
    static std::once_flag once;
    std::call_once(once, [] { gPreviousHandler = qInstallMessageHandler(DropLostStatementWarnings); });
}

struct ThreadConnections {
    std::map<QString, std::unique_ptr<Connection>> byLocation;
};

thread_local ThreadConnections tConnections;

} // namespace

Connection::~Connection() {
    prepared.clear();
    {
        QSqlDatabase db = database();
        if (db.isValid())
            db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

bool Connection::alive() const {
    // The driver may have closed it (and freed its handle) on its own.
    if (!database().isOpen())
        return false;
    const PqCalls* pq = postgres ? Pq() : nullptr;
    return !postgres || !handle || !pq || pq->status(static_cast<PGconn*>(handle)) == CONNECTION_OK;
}

void Connection::attach() {
    QSqlDatabase db = database();
    const QVariant driverHandle = db.driver()->handle();
    if (!driverHandle.isValid() || !driverHandle.data())
        return;
    handle = *static_cast<void* const*>(driverHandle.constData());
    if (!handle)
        return;
    // Qt names the type as its header spells it: PGconn is libpq's typedef of struct pg_conn.
    const QByteArray type = driverHandle.typeName();
    const PqCalls* pq = postgres ? Pq() : nullptr;
    const auto busyHandler = postgres ? nullptr : SqliteBusyHandler();
    if (pq && (type == "PGconn*" || type == "pg_conn*")) {
        auto* pg = static_cast<PGconn*>(handle);
        // The server's own words as it shuts down ("terminating connection due to ...") are no news
        // for the technician: the call that meets the shutdown says what it means for the command.
        // Its warnings are counted, never shown: a commit whose wait for the standby was cancelled
        // succeeds with one, and that commit must not count as lasting.
        pq->setNoticeReceiver(
            pg,
            [](void* connection, const PGresult* notice) {
                const char* severity = Pq()->resultErrorField(notice, PG_DIAG_SEVERITY_NONLOCALIZED);
                if (severity && std::strcmp(severity, "WARNING") == 0)
                    ++static_cast<Connection*>(connection)->warnings;
            },
            this);
        QuietenLostStatements();
        socket = pq->socket(pg);
        cancel = std::shared_ptr<void>(pq->getCancel(pg),
                                       [](void* p) { Pq()->freeCancel(static_cast<PGcancel*>(p)); });
    } else if (busyHandler && type == "sqlite3*") {
        busyHandler(static_cast<sqlite3*>(handle), BusyWait, this);
    } else {
        handle = nullptr;
    }
}

Connection& ThreadConnection(const QString& location, const std::function<void(Connection&)>& open) {
    auto& slot = tConnections.byLocation[location];
    // One in use by a call of this thread (a handle made during another's call) is never replaced
    // under it.
    if (slot && slot->watched > 0)
        return *slot;
    if (!slot || slot->broken || !slot->error.isEmpty() || !slot->alive()) {
        slot.reset(); // the old one's name is free again before the new one takes its own
        static std::atomic<int> made{0};
        slot = std::make_unique<Connection>();
        slot->name = QStringLiteral("zal-records-%1").arg(made++);
        open(*slot);
    }
    slot->cutOff = RecordsProblem::None;
    return *slot;
}

Watch::Watch(Connection& connection) : connection_(connection) {
    if (connection_.watched++ > 0)
        return;
    connection_.watch = this;
    connection_.cutOff = RecordsProblem::None;
    if (connection_.postgres)
        Watchdog::Get().Arm(&connection_, connection_.wait);
}

Watch::~Watch() {
    if (--connection_.watched > 0)
        return;
    connection_.watch = nullptr;
    if (connection_.postgres)
        Watchdog::Get().Disarm(&connection_);
    // A cut connection is gone; one whose statement the server cancelled is still good.
    if (connection_.cutOff.load() != RecordsProblem::None && connection_.postgres && !connection_.alive())
        connection_.broken = true;
}

void Watch::rearm() {
    rearm(connection_.wait);
}

void Watch::rearm(std::chrono::milliseconds wait) {
    if (connection_.postgres)
        Watchdog::Get().Arm(&connection_, wait);
}

Commit CommitDurably(Connection& c, const std::function<bool()>& statement) {
    if (!c.postgres || !c.watch)
        return statement() ? Commit::Done : Commit::Failed;
    Watch& watch = *c.watch;
    c.warnings = 0;
    watch.rearm(std::min(c.commitWait, c.wait));
    const bool committed = statement();
    // A commit whose wait for the standby was cut (by its time or by a stop) still succeeds, with a
    // warning; so may one the cancel request reached just after it ended: neither counts as lasting.
    const bool cut = c.cutOff.load() != RecordsProblem::None;
    watch.rearm(); // the connection is still good: the cancel request was answered
    if (!committed)
        return Commit::Failed;
    return c.warnings > 0 || cut ? Commit::Unconfirmed : Commit::Done;
}

RecordsProblem Classify(const QSqlError& error, Connection& c) {
    if (error.type() == QSqlError::NoError)
        return RecordsProblem::None;
    if (const RecordsProblem cut = c.cutOff.load(); cut != RecordsProblem::None)
        return cut;
    const QString code = error.nativeErrorCode();
    if (c.postgres) {
        // A connection that went away says so in libpq's state, not in a SQLSTATE.
        if (!c.alive()) {
            c.broken = true;
            return RecordsProblem::Unreachable;
        }
        if (code == QLatin1String("57014")) // query_canceled: the statement timeout
            return RecordsProblem::TimedOut;
        if (code == QLatin1String("55P03")) // lock_not_available: the lock timeout
            return RecordsProblem::Busy;
        if (code.startsWith(QLatin1String("23")) || code == QLatin1String("40001") ||
            code == QLatin1String("40P01"))
            return RecordsProblem::Conflict;
        if (code == QLatin1String("25006")) // read_only_sql_transaction: a standby
            return RecordsProblem::ReadOnly;
        if (code.startsWith(QLatin1String("08")) || code.startsWith(QLatin1String("57P"))) {
            c.broken = true;
            return RecordsProblem::Unreachable;
        }
        if (code.startsWith(QLatin1String("XX")))
            return RecordsProblem::Damaged;
    } else {
        bool number = false;
        const int primary = code.toInt(&number) & 0xFF; // the extended codes keep the primary below
        if (number) {
            switch (primary) {
            case SQLITE_BUSY:
            case SQLITE_LOCKED:
                // The lock wait a stop ended.
                return gStopped.load() ? RecordsProblem::Cancelled : RecordsProblem::Busy;
            case SQLITE_READONLY:
            case SQLITE_PERM:
                return RecordsProblem::ReadOnly;
            case SQLITE_CORRUPT:
            case SQLITE_NOTADB:
                return RecordsProblem::Damaged;
            case SQLITE_CANTOPEN:
            case SQLITE_IOERR:
            case SQLITE_FULL:
                return RecordsProblem::Unreachable;
            case SQLITE_CONSTRAINT:
                return RecordsProblem::Conflict;
            case SQLITE_INTERRUPT:
                return RecordsProblem::Cancelled;
            default:
                break;
            }
        }
    }
    if (error.type() == QSqlError::ConnectionError) {
        c.broken = true;
        return RecordsProblem::Unreachable;
    }
    return RecordsProblem::Other;
}

namespace {

// What a pause waits on. Never destroyed, as the watchdog: the thread that acts on a stop may still
// wake it while the program exits.
struct Pauses {
    std::mutex mutex;
    std::condition_variable wake;
    static Pauses& Get() {
        static Pauses* const pauses = new Pauses;
        return *pauses;
    }
};

} // namespace

void CancelRunning() {
    Watchdog::Get().CancelAll();
    Pauses& p = Pauses::Get();
    { const std::lock_guard lock(p.mutex); }
    p.wake.notify_all();
}

bool Pause(std::chrono::milliseconds time) {
    Pauses& p = Pauses::Get();
    std::unique_lock lock(p.mutex);
    return !p.wake.wait_for(lock, time, [] { return gStopped.load(); });
}

bool Stopped() {
    return gStopped.load();
}

QString NotConfirmed(const Connection& c) {
    return c.cutOff.load() == RecordsProblem::Cancelled
               ? QCoreApplication::translate(
                     "Records", "ein Halt wurde verlangt, bevor der Standby das Festschreiben bestätigt hat")
               : QCoreApplication::translate("Records",
                                             "der Standby hat das Festschreiben nicht innerhalb von %1 s "
                                             "bestätigt (der Server hält es nur bei sich; ein Failover "
                                             "kann es verlieren)")
                     .arg(QString::number(static_cast<double>(c.commitWait.count()) / 1000.0));
}

} // namespace zal::records_connection
