#pragma once

#include <QByteArray>
#include <QString>

namespace zal {

// Text files written by Windows editors are Windows-1252; files written here or by current editors are
// UTF-8. A file is UTF-8 when it starts with the byte-order mark or is valid UTF-8 throughout.
enum class TextEncoding { Utf8, Utf8WithBom, Windows1252 };

TextEncoding DetectTextEncoding(const QByteArray& bytes);

bool IsValidUtf8(const QByteArray& bytes);

// Windows-1252 both ways. The five bytes the code page leaves undefined map to the C1 control characters
// of the same number, so that decoding and encoding again gives back every byte. Characters the code
// page cannot hold encode as "?".
QString DecodeWindows1252(const QByteArray& bytes);
QByteArray EncodeWindows1252(const QString& text);

QString DecodeText(const QByteArray& bytes, TextEncoding encoding);
QByteArray EncodeText(const QString& text, TextEncoding encoding);

} // namespace zal
