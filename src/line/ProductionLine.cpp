#include "ProductionLine.h"

#include "records/RecordsDatabase.h"

#include "config/Products.h"
#include "radio/DeviceIdentity.h"
#include "radio/RadioCode.h"
#include "shell/FileSystem.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zal {

// --- Codes ----------------------------------------------------------------------------------------------

CodeAllocator::CodeAllocator(std::uint16_t first, bool plus, QString database, QString station,
                             std::set<std::uint16_t> alreadyOut, RecordsDatabase::FailoverWindow* window)
    : first_(first), plus_(plus), database_(std::move(database)), station_(std::move(station)),
      window_(window), out_(std::move(alreadyOut)) {}

Result<std::vector<std::uint16_t>> CodeAllocator::Next(const QString& unit, const Waiting& waiting) {
    // The records keep this thread's connection; a server that went away and came back is simply
    // connected to again. A block reserved on a primary that failed before it answered is never handed
    // out again: its reservation went to the standby with the commit.
    Result<std::vector<std::uint16_t>> block = RecordsDatabase::AcrossFailover(
        database_,
        [&](RecordsDatabase& records) { return records.ReserveCodeBlock(first_, plus_, station_, unit); },
        window_, waiting);
    if (!block)
        return block;
    std::lock_guard lock(mutex_);
    std::vector<std::uint16_t> again;
    for (const std::uint16_t code : *block) {
        if (out_.count(code) > 0)
            again.push_back(code);
    }
    if (!again.empty())
        // The records lost reservations they had confirmed (an asynchronous standby promoted, a
        // restored database): the block stays reserved there and goes nowhere.
        return Failure{Problem::Conflict, QCoreApplication::translate(
                                              "Line", "die Aufzeichnungen haben die Codes %1 noch einmal "
                                                      "vergeben, die dieser Lauf oder sein Protokoll schon "
                                                      "vergeben hat: sie haben Reservierungen verloren")
                                              .arg(CodesText(again))};
    out_.insert(block->begin(), block->end());
    return block;
}

void CodeAllocator::GiveBack(const std::vector<std::uint16_t>& block, const Waiting& waiting) {
    // A block the records took back may come again for the next device; one they did not take back
    // stays reserved there and is never handed out again anyway.
    if (RecordsDatabase::AcrossFailover(
            database_, [&](RecordsDatabase& records) { return records.ReleaseCodes(block); }, window_,
            waiting)) {
        std::lock_guard lock(mutex_);
        for (const std::uint16_t code : block)
            out_.erase(code);
    }
}

Result<> CodeAllocator::Settle(const std::vector<std::uint16_t>& block, const QString& state,
                               const QString& serial, const QString& product, const Waiting& waiting) {
    const Result<> settled = RecordsDatabase::AcrossFailover(
        database_,
        [&](RecordsDatabase& records) { return records.SetCodesState(block, state, serial, product); },
        window_, waiting);
    if (!settled) {
        std::lock_guard lock(mutex_);
        unsettled_.push_back({block, state, serial, product});
    }
    return settled;
}

int CodeAllocator::SettleLeftOver() {
    std::vector<Unsettled> left;
    {
        std::lock_guard lock(mutex_);
        left.swap(unsettled_);
    }
    if (left.empty())
        return 0;
    // Records that cannot take one now (away, or a standby that confirms nothing) take none: the rest
    // is left to the next run's log at once, rather than each block waiting out its own time.
    RecordsDatabase records(database_);
    for (size_t i = 0; i < left.size(); ++i) {
        if (!records.SetCodesState(left[i].block, left[i].state, left[i].serial, left[i].product))
            return static_cast<int>(left.size() - i);
    }
    return 0;
}

// --- Unit -----------------------------------------------------------------------------------------------

LineUnit::LineUnit(TfrmEnterData& editor, QString name, LineOptions options, LineShared& shared)
    : editor_(editor), name_(std::move(name)), options_(std::move(options)), shared_(shared),
      probe_(editor.kbxFactory(), editor.clock()) {}

bool LineUnit::Sleep() {
    // In short steps, so that a stop, or the run's last device taken by another unit, is seen at once.
    const auto over = [this] {
        return (shared_.stopRequested && shared_.stopRequested()) || shared_.halted ||
               (shared_.count > 0 && shared_.claimed.load() >= shared_.count);
    };
    for (int waited = 0; waited < options_.pollMs; waited += 50) {
        if (over())
            return false;
        QThread::msleep(50);
    }
    return !over();
}

void LineUnit::halt(const QString& why) {
    static std::mutex lock;
    {
        const std::lock_guard guard(lock);
        if (!shared_.halted) {
            shared_.haltReason = why;
            shared_.halted = true;
        }
    }
    if (say)
        say(why);
}

void LineUnit::tell(LineEvent what) {
    if (event)
        event(what);
}

void LineUnit::problem(const QString& text) {
    if (text != lastProblem_ && say)
        say(text);
    lastProblem_ = text;
}

