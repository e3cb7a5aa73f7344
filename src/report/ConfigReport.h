#pragma once

#include "editor/EnterData.h"

#include "shell/Result.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <vector>

class QPagedPaintDevice;

namespace zal {

// A configuration as the technician sees it in the editor, for the installation file: every page,
// group, caption and shown value, whether the field is in use, and what device and file it is.
struct ReportRow {
    QString name; // the field's name, for tools
    QString page, group, caption, value, unit;
    bool inUse = true;   // its presence mark does not say "not in use"
    bool enabled = true; // the technician could change it
    // A drop-down that chooses the unit of the field before it, on the same row with the same caption.
    bool unitOfPrevious = false;
};

struct ConfigReport {
    QString title;               // the editor's window title
    QString product, version;    // as the editor works with them
    QString serial, radioId;     // as the product information shows them
    QString fileName;            // empty for a configuration read from a device or new, not saved
    QString fileNote;            // what stands for the file name then
    QString date;                // when the report was made
    std::vector<ReportRow> rows; // in the window's order
};

ConfigReport BuildReport(const TfrmEnterData& editor, const QDateTime& when = QDateTime::currentDateTime());

QString ReportHtml(const ConfigReport& report);
// Semicolon-separated, UTF-8 with a byte-order mark, as spreadsheet programs with German settings
// open it; the device lines first, then one line per field.
QByteArray ReportCsv(const ConfigReport& report);
QJsonObject ReportJson(const ConfigReport& report);

// A4 with the report's margins, on a PDF writer and a printer alike.
void PrepareReportPage(QPagedPaintDevice& device);
// Lays the report out on pages of the device (a PDF writer or a printer); needs a Gui application.
void PaintReport(const ConfigReport& report, QPagedPaintDevice& device);
// An A4 PDF of the report, saved whole or not at all.
Result<> WriteReportPdf(const ConfigReport& report, const QString& path);

} // namespace zal
