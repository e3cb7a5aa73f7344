#include "CommandTable.h"

#include "DeviceCommands.h"
#include "EditorCommands.h"
#include "Interrupt.h"
#include "KbxCommands.h"
#include "LineCommand.h"
#include "RecipeCommand.h"
#include "RecordCommands.h"
#include "Session.h"
#include "StandardStreams.h"
#include "shell/AppFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>

namespace zal::cli {
namespace {

// The editor's own switches: every command that makes an editor takes them.
constexpr unsigned kEditor = kOptYes | kOptService | kOptChangeCodes;
constexpr unsigned kChosenKbx = kOptKbx | kOptPort;

void PrintFolder(QTextStream& out, const QString& title, const QString& path) {
    out << title << ": " << path << '\n';
    const QDir dir(path);
    if (!dir.exists()) {
        out << "    (missing)\n";
        return;
    }
    const QFileInfoList entries =
        dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::DirsFirst);
    if (entries.isEmpty())
        out << "    (empty)\n";
    for (const QFileInfo& entry : entries) {
        if (entry.isDir())
            out << "    " << entry.fileName() << "/\n";
        else
            out << "    " << entry.fileName() << "  (" << entry.size() << " bytes)\n";
    }
}

int RunFolders(QTextStream& out, QTextStream&, const QStringList& arguments) {
    const QString install = FindInstallFolder(QCoreApplication::applicationDirPath());
    const AppFolders f = SettleFolders(install, ProgramVersionText(), arguments, SystemPlatformFolders());
    out << "ZAL family programmer " << ProgramVersionText() << "\n\n";
    PrintFolder(out, QStringLiteral("Install folder"), f.installFolder);
    PrintFolder(out, QStringLiteral("Data folder"), f.dataFolder);
    PrintFolder(out, QStringLiteral("Configuration folder"), f.configFolder);
    out << "Default configuration folder: " << f.defaultConfigFolder << '\n';
    out << "Settings file: " << f.settingsFile << '\n';
    return kOk;
}

int RunVersion(QTextStream& out, QTextStream&, const QStringList&) {
    out << VersionLine() << '\n';
    return kOk;
}

// clang-format off
const Command kCommands[] = {
    {"folders", "", 0, KbxUse::None, RunFolders,
     "settle the data and configuration folders, install Values.ini and the default images, and print\n"
     "the folders and what they hold"},
    {"new", "PRODUCT [VERSION]", kEditor | kOptOutput | kOptJson, KbxUse::None, RunNew,
     "a new configuration from the product's default image (VERSION: V1.x, V20, V21, V22); with -o\n"
     "saved as FILE"},
    {"show", "FILE", kEditor | kOptJson | kOptProduct, KbxUse::None, RunShow,
     "open FILE as the editor does and print its four pages (or JSON)"},
    {"set", "FILE NAME=VALUE...", kEditor | kOptOutput | kOptForce | kOptJson | kOptProduct, KbxUse::None, RunSet,
     "change fields as a technician would (entry fields typed key by key, drop-downs v:STORED or\n"
     "i:INDEX, check boxes 1 or 0), then save"},
    {"apply", "FILE RECIPE.json", kEditor | kOptOutput | kOptForce, KbxUse::None, RunApply,
     "set the fields a recipe names ({\"fields\": {NAME: {\"text\"|\"value\"|\"index\"|\"checked\": ...}}},\n"
     "the form of show --json) as set does, then save"},
    {"diff", "A B", kEditor, KbxUse::None, RunDiff, "list the fields whose shown values differ"},
    {"export", "FILE", kEditor | kOptFormat | kOptOutput, KbxUse::None, nullptr,
     "the configuration report: every page, caption and shown value"},
    {"backups list", "", kEditor | kOptSerial | kOptSince | kOptStation | kOptJson, KbxUse::None, RunBackups,
     "the images kept from devices (on every read and before every write), at every station the\n"
     "records hold; --since takes a date (2026-12-07) or a time"},
    {"backups restore", "FILE", kEditor, KbxUse::One, RunBackups,
     "write a backup (a file, or a name the list shows, also another station's) into the device\n"
     "exactly as it was kept, and verify it"},
    {"devices", "", kEditor | kOptJson, KbxUse::None, RunDevices,
     "one row per device the records know: product, version, serial, radio ID, last seen, station,\n"
     "backups, fixed codes"},
    {"devices show", "SERIAL", kEditor | kOptJson, KbxUse::None, RunDevices,
     "a device's history: each backup with the fields that changed since the one before it"},
    {"support-bundle", "", kEditor | kOptOutput, KbxUse::One, nullptr,
     "the support log, versions, KBX information, a summary of the records and Values.ini (-o FILE.zip)"},
    {"read", "", kEditor | kOptOutput | kOptJson, KbxUse::One, RunRead,
     "read the device's configuration (with -o saved as FILE)"},
    {"write", "FILE", kEditor | kOptJson | kOptPreview, KbxUse::One, RunWrite,
     "write FILE into the device and verify it, then list the fields it changed;\n"
     "with --preview list what it would change and write nothing"},
    {"learn", "FILE POSITION", kEditor | kOptTimeout | kOptForce, KbxUse::One, RunLearn,
     "learn a transmitter's code over the air into radio position 1-8"},
    {"change-codes", "FILE NEWCODE...", kEditor, KbxUse::One, RunChangeCodes,
     "change the device's fixed radio ID codes (the first alone derives the rest)"},
    {"write-default", "MODEL", kEditor, KbxUse::One, RunWriteDefault,
     "service: write the default image of BORA, ZAL, MUVE or DORF"},
    {"write-version-byte", "", kEditor, KbxUse::One, RunWriteVersionByte,
     "service: set the version byte of a device with V1.x firmware"},
    {"line", "FILE", kEditor | kOptCount | kOptChangeCodesFrom | kOptLog, KbxUse::Several, RunLine,
     "production line: write FILE into each device put behind the KBX (or each of several at once),\n"
     "optionally with the next block of fixed codes, one CSV row per device; Ctrl+C ends after the\n"
     "device under way"},
    {"kbx-info", "", 0, KbxUse::One, RunKbxInfo, "ask the KBX for its information text"},
    {"kbx-list", "", 0, KbxUse::Default, RunKbxList,
     "every KBX the tool can see: FTDI USB devices (accessible or not) and the tty of ZAL_KBX_PORT"},
    {"kbx-dump", "", kOptOutput | kOptYes, KbxUse::One, RunKbxDump,
     "read the device's whole image: a hex dump, or a raw backup file"},
    {"version", "", 0, KbxUse::None, RunVersion, "print the program version"},
};
// clang-format on

// How many positional arguments the usage allows after the command's first word: its subcommand word,
// then FILE, [VERSION] and so on; -1 for no limit ("NAME=VALUE...").
int MostPositional(const Command& c) {
    const QStringList words = QString::fromLatin1(c.arguments).split(u' ', Qt::SkipEmptyParts);
    if (!words.isEmpty() && words.last().endsWith(QLatin1String("...")))
        return -1;
    return static_cast<int>(words.size()) + static_cast<int>(QString::fromLatin1(c.name).count(u' '));
}

QString Spelling(Option option) {
    for (const OptionSpelling& s : OptionSpellings()) {
        if (s.option == option)
            return QString::fromLatin1(s.usage);
    }
    return QString();
}

} // namespace

