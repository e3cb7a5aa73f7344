#pragma once

// A production run as a whole: the configuration, the log, the records (the run's row, the codes an
// earlier log names, the supply of codes) and a line per KBX unit, each in a thread of its own. A
// program on top only reads its options, makes an editor per unit and says what the run says.

#include "ProductionLine.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace zal {

// How setting a run up ended; anything but Ready touched no device.
enum class RunSetup {
    Ready,
    NotOpened,     // the configuration did not open (its message has been shown)
    LogRefused,    // the log is the configuration itself, or cannot be a log (why())
    NotAFirstCode, // the first code cannot start a block of fixed codes
    NoCodes,       // codes are to be handed out, but the records cannot hand them out (why())
    // codes are to be handed out, but a failover of the records' server could lose them (why()): its
    // standby is not synchronous
    Asynchronous,
};

class ProductionRun {
public:
    struct Settings {
        QString file;      // the configuration every device gets
        QString logPath;   // the CSV log
        QString firstCode; // four hexadecimal digits; empty: the devices keep their fixed codes
        int count = 0;     // devices of the run; 0: until stopped
        std::function<bool()> stopRequested;
        // The operator accepts a server whose standby is not synchronous: every row then says so.
        bool allowAsynchronous = false;
    };
    // A unit of the run: the editor its line works through (made for its KBX), its name, and where
    // its messages go (from its own thread).
    struct Unit {
        TfrmEnterData* editor = nullptr;
        QString name;
        std::function<void(const QString&)> say;
    };

    explicit ProductionRun(Settings settings);
    ~ProductionRun();
    ProductionRun(const ProductionRun&) = delete;
    ProductionRun& operator=(const ProductionRun&) = delete;

    // Opens the configuration in the first unit's editor, then the log, then the records. Not Ready:
    // why() says why where the outcome does not, and no device was touched.
    RunSetup Prepare(TfrmEnterData& first);
    QString why() const { return why_; }
    // What the set-up did that does not stop the run: codes an earlier log names taken into the
    // records, and why the records could not take the run (its devices are then in the log alone).
    int importedCodes() const { return imported_; }
    // Codes the log says were written (or failed) that the records still held as only reserved.
    int reconciledCodes() const { return reconciled_; }
    // Why the run's codes may not last through a failover, when allowAsynchronous let it go on.
    const QString& replicationRisk() const { return shared_.rowNote; }
    // Blocks whose state the records could not take even after the run (the log has them; the next
    // run brings the records up to date).
    int unsettledBlocks() const { return unsettled_; }
    QString runNotRecorded() const { return runNotRecorded_; }

    // Runs a line per unit, each in a thread of its own, until the count is reached, a stop is asked
    // for or the run halts; the first unit is the one Prepare was given.
    void Run(const std::vector<Unit>& units);

    const LineShared& shared() const { return shared_; }
    // Why the records could not take every device of the run (the log has them all); empty when they did.
    QString recordsProblem() { return log_.recordsProblem(); }
    // Whether no unit could be used at all.
    bool noUnitUsable(size_t units) const { return shared_.unusable == static_cast<int>(units); }

private:
    Settings settings_;
    LineLog log_;
    std::unique_ptr<CodeAllocator> codes_;
    LineShared shared_;
    QString why_, runNotRecorded_;
    int imported_ = 0, reconciled_ = 0, unsettled_ = 0;
    RecordsDatabase::FailoverWindow failover_;
};

} // namespace zal
