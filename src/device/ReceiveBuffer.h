#pragma once

#include <QByteArray>

#include <algorithm>

namespace zal {

// Bytes a transport has received but the session has not read yet, and how many of them the last
// queue status reported: a wait can then tell bytes that arrived since from bytes that were there.
class ReceiveBuffer {
public:
    // A port that sends without end must not fill the memory: no reply is longer than 50 bytes, so
    // whatever goes beyond this is garbage that the session rejects anyway.
    static constexpr qsizetype kCapacity = 4096;

    void append(const char* data, qsizetype count) {
        bytes_.append(data, std::min(count, kCapacity - bytes_.size()));
    }
    qsizetype size() const { return bytes_.size(); }

    // Moves at most maxBytes into out; the number moved.
    int take(char* out, int maxBytes) {
        const int n = std::min(maxBytes, static_cast<int>(bytes_.size()));
        std::copy_n(bytes_.constData(), n, out);
        bytes_.remove(0, n);
        reported_ = std::min(reported_, bytes_.size());
        return n;
    }

    void clear() {
        bytes_.clear();
        reported_ = 0;
    }

    void markReported(qsizetype count) { reported_ = count; }
    bool grewSinceReport() const { return bytes_.size() > reported_; }

private:
    QByteArray bytes_;
    qsizetype reported_ = 0;
};

} // namespace zal
