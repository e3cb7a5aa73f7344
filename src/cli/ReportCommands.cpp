#include "ReportCommands.h"

#include "CommandTable.h"
#include "Session.h"
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
                          QStringLiteral("-o and a format (--format, or OUT's extension) are needed"),
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
    bool ok = false;
    if (format == QLatin1String("pdf"))
        ok = WriteReportPdf(report, o.output);
    else if (format == QLatin1String("html"))
        ok = WriteFileAtomically(o.output, ReportHtml(report).toUtf8());
    else if (format == QLatin1String("csv"))
        ok = WriteFileAtomically(o.output, ReportCsv(report));
    else
        ok = WriteFileAtomically(o.output, QJsonDocument(ReportJson(report)).toJson(QJsonDocument::Indented));
    if (!ok)
        err << "zalctl: "
            << QCoreApplication::translate("Cli", "%1 kann nicht geschrieben werden: %2")
                   .arg(o.output, QString::fromLocal8Bit(std::strerror(errno)))
            << Qt::endl;
    return ok ? kOk : kFailed;
}

int RunSupportBundle(QTextStream& out, QTextStream& err, const QStringList& arguments) {
    const Options o = Parse(arguments);
    if (!o.error.isEmpty() || !o.positional.isEmpty() || o.output.isEmpty()) {
        PrintCommandUsage(err, "support-bundle", QStringLiteral("-o FILE.zip is needed"));
        return kUsage;
    }
    if (OutputRefused(err, o))
        return kFailed;
    Session s = MakeSession(err, o);
    const CommandResult saved = SaveSupportBundle(*s.editor, o.output);
    if (!saved) {
        err << "zalctl: "
            << QCoreApplication::translate("Cli", "%1 kann nicht geschrieben werden: %2")
                   .arg(o.output, saved.detail())
            << Qt::endl;
        return kFailed;
    }
    out << QCoreApplication::translate("Cli", "Supportinformationen gespeichert in %1").arg(o.output) << '\n';
    return kOk;
}

} // namespace zal::cli
