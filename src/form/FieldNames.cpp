#include "FieldNames.h"

#include <mutex>

#include <QHash>
#include <QString>

namespace zal {
namespace {

QStringList ExpandOne(const QString& pattern) {
    const qsizetype open = pattern.indexOf(u'{');
    if (open < 0)
        return {pattern};
    const qsizetype close = pattern.indexOf(u'}', open);
    const QString prefix = pattern.left(open);
    const QString suffix = pattern.mid(close + 1);
    QStringList out;
    for (const QString& part : pattern.mid(open + 1, close - open - 1).split(u',')) {
        const QStringList range = part.split(u'-');
        bool numeric = false;
        const int first = range[0].toInt(&numeric);
        if (range.size() == 2 && numeric) {
            for (int i = first; i <= range[1].toInt(); ++i)
                out += ExpandOne(prefix + QString::number(i) + suffix);
        } else {
            out += ExpandOne(prefix + part + suffix);
        }
    }
    return out;
}

} // namespace

QStringList ExpandFieldNames(const char* pattern) {
    // Editors of a production line run in threads of their own and share the cache.
    static std::mutex lock;
    static QHash<const char*, QStringList> cache;
    const std::lock_guard guard(lock);
    const auto it = cache.constFind(pattern);
    if (it != cache.constEnd())
        return *it;
    QStringList out;
    for (const QString& part : QString::fromLatin1(pattern).split(u' ', Qt::SkipEmptyParts))
        out += ExpandOne(part);
    cache.insert(pattern, out);
    return out;
}

} // namespace zal
