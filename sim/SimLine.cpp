#include "SimLine.h"

#include <algorithm>

namespace zal::sim {

void SimLine::hostWrite(const QByteArray& bytes, std::int64_t nowMicros) {
    double arrival = std::max<double>(static_cast<double>(nowMicros), inboundFree_);
    for (char byte : bytes) {
        if (pacing_)
            arrival += kByteMicros;
        inboundFree_ = arrival;
        QByteArray reply;
        if (!engine_.receive(byte, reply) || reply.isEmpty())
            continue;
        const double late = engine_.rollLate() ? engine_.options().lateMs * 1000.0 : 0.0;
        double sent = std::max(arrival + (pacing_ ? latencyMicros_ : 0.0) + late, outboundFree_);
        for (char out : reply) {
            if (pacing_)
                sent += replyByteMicros_;
            pending_.push_back({static_cast<std::int64_t>(sent + 0.999), out});
        }
        outboundFree_ = sent;
    }
}

QByteArray SimLine::take(std::int64_t nowMicros) {
    QByteArray out;
    while (!pending_.empty() && pending_.front().at <= nowMicros) {
        out += pending_.front().byte;
        pending_.pop_front();
    }
    return out;
}

std::optional<std::int64_t> SimLine::nextArrival() const {
    if (pending_.empty())
        return std::nullopt;
    return pending_.front().at;
}

} // namespace zal::sim
