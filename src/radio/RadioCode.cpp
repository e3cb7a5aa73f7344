#include "RadioCode.h"

namespace zal {
namespace {

int HexDigitValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return 0;
}

} // namespace

QString CodeToText(std::uint16_t code) {
    if (code == 0)
        return QString();
    return QStringLiteral("%1").arg(code, 4, 16, QChar(u'0')).toUpper();
}

QString CodeToText(std::uint8_t high, std::uint8_t low) {
    return CodeToText(static_cast<std::uint16_t>((high << 8) | low));
}

std::uint16_t TextToCode(const QString& text) {
    unsigned code = 0;
    for (int i = 0; i < kRadioCodeLength; ++i)
        code = (code << 4) | (i < text.size() ? HexDigitValue(text[i]) : 0);
    return static_cast<std::uint16_t>(code);
}

bool IsRadioCodeKey(QChar key) {
    const char16_t u = key.unicode();
    if (u == 3 || u == 8 || u == 22 || u == 24)
        return true;
    return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F') || (u >= u'a' && u <= u'f');
}

} // namespace zal
