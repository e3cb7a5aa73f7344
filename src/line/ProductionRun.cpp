#include "ProductionRun.h"

#include "config/Products.h"
#include "radio/DeviceIdentity.h"
#include "radio/FixedCodes.h"
#include "radio/RadioCode.h"

#include <QFileInfo>

#include <thread>

namespace zal {

ProductionRun::ProductionRun(Settings settings) : settings_(std::move(settings)) {}

ProductionRun::~ProductionRun() = default;

RunSetup ProductionRun::Prepare(TfrmEnterData& first) {
    // The configuration must open before any device is touched.
    if (!first.OpenPath(settings_.file))
        return RunSetup::NotOpened;
    const bool plus = IsPlusProduct(first.product());
    if (!settings_.firstCode.isEmpty() && !IsValidFirstFixedCode(TextToCode(settings_.firstCode), plus))
        return RunSetup::NotAFirstCode;
    // The configuration itself is never the log (an empty one would take the log's header).
    if (QFileInfo(settings_.logPath).canonicalFilePath() == QFileInfo(settings_.file).canonicalFilePath()) {
        why_.clear();
        return RunSetup::LogRefused;
    }
    if (const Result<> opened = log_.Open(settings_.logPath); !opened) {
        why_ = opened.error();
        return RunSetup::LogRefused;
    }
    // The run and its rows go into the records, which every station shares. Codes are handed out only
    // through them: without them a line that changes codes does not start; any other line goes on with
    // its log.
    const zal::Settings stored = first.folders().settings();
    const QString database = RecordsDatabase::Location(first.folders().dataFolder, stored);
    const QString station = RecordsDatabase::Station(stored);
    RecordsDatabase records(database);
    if (!settings_.firstCode.isEmpty()) {
        if (!records.isOpen() || !records.whyNotWritable().isEmpty()) {
            why_ = records.isOpen() ? records.whyNotWritable() : records.error();
            return RunSetup::NoCodes;
        }
        // Codes an earlier log names count as handed out (a log the records could not take in would
        // let them go to a second device), and what an earlier run wrote into devices while the
        // records were away is written there now.
        const Result<LineLog::Taken> taken = log_.TakeInto(records, settings_.logPath);
        if (!taken) {
            why_ = taken.error();
            return RunSetup::NoCodes;
        }
        imported_ = taken->added;
        reconciled_ = taken->settled;
        // A code must outlive a failover of the server: refused before any device unless the operator
        // said otherwise, and then every row says so.
        const Result<QString> risk = records.ReplicationRisk();
        if (!risk) {
            why_ = risk.error();
            return RunSetup::NoCodes;
        }
        if (!risk->isEmpty() && !settings_.allowAsynchronous) {
            why_ = *risk;
            return RunSetup::Asynchronous;
        }
        shared_.rowNote = *risk;
        codes_ = std::make_unique<CodeAllocator>(TextToCode(settings_.firstCode), plus, database, station,
                                                 log_.usedCodes(), &failover_);
    }
    const Result<qint64> run = records.StartRun(station, settings_.file,
                                                IdentifyDevice(first.working(), first.product()).productName);
    if (!run && codes_ && run.problem() == Problem::Unconfirmed) {
        // The standby confirms nothing now: no reservation could count either, so no device is
        // touched rather than each one waiting for it in turn.
        why_ = run.error();
        return RunSetup::NoCodes;
    }
    if (run)
        log_.RecordInto(database, station, *run, &failover_);
    else
        runNotRecorded_ = run.error();
    shared_.log = &log_;
    shared_.codes = codes_.get();
    shared_.count = settings_.count;
    shared_.stopRequested = settings_.stopRequested;
    return RunSetup::Ready;
}

void ProductionRun::Run(const std::vector<Unit>& units) {
    LineOptions options;
    options.file = settings_.file;
    std::vector<std::unique_ptr<LineUnit>> lines;
    for (const Unit& u : units) {
        lines.push_back(std::make_unique<LineUnit>(*u.editor, u.name, options, shared_));
        lines.back()->say = u.say;
    }
    std::vector<std::thread> threads;
    for (auto& line : lines)
        threads.emplace_back([&line] { line->Run(); });
    for (std::thread& t : threads)
        t.join();
    if (codes_)
        unsettled_ = codes_->SettleLeftOver();
}

} // namespace zal
