// zalctl: the ZAL family programmer on the command line, for technicians, batch work and tests.

#include "CommandTable.h"
#include "RecordCommands.h"
#include "Session.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>

#include <memory>

using namespace zal::cli;

int main(int argc, char* argv[]) {
    // The PDF report lays out text, which needs a Gui application; no window is ever shown.
    std::unique_ptr<QCoreApplication> app;
    if (argc > 1 && qstrcmp(argv[1], "export") == 0) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList arguments = app->arguments().mid(1);
    if (arguments.isEmpty() || arguments.first() == QLatin1String("--help") ||
        arguments.first() == QLatin1String("-h")) {
        PrintUsage(arguments.isEmpty() ? err : out);
        return arguments.isEmpty() ? kUsage : kOk;
    }
    const Command* command = FindCommand(arguments);
    if (!command) {
        // A command with subcommands names them; anything else is unknown.
        bool subcommands = false;
        for (const Command& c : Commands()) {
            if (QLatin1String(c.name).startsWith(arguments.first() + u' ')) {
                err << (subcommands ? "       zalctl " : "usage: zalctl ") << UsageLine(c) << '\n';
                subcommands = true;
            }
        }
        if (!subcommands) {
            err << "zalctl: unknown command '" << arguments.first() << "'\n";
            PrintUsage(err);
        }
        return kUsage;
    }
    RunFunction run = command->run;
    if (!run)
        run = qstrcmp(command->name, "export") == 0 ? RunExport : RunSupportBundle;
    // Each command's function takes what follows its first word (backups takes list or restore).
    return RunCommand(*command, run, out, err, arguments.mid(1));
}
