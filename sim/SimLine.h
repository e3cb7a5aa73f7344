#pragma once

#include "KbxSimEngine.h"

#include <QByteArray>

#include <cstdint>
#include <deque>
#include <optional>

namespace zal::sim {

// The serial line between host and KBX, in microseconds: with pacing, every byte takes its line time at
// 57600 baud with 11 bits a byte (start, 8 data, 2 stop) in each direction, and the device answers a
// command after its latency once the command's last byte has arrived.
class SimLine {
public:
    static constexpr double kByteMicros = 11.0 * 1'000'000.0 / 57600.0;

    // replyByteMicros slows the device's replies down below the line rate (a sluggish unit).
    SimLine(KbxSimEngine& engine, bool pacing, double latencyMs, double replyByteMicros = kByteMicros)
        : engine_(engine), pacing_(pacing), latencyMicros_(latencyMs * 1000.0),
          replyByteMicros_(replyByteMicros) {}

    // Bytes the host wrote at nowMicros.
    void hostWrite(const QByteArray& bytes, std::int64_t nowMicros);
    // Reply bytes that have arrived at the host by nowMicros.
    QByteArray take(std::int64_t nowMicros);
    // When the next reply byte arrives, if one is on its way.
    std::optional<std::int64_t> nextArrival() const;
    // Drops replies that are on their way (the host went away).
    void clear() { pending_.clear(); }

    KbxSimEngine& engine() { return engine_; }

private:
    struct Timed {
        std::int64_t at;
        char byte;
    };

    KbxSimEngine& engine_;
    bool pacing_;
    double latencyMicros_;
    double replyByteMicros_;
    double inboundFree_ = 0;  // when the host-to-device direction is free again
    double outboundFree_ = 0; // when the device-to-host direction is free again
    std::deque<Timed> pending_;
};

} // namespace zal::sim
