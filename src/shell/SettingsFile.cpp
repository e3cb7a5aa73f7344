#include "SettingsFile.h"

#include "FileSystem.h"

namespace zal {
namespace {

QString Unquote(const QString& value) {
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == u'"' || first == u'\'') && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

struct ParsedLine {
    enum Kind { Other, SectionHeader, KeyValue } kind = Other;
    QString name;
    QString value;
};

ParsedLine ParseLine(const QString& text) {
    ParsedLine p;
    const QString line = text.trimmed();
    if (line.isEmpty() || line.startsWith(u';'))
        return p;
    if (line.startsWith(u'[')) {
        const qsizetype close = line.indexOf(u']');
        p.kind = ParsedLine::SectionHeader;
        p.name = (close < 0 ? line.mid(1) : line.mid(1, close - 1)).trimmed();
        return p;
    }
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0)
        return p;
    p.kind = ParsedLine::KeyValue;
    p.name = line.left(eq).trimmed();
    p.value = Unquote(line.mid(eq + 1).trimmed());
    return p;
}

} // namespace

SettingsFile SettingsFile::Load(const QString& path) {
    QByteArray bytes;
    if (!ReadWholeFile(path, bytes))
        return SettingsFile{};
    return FromBytes(bytes);
}

SettingsFile SettingsFile::FromBytes(const QByteArray& bytes) {
    SettingsFile file;
    file.encoding_ = DetectTextEncoding(bytes);
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype nl = bytes.indexOf('\n', start);
        Line line;
        if (nl < 0) {
            line.raw = bytes.mid(start);
            start = bytes.size();
        } else {
            line.raw = bytes.mid(start, nl - start);
            line.end = "\n";
            if (line.raw.endsWith('\r')) {
                line.raw.chop(1);
                line.end = "\r\n";
            }
            start = nl + 1;
        }
        file.lines_.push_back(std::move(line));
    }
    file.parse();
    return file;
}

void SettingsFile::parse() {
    sections_.clear();
    for (int i = 0; i < static_cast<int>(lines_.size()); ++i) {
        QByteArray raw = lines_[i].raw;
        if (i == 0 && encoding_ == TextEncoding::Utf8WithBom)
            raw = raw.mid(3);
        const ParsedLine p = ParseLine(decode(raw));
        if (p.kind == ParsedLine::SectionHeader) {
            Section s;
            s.name = p.name;
            s.headerLine = i;
            s.lastLine = i;
            sections_.push_back(std::move(s));
            continue;
        }
        if (sections_.empty())
            continue;
        Section& s = sections_.back();
        if (p.kind == ParsedLine::KeyValue) {
            const QString key = p.name.toLower();
            if (!s.keys.contains(key))
                s.keys.insert(key, i);
            s.lastLine = i;
        } else if (!decode(raw).trimmed().isEmpty()) {
            s.lastLine = i;
        }
    }
}

const SettingsFile::Section* SettingsFile::findSection(const QString& name) const {
    const QString wanted = name.trimmed();
    for (const Section& s : sections_) {
        if (s.name.compare(wanted, Qt::CaseInsensitive) == 0)
            return &s;
    }
    return nullptr;
}

bool SettingsFile::hasSection(const QString& section) const {
    return findSection(section) != nullptr;
}

std::optional<QString> SettingsFile::value(const QString& section, const QString& key) const {
    const Section* s = findSection(section);
    if (!s)
        return std::nullopt;
    const auto it = s->keys.constFind(key.trimmed().toLower());
    if (it == s->keys.constEnd())
        return std::nullopt;
    return ParseLine(decode(lines_[*it].raw)).value;
}

int SettingsFile::lineOf(const QString& section, const QString& key) const {
    const Section* s = findSection(section);
    if (!s)
        return 0;
    const auto it = s->keys.constFind(key.trimmed().toLower());
    return it == s->keys.constEnd() ? 0 : *it + 1;
}

QString SettingsFile::text(const QString& section, const QString& key) const {
    return value(section, key).value_or(QString());
}

QByteArray SettingsFile::lineEnd() const {
    for (const Line& l : lines_) {
        if (l.end == "\r\n")
            return "\r\n";
    }
    return "\n";
}

void SettingsFile::setValue(const QString& section, const QString& key, const QString& value) {
    const QByteArray end = lineEnd();
    const Section* s = findSection(section);
    if (s) {
        const auto it = s->keys.constFind(key.trimmed().toLower());
        if (it != s->keys.constEnd()) {
            Line& line = lines_[*it];
            const qsizetype eq = line.raw.indexOf('=');
            line.raw = line.raw.left(eq + 1) + EncodeText(value, encoding_);
        } else {
            Line line{EncodeText(key + u'=' + value, encoding_), end};
            Line& before = lines_[s->lastLine];
            if (before.end.isEmpty())
                before.end = end;
            lines_.insert(lines_.begin() + s->lastLine + 1, std::move(line));
        }
    } else {
        if (!lines_.empty() && lines_.back().end.isEmpty())
            lines_.back().end = end;
        QByteArray header = EncodeText(u'[' + section + u']', encoding_);
        if (lines_.empty() && encoding_ == TextEncoding::Utf8WithBom)
            header.prepend("\xEF\xBB\xBF");
        lines_.push_back(Line{header, end});
        lines_.push_back(Line{EncodeText(key + u'=' + value, encoding_), end});
    }
    parse();
}

QByteArray SettingsFile::toBytes() const {
    QByteArray out;
    for (const Line& l : lines_)
        out += l.raw + l.end;
    return out;
}

Result<> SettingsFile::save(const QString& path) const {
    return WriteFileAtomically(path, toBytes());
}

QString ReadSettingValue(const QString& path, const QString& section, const QString& key) {
    return SettingsFile::Load(path).text(section, key);
}

Result<> WriteSettingValue(const QString& path, const QString& section, const QString& key,
                           const QString& value) {
    SettingsFile file = SettingsFile::Load(path);
    file.setValue(section, key, value);
    return file.save(path);
}

} // namespace zal
