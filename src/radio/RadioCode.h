#pragma once

#include <QChar>
#include <QString>

#include <cstdint>

namespace zal {

// A radio ID code is two image bytes, high byte first, shown as four upper-case hexadecimal digits.
// The code 0x0000 means "no code" and shows as the empty text.
QString CodeToText(std::uint8_t high, std::uint8_t low);
QString CodeToText(std::uint16_t code);

// Never fails: the empty text gives 0; otherwise the first four characters are read, a shorter text
// padded on the right with zeros, and any character that is not a hexadecimal digit counts as 0
// ("12" reads 0x1200, "1g2h" reads 0x1020).
std::uint16_t TextToCode(const QString& text);

// Code fields hold at most four characters.
constexpr int kRadioCodeLength = 4;

// The keys a code field lets through: hexadecimal digits in either case and the editing keys Ctrl+C,
// Backspace, Ctrl+V and Ctrl+X.
bool IsRadioCodeKey(QChar key);

} // namespace zal
