#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>

namespace zal {

// The wire format of the KBX, apart from any session: a command or framed reply is STX, the text, two
// upper-case hexadecimal digits of the text's byte sum modulo 256, and ETX. Single-byte replies are ACK
// or NAK.
constexpr char kStx = 0x02;
constexpr char kEtx = 0x03;
constexpr char kAck = 0x06;
constexpr char kNak = 0x15;

// Bytes of framing around a payload: STX, two checksum digits, ETX.
constexpr int kFrameOverhead = 4;

std::uint8_t FrameChecksum(const QByteArray& text);

// STX + text + checksum digits + ETX.
QByteArray BuildFrame(const QByteArray& text);

// The value of one received hexadecimal digit, read as the KBX firmware's peers read it: "0"-"9" give
// 0-9 and every other character c gives c - 0x37, so only upper-case digits read correctly.
int ReceivedDigitValue(char c);

// The payload of a framed reply, or nothing when the frame is shorter than four bytes, is not enclosed
// by STX and ETX, or its checksum digits do not match.
std::optional<QByteArray> ParseFramedReply(const QByteArray& bytes);

// Bytes as two upper-case hexadecimal digits each.
QByteArray EncodeHexBytes(const std::uint8_t* data, int count);

// Pairs of received data digits as bytes. Data digits are read in either case: a unit that sends
// lower-case data with a checksum that matches it must not have its bytes read wrong. (The checksum
// digits keep the rule of ReceivedDigitValue, so such a unit's checksum may still fail.)
void DecodeHexPairs(const QByteArray& text, std::uint8_t* out, int count);

// Command texts.
QByteArray ReadCommand(int address, int count);
QByteArray WriteCommand(int address, const std::uint8_t* data, int count);

} // namespace zal
