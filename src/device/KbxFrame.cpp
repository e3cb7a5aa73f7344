#include "KbxFrame.h"

namespace zal {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

void AppendHex(QByteArray& out, unsigned value, int digits) {
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        out += kHexDigits[(value >> shift) & 0xF];
}

} // namespace

std::uint8_t FrameChecksum(const QByteArray& text) {
    unsigned sum = 0;
    for (char c : text)
        sum += static_cast<unsigned char>(c);
    return static_cast<std::uint8_t>(sum & 0xFF);
}

QByteArray BuildFrame(const QByteArray& text) {
    QByteArray frame;
    frame.reserve(text.size() + kFrameOverhead);
    frame += kStx;
    frame += text;
    AppendHex(frame, FrameChecksum(text), 2);
    frame += kEtx;
    return frame;
}

int ReceivedDigitValue(char c) {
    return (c >= '0' && c <= '9') ? c - '0' : static_cast<unsigned char>(c) - 0x37;
}

std::optional<QByteArray> ParseFramedReply(const QByteArray& bytes) {
    const qsizetype n = bytes.size();
    if (n < kFrameOverhead || bytes.front() != kStx || bytes.back() != kEtx)
        return std::nullopt;
    const QByteArray payload = bytes.mid(1, n - kFrameOverhead);
    const int received = ReceivedDigitValue(bytes[n - 3]) * 16 + ReceivedDigitValue(bytes[n - 2]);
    if (received != FrameChecksum(payload))
        return std::nullopt;
    return payload;
}

QByteArray EncodeHexBytes(const std::uint8_t* data, int count) {
    QByteArray out;
    out.reserve(count * 2);
    for (int i = 0; i < count; ++i)
        AppendHex(out, data[i], 2);
    return out;
}

void DecodeHexPairs(const QByteArray& text, std::uint8_t* out, int count) {
    const auto digit = [](char c) { return ReceivedDigitValue(c >= 'a' && c <= 'f' ? c - 0x20 : c); };
    for (int i = 0; i < count; ++i)
        out[i] = static_cast<std::uint8_t>(digit(text[2 * i]) * 16 + digit(text[2 * i + 1]));
}

QByteArray ReadCommand(int address, int count) {
    QByteArray text("R");
    AppendHex(text, static_cast<unsigned>(address), 4);
    AppendHex(text, static_cast<unsigned>(count), 2);
    return text;
}

QByteArray WriteCommand(int address, const std::uint8_t* data, int count) {
    QByteArray text("W");
    AppendHex(text, static_cast<unsigned>(address), 4);
    AppendHex(text, static_cast<unsigned>(count), 2);
    text += EncodeHexBytes(data, count);
    return text;
}

} // namespace zal
