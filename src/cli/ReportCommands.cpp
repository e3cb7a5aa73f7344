#include "ReportCommands.h"

#include "CommandTable.h"
#include "Session.h"
#include "records/RecordsDatabase.h"
#include "records/RecordsWorkbook.h"
#include "report/ConfigReport.h"
#include "report/SupportInformation.h"
#include "shell/FileSystem.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonDocument>

#include <cerrno>
#include <cstring>

namespace zal::cli {

int RunExport(QTextStream&, QTextStream& err, const QStringList& arguments) {
    const Options o = Parse(arguments);
    const QString format = o.format.isEmpty() ? QFileInfo(o.output).suffix().toLower() : o.format;
    static const QStringList kFormats{QStringLiteral("pdf"), QStringLiteral("html"), QStringLiteral("csv"),
                                      QStringLiteral("json")};
    if (!o.error.isEmpty() || o.positional.size() != 1 || o.output.isEmpty() || !kFormats.contains(format)) {
        PrintCommandUsage(err, "export",
                          QCoreApplication::translate(
                              "Cli", "-o und ein Format (--format oder die Endung von OUT) sind nötig"),
                          o.error);
        return kUsage;
    }
    if (OutputRefused(err, o, {o.positional[0]}))
        return kFailed;
    Session s = MakeSession(err, o);
    if (!Open(s, o.positional[0])) {
        err << "zalctl: "
            << QCoreApplication::translate("Cli", "%1 wurde nicht geöffnet").arg(o.positional[0]) << Qt::endl;
        return kFailed;
    }
    const ConfigReport report = BuildReport(*s.editor);
    const QString output = OutputPath(o);
    const Result<> written =
        format == QLatin1String("pdf")    ? WriteReportPdf(report, output)
        : format == QLatin1String("html") ? WriteFileAtomically(output, ReportHtml(report).toUtf8())
        : format == QLatin1String("csv")
            ? WriteFileAtomically(output, ReportCsv(report))
            : WriteFileAtomically(output, QJsonDocument(ReportJson(report)).toJson(QJsonDocument::Indented));
    if (!written)
        err << "zalctl: "
            << QCoreApplication::translate("Cli", "%1 kann nicht geschrieben werden: %2")
                   .arg(o.output, written.error())
            << Qt::endl;
    return written ? kOk : kFailed;
}

int RunSupportBundle(QTextStream& out, QTextStream& err, const QStringList& arguments) {
    const Options o = Parse(arguments);
    if (!o.error.isEmpty() || !o.positional.isEmpty() || o.output.isEmpty()) {
        PrintCommandUsage(err, "support-bundle", QCoreApplication::translate("Cli", "-o FILE.zip ist nötig"));
        return kUsage;
    }
    if (OutputRefused(err, o))
        return kFailed;
    Session s = MakeSession(err, o);
    const CommandResult saved = SaveSupportBundle(*s.editor, OutputPath(o));
    if (!saved) {
        err << "zalctl: "
            << QCoreApplication::translate("Cli", "%1 kann nicht geschrieben werden: %2")
                   .arg(o.output, saved.detail())
            << Qt::endl;
        return kFailed;
    }
    // On standard output the archive is all there is.
    if (o.output != QLatin1String("-"))
        out << QCoreApplication::translate("Cli", "Supportinformationen gespeichert in %1").arg(o.output)
            << '\n';
    return kOk;
}

int RunRecordsExport(QTextStream& out, QTextStream& err, const QStringList& arguments) {
    const Options o = Parse(arguments);
    if (!o.error.isEmpty() || o.positional != QStringList{QStringLiteral("export")} ||
        (o.csv.trimmed().isEmpty() && o.output.isEmpty())) {
        PrintCommandUsage(err, "records export",
                          QCoreApplication::translate("Cli",
                                                      "--csv DIR nennt den Ordner, in den die Tabellen "
                                                      "kommen, -o FILE.xlsx die Arbeitsmappe"),
                          o.error);
        return kUsage;
    }
    if (OutputRefused(err, o))
        return kFailed;
    Session s = MakeSession(err, o);
    RecordsDatabase records(
        RecordsDatabase::Location(s.editor->folders().dataFolder, s.editor->folders().settings()));
    const auto failed = [&err](const QString& why) {
        err << "zalctl: "
            << QCoreApplication::translate("Cli", "die Aufzeichnungen konnten nicht ausgegeben werden: %1")
                   .arg(why)
            << Qt::endl;
        return kFailed;
    };
    QStringList written;
    if (!o.csv.trimmed().isEmpty()) {
        const Result<QStringList> files = records.ExportCsv(o.csv);
        if (!files)
            return failed(files.error());
        written << *files;
    }
    if (!o.output.isEmpty()) {
        const Result<QByteArray> book = RecordsWorkbook(records);
        if (!book)
            return failed(book.error());
        if (const Result<> saved = WriteFileAtomically(OutputPath(o), *book); !saved) {
            err << "zalctl: "
                << QCoreApplication::translate("Cli", "%1 kann nicht geschrieben werden: %2")
                       .arg(o.output, saved.error())
                << Qt::endl;
            return kFailed;
        }
        if (o.output != QLatin1String("-"))
            written << o.output;
    }
    // On standard output a workbook is all there is.
    if (o.output != QLatin1String("-"))
        for (const QString& file : written)
            out << file << '\n';
    return kOk;
}

} // namespace zal::cli
