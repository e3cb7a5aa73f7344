#pragma once

// A production line: one configuration written into device after device, as they are put behind a KBX
// and taken away again, each device recorded in a CSV log. Several KBX units may run lines at once, each
// with its own editor, sharing the log and the supply of fixed radio ID codes.

#include "editor/EnterData.h"
#include "records/RecordsDatabase.h"

#include <QDateTime>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

namespace zal {

// One row of the log.
using LineRecord = ProductionRow;

// The log's word for a device's outcome: the records' word, except "written" for a done write.
QString LineResultWord(CommandResult::Kind kind);
// Codes as the log and the messages write them: four hex digits each, separated by spaces.
QString CodesText(const std::vector<std::uint16_t>& codes);

// The CSV log (comma-separated, quoted where needed, UTF-8): a header, then a row per device. Rows
// are appended and flushed one at a time, from any thread.
class LineLog {
public:
    static const QStringList& Columns();

    // Creates the file with its header, or appends to an existing log; fails (Invalid) on a file that
    // is no log of this program (a FIFO, a device, a configuration file, ...), or when it cannot be
    // written (Unreachable).
    Result<> Open(const QString& path);
    // Reads an existing log without writing to it (nor making it): its codes, as Open takes them.
    Result<> Read(const QString& path);
    // One row, written whole or not at all.
    Result<> Append(const LineRecord& record);
    // Every fixed code the log says was given, so that a run never gives a code twice.
    std::set<std::uint16_t> usedCodes() const;
    // Takes the log's codes into the records as handed out, and brings those the records still hold
    // as only reserved (their fate could not be recorded while the server was away) to what the log
    // says became of them: how many codes were new to the records, and how many were brought up to date.
    struct Taken {
        int added = 0, settled = 0;
    };
    Result<Taken> TakeInto(RecordsDatabase& records, const QString& source) const;
    // Each row goes into the run of the records too. A row they cannot take does not stop the line (the
    // CSV has it); the first reason is kept. A wait for a standby is the run's window.
    void RecordInto(QString database, QString station, qint64 run,
                    RecordsDatabase::FailoverWindow* window = nullptr);
    QString recordsProblem();

private:
    mutable std::mutex mutex_;
    QString path_;
    // What the log's rows say became of each code they name (written into a device, or failed there).
    std::map<std::uint16_t, RecordsDatabase::LoggedCode> logged_;
    // Takes a row's codes (fields as the log's columns) into what the log says was given.
    void Take(const QStringList& fields);
    Result<> WriteRow(const QStringList& fields);
    QString database_, station_, recordsProblem_;
    qint64 run_ = 0;
    RecordsDatabase::FailoverWindow* window_ = nullptr;
};

// Hands out blocks of fixed codes from a first code on, skipping every block that would reuse a code.
// Each block is reserved and committed in the records database before it goes anywhere, so that every
// process and station using the same database hands out each code once, and a crash never frees a code
// that may have reached a device. Whatever the records answer (a standby promoted that lost the last
// reservations), a code this run handed out or its log holds is never handed out again. Safe to use
// from several threads (the records keep a connection per thread).
class CodeAllocator {
public:
    // alreadyOut: the codes the log names; window: the run's shared wait for a standby.
    CodeAllocator(std::uint16_t first, bool plus, QString database, QString station,
                  std::set<std::uint16_t> alreadyOut = {}, RecordsDatabase::FailoverWindow* window = nullptr);
    // Hears how long a call will wait for a standby, in seconds, when it starts to wait.
    using Waiting = std::function<void(qint64)>;
    // The next block; a failure says whether the codes ran out (Exhausted), the standby did not confirm
    // the reservation (Unconfirmed), the records answered with a code this run gave out already
    // (Conflict), or the records could not hand one out (away, read-only, of a newer program, or a stop
    // asked for).
    Result<std::vector<std::uint16_t>> Next(const QString& unit = {}, const Waiting& waiting = {});
    // A block the device is known never to have received (refused before the write began) goes back.
    void GiveBack(const std::vector<std::uint16_t>& block, const Waiting& waiting = {});
    // What became of a block that went to a device: "written", or "failed" (it stays used). One the
    // records could not take is tried again by SettleLeftOver, and the log has it for the next run.
    Result<> Settle(const std::vector<std::uint16_t>& block, const QString& state, const QString& serial,
                    const QString& product = {}, const Waiting& waiting = {});
    // Tries once more each block whose state could not be recorded; how many still could not.
    int SettleLeftOver();

private:
    struct Unsettled {
        std::vector<std::uint16_t> block;
        QString state, serial, product;
    };
    std::uint16_t first_;
    bool plus_;
    QString database_, station_;
    RecordsDatabase::FailoverWindow* window_;
    std::mutex mutex_;
    std::set<std::uint16_t> out_; // handed out by this run, or named by its log
    std::vector<Unsettled> unsettled_;
};

struct LineOptions {
    QString file;     // the configuration every device gets
    int pollMs = 500; // how often the KBX is asked whether a device is there
};

// What all units of a run share.
struct LineShared {
    LineLog* log = nullptr;
    CodeAllocator* codes = nullptr; // none: the devices keep their fixed codes
    int count = 0;                  // devices of the run; 0: until stopped
    std::atomic<int> claimed{0};    // devices taken up so far
    std::atomic<int> written{0}, refusedOrFailed{0};
    std::atomic<int> unusable{0}; // units whose KBX could not be used at the start
    // Set when the run cannot go on (the log cannot be written, the codes' database went away): every
    // unit stops before its next device.
    std::atomic<bool> halted{false};
    QString haltReason; // written once, before halted is set
    std::function<bool()> stopRequested;
    // Said in every row's message: why this run's codes may not last through a failover, when the
    // operator chose to go on all the same.
    QString rowNote;
};

// The moments of a unit's line, for a program that acts on them (a bench swapping devices, a window);
// say carries the same moments in words for a person.
enum class LineEvent { WaitingForDevice, DeviceFound, DeviceDone, RemoveDevice };

// One KBX's line: waits for a device, writes the configuration (with the write's checks and
// verification), gives it its codes, records it, waits for it to go, and so on until the run's count
// is reached or a stop is asked for (the device under way is finished first).
class LineUnit {
public:
    LineUnit(TfrmEnterData& editor, QString name, LineOptions options, LineShared& shared);
    // Messages for the technician (device found, written, waiting); from the unit's own thread.
    std::function<void(const QString&)> say;
    // The same moments as typed events, from the unit's own thread.
    std::function<void(LineEvent)> event;

    // A unit whose KBX cannot be opened or does not answer at the start says why and leaves the run.
    void Run();

private:
    void RunDevices();
    enum class Presence { Present, Absent, Unknown, NoKbx, Silent };
    Presence Probe(ConfigImage* identity);
    void tell(LineEvent what);
    // Says a problem with the KBX once, until the KBX works again.
    void problem(const QString& text);
    // Ends the run for every unit before its next device.
    void halt(const QString& why);
    bool WaitFor(bool present, ConfigImage& identity);
    LineRecord Configure(const ConfigImage& identity);
    bool Sleep();

    TfrmEnterData& editor_;
    QString name_;
    LineOptions options_;
    LineShared& shared_;
    TKbxInterface probe_;
    QString lastProblem_;
};

} // namespace zal
