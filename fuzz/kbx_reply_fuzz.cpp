// Any byte stream as the KBX's replies: every exchange ends with a result, within its time bound, and
// a block read reports success only with bytes that came in a valid frame of the right length.

#include "device/KbxFrame.h"
#include "device/KbxInterface.h"

#include <cstdlib>
#include <memory>

using namespace zal;

namespace {

class VirtualClock : public KbxClock {
public:
    std::int64_t nowMs() override { return now; }
    std::int64_t now = 0;
};

// Hands out the fuzz input as what the unit sends: a few bytes at a time, each step one millisecond.
class ReplayTransport : public KbxTransport {
public:
    ReplayTransport(const std::uint8_t* data, size_t size, VirtualClock& clock)
        : data_(data), size_(size), clock_(clock) {}
    Result<> open() override { return {}; }
    void close() override {}
    bool setBaudRate(int) override { return true; }
    bool setDataCharacteristics(int, int, int) override { return true; }
    bool setNoFlowControl() override { return true; }
    bool clearDtr() override { return true; }
    void purge(bool receive, bool) override {
        if (receive)
            buffered_.clear();
    }
    void setTimeouts(int, int) override {}
    int queueStatus() override { return static_cast<int>(buffered_.size()); }
    int read(char* buffer, int maxBytes) override {
        const int n = std::min(maxBytes, static_cast<int>(buffered_.size()));
        std::copy_n(buffered_.constData(), n, buffer);
        buffered_.remove(0, n);
        return n;
    }
    int write(const QByteArray& bytes) override { return static_cast<int>(bytes.size()); }
    void waitForData(int timeoutMs, int) override {
        // The first input byte says how many bytes arrive now (0: silence for the whole wait).
        if (position_ >= size_) {
            clock_.now += timeoutMs;
            return;
        }
        const int burst = data_[position_++] % 48;
        if (burst == 0) {
            clock_.now += timeoutMs;
            return;
        }
        for (int i = 0; i < burst && position_ < size_; ++i)
            buffered_.append(static_cast<char>(data_[position_++]));
        clock_.now += 1;
    }

private:
    const std::uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
    VirtualClock& clock_;
    QByteArray buffered_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    VirtualClock clock;
    TKbxInterface kbx([&] { return std::make_unique<ReplayTransport>(data, size, clock); }, clock);
    if (kbx.Open() != kbxOk)
        std::abort();
    ConfigImage image{};
    const std::int64_t start = clock.now;
    const int read = kbx.ReadBlock(image, 0x00, 0x1F);
    // Two chunks of three attempts, each bounded by the drain and the transaction limit.
    if (clock.now - start > 2 * 3 * (TKbxInterface::kDrainLimitMs + TKbxInterface::kTransactionLimitMs))
        std::abort();
    if (read != kbxOk && read != kbxReadFailed)
        std::abort();
    // A device that answered nothing at all ends the transfer: no answer, not a refusal.
    const int write = kbx.WriteBlock(image, 0x00, 0x0F);
    if (write != kbxOk && write != kbxWriteRefused && write != kbxNoReply)
        std::abort();
    if (write == kbxNoReply && !kbx.silent())
        std::abort();
    QString text;
    kbx.PollRadioCode(text);
    kbx.ReadInfo(text);
    if (const int connected = kbx.ConnectDevice(); connected != kbxOk && connected != kbxNoReply)
        std::abort();
    // The parser alone, on the whole input.
    if (const std::optional<QByteArray> payload =
            ParseFramedReply(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size))))
        if (BuildFrame(*payload).size() != static_cast<qsizetype>(size))
            std::abort();
    return 0;
}
