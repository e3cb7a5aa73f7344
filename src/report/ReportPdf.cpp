// The report on paper: Qt's text layout of the HTML form, paged onto a PDF writer or a printer.

#include "ConfigReport.h"

#include "shell/FileSystem.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include <cerrno>

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

Result<> WriteReportPdf(const ConfigReport& report, const QString& path) {
    // QPdfWriter reports no failure of its own and writes into the file as it goes: the document is made
    // in memory, checked whole, and then saved as every other file is, so that a full disk or a folder
    // in the way fails plainly and an earlier report stays as it was.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setResolution(1200);
        PrepareReportPage(writer);
        writer.setTitle(QCoreApplication::translate("Report", "Konfigurationsbericht") + u' ' +
                        report.product + u' ' + report.serial);
        writer.setCreator(QStringLiteral("ZAL Programmer"));
        PaintReport(report, writer);
    }
    const QByteArray& bytes = pdf.data();
    if (!bytes.startsWith("%PDF-") || !bytes.trimmed().endsWith("%%EOF"))
        return Failure{Problem::Other, QString::fromLocal8Bit(std::strerror(EIO))};
    return WriteFileAtomically(path, bytes);
}

} // namespace zal
