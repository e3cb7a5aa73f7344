// zalctl: the ZAL family programmer on the command line, for technicians, batch work and tests.

#include "DeviceCommands.h"
#include "EditorCommands.h"
#include "Interrupt.h"
#include "KbxCommands.h"
#include "LineCommand.h"
#include "RecipeCommand.h"
#include "RecordCommands.h"
#include "shell/AppFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>
#include <memory>

namespace {

void PrintUsage(QTextStream& out) {
    out << "Usage: zalctl COMMAND [OPTIONS]\n"
           "\n"
           "Commands:\n"
           "  folders      settle the data and configuration folders, install Values.ini and the\n"
           "               default images, and print the folders and what they hold\n"
           "  new PRODUCT [VERSION] [-o FILE] [--json]\n"
           "               a new configuration from the product's default image (VERSION: V1.x, V20,\n"
           "               V21, V22); with -o saved as FILE\n"
           "  show FILE [--json] [--product P]\n"
           "               open FILE as the editor does and print its four pages (or JSON)\n"
           "  set FILE NAME=VALUE... [-o OUT] [--force] [--json]\n"
           "               change fields as a technician would (entry fields typed key by key,\n"
           "               drop-downs v:STORED or i:INDEX, check boxes 1 or 0), then save\n"
           "  apply FILE RECIPE.json [-o OUT] [--force]\n"
           "               set the fields a recipe names ({\"fields\": {NAME: "
           "{\"text\"|\"value\"|\"index\"|\n"
           "               \"checked\": ...}}}, the form of show --json) as set does, then save\n"
           "  diff A B     list the fields whose shown values differ\n"
           "  export FILE --format pdf|html|csv|json -o OUT\n"
           "               the configuration report: every page, caption and shown value\n"
           "  backups list [--serial S] [--json]\n"
           "               the images kept from devices (on every read and before every write)\n"
           "  backups restore FILE [--yes]\n"
           "               write a backup into the device with verification, as write does\n"
           "  support-bundle -o FILE.zip\n"
           "               the support log, versions, KBX information, backup index and Values.ini\n"
           "  read [-o FILE]        read the device's configuration (with -o saved as FILE)\n"
           "  write FILE            write FILE into the device and verify it\n"
           "  learn FILE POSITION [--timeout S]\n"
           "               learn a transmitter's code over the air into radio position 1-8\n"
           "  change-codes FILE NEWCODE...\n"
           "               change the device's fixed radio ID codes (the first alone derives the rest)\n"
           "  write-default MODEL   service: write the default image of BORA, ZAL, MUVE or DORF\n"
           "  write-version-byte    service: set the version byte of a device with V1.x firmware\n"
           "  line FILE [--count N] [--kbx SERIAL | --port PATH]... [--change-codes FIRSTCODE]\n"
           "       [--log LOG.csv]\n"
           "               production line: write FILE into each device put behind the KBX (or each\n"
           "               of several at once), optionally with the next block of fixed codes, one\n"
           "               CSV row per device; Ctrl+C ends after the device under way\n"
           "  kbx-info     ask the KBX for its information text\n"
           "  kbx-list     every KBX the tool can see: FTDI USB devices (accessible or not) and\n"
           "               the tty of ZAL_KBX_PORT\n"
           "  kbx-dump [-o FILE]    read the device's whole image: a hex dump, or a raw backup file\n"
           "  version      print the program version\n"
           "\n"
           "Options of the editor commands: --yes answers questions Yes (else No), --service and\n"
           "--changecodes act as the program's -SERVICE and -CHANGECODES switches.\n"
           "Messages go to standard error as \"<kind> <number>: <text>\". Exit code 0 when the command\n"
           "did what was asked, 1 when it was refused or failed, 2 for wrong usage.\n"
           "\n"
           "--port PATH or --kbx SERIAL (the unit's USB serial number) choose the KBX of a device command.\n"
           "Otherwise the KBX is the tty named by ZAL_KBX_PORT (a kbx-sim pseudo-terminal or /dev/ttyUSB0), "
           "else the\n"
           "unit found by its USB description. ZAL_KBX_TRACE=1 logs every frame to standard error.\n";
}

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

int RunFolders(QTextStream& out, const QStringList& arguments) {
    const QString install = zal::FindInstallFolder(QCoreApplication::applicationDirPath());
    const zal::AppFolders f =
        zal::SettleFolders(install, zal::ProgramVersionText(), arguments, zal::SystemPlatformFolders());
    out << "ZAL family programmer " << zal::ProgramVersionText() << "\n\n";
    PrintFolder(out, QStringLiteral("Install folder"), f.installFolder);
    PrintFolder(out, QStringLiteral("Data folder"), f.dataFolder);
    PrintFolder(out, QStringLiteral("Configuration folder"), f.configFolder);
    out << "Default configuration folder: " << f.defaultConfigFolder << '\n';
    out << "Settings file: " << f.settingsFile << '\n';
    return 0;
}

int RunDeviceCommand(QTextStream& out, QTextStream& err, const QString& command,
                     const QStringList& arguments) {
    if (command == QLatin1String("read"))
        return zal::cli::RunRead(out, err, arguments);
    if (command == QLatin1String("write"))
        return zal::cli::RunWrite(out, err, arguments);
    if (command == QLatin1String("learn"))
        return zal::cli::RunLearn(out, err, arguments);
    if (command == QLatin1String("change-codes"))
        return zal::cli::RunChangeCodes(out, err, arguments);
    if (command == QLatin1String("write-default"))
        return zal::cli::RunWriteDefault(out, err, arguments);
    if (command == QLatin1String("write-version-byte"))
        return zal::cli::RunWriteVersionByte(out, err, arguments);
    if (command == QLatin1String("kbx-list"))
        return zal::cli::RunKbxList(out, err, arguments);
    if (command == QLatin1String("kbx-info"))
        return zal::cli::RunKbxInfo(out, err, arguments);
    if (command == QLatin1String("backups"))
        return zal::cli::RunBackups(out, err, arguments);
    if (command == QLatin1String("support-bundle"))
        return zal::cli::RunSupportBundle(out, err, arguments);
    return zal::cli::RunKbxDump(out, err, arguments);
}

} // namespace

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
    QStringList arguments = app->arguments().mid(1);
    if (arguments.isEmpty() || arguments.first() == QLatin1String("--help") ||
        arguments.first() == QLatin1String("-h")) {
        PrintUsage(arguments.isEmpty() ? err : out);
        return arguments.isEmpty() ? 2 : 0;
    }
    const QString command = arguments.takeFirst();
    if (command == QLatin1String("folders"))
        return RunFolders(out, arguments);
    if (command == QLatin1String("new"))
        return zal::cli::RunNew(out, err, arguments);
    if (command == QLatin1String("show"))
        return zal::cli::RunShow(out, err, arguments);
    if (command == QLatin1String("set"))
        return zal::cli::RunSet(out, err, arguments);
    if (command == QLatin1String("diff"))
        return zal::cli::RunDiff(out, err, arguments);
    if (command == QLatin1String("apply"))
        return zal::cli::RunApply(out, err, arguments);
    if (command == QLatin1String("export"))
        return zal::cli::RunExport(out, err, arguments);
    if (command == QLatin1String("backups") && arguments.value(0) != QLatin1String("restore"))
        return zal::cli::RunBackups(out, err, arguments);
    if (command == QLatin1String("version")) {
        out << zal::ProgramVersionText() << '\n';
        return 0;
    }
    static const QStringList kDeviceCommands{
        QStringLiteral("read"),         QStringLiteral("write"),         QStringLiteral("learn"),
        QStringLiteral("change-codes"), QStringLiteral("write-default"), QStringLiteral("write-version-byte"),
        QStringLiteral("kbx-info"),     QStringLiteral("kbx-dump"),      QStringLiteral("kbx-list"),
        QStringLiteral("backups"),      QStringLiteral("support-bundle")};
    if (command == QLatin1String("line")) {
        // Ctrl+C ends the run after the device under way; the exit code tells how the run went.
        zal::cli::CatchInterrupts();
        return zal::cli::RunLine(out, err, arguments);
    }
    if (kDeviceCommands.contains(command)) {
        if (arguments.count(QStringLiteral("--kbx")) + arguments.count(QStringLiteral("--port")) > 1) {
            err << "zalctl: only line takes more than one KBX" << Qt::endl;
            return 2;
        }
        zal::cli::CatchInterrupts();
        const int result = RunDeviceCommand(out, err, command, arguments);
        if (zal::cli::Interrupted()) {
            err << "zalctl: interrupted; the KBX is closed" << Qt::endl;
            return zal::cli::kInterrupted;
        }
        return result;
    }
    err << "zalctl: unknown command '" << command << "'\n";
    PrintUsage(err);
    return 2;
}
