#pragma once

// The connections to the records. Each thread has one per database, made on its first use and closed
// when the thread ends, so that no caller decides how long a connection lives and none is used by a
// thread that did not make it. Every call's wait on a server is watched: past its deadline, or when a
// stop is asked for, the server is asked to cancel the statement and, if it does not answer at once,
// the connection is cut, so that a frozen server or a held lock never holds the program.

#include "RecordsDatabase.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace zal::records_connection {

class Watch;

struct Connection {
    Connection() = default;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection();

    QSqlDatabase database() const { return QSqlDatabase::database(name, false); }
    // After the driver opened it: finds the driver's handle for the watch and, for SQLite, puts in a
    // lock wait that a stop ends.
    void attach();
    // Whether it is still connected: not closed, and for a server not lost.
    bool alive() const;

    QString name; // Qt's name for it
    bool postgres = false;
    bool readOnly = false; // an SQLite file or folder this user cannot write: opened to read only
    int newerSchema = 0;   // made by a newer program (its schema), else 0
    QString error;         // why it could not be opened; empty when it could
    RecordsProblem problem = RecordsProblem::None;
    bool broken = false;               // replaced at the next use: the server went away, or the watch cut it
    std::chrono::milliseconds wait{0}; // how long one call may wait on a server (0: not watched)
    std::chrono::milliseconds busyWait{10000}; // how long SQLite waits for another program's lock
    // How long a commit waits for a synchronous standby's confirmation before it is cancelled (the
    // server then keeps it locally, unconfirmed).
    std::chrono::milliseconds commitWait{10000};
    // Warnings the server sent since they were last cleared: a commit whose wait for its standby was
    // cancelled still succeeds, with a warning as its only sign.
    int warnings = 0;
    // Statements prepared once for this connection, to be run again with new values.
    std::map<QString, std::unique_ptr<QSqlQuery>> prepared;
    // Set by the watch when it ended a wait: TimedOut or Cancelled.
    std::atomic<RecordsProblem> cutOff{RecordsProblem::None};
    std::chrono::steady_clock::time_point busySince{};
    int watched = 0;        // calls under way on it (one may call another)
    Watch* watch = nullptr; // the outermost call's watch

    void* handle = nullptr;       // the driver's PGconn* or sqlite3*
    std::shared_ptr<void> cancel; // PostgreSQL's cancel request, kept apart from the connection
    int socket = -1;
};

// This thread's connection to location. A new one is made with open (which connects and brings the
// schema forward, or says in error why it could not) when there is none yet or the last one broke.
Connection& ThreadConnection(const QString& location, const std::function<void(Connection&)>& open);

// Watches the calling thread's use of a connection while it lives; rearm() starts the wait anew (a long
// import, one statement after another).
class Watch {
public:
    explicit Watch(Connection& connection);
    ~Watch();
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;
    void rearm();
    // Starts the wait anew, with a time of its own (a commit's wait for its standby).
    void rearm(std::chrono::milliseconds wait);

private:
    Connection& connection_;
};

// How a statement that commits went: done, failed (the query's error says why), or kept by the server
// only locally because its synchronous standby did not confirm it in time (or a stop cut the wait).
enum class Commit { Done, Failed, Unconfirmed };
// Runs statement (a COMMIT, or a write outside a transaction, which commits by itself) with the
// connection's commit wait as its time when a watch is on it, then gives the watch its usual time again.
// SQLite's commits are Done or Failed.
Commit CommitDurably(Connection& c, const std::function<bool()>& statement);

// The kind of a failed statement, from the error's type and the driver's code, never from its words.
RecordsProblem Classify(const QSqlError& error, Connection& connection);
// Why a commit counts as not done: a stop came first, or the standby did not confirm it in time.
QString NotConfirmed(const Connection& connection);

// Every statement under way in this process is cancelled (a stop was asked for); from any thread but a
// signal handler's. Statements started afterwards may wait a second at most.
void CancelRunning();
// Whether a stop was asked for: no new connection to a server is made then (a frozen server would hold
// its making for the whole connect timeout).
bool Stopped();
// Waits for time, or less when a stop is asked for; whether it waited the whole time.
bool Pause(std::chrono::milliseconds time);

} // namespace zal::records_connection

namespace zal {

// One call on the records: this thread's connection, watched while the call lasts.
class RecordsDatabase::Call {
public:
    explicit Call(RecordsDatabase& records)
        : records_(records), outer_(records.current_), connection_(records.connection()) {
        if (connection_) {
            watch_.emplace(*connection_);
            records_.current_ = connection_;
        }
    }
    ~Call() { records_.current_ = outer_; }
    Call(const Call&) = delete;
    Call& operator=(const Call&) = delete;
    explicit operator bool() const { return connection_ != nullptr; }
    QSqlDatabase db() const { return connection_->database(); }
    Connection& connection() const { return *connection_; }
    void rearm() { watch_->rearm(); }

private:
    RecordsDatabase& records_;
    Connection* outer_; // the call this one is part of
    Connection* connection_;
    std::optional<records_connection::Watch> watch_;
};

} // namespace zal
