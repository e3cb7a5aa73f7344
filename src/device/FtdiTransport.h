#pragma once

#include "KbxTransport.h"
#include "ReceiveBuffer.h"

#include <QByteArray>
#include <QString>

#include <chrono>

struct ftdi_context;

namespace zal {

// The KBX through libftdi: the unit is found by its USB description. libftdi detaches the kernel's
// serial driver while the unit is open and re-attaches it on close, so /dev/ttyUSB* comes back.
//
// A USB error other than a timeout (the unit was unplugged) makes the transport dead: every later call
// fails at once instead of waiting out its deadline, and lineFailure() says why.
class FtdiTransport : public KbxTransport {
public:
    static constexpr const char* kDescription = "Vesk KBX - Active USB Interface";

    // With a serial number only the unit of that USB serial number is taken, for a line with several.
    explicit FtdiTransport(QString serial = {});
    ~FtdiTransport() override;

    Result<> open() override;
    void close() override;
    bool setBaudRate(int baud) override;
    bool setDataCharacteristics(int dataBits, int stopBits, int parity) override;
    bool setNoFlowControl() override;
    bool clearDtr() override;
    void purge(bool receive, bool transmit) override;
    void setTimeouts(int readMs, int writeMs) override;
    int queueStatus() override;
    int read(char* buffer, int maxBytes) override;
    int write(const QByteArray& bytes) override;
    void waitForData(int timeoutMs, int bytesAwaited) override;
    QString lineFailure() const override { return lineFailure_; }

    // The shortest USB read timeout asked of libftdi: a read that times out on its second bulk transfer
    // loses what the first one brought, and the chip sends at the latest when its latency timer runs
    // out, so a read must be allowed twice that and a little more.
    static constexpr int kMinReadTimeoutMs = 2 * 1 + 2;

    static std::vector<UsbUnit> List();

private:
    bool openUnit(); // failure_ and problem_ say why not
    bool fill(int timeoutMs, int wanted);
    // Marks the transport dead on a USB error other than a timeout; true when the result was fine.
    bool check(int result);

    ftdi_context* ftdi_ = nullptr;
    bool open_ = false;
    ReceiveBuffer received_; // bytes read from the chip, not yet taken by read()
    // When the bytes written last have crossed the line to the KBX: no reply can come before.
    std::chrono::steady_clock::time_point lineFreeAt_{};
    QString failure_;
    Problem problem_ = Problem::NotFound;
    QString lineFailure_;
    QString serial_;
    bool dead_ = false;
};

} // namespace zal
