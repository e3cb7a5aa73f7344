#pragma once

#include <QStringList>
#include <QTextStream>

namespace zal::cli {

// zalctl export and support-bundle: run by zalctl-report, which alone loads Qt Gui, the PDF writer
// and libarchive.
int RunExport(QTextStream& out, QTextStream& err, const QStringList& arguments);
int RunSupportBundle(QTextStream& out, QTextStream& err, const QStringList& arguments);

} // namespace zal::cli
