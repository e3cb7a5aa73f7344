#pragma once

#include <QStringList>
#include <QTextStream>

namespace zal::cli {

// zalctl backups list|restore, export and support-bundle.
int RunBackups(QTextStream& out, QTextStream& err, const QStringList& arguments);
int RunExport(QTextStream& out, QTextStream& err, const QStringList& arguments);
int RunSupportBundle(QTextStream& out, QTextStream& err, const QStringList& arguments);

} // namespace zal::cli
