// zalctl: the ZAL family programmer on the command line, for technicians, batch work and tests.

#include "CommandTable.h"
#include "Completion.h"
#include "Session.h"
#include "StandardStreams.h"
#include "form/FormLayout.h"
#include "shell/AppFolders.h"
#include "shell/FileSystem.h"
#include "shell/Language.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <unistd.h>

#include <algorithm>
#include <vector>

using namespace zal::cli;

namespace {

// The command a mistyped word most likely meant: the first words of the commands within two edits of
// it (letters added, dropped, changed or swapped), the nearest first; empty when none is that near.
QString NearestCommand(const QString& typed) {
    const auto distance = [](const QString& a, const QString& b) {
        std::vector<std::vector<int>> d(static_cast<size_t>(a.size() + 1),
                                        std::vector<int>(static_cast<size_t>(b.size() + 1)));
        for (qsizetype i = 0; i <= a.size(); ++i)
            d[static_cast<size_t>(i)][0] = static_cast<int>(i);
        for (qsizetype j = 0; j <= b.size(); ++j)
            d[0][static_cast<size_t>(j)] = static_cast<int>(j);
        for (qsizetype i = 1; i <= a.size(); ++i) {
            for (qsizetype j = 1; j <= b.size(); ++j) {
                const auto x = static_cast<size_t>(i), y = static_cast<size_t>(j);
                d[x][y] =
                    std::min({d[x - 1][y] + 1, d[x][y - 1] + 1, d[x - 1][y - 1] + (a[i - 1] != b[j - 1])});
                if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                    d[x][y] = std::min(d[x][y], d[x - 2][y - 2] + 1);
            }
        }
        return d[static_cast<size_t>(a.size())][static_cast<size_t>(b.size())];
    };
    // An option is compared with the program's own options, a word with the commands' first words.
    QStringList names{QStringLiteral("--version"), QStringLiteral("--help"), QStringLiteral("--completion")};
    if (!typed.startsWith(u'-')) {
        names.clear();
        for (const Command& c : Commands())
            names << QString::fromLatin1(c.name).section(u' ', 0, 0);
    }
    QString nearest;
    int best = 3;
    for (const QString& name : names) {
        const int d = distance(typed, name);
        if (d < best) {
            best = d;
            nearest = name;
        }
    }
    return nearest;
}

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
    err << "zalctl: "
        << QCoreApplication::translate("Cli", "%1 braucht zalctl-report, das nicht gefunden wurde: %2")
               .arg(QString::fromLocal8Bit(argv[1]), candidates.join(QStringLiteral(" | ")))
        << Qt::endl;
    return kFailed;
}

bool AsksForHelp(const QStringList& arguments) {
    return arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"));
}

int Run(QTextStream& out, QTextStream& err, const QStringList& arguments, char* argv[]) {
    if (arguments.isEmpty()) {
        PrintUsage(err);
        return kUsage;
    }
    const QString first = arguments.first();
    if (first == QLatin1String("--help") || first == QLatin1String("-h") ||
        (first == QLatin1String("help") &&
         (arguments.size() == 1 || arguments[1] == QLatin1String("help")))) {
        PrintUsage(out);
        return kOk;
    }
    if (first == QLatin1String("help") || (AsksForHelp(arguments) && !first.startsWith(u'-'))) {
        const QStringList name = first == QLatin1String("help") ? arguments.mid(1) : arguments;
        // "backups list --help" is the subcommand's; "backups --help" lists both.
        const Command* command = FindCommand(name);
        const QString wanted = command ? QLatin1String(command->name) : name.first();
        if (PrintCommandHelp(out, wanted))
            return kOk;
        err << "zalctl: " << QCoreApplication::translate("Cli", "unbekannter Befehl '%1'").arg(wanted)
            << '\n';
        PrintUsage(err);
        return kUsage;
    }
    // The options of the program itself stand alone.
    const auto alone = [&](const char* option) {
        if (arguments.size() == 1)
            return true;
        err << "zalctl: "
            << QCoreApplication::translate("Cli", "%1 nimmt nichts weiter, auch nicht %2")
                   .arg(QLatin1String(option), arguments[1])
            << Qt::endl;
        return false;
    };
    if (first == QLatin1String("--version"))
        return alone("--version") ? (out << VersionLine() << '\n', kOk) : kUsage;
    // For the shell's completion: the fields set takes, from the form's declaration alone, so that a
    // Tab never creates the data folders or settings a command would.
    if (first == QLatin1String("--field-names")) {
        if (!alone("--field-names"))
            return kUsage;
        for (const zal::FieldDecl& field : zal::FormFields()) {
            if (!field.hidden && field.kind != zal::FieldKind::Button)
                out << field.name << '\n';
        }
        return kOk;
    }
    if (first == QLatin1String("--completion")) {
        if (arguments.size() != 2 || arguments[1] != QLatin1String("bash")) {
            err << "usage: zalctl --completion bash" << Qt::endl;
            return kUsage;
        }
        PrintBashCompletion(out);
        return kOk;
    }
    const Command* command = FindCommand(arguments);
    if (!command) {
        // A command with subcommands names them; anything else is unknown.
        bool subcommands = false;
        for (const Command& c : Commands())
            subcommands = subcommands || QLatin1String(c.name).startsWith(first + u' ');
        if (subcommands) {
            PrintCommandUsage(err, first.toLatin1().constData());
            return kUsage;
        }
        // A short answer for a typo: what was not understood, the nearest command, where the list is.
        err << "zalctl: "
            << (first.startsWith(u'-') ? QCoreApplication::translate("Cli", "unbekannte Option '%1'")
                                       : QCoreApplication::translate("Cli", "unbekannter Befehl '%1'"))
                   .arg(first);
        if (const QString nearest = NearestCommand(first); !nearest.isEmpty())
            err << QCoreApplication::translate("Cli", "; meinten Sie '%1'?").arg(nearest);
        err << '\n'
            << "zalctl: " << QCoreApplication::translate("Cli", "zalctl --help listet die Befehle") << '\n';
        return kUsage;
    }
    if (command->report()) {
        out.flush();
        err.flush();
        return ExecReportProgram(err, argv);
    }
    // Each command's function takes what follows its first word (backups takes list or restore).
    return RunCommand(*command, command->run, out, err, arguments.mid(1));
}

} // namespace

int main(int argc, char* argv[]) {
    // Before anything opens a file: a closed standard descriptor must not be reused by one.
    GuardStandardDescriptors();
    QCoreApplication app(argc, argv);
    // The program's texts follow the user's choice or the locale, as the window's do; the commands,
    // switches, field names and JSON keys are the same in every language.
    zal::InstallLanguage(zal::ProgramLanguage());
    StreamDevice standardOutput(STDOUT_FILENO);
    ErrorStreamDevice standardError;
    QTextStream out(&standardOutput);
    QTextStream err(&standardError);
    const QStringList arguments = zal::ArgumentsFromNative(argc, argv);
    return FinishOutput(Run(out, err, arguments, argv), out, err);
}
