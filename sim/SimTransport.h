#pragma once

#include "SimLine.h"
#include "device/KbxTransport.h"
#include "device/ReceiveBuffer.h"

#include <cstdint>

namespace zal::sim {

// Virtual time for tests: it moves only when a transport waits, so a 250 ms timeout takes no time.
class VirtualClock : public KbxClock {
public:
    std::int64_t nowMs() override { return micros_ / 1000; }
    std::int64_t micros() const { return micros_; }
    void advanceTo(std::int64_t micros) { micros_ = std::max(micros_, micros); }

private:
    std::int64_t micros_ = 0;
};

// A transport that drives the simulator in the same process, in virtual time.
class SimTransport : public KbxTransport {
public:
    SimTransport(SimLine& line, VirtualClock& clock, bool kbxPresent = true)
        : line_(line), clock_(clock), present_(kbxPresent) {}

    Result<> open() override {
        open_ = present_;
        return open_ ? Result<>() : Result<>(Failure{Problem::NotFound, {}});
    }
    void close() override { open_ = false; }
    bool setBaudRate(int baud) override { return open_ && baud == 57600; }
    bool setDataCharacteristics(int dataBits, int stopBits, int parity) override {
        return open_ && dataBits == 8 && stopBits == 2 && parity == 0;
    }
    bool setNoFlowControl() override { return open_; }
    bool clearDtr() override { return open_; }
    void purge(bool receive, bool) override;
    void setTimeouts(int, int) override {}
    int queueStatus() override;
    int read(char* buffer, int maxBytes) override;
    int write(const QByteArray& bytes) override;
    void waitForData(int timeoutMs, int bytesAwaited) override;

private:
    SimLine& line_;
    VirtualClock& clock_;
    bool present_;
    bool open_ = false;
    ReceiveBuffer received_;
};

} // namespace zal::sim
