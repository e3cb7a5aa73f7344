// zalctl-report: the zalctl commands that need Qt Gui (the PDF report's text layout), the PDF writer,
// libarchive or libxlsxwriter. zalctl hands them over by exec, so that every other command starts without
// loading those libraries.

#include "CommandTable.h"
#include "ReportCommands.h"
#include "Session.h"
#include "StandardStreams.h"
#include "shell/FileSystem.h"
#include "shell/Language.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include <memory>
#include <optional>

using namespace zal::cli;

int main(int argc, char* argv[]) {
    GuardStandardDescriptors();
    std::unique_ptr<QCoreApplication> app;
    std::optional<QTemporaryDir> runtime; // made 0700, as a runtime folder must be
    if (argc > 1 && qstrcmp(argv[1], "export") == 0) {
        // The PDF lays out text, which needs a Gui application; no window is ever shown.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        // Without a session (cron, ssh, a root shell) Qt would make a runtime folder of its own and warn
        // about it on standard error, where only the command's own words belong.
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.emplace().isValid())
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime->path()));
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    zal::InstallLanguage(zal::ProgramLanguage());
    StreamDevice standardOutput(1);
    ErrorStreamDevice standardError;
    QTextStream out(&standardOutput);
    QTextStream err(&standardError);
    // What the application left of argv.
    const QStringList arguments = zal::ArgumentsFromNative(argc, argv);
    const Command* command = FindCommand(arguments);
    if (!command || !command->report()) {
        err << "zalctl-report runs zalctl's export, support-bundle and records export; use zalctl"
            << Qt::endl;
        return kUsage;
    }
    static const struct {
        const char* name;
        RunFunction run;
    } kRuns[] = {
        {"export", RunExport}, {"support-bundle", RunSupportBundle}, {"records export", RunRecordsExport}};
    RunFunction run = nullptr;
    for (const auto& r : kRuns)
        if (qstrcmp(command->name, r.name) == 0)
            run = r.run;
    if (!run)
        return kUsage;
    return FinishOutput(RunCommand(*command, run, out, err, arguments.mid(1)), out, err);
}
