#include "ReportCommands.h"

#include "CommandTable.h"
#include "Session.h"
#include "report/ConfigReport.h"
#include "report/SupportInformation.h"
#include "shell/FileSystem.h"

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
        err << "zalctl: " << o.positional[0] << " was not opened" << Qt::endl;
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
        err << "zalctl: cannot write " << o.output << ": " << QString::fromLocal8Bit(std::strerror(errno))
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
        err << "zalctl: cannot write " << o.output << ": " << saved.detail() << Qt::endl;
        return kFailed;
    }
    out << "support information saved in " << o.output << '\n';
    return kOk;
}

} // namespace zal::cli