std::span<const Command> Commands() {
    return kCommands;
}

const Command* FindCommand(const QStringList& arguments) {
    const QString one = arguments.value(0);
    const QString two = one + u' ' + arguments.value(1);
    for (const Command& c : kCommands) {
        if (two == QLatin1String(c.name))
            return &c;
    }
    for (const Command& c : kCommands) {
        if (one == QLatin1String(c.name))
            return &c;
    }
    return nullptr;
}

QString UsageLine(const Command& c) {
    QString line = QLatin1String(c.name);
    if (*c.arguments)
        line += u' ' + QLatin1String(c.arguments);
    for (const OptionSpelling& s : OptionSpellings()) {
        // The editor's switches are said once for all commands; the KBX options last.
        if ((c.options & s.option) && !(kEditor & s.option))
            line += QStringLiteral(" [") + QLatin1String(s.usage) + u']';
    }
    if (c.kbx == KbxUse::One)
        line += QStringLiteral(" [") + Spelling(kOptKbx) + QStringLiteral(" | ") + Spelling(kOptPort) + u']';
    else if (c.kbx == KbxUse::Several)
        line += QStringLiteral(" [") + Spelling(kOptKbx) + QStringLiteral(" | ") + Spelling(kOptPort) +
                QStringLiteral("]...");
    return line;
}

