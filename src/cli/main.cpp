// zalctl: the ZAL family programmer on the command line, for technicians, batch work and tests.

#include "CommandTable.h"
#include "Session.h"
#include "form/FormLayout.h"
#include "shell/AppFolders.h"
#include "shell/FileSystem.h"
#include "shell/Language.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <unistd.h>

#include <vector>

using namespace zal::cli;

namespace {

// Hands a report command to zalctl-report: beside zalctl in a build tree, in the package's libexec
// folder when installed. Returns only when neither could be started.
int ExecReportProgram(QTextStream& err, char* argv[]) {
    const QString here = QCoreApplication::applicationDirPath();
    const QStringList candidates{
        here + QStringLiteral("/zalctl-report"),
        QDir::cleanPath(here + QStringLiteral("/" ZAL_REPORT_PROGRAM_DIR "/zalctl-report"))};
    for (const QString& path : candidates) {
        if (!QFileInfo(path).isExecutable())
            continue;
        const QByteArray program = QFile::encodeName(path);
        std::vector<char*> args{const_cast<char*>(program.constData())};
        for (char** a = argv + 1; *a; ++a)
            args.push_back(*a);
        args.push_back(nullptr);
        ::execv(program.constData(), args.data());
    }
    err << "zalctl: " << argv[1] << " needs zalctl-report, which was not found in "
        << candidates.join(QStringLiteral(" or ")) << Qt::endl;
    return kFailed;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    // The program's texts follow the user's choice or the locale, as the window's do; the commands,
    // switches, field names and JSON keys are the same in every language.
    zal::InstallLanguage(zal::ProgramLanguage());
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList arguments = zal::ArgumentsFromNative(argc, argv);
    if (arguments.isEmpty() || arguments.first() == QLatin1String("--help") ||
        arguments.first() == QLatin1String("-h")) {
        PrintUsage(arguments.isEmpty() ? err : out);
        return arguments.isEmpty() ? kUsage : kOk;
    }
    if (arguments.first() == QLatin1String("--version")) {
        out << "zalctl " << zal::ProgramVersionText() << Qt::endl;
        return kOk;
    }
    // For the shell's completion: the fields set takes, from the form's declaration alone, so that a
    // Tab never creates the data folders or settings a command would.
    if (arguments.first() == QLatin1String("--field-names")) {
        for (const zal::FieldDecl& field : zal::FormFields()) {
            if (!field.hidden && field.kind != zal::FieldKind::Button)
                out << field.name << '\n';
        }
        return kOk;
    }
    const Command* command = FindCommand(arguments);
    if (!command) {
        // A command with subcommands names them; anything else is unknown.
        bool subcommands = false;
        for (const Command& c : Commands())
            subcommands = subcommands || QLatin1String(c.name).startsWith(arguments.first() + u' ');
        if (subcommands) {
            PrintCommandUsage(err, arguments.first().toLatin1().constData());
        } else {
            err << "zalctl: unknown command '" << arguments.first() << "'\n";
            PrintUsage(err);
        }
        return kUsage;
    }
    if (command->report())
        return ExecReportProgram(err, argv);
    // Each command's function takes what follows its first word (backups takes list or restore).
    return RunCommand(*command, command->run, out, err, arguments.mid(1));
}
