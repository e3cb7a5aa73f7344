#pragma once

#include "KbxTransport.h"
#include "config/ConfigImage.h"
#include "config/ImageLayout.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

namespace zal {

// What a KBX operation came to: the numbers are those the service documents use, and the one type every
// operation returns; callers test kbxOk against the rest.
enum KbxResult : int {
    kbxOk = 0,
    kbxOpenFailed = 1,
    kbxNoReply = 2,      // a single command got no acceptable reply
    kbxReadFailed = 4,   // at least one chunk of a block read failed
    kbxWriteRefused = 5, // at least one chunk of a block write was refused
    kbxCancelled = 6,    // the user stopped the transfer between two chunks
};

// The connection to the KBX programming unit: framed ASCII commands over the transport, with the
// unit's timing and retry rules. Open it for one user command and close it on every path.
class TKbxInterface {
public:
    // Chunks of 16 bytes keep every frame under 50 characters, so one read of 50 bytes always holds a
    // whole reply.
    static constexpr int kChunkSize = 16;
    static constexpr int kAttempts = 3;
    // How long a reply may take to start, and how long each further byte may take after the one before.
    static constexpr int kFirstWaitMs = 250;
    static constexpr int kByteGapMs = 250;
    static constexpr int kMaxReadBytes = 50;
    // Every transaction ends by this time, whatever the port sends: the byte-gap rule alone would let
    // a port that keeps sending (a wrong serial device, a babbling unit) hold the program forever. The
    // longest healthy exchange takes 250 ms plus 7 ms of line time, so 2 s leaves a slow unit room.
    static constexpr int kTransactionLimitMs = 2000;
    // After a failed exchange the line must be quiet this long before the next command goes out:
    // replies carry no address, so a reply that comes after its wait (a KBX has been measured
    // answering at 270 ms) would otherwise be taken for the next command's. With 200 ms a reply may
    // come up to 450 ms after its command and is still dropped, never taken for another; a failed
    // attempt costs that much more, which only a silent unit pays often.
    static constexpr int kQuietMs = 200;
    // ... but no longer than this in all, so that a port that never falls quiet cannot hold us; after
    // that the line counts as flooded and later exchanges fail without waiting it out again.
    static constexpr int kDrainLimitMs = 1000;

    TKbxInterface();
    TKbxInterface(KbxTransportFactory factory, KbxClock& clock);
    ~TKbxInterface();
    TKbxInterface(const TKbxInterface&) = delete;
    TKbxInterface& operator=(const TKbxInterface&) = delete;

    KbxResult Open();
    void Close();
    bool isOpen() const { return transport_ != nullptr; }
    // Why the last Open failed beyond "no KBX found" (another program holds it, no permission); empty
    // when the transport knows nothing more.
    QString openFailure() const { return openFailure_; }
    // What kind of failure the last Open met (NotFound, Busy, ...); None after an open that worked.
    Problem openProblem() const { return openProblem_; }
    // Why the line failed while it was open (the unit was unplugged): from then on every exchange fails
    // at once. Kept after Close until the next Open, for the command's message.
    QString lineFailure() const;

    // Number of bytes written; 0 when closed, the text is empty or the write fails.
    int SendFrame(const QByteArray& text);
    // Payload length delivered into output (1 for a single-byte reply), 0 on failure.
    int ReceiveReply(QByteArray& output, int firstWaitMs, int expectedLength);
    int Transact(const QByteArray& text, QByteArray& output, int firstWaitMs, int expectedLength);

    KbxResult ReadBlock(ConfigImage& destination, int first, int last);
    KbxResult WriteBlock(const ConfigImage& source, int first, int last);
    KbxResult ReadImage(ConfigImage& destination) { return ReadBlock(destination, 0x00, 0xFF); }

    KbxResult ConnectDevice();
    KbxResult StartRadioReceive();
    KbxResult StopRadioReceive();
    // 0 and the four characters of the last received code, else 2 with code untouched.
    KbxResult PollRadioCode(QString& code);
    // 0 and the eleven characters of the KBX's information text, else 2 and an empty text.
    KbxResult ReadInfo(QString& info);

    // Bytes that crossed the line in both directions since the interface was made.
    qint64 lineBytes() const { return lineBytes_; }

    // Receives every frame that crosses the line (time in ms, '>' sent or '<' received, the bytes in
    // printable form), for a log kept beside the trace; none when empty.
    using TraceSink = std::function<void(qint64 ms, char direction, const QByteArray& printable)>;
    void setTraceSink(TraceSink sink) { traceSink_ = std::move(sink); }

    // Stops the block transfer under way before its next chunk (kbxCancelled), and every later one until
    // the next Open. Safe to call from another thread or from inside the chunk observer.
    void requestCancel() { cancelled_ = true; }
    bool cancelled() const { return cancelled_; }
    // A chunk got no answer at all in its three attempts: the device or the KBX is gone, so every
    // later block transfer fails at once until the next Open rather than trying each chunk three times.
    bool silent() const { return silent_; }
    // The last exchange got nothing at all within its wait: not even a refusal.
    bool lastReplyEmpty() const { return replyEmpty_; }
    // The chunks a write frame went out for since Open (answered or not), merged into ranges: what the
    // device may hold of the command's bytes when the command did not end as planned.
    const std::vector<AddressRange>& sentWrites() const { return sentWrites_; }

    // Called after every chunk of a block transfer, so that a command can show its progress.
    void setChunkObserver(std::function<void()> observer) { chunkDone_ = std::move(observer); }
    // How many chunks a block transfer of first-last takes.
    static int ChunksIn(int first, int last) { return (last - first) / kChunkSize + 1; }

private:
    KbxResult SingleCommand(const QByteArray& text);
    void trace(char direction, const QByteArray& bytes);
    bool lineDead() const { return transport_ && !transport_->lineFailure().isEmpty(); }
    // Waits until the line has been quiet for kQuietMs (at most kDrainLimitMs) and drops what came.
    void DrainUntilQuiet();

    KbxTransportFactory factory_;
    KbxClock& clock_;
    std::unique_ptr<KbxTransport> transport_;
    qint64 lineBytes_ = 0;
    bool lineSuspect_ = false; // the last exchange failed: a late reply may still be on its way
    bool lineFlooded_ = false; // the line did not fall quiet within kDrainLimitMs
    bool replyEmpty_ = false;  // the last ReceiveReply had nothing at all within its wait
    bool silent_ = false;
    std::atomic<bool> cancelled_{false};
    std::vector<AddressRange> sentWrites_;
    // Why a block transfer may not start its next chunk: cancelled or silent; kbxOk otherwise.
    KbxResult stopReason() const;
    void noteSentWrite(int first, int last);
    QString openFailure_;
    Problem openProblem_ = Problem::None;
    QString lineFailure_; // kept from the transport when it is closed
    std::function<void()> chunkDone_;
    TraceSink traceSink_;
};

} // namespace zal
