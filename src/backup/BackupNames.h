#pragma once

// What the backup store's parts share of its file names and times.

#include "BackupStore.h"

#include <limits>

namespace zal::backup_names {

// An entry without a time counts as the oldest (and is never removed).
inline qint64 MsecsOf(const BackupEntry& e) {
    return e.time.isValid() ? e.time.toMSecsSinceEpoch() : std::numeric_limits<qint64>::min();
}

// A name with a path in it would reach outside its folder: only plain names count.
inline bool PlainName(const QString& file) {
    return !file.isEmpty() && !file.contains(u'/') && !file.startsWith(u'.');
}

} // namespace zal::backup_names
