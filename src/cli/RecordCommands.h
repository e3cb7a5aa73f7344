#pragma once

#include <QStringList>
#include <QTextStream>

namespace zal::cli {

// zalctl backups list|restore.
int RunBackups(QTextStream& out, QTextStream& err, const QStringList& arguments);
// zalctl records rebuild.
int RunRecords(QTextStream& out, QTextStream& err, const QStringList& arguments);
// zalctl devices [show SERIAL].
int RunDevices(QTextStream& out, QTextStream& err, const QStringList& arguments);

} // namespace zal::cli
