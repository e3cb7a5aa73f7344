#include "SimTransport.h"

#include <algorithm>

namespace zal::sim {

void SimTransport::purge(bool receive, bool) {
    if (!open_ || !receive)
        return;
    line_.take(clock_.micros());
    received_.clear();
}

int SimTransport::queueStatus() {
    if (!open_)
        return 0;
    const QByteArray arrived = line_.take(clock_.micros());
    received_.append(arrived.constData(), arrived.size());
    return static_cast<int>(received_.size());
}

int SimTransport::read(char* buffer, int maxBytes) {
    if (!open_)
        return -1;
    queueStatus();
    return received_.take(buffer, maxBytes);
}

int SimTransport::write(const QByteArray& bytes) {
    if (!open_)
        return -1;
    line_.hostWrite(bytes, clock_.micros());
    return static_cast<int>(bytes.size());
}

void SimTransport::waitForData(int timeoutMs, int) {
    if (!open_ || timeoutMs <= 0)
        return;
    const std::int64_t limit = clock_.micros() + std::int64_t(timeoutMs) * 1000;
    const std::optional<std::int64_t> next = line_.nextArrival();
    clock_.advanceTo(next && *next <= limit ? *next : limit);
}

} // namespace zal::sim
