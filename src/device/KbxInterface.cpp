#include "KbxInterface.h"

#include "KbxFrame.h"
#include "shell/Settings.h"

#include <QLoggingCategory>
#include <QtGlobal>

#include <algorithm>
#include <cstdio>

namespace zal {

// Every frame in both directions, with the time it was sent or taken.
Q_LOGGING_CATEGORY(lcKbx, "zal.kbx", QtWarningMsg)

namespace {

QByteArray Printable(const QByteArray& bytes) {
    QByteArray out;
    for (char c : bytes) {
        switch (c) {
        case kStx:
            out += "<STX>";
            break;
        case kEtx:
            out += "<ETX>";
            break;
        case kAck:
            out += "<ACK>";
            break;
        case kNak:
            out += "<NAK>";
            break;
        default:
            if (c >= 0x20 && c < 0x7F)
                out += c;
            else
                out += "<" + QByteArray::number(static_cast<unsigned char>(c), 16).toUpper() + ">";
        }
    }
    return out;
}

} // namespace

TKbxInterface::TKbxInterface() : TKbxInterface(DefaultTransportFactory(), SystemClock()) {}

TKbxInterface::TKbxInterface(KbxTransportFactory factory, KbxClock& clock)
    : factory_(std::move(factory)), clock_(clock) {
    // ZAL_KBX_TRACE=1 is the technicians' switch; QT_LOGGING_RULES="zal.kbx.debug=true" does the same.
    if (Settings::EnvironmentSwitch(setting::kKbxTrace))
        const_cast<QLoggingCategory&>(lcKbx()).setEnabled(QtDebugMsg, true);
}

TKbxInterface::~TKbxInterface() {
    Close();
}

KbxResult TKbxInterface::Open() {
    if (transport_) {
        transport_->close();
        transport_.reset();
    }
    openFailure_.clear();
    openProblem_ = Problem::None;
    lineFailure_.clear();
    lineSuspect_ = lineFlooded_ = silent_ = false;
    cancelled_ = false;
    sentWrites_.clear();
    std::unique_ptr<KbxTransport> transport = factory_ ? factory_() : nullptr;
    const Result<> opened = transport ? transport->open() : Result<>(Failure{Problem::NotFound, {}});
    if (!opened) {
        openFailure_ = opened.error();
        openProblem_ = opened.problem();
        qCDebug(lcKbx).noquote() << "no KBX found" << openFailure_;
        return kbxOpenFailed;
    }
    transport_ = std::move(transport);
    // Every setting is made even when an earlier one fails; the unit then stays open until Close.
    int failed = 0;
    failed += !transport_->setBaudRate(57600);
    failed += !transport_->setDataCharacteristics(8, 2, 0);
    failed += !transport_->setNoFlowControl();
    failed += !transport_->clearDtr();
    return failed ? kbxOpenFailed : kbxOk;
}

void TKbxInterface::Close() {
    if (!transport_)
        return;
    lineFailure_ = transport_->lineFailure();
    if (!lineFailure_.isEmpty())
        qCDebug(lcKbx).noquote() << lineFailure_;
    transport_->purge(true, false);
    transport_->close();
    transport_.reset();
}

void TKbxInterface::trace(char direction, const QByteArray& bytes) {
    if (!traceSink_ && !lcKbx().isDebugEnabled())
        return;
    const QByteArray printable = Printable(bytes);
    qCDebug(lcKbx, "%lld %c %s", static_cast<long long>(clock_.nowMs()), direction, printable.constData());
    if (traceSink_)
        traceSink_(clock_.nowMs(), direction, printable);
}

QString TKbxInterface::lineFailure() const {
    return transport_ ? transport_->lineFailure() : lineFailure_;
}

int TKbxInterface::SendFrame(const QByteArray& text) {
    if (!transport_ || text.isEmpty() || lineDead())
        return 0;
    if (lineSuspect_)
        DrainUntilQuiet();
    // Whatever is left over from an earlier, abandoned transaction must not be taken for this reply.
    transport_->purge(true, true);
    const QByteArray frame = BuildFrame(text);
    trace('>', frame);
    const int written = transport_->write(frame);
    if (written <= 0)
        return 0;
    lineBytes_ += written;
    return written;
}

int TKbxInterface::ReceiveReply(QByteArray& output, int firstWaitMs, int expectedLength) {
    replyEmpty_ = true;
    if (!transport_ || lineDead())
        return 0;
    const int awaited = expectedLength <= 1 ? expectedLength : expectedLength + kFrameOverhead;
    transport_->setTimeouts(10, 100);

    // The reply may take firstWaitMs to start and each further byte may come up to kByteGapMs after the
    // one before; the wait ends as soon as the expected number of bytes is there, when more than that
    // has come, or at the transaction's hard limit.
    const std::int64_t start = clock_.nowMs();
    const std::int64_t limit = start + kTransactionLimitMs;
    std::int64_t deadline = start + firstWaitMs;
    int seen = transport_->queueStatus();
    for (std::int64_t now = start; now < std::min(deadline, limit); now = clock_.nowMs()) {
        const int queued = transport_->queueStatus();
        if (queued > seen) {
            seen = queued;
            deadline = now + kByteGapMs;
        }
        if (seen >= awaited || lineDead())
            break;
        transport_->waitForData(static_cast<int>(std::min(deadline, limit) - now),
                                std::max(1, awaited - seen));
    }

    // A reply is over when it has had its time, not when a read returns: anything beyond the expected
    // length belongs to no reply of this command, so the exchange has failed.
    const int queued = transport_->queueStatus();
    if (queued > std::max(awaited, 1)) {
        trace('<', "(" + QByteArray::number(queued) + " bytes, more than the reply's " +
                       QByteArray::number(awaited) + ")");
        lineSuspect_ = true;
        return 0;
    }
    replyEmpty_ = queued == 0;
    char buffer[kMaxReadBytes];
    const int available = std::min(queued, kMaxReadBytes);
    const int read = available > 0 ? transport_->read(buffer, available) : 0;
    if (read <= 0) {
        trace('<', QByteArray());
        lineSuspect_ = true;
        return 0;
    }
    lineBytes_ += read;
    const QByteArray reply(buffer, read);
    trace('<', reply);
    if (read == 1) {
        output = reply; // ACK or NAK: a whole reply, even where a frame was expected
        return 1;
    }
    const std::optional<QByteArray> payload = ParseFramedReply(reply);
    if (!payload) {
        lineSuspect_ = true;
        return 0;
    }
    output = *payload;
    lineSuspect_ = read != awaited;
    return static_cast<int>(payload->size());
}

void TKbxInterface::DrainUntilQuiet() {
    lineSuspect_ = false;
    // A line that did not fall quiet last time is flooded (a wrong device, a babbling unit): it gets
    // one quiet window to recover, and is left at its first byte, since every exchange on it fails
    // anyway. Otherwise each attempt would wait out the whole drain limit.
    const std::int64_t start = clock_.nowMs();
    const std::int64_t limit = start + (lineFlooded_ ? kQuietMs : kDrainLimitMs);
    std::int64_t quietSince = start;
    qint64 dropped = 0;
    for (std::int64_t now = start;; now = clock_.nowMs()) {
        if (const int queued = transport_->queueStatus(); queued > 0) {
            dropped += queued;
            transport_->purge(true, false);
            quietSince = now;
            if (lineFlooded_)
                break;
        }
        if (now - quietSince >= kQuietMs) {
            lineFlooded_ = false;
            break;
        }
        if (now >= limit) {
            lineFlooded_ = true;
            break;
        }
        if (lineDead())
            break;
        transport_->waitForData(
            static_cast<int>(std::max<std::int64_t>(1, std::min(quietSince + kQuietMs, limit) - now)), 1);
    }
    if (dropped)
        trace('<', "(" + QByteArray::number(dropped) + " late bytes dropped)");
}

int TKbxInterface::Transact(const QByteArray& text, QByteArray& output, int firstWaitMs, int expectedLength) {
    SendFrame(text);
    return ReceiveReply(output, firstWaitMs, expectedLength);
}

KbxResult TKbxInterface::stopReason() const {
    if (cancelled_)
        return kbxCancelled;
    return silent_ ? kbxNoReply : kbxOk;
}

void TKbxInterface::noteSentWrite(int first, int last) {
    if (!sentWrites_.empty() && sentWrites_.back().last + 1 >= first)
        sentWrites_.back().last = std::max(sentWrites_.back().last, last);
    else
        sentWrites_.push_back({first, last});
}

KbxResult TKbxInterface::ReadBlock(ConfigImage& destination, int first, int last) {
    bool failed = false;
    for (int address = first; address <= last;) {
        if (const KbxResult stop = stopReason())
            return stop == kbxCancelled ? stop : kbxReadFailed;
        const int count = std::min(kChunkSize, last - address + 1);
        const QByteArray command = ReadCommand(address, count);
        bool done = false;
        bool answered = false;
        for (int attempt = 1; attempt <= kAttempts && !done; ++attempt) {
            QByteArray reply;
            if (Transact(command, reply, kFirstWaitMs, 2 * count) == 2 * count) {
                DecodeHexPairs(reply, destination.data() + address, count);
                done = true;
            }
            answered = answered || !replyEmpty_;
        }
        // A chunk that could not be read in three attempts fails the block, whatever the last reply
        // was: reporting success would let stale bytes pass for the device's.
        failed = failed || !done;
        silent_ = silent_ || !answered;
        address += count;
        if (chunkDone_)
            chunkDone_();
    }
    return failed ? kbxReadFailed : kbxOk;
}

KbxResult TKbxInterface::WriteBlock(const ConfigImage& source, int first, int last) {
    bool failed = false;
    for (int address = first; address <= last;) {
        if (const KbxResult stop = stopReason())
            return stop;
        const int count = std::min(kChunkSize, last - address + 1);
        const QByteArray command = WriteCommand(address, source.data() + address, count);
        bool answered = false;
        for (int attempt = 1; attempt <= kAttempts; ++attempt) {
            QByteArray reply;
            const int n = Transact(command, reply, kFirstWaitMs, 1);
            if (attempt == 1)
                noteSentWrite(address, address + count - 1);
            answered = answered || !replyEmpty_;
            if (n == 1 && reply[0] == kAck)
                break;
            // Only a refusal of the last attempt counts; a garbled answer is left to the caller's
            // read-back.
            if (attempt == kAttempts && n == 1 && reply[0] == kNak)
                failed = true;
        }
        silent_ = silent_ || !answered;
        address += count;
        if (chunkDone_)
            chunkDone_();
    }
    if (silent_)
        return kbxNoReply;
    return failed ? kbxWriteRefused : kbxOk;
}

KbxResult TKbxInterface::SingleCommand(const QByteArray& text) {
    QByteArray reply;
    return (Transact(text, reply, kFirstWaitMs, 1) == 1 && reply[0] == kAck) ? kbxOk : kbxNoReply;
}

KbxResult TKbxInterface::ConnectDevice() {
    return SingleCommand("O");
}
KbxResult TKbxInterface::StartRadioReceive() {
    return SingleCommand("s1");
}
KbxResult TKbxInterface::StopRadioReceive() {
    return SingleCommand("s0");
}

KbxResult TKbxInterface::PollRadioCode(QString& code) {
    QByteArray reply;
    if (Transact("c1", reply, kFirstWaitMs, 8) != 8)
        return kbxNoReply;
    code = QString::fromLatin1(reply.left(4));
    return kbxOk;
}

KbxResult TKbxInterface::ReadInfo(QString& info) {
    QByteArray reply;
    if (Transact("v", reply, kFirstWaitMs, 11) != 11) {
        info.clear();
        return kbxNoReply;
    }
    info = QString::fromLatin1(reply);
    return kbxOk;
}

} // namespace zal
