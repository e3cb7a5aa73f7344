#pragma once

#include "TextEncoding.h"

#include "Result.h"
#include <QByteArray>
#include <QHash>

#include <QString>

#include <optional>
#include <vector>

namespace zal {

// An INI file read and written the way the Windows profile services treat it, because Values.ini is
// shared with the Windows tool and edited by hand:
// - section and key names compare without regard to case; the first matching section and key win;
// - spaces around names and values are trimmed; quotes are stripped only when one matching pair encloses
//   the whole value; there are no escape sequences, and ";" inside a value is kept;
// - lines starting with ";" are comments, lines without "=" are ignored;
// - the text is UTF-8 (with or without byte-order mark) or, failing that, Windows-1252.
// Writing one key changes only that key's line and keeps every other byte, comment and the encoding.
class SettingsFile {
public:
    // A missing or unreadable file gives an empty document.
    static SettingsFile Load(const QString& path);
    static SettingsFile FromBytes(const QByteArray& bytes);

    bool hasSection(const QString& section) const;
    std::optional<QString> value(const QString& section, const QString& key) const;
    // The value, or the empty text when the key is missing.
    QString text(const QString& section, const QString& key) const;
    // The line (from 1) the key's value stands on; 0 when it is missing.
    int lineOf(const QString& section, const QString& key) const;

    void setValue(const QString& section, const QString& key, const QString& value);

    QByteArray toBytes() const;
    Result<> save(const QString& path) const;

    TextEncoding encoding() const { return encoding_; }

private:
    struct Line {
        QByteArray raw; // without its line end
        QByteArray end; // "\n", "\r\n" or empty for an unterminated last line
    };
    struct Section {
        QString name;
        int headerLine = -1;
        int lastLine = -1;        // last line that belongs to the section
        QHash<QString, int> keys; // lower-case key -> line of its first occurrence
    };

    void parse();
    const Section* findSection(const QString& name) const;
    QString decode(const QByteArray& raw) const { return DecodeText(raw, encoding_); }
    QByteArray lineEnd() const;

    TextEncoding encoding_ = TextEncoding::Utf8;
    std::vector<Line> lines_;
    std::vector<Section> sections_;
};

// One read or write of one key, opening the file anew each time as the settings are shared with other
// instances of the program.
QString ReadSettingValue(const QString& path, const QString& section, const QString& key);
Result<> WriteSettingValue(const QString& path, const QString& section, const QString& key,
                           const QString& value);

} // namespace zal