LineUnit::Presence LineUnit::Probe(ConfigImage* identity) {
    // The KBX stays open while the unit waits (opening a USB unit costs the kernel a driver change each
    // time); it is closed before the device's commands, which open it themselves.
    if (!probe_.isOpen() && probe_.Open() != kbxOk) {
        const QString why = probe_.openFailure();
        problem(why.isEmpty() ? QCoreApplication::translate("Line", "KBX nicht gefunden")
                              : QCoreApplication::translate("Line", "KBX nicht gefunden: %1").arg(why));
        return Presence::NoKbx;
    }
    // "O" is tried as often as every command is: a device that does not answer it is not there. The KBX
    // itself answers it even without a device, so silence means the KBX is dead or not a KBX.
    if (probe_.ConnectDevice() != kbxOk) {
        if (const QString gone = probe_.lineFailure(); !gone.isEmpty()) {
            problem(gone);
            probe_.Close(); // opened again on the next look, should the unit come back
            return Presence::NoKbx;
        }
        if (probe_.lastReplyEmpty()) {
            problem(QCoreApplication::translate(
                "Line", "die KBX antwortet nicht (hat sie Strom, und ist es eine KBX?)"));
            return Presence::Silent;
        }
        lastProblem_.clear();
        return Presence::Absent;
    }
    lastProblem_.clear();
    // Who it is: product, version and serial number (a MUVE+ II keeps part of it apart). A device that
    // answers but cannot be read whole is looked at again, never taken for a new one or a gone one.
    if (identity &&
        (probe_.ReadBlock(*identity, kIdentityBytes.first, kIdentityBytes.last) != kbxOk ||
         probe_.ReadBlock(*identity, kPlus2LongSerialBytes.first, kPlus2LongSerialBytes.last) != kbxOk))
        // Taken away while it was being looked at: "O" says so now. Otherwise a quick swap could put the
        // next device in before the next look, and a device of the same serial number would never be
        // seen to go.
        return probe_.ConnectDevice() == kbxOk ? Presence::Unknown : Presence::Absent;
    return Presence::Present;
}

bool LineUnit::WaitFor(bool present, ConfigImage& identity) {
    const QString before = IdentifyDevice(identity).deviceKey();
    bool done = false;
    for (;;) {
        ConfigImage now{};
        const Presence p = Probe(&now);
        if (present && p == Presence::Present) {
            identity = now;
            done = true;
        }
        // Gone, or another device in its place (the serial number changed).
        if (!present &&
            (p == Presence::Absent || (p == Presence::Present && IdentifyDevice(now).deviceKey() != before)))
            done = true;
        if (done || !Sleep())
            break;
    }
    probe_.Close();
    return done;
}

