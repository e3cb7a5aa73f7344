#include "TextEncoding.h"

namespace zal {
namespace {

constexpr char16_t kHighHalf[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

bool IsValidUtf8(const QByteArray& bytes) {
    // Strict: no overlong forms, no surrogates, nothing above U+10FFFF.
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned char b = p[i];
        int length = 0;
        unsigned minimum = 0, code = 0;
        if (b < 0x80) {
            ++i;
            continue;
        } else if ((b & 0xE0) == 0xC0) {
            length = 2, minimum = 0x80, code = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            length = 3, minimum = 0x800, code = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            length = 4, minimum = 0x10000, code = b & 0x07;
        } else {
            return false;
        }
        if (i + length > n)
            return false;
        for (int k = 1; k < length; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (p[i + k] & 0x3F);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

TextEncoding DetectTextEncoding(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return TextEncoding::Utf8WithBom;
    return IsValidUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Windows1252;
}

QString DecodeWindows1252(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += (b >= 0x80 && b < 0xA0) ? QChar(kHighHalf[b - 0x80]) : QChar(b);
    }
    return out;
}

QByteArray EncodeWindows1252(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out += static_cast<char>(u);
            continue;
        }
        char byte = '?';
        for (int i = 0; i < 32; ++i) {
            if (kHighHalf[i] == u) {
                byte = static_cast<char>(0x80 + i);
                break;
            }
        }
        out += byte;
    }
    return out;
}

QString DecodeText(const QByteArray& bytes, TextEncoding encoding) {
    return encoding == TextEncoding::Windows1252 ? DecodeWindows1252(bytes) : QString::fromUtf8(bytes);
}

QByteArray EncodeText(const QString& text, TextEncoding encoding) {
    return encoding == TextEncoding::Windows1252 ? EncodeWindows1252(text) : text.toUtf8();
}

} // namespace zal