void PrintUsage(QTextStream& out) {
    out << "Usage: zalctl COMMAND [OPTIONS]\n\nCommands:\n";
    for (const Command& c : kCommands) {
        out << "  " << UsageLine(c) << '\n';
        for (const QString& line : QString::fromUtf8(c.help).split(u'\n'))
            out << "        " << line << '\n';
    }
    out << "\n"
           "The commands that make an editor take --service and --changecodes, which act as the program's\n"
           "-SERVICE and -CHANGECODES switches; --yes answers questions Yes (else No).\n"
           "Messages go to standard error as \"<kind> <number>: <text>\". Exit code 0 when the command\n"
           "did what was asked, 1 when it was refused or failed, 2 for wrong usage.\n"
           "\n"
           "--port PATH or --kbx SERIAL (the unit's USB serial number) choose the KBX of a device command.\n"
           "Otherwise the KBX is the tty named by ZAL_KBX_PORT (a kbx-sim pseudo-terminal or /dev/ttyUSB0),\n"
           "else the unit found by its USB description. ZAL_KBX_TRACE=1 logs every frame to standard "
           "error.\n";
}

QString VersionLine() {
    return QStringLiteral("zalctl ") + ProgramVersionText();
}

bool PrintCommandHelp(QTextStream& out, const QString& name) {
    bool found = false;
    unsigned options = 0;
    bool kbx = false;
    for (const Command& c : kCommands) {
        const QString n = QLatin1String(c.name);
        if (n != name && !n.startsWith(name + u' '))
            continue;
        out << (found ? "       zalctl " : "usage: zalctl ") << UsageLine(c) << '\n';
        found = true;
        options |= c.options;
        kbx = kbx || c.kbx == KbxUse::One || c.kbx == KbxUse::Several;
    }
    if (!found)
        return false;
    out << '\n';
    for (const Command& c : kCommands) {
        const QString n = QLatin1String(c.name);
        if (n != name && !n.startsWith(name + u' '))
            continue;
        if (n != name)
            out << n << ":\n";
        for (const QString& line : QString::fromUtf8(c.help).split(u'\n'))
            out << "  " << line << '\n';
    }
    if (kbx)
        options |= kChosenKbx;
    if (options != 0) {
        out << "\nOptions:\n";
        for (const OptionSpelling& s : OptionSpellings()) {
            if (options & s.option)
                out << "  " << QString::fromLatin1(s.usage).leftJustified(28) << ' ' << s.help << '\n';
        }
    }
    out << "  " << QStringLiteral("-h, --help").leftJustified(28) << " this text\n";
    return true;
}

void PrintCommandUsage(QTextStream& err, const char* name, const QString& note, const QString& error) {
    const QString wanted = QLatin1String(name);
    bool first = true;
    for (const Command& c : kCommands) {
        const QString n = QLatin1String(c.name);
        if (n == wanted || n.startsWith(wanted + u' ')) {
            err << (first ? "usage: zalctl " : "       zalctl ") << UsageLine(c) << '\n';
            first = false;
        }
    }
    if (!note.isEmpty())
        err << note << '\n';
    if (!error.isEmpty())
        err << error << '\n';
    err.flush();
}

