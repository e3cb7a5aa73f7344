#pragma once

#include <QStringList>
#include <QTextStream>

namespace zal::cli {

// zalctl export, support-bundle and records export: run by zalctl-report, which alone loads Qt Gui,
// the PDF writer, libarchive and libxlsxwriter.
int RunExport(QTextStream& out, QTextStream& err, const QStringList& arguments);
int RunSupportBundle(QTextStream& out, QTextStream& err, const QStringList& arguments);
// records export: the workbook writer is loaded only here.
int RunRecordsExport(QTextStream& out, QTextStream& err, const QStringList& arguments);

} // namespace zal::cli
