#include "ConfigReport.h"

#include "form/FieldText.h"
#include "shell/Language.h"
#include "shell/StringTable.h"

#include <QCoreApplication>
#include <QJsonArray>

namespace zal {
namespace {

// Captions of the product information, as the editor labels them.
constexpr int kProductCaption = 10531, kVersionCaption = 10532, kRadioIdCaption = 10535,
              kSerialCaption = 10536;

QString Escaped(const QString& text) {
    return text.toHtmlEscaped();
}

QString CsvCell(const QString& text) {
    QString cell = text;
    if (cell.contains(u';') || cell.contains(u'"') || cell.contains(u'\n') || cell.startsWith(u' ') ||
        cell.endsWith(u' ')) {
        cell.replace(QStringLiteral("\""), QStringLiteral("\"\""));
        cell = u'"' + cell + u'"';
    }
    return cell;
}

QString FieldText(const TfrmEnterData& editor, const char* name) {
    const Field* f = editor.form().find(QLatin1String(name));
    return f ? ShownValue(*f) : QString();
}

std::vector<std::pair<QString, QString>> DeviceLines(const ConfigReport& r) {
    return {{Str(kProductCaption), r.product},
            {Str(kVersionCaption), r.version},
            {Str(kSerialCaption), r.serial},
            {Str(kRadioIdCaption), r.radioId},
            {QCoreApplication::translate("Report", "Datei"), r.fileName.isEmpty() ? r.fileNote : r.fileName},
            {QCoreApplication::translate("Report", "Datum"), r.date}};
}

} // namespace

ConfigReport BuildReport(const TfrmEnterData& editor, const QDateTime& when) {
    ConfigReport r;
    r.title = editor.title();
    const ProductInfo* product = FindProduct(editor.product());
    r.product = product ? QString::fromLatin1(product->model.get()) : QString::number(editor.product());
    r.version = FieldText(editor, "edtProgramVersion");
    r.serial = FieldText(editor, "edtSerialNumber");
    r.radioId = FieldText(editor, "edtDeviceRadioId");
    r.fileName = editor.fileName();
    r.fileNote = editor.fileState() == fsFromDevice
                     ? QCoreApplication::translate("Report", "(aus Gerät ausgelesen)")
                     : QCoreApplication::translate("Report", "(nicht gespeichert)");
    // The date as the reader writes it: "08.12.2026" in German, "08/12/2026" in English.
    r.date = when.toString(QCoreApplication::translate("Report", "dd.MM.yyyy HH:mm"));
    for (const Field* f : ShownFields(editor.form())) {
        ReportRow row;
        row.name = f->name();
        row.page = PageCaption(*f);
        row.group = GroupCaption(*f);
        row.caption = FieldCaption(*f);
        row.value = ShownValue(*f);
        row.unit = f->decl->unitCaptionId ? Str(f->decl->unitCaptionId) : QString();
        row.inUse = f->mark != 2;
        row.enabled = f->enabled;
        row.unitOfPrevious = f->kind() == FieldKind::Combo && !r.rows.empty() &&
                             r.rows.back().page == row.page && r.rows.back().group == row.group &&
                             r.rows.back().caption == row.caption;
        r.rows.push_back(row);
    }
    return r;
}

QString ReportHtml(const ConfigReport& r) {
    QString html =
        QStringLiteral(
            "<!DOCTYPE html>\n<html lang=\"%2\"><head><meta charset=\"utf-8\"><title>%1</title>\n"
            "<style>body{font-family:sans-serif;font-size:9pt} table{border-collapse:collapse;width:100%}"
            "td,th{border:1px solid #999;padding:2px 4px;text-align:left;vertical-align:top}"
            "h2{font-size:12pt;margin-top:14pt} th.group{font-size:10pt;background:#e8e8e8} "
            "table{margin-top:6pt} "
            ".off{color:#777}</style>"
            "</head><body>\n<h1>%3</h1>\n<table class=\"device\">\n")
            .arg(Escaped(r.title), LanguageCode(CurrentLanguage()),
                 Escaped(QCoreApplication::translate("Report", "Konfigurationsbericht")));
    for (const auto& [caption, value] : DeviceLines(r))
        html += QStringLiteral("<tr><th>%1</th><td>%2</td></tr>\n").arg(Escaped(caption), Escaped(value));
    html += QStringLiteral("</table>\n");
    QString page, group;
    bool open = false;
    for (const ReportRow& row : r.rows) {
        if (row.page != page) {
            if (open)
                html += QStringLiteral("</table>\n");
            open = false;
            page = row.page;
            group.clear();
            html += QStringLiteral("<h2>%1</h2>\n").arg(Escaped(page));
        }
        if (row.group != group) {
            if (open)
                html += QStringLiteral("</table>\n");
            group = row.group;
            // The group's caption is the table's header: a page break never parts it from its rows,
            // and a group that runs on over a page starts the next one with it again.
            html += QStringLiteral("<table>\n<thead><tr><th colspan=\"3\" class=\"group\">%1</th></tr>\n"
                                   "<tr><th width=\"50%\">%2</th><th width=\"34%\">%3</th>"
                                   "<th width=\"16%\">%4</th></tr></thead>\n")
                        .arg(Escaped(group), Escaped(QCoreApplication::translate("Report", "Parameter")),
                             Escaped(QCoreApplication::translate("Report", "Wert")),
                             Escaped(QCoreApplication::translate("Report", "Verwendet")));
            open = true;
        }
        const QString value = row.unit.isEmpty() ? row.value : row.value + u' ' + row.unit;
        // A unit drop-down is named as such rather than under its row's caption a second time.
        const QString caption = row.unitOfPrevious
                                    ? QChar(0x2003) + QCoreApplication::translate("Report", "Einheit")
                                    : row.caption;
        html += QStringLiteral("<tr%1><td>%2</td><td>%3</td><td>%4</td></tr>\n")
                    .arg(row.inUse ? QString() : QStringLiteral(" class=\"off\""), Escaped(caption),
                         Escaped(value),
                         row.inUse ? QCoreApplication::translate("Report", "ja")
                                   : QCoreApplication::translate("Report", "nein"));
    }
    if (open)
        html += QStringLiteral("</table>\n");
    html += QStringLiteral("</body></html>\n");
    return html;
}

QByteArray ReportCsv(const ConfigReport& r) {
    QString csv =
        QCoreApplication::translate("Report", "Seite;Gruppe;Parameter;Wert;Einheit;Verwendet;Feld") +
        QStringLiteral("\r\n");
    for (const auto& [caption, value] : DeviceLines(r))
        csv += QCoreApplication::translate("Report", "Bericht;Gerät;%1;%2;;;")
                   .arg(CsvCell(caption), CsvCell(value)) +
               QStringLiteral("\r\n");
    for (const ReportRow& row : r.rows)
        csv += QStringList{CsvCell(row.page),
                           CsvCell(row.group),
                           CsvCell(row.caption),
                           CsvCell(row.value),
                           CsvCell(row.unit),
                           row.inUse ? QCoreApplication::translate("Report", "ja")
                                     : QCoreApplication::translate("Report", "nein"),
                           row.name}
                   .join(u';') +
               QStringLiteral("\r\n");
    return "\xEF\xBB\xBF" + csv.toUtf8();
}

QJsonObject ReportJson(const ConfigReport& r) {
    QJsonArray rows;
    for (const ReportRow& row : r.rows)
        rows.append(QJsonObject{{QStringLiteral("name"), row.name},
                                {QStringLiteral("page"), row.page},
                                {QStringLiteral("group"), row.group},
                                {QStringLiteral("caption"), row.caption},
                                {QStringLiteral("value"), row.value},
                                {QStringLiteral("unit"), row.unit},
                                {QStringLiteral("inUse"), row.inUse},
                                {QStringLiteral("enabled"), row.enabled}});
    return QJsonObject{{QStringLiteral("title"), r.title},     {QStringLiteral("product"), r.product},
                       {QStringLiteral("version"), r.version}, {QStringLiteral("serial"), r.serial},
                       {QStringLiteral("radioId"), r.radioId}, {QStringLiteral("file"), r.fileName},
                       {QStringLiteral("date"), r.date},       {QStringLiteral("fields"), rows}};
}

} // namespace zal
