#pragma once

// How a call that is not a technician's command went: its value, or what kind of failure it met and
// the words that say it. The kind decides what a caller does (a line stops when the records are away,
// and only says so when the codes ran out; a full disk is said as such); the words are for the
// technician. Beside CommandResult, which carries the message a command showed, this is how the layers
// below say how a call went: no exception, no bool beside an error(), no 0 or -1 meaning "failed".
// Two kinds stand beside it on purpose: a KBX operation returns a KbxResult, whose numbers the service
// documents use (the transport below it opens with a Result), and a production run keeps its state
// with why() for the line's screen. The KBX's frame exchanges return the bytes they moved, 0 for none.

#include <QString>

#include <optional>
#include <utility>

namespace zal {

enum class Problem {
    None,
    Invalid,     // what was asked for names nothing this program can use
    Unreachable, // a server, a file or a folder cannot be reached or opened
    Busy,        // another program held a lock longer than this one waits
    TimedOut,    // a server did not finish in its time
    Conflict,    // another station changed the same rows at the same moment
    Unconfirmed, // committed on the server, but its standby never confirmed it: may be lost in a failover
    ReadOnly,    // it can be read here, not written
    NewerSchema, // made by a newer program: read, never written
    Damaged,     // not what it should be (not a database, damaged pages, a broken file)
    Exhausted,   // nothing left to hand out (no fixed radio ID codes left)
    Full,        // the disk (or the user's quota) has no room for what was to be written
    NotFound,    // what was asked for is not there
    Cancelled,   // a stop was asked for (Ctrl+C, SIGTERM, SIGHUP)
    Other,
};

// A failure, which becomes the Result of any call that returns it.
struct Failure {
    Problem problem = Problem::Other;
    QString text;
};

template <class T = void> class Result {
public:
    Result(T value) : value_(std::move(value)) {}
    Result(Failure failure) : failure_(std::move(failure)) {}

    explicit operator bool() const { return value_.has_value(); }
    const T& operator*() const& { return *value_; }
    T& operator*() & { return *value_; }
    T&& operator*() && { return std::move(*value_); }
    const T* operator->() const { return &*value_; }
    T* operator->() { return &*value_; }
    T value_or(T fallback) const { return value_ ? *value_ : std::move(fallback); }
    friend bool operator==(const Result& result, const T& value) {
        return result.value_ && *result.value_ == value;
    }

    Problem problem() const { return value_ ? Problem::None : failure_.problem; }
    // Why it failed; empty when it did not.
    const QString& error() const { return failure_.text; }
    const Failure& failure() const { return failure_; }

private:
    std::optional<T> value_;
    Failure failure_;
};

template <> class Result<void> {
public:
    Result() = default;
    Result(Failure failure) : ok_(false), failure_(std::move(failure)) {}

    explicit operator bool() const { return ok_; }
    Problem problem() const { return ok_ ? Problem::None : failure_.problem; }
    const QString& error() const { return failure_.text; }
    const Failure& failure() const { return failure_; }

private:
    bool ok_ = true;
    Failure failure_;
};

} // namespace zal