LineRecord LineUnit::Configure(const ConfigImage& identity) {
    QElapsedTimer timer;
    timer.start();
    LineRecord r;
    r.time = QDateTime::currentDateTimeUtc(); // written with its zone: 2026-12-07T20:05:05Z
    r.unit = name_;
    ConfigImage device = identity;
    // The device's codes are reserved before anything is written to it: a device the run cannot give
    // codes to (none left, the records read-only or away) is left as it came, and the run stops.
    std::optional<std::vector<std::uint16_t>> block;
    // A unit that waits for a standby to take over says so, and for how long at most: the whole line
    // shares one window, however many units wait in it.
    const CodeAllocator::Waiting waiting = [this](qint64 secondsLeft) {
        if (say)
            say(QCoreApplication::translate("Line", "die Aufzeichnungen sind nicht erreichbar; warte "
                                                    "höchstens %1 s, dass ein Standby übernimmt")
                    .arg(secondsLeft));
    };
    if (shared_.codes) {
        if (Result<std::vector<std::uint16_t>> reserved = shared_.codes->Next(name_, waiting); reserved) {
            block = std::move(*reserved);
        } else {
            r.result = LineResultWord(CommandResult::Failed);
            r.message = reserved.error();
            halt(r.message);
        }
    }
    CommandResult result = CommandResult::Failed;
    bool opened = false;
    if (!shared_.codes || block) {
        // The file is opened anew for each device: a write takes the device's own bytes into the image.
        result = editor_.OpenPath(options_.file);
        opened = static_cast<bool>(result);
        if (opened) {
            result = editor_.WriteToDevice();
            // The write read the device: all of it (verification, or the backup before), or at least its
            // identification.
            device = editor_.comparison();
        }
        r.message = result.text();
        // A file the editor does not take fails the device (nothing was written), whatever the file's
        // own refusal.
        r.result = LineResultWord(opened ? result.kind() : CommandResult::Failed);
    }
    // The codes go only after the write: a device whose write did not finish never got any of them.
    if (block && result != CommandResult::Done)
        shared_.codes->GiveBack(*block, waiting);
    if (result == CommandResult::Done && block) {
        CommandResult changed = CommandResult::Refused;
        const FixedCodeWindow window = editor_.ChangeFixedCodesBegin(&changed);
        const QString first = CodesText({block->front()});
        if (window == FixedCodeWindow::Plus) {
            editor_.changeFixedPlus().setNew1(first);
            changed = editor_.changeFixedPlus().WriteToDevice();
            if (changed)
                editor_.changeFixedPlus().CopyInto(device);
        } else if (window == FixedCodeWindow::Classic) {
            editor_.changeFixed().setNew(0, first);
            changed = editor_.changeFixed().WriteToDevice();
            if (changed)
                editor_.changeFixed().CopyInto(device);
        }
        const DeviceIdentity identified = IdentifyDevice(device);
        const QString serial = identified.serial;
        if (changed) {
            editor_.ChangeFixedCodesCommit(window);
            // The device's history ends with what it holds now: its new radio IDs, not the write's.
            if (const Result<> recorded = editor_.RecordDeviceEvent(device, QStringLiteral("line"));
                !recorded)
                say(QCoreApplication::translate("Line",
                                                "die Aufzeichnungen konnten die neuen Codes von %1 nicht "
                                                "festhalten: %2")
                        .arg(IdentifyDevice(device).serial, recorded.error()));
            r.codes = CodesText(*block);
            shared_.codes->Settle(*block, QStringLiteral("written"), serial, identified.productName, waiting);
        } else if (!changed.deviceChanged()) {
            // Refused before anything was sent: the device never got any of them.
            shared_.codes->GiveBack(*block, waiting);
            r.result = LineResultWord(CommandResult::Failed);
            r.message = changed.text();
        } else {
            // The device may hold some of them: they stay used, and the row names them.
            shared_.codes->Settle(*block, QStringLiteral("failed"), serial, identified.productName, waiting);
            r.codes = CodesText(*block);
            r.result = LineResultWord(CommandResult::Failed);
            r.message = changed.text();
        }
    }
    const DeviceIdentity id = IdentifyDevice(device);
    r.serial = id.serial;
    r.product = id.productName;
    r.version = id.version;
    r.radioId = id.radioId;
    r.durationMs = timer.elapsed();
    if (!shared_.rowNote.isEmpty())
        r.message = QStringLiteral("%1 [%2]").arg(r.message, shared_.rowNote);
    return r;
}

void LineUnit::Run() {
    RunDevices();
    // The unit's connection to the records belongs to its thread, which ends here.
    editor_.CloseRecords();
}

void LineUnit::RunDevices() {
    if (const Presence first = Probe(nullptr); first == Presence::NoKbx || first == Presence::Silent) {
        probe_.Close();
        ++shared_.unusable;
        if (say)
            say(QCoreApplication::translate(
                "Line", "diese Einheit kann nicht verwendet werden; sie nimmt nicht am Lauf teil"));
        return;
    }
    ConfigImage identity{};
    for (;;) {
        tell(LineEvent::WaitingForDevice);
        if (say)
            say(QCoreApplication::translate("Line", "warte auf ein Gerät"));
        if (!WaitFor(true, identity))
            return;
        if (shared_.count > 0 && shared_.claimed.fetch_add(1) >= shared_.count)
            return; // the run has its devices (another unit took the last one)
        tell(LineEvent::DeviceFound);
        if (say)
            say(QCoreApplication::translate("Line", "Gerät gefunden: %1")
                    .arg(IdentifyDevice(identity).deviceKey()));
        const LineRecord r = Configure(identity);
        if (r.result == LineResultWord(CommandResult::Done))
            ++shared_.written;
        else
            ++shared_.refusedOrFailed;
        if (const Result<> logged = shared_.log ? shared_.log->Append(r) : Result<>(); !logged)
            halt(QCoreApplication::translate("Line",
                                             "das Protokoll konnte nicht geschrieben werden (%1); der "
                                             "Lauf hält an")
                     .arg(logged.error()));
        // Each text with exactly its own placeholders: one argument too many is a warning of Qt's.
        if (say && r.codes.isEmpty())
            say(QCoreApplication::translate("Line", "%1 %2: %3 (%4 ms)")
                    .arg(r.product, r.serial, r.result, QString::number(r.durationMs)));
        else if (say)
            say(QCoreApplication::translate("Line", "%1 %2: %3 (%4 ms), Codes %5")
                    .arg(r.product, r.serial, r.result, QString::number(r.durationMs), r.codes));
        tell(LineEvent::DeviceDone);
        if (shared_.count > 0 && shared_.claimed.load() >= shared_.count)
            return; // no device is left to this run
        if ((shared_.stopRequested && shared_.stopRequested()) || shared_.halted)
            return;
        tell(LineEvent::RemoveDevice);
        if (say)
            say(QCoreApplication::translate("Line", "das Gerät entfernen"));
        if (!WaitFor(false, identity))
            return;
    }
}

} // namespace zal
