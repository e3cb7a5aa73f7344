#pragma once

#include "KbxTransport.h"
#include "ReceiveBuffer.h"

#include <QString>

namespace zal {

// The KBX through a tty: the kernel's FTDI driver (/dev/ttyUSB0) or a simulator's pseudo-terminal.
// The tty is held exclusively while open: two programs on one KBX would take each other's replies.
class TtyTransport : public KbxTransport {
public:
    explicit TtyTransport(QString path);
    ~TtyTransport() override;

    Result<> open() override;
    void close() override;
    bool setBaudRate(int baud) override;
    bool setDataCharacteristics(int dataBits, int stopBits, int parity) override;
    bool setNoFlowControl() override;
    bool clearDtr() override;
    void purge(bool receive, bool transmit) override;
    void setTimeouts(int, int) override {}
    int queueStatus() override;
    int read(char* buffer, int maxBytes) override;
    int write(const QByteArray& bytes) override;
    void waitForData(int timeoutMs, int bytesAwaited) override;
    // The line hung up (the unit unplugged, its node gone, the simulator's pty closed): from then on
    // nothing will come, and every exchange fails at once.
    QString lineFailure() const override { return lineFailure_; }

private:
    void drain();
    bool openPort(); // failure_ and problem_ say why not
    bool lockExclusively();

    QString path_;
    int fd_ = -1;
    bool exclusive_ = false; // TIOCEXCL set by us, to be cleared on close
    ReceiveBuffer received_;
    QString failure_;
    Problem problem_ = Problem::NotFound;
    QString lineFailure_;
    void hungUp(const char* how);
};

} // namespace zal