namespace {

int CheckedRun(const Command& c, RunFunction run, QTextStream& out, QTextStream& err,
               const QStringList& arguments, const Options& o) {
    if (!o.error.isEmpty()) {
        err << "zalctl: " << o.error << '\n' << "usage: zalctl " << UsageLine(c) << Qt::endl;
        return kUsage;
    }
    // What follows the command's first word: its subcommand's word counts among the positionals.
    const int most = MostPositional(c);
    if (most >= 0 && o.positional.size() > most) {
        err << "zalctl: "
            << QCoreApplication::translate("Cli", "%1 nimmt %2 nicht")
                   .arg(QLatin1String(c.name), o.positional.value(most))
            << '\n'
            << "usage: zalctl " << UsageLine(c) << Qt::endl;
        return kUsage;
    }
    const bool chosen = c.kbx == KbxUse::One || c.kbx == KbxUse::Several;
    const unsigned allowed = c.options | (chosen ? kChosenKbx : 0u);
    for (const OptionSpelling& s : OptionSpellings()) {
        if ((o.given & s.option) && !(allowed & s.option)) {
            const QString usage = QLatin1String(s.usage);
            err << "zalctl: "
                << QCoreApplication::translate("Cli", "%1 nimmt %2 nicht")
                       .arg(QLatin1String(c.name), usage.left(usage.indexOf(u' ')))
                << '\n'
                << "usage: zalctl " << UsageLine(c) << Qt::endl;
            return kUsage;
        }
    }
    // A folder is no output: the editor would add the product's extension and make a hidden ".Zal".
    if ((o.given & kOptOutput) &&
        (o.output.isEmpty() || o.output.endsWith(u'/') || QFileInfo(o.output).isDir())) {
        err << "zalctl: "
            << QCoreApplication::translate(
                   "Cli", "%1 kann nicht geschrieben werden: -o braucht einen Dateinamen, keinen Ordner")
                   .arg(o.output.isEmpty() ? QStringLiteral("\"\"") : o.output)
            << Qt::endl;
        return kFailed;
    }
    if (c.kbx == KbxUse::One && o.kbx.size() + o.port.size() > 1) {
        err << "zalctl: " << QCoreApplication::translate("Cli", "nur line nimmt mehr als eine KBX")
            << Qt::endl;
        return kUsage;
    }
    if (c.kbx == KbxUse::None)
        return run(out, err, arguments);
    // Ctrl+C ends a device command after the transfer under way; the line ends after the device.
    CatchInterrupts();
    const int result = run(out, err, arguments);
    if (Interrupted()) {
        // The line has said what it wrote; a device command ends after its transfer.
        if (c.kbx != KbxUse::Several)
            err << "zalctl: " << QCoreApplication::translate("Cli", "unterbrochen; die KBX ist geschlossen")
                << Qt::endl;
        return kInterrupted;
    }
    return result;
}

} // namespace

int RunCommand(const Command& c, RunFunction run, QTextStream& out, QTextStream& err,
               const QStringList& arguments) {
    const Options o = Parse(arguments);
    const int result = CheckedRun(c, run, out, err, arguments, o);
    out.flush();
    // A script that asked for JSON reads JSON whatever happened: a command that failed before it
    // printed its document prints the error alone.
    const auto* printed = dynamic_cast<const StreamDevice*>(out.device());
    if (result != kOk && (o.given & kOptJson) && (c.options & kOptJson) && printed &&
        printed->written() == 0) {
        out << QJsonDocument(QJsonObject{{QStringLiteral("error"), ErrorJson(err, result)}})
                   .toJson(QJsonDocument::Indented);
        out.flush();
    }
    return result;
}

} // namespace zal::cli
