// The report on paper: Qt's text layout of the HTML form, paged onto a PDF writer or a printer.

#include "ConfigReport.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

namespace zal {

void PrepareReportPage(QPagedPaintDevice& device) {
    // One page layout for the PDF and the printer, so that the preview shows the pages the export
    // writes.
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
}

void PaintReport(const ConfigReport& report, QPagedPaintDevice& device) {
    QTextDocument document;
    document.setHtml(ReportHtml(report));
    document.setDefaultFont(QFont(QStringLiteral("Sans Serif"), 9));
    document.print(&device);
}

bool WriteReportPdf(const ConfigReport& report, const QString& path) {
    QPdfWriter writer(path);
    writer.setResolution(1200);
    PrepareReportPage(writer);
    writer.setTitle(QStringLiteral("Konfigurationsbericht ") + report.product + u' ' + report.serial);
    writer.setCreator(QStringLiteral("ZAL Programmer"));
    PaintReport(report, writer);
    // QPdfWriter reports no failure of its own: a file that is not there (or empty) did not get written.
    return QFileInfo(path).size() > 0;
}

} // namespace zal
