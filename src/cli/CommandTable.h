#pragma once

#include <QStringList>
#include <QTextStream>

#include <span>

namespace zal::cli {

using RunFunction = int (*)(QTextStream& out, QTextStream& err, const QStringList& arguments);

// Whether a command talks to a KBX: not at all; to the default one only (ZAL_KBX_PORT or the first
// found); to one chosen with --kbx or --port; or to several at once (the production line).
enum class KbxUse { None, Default, One, Several };

// A zalctl command: what the usage text says of it, the options it takes, whether it needs a KBX, and
// what runs it. The usage text, the dispatch and the option check all come from these rows.
struct Command {
    const char* name;      // "read"; "backups list" for a command with a subcommand
    const char* arguments; // the positional arguments as the usage shows them
    unsigned options;      // the Option bits it takes
    KbxUse kbx;
    // nullptr: the command runs in zalctl-report, which alone loads Qt Gui, the PDF writer and
    // libarchive, with a function of its own.
    RunFunction run;
    const char* help;

    bool report() const { return run == nullptr; }
};

// The products as a command line names them ("BORA, ZAL, ..., MUVE+II"), all of them or those with a
// default-image service write, from the product rows.
QString ProductNames(bool withDefaultWriteOnly = false);
// A text of zalctl's in the user's language, its %PRODUCTS% and %DEFAULTS% the product lists above:
// no list of products is written by hand.
QString CliText(const char* text);

std::span<const Command> Commands();
// The command the arguments name (its one or two words); nullptr when none.
const Command* FindCommand(const QStringList& arguments);
// "read [-o FILE] [--yes] [--json] [--kbx SERIAL | --port PATH]"
QString UsageLine(const Command& command);
void PrintUsage(QTextStream& out);
// "zalctl 1.0.0.1", for version and --version alike.
QString VersionLine();
// A command's usage, what it does and its options, on out (for --help and help COMMAND); false when
// no command has that name.
bool PrintCommandHelp(QTextStream& out, const QString& name);
// "usage: zalctl <the named command's usage line>" on err, then the note (what a value may be) and
// the parser's error when there are some; for a name with subcommands, each of them.
void PrintCommandUsage(QTextStream& err, const char* name, const QString& note = {},
                       const QString& error = {});

// Checks the options and arguments against the command's (a usage error names the one it does not
// take), catches Ctrl+C for device commands, then runs it; run is the command's own function. A
// command run with --json that failed before printing its document prints {"error": ...} instead.
int RunCommand(const Command& command, RunFunction run, QTextStream& out, QTextStream& err,
               const QStringList& arguments);

} // namespace zal::cli
