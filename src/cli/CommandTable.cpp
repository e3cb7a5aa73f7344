#include "CommandTable.h"

#include "DeviceCommands.h"
#include "EditorCommands.h"
#include "EditorView.h"
#include "Interrupt.h"
#include "KbxCommands.h"
#include "LineCommand.h"
#include "RecipeCommand.h"
#include "RecordCommands.h"
#include "Session.h"
#include "StandardStreams.h"
#include "config/Products.h"
#include "records/RecordsDatabase.h"
#include "records/ServerUrl.h"
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
        out << "    " << QCoreApplication::translate("Cli", "(fehlt)") << '\n';
        return;
    }
    const QFileInfoList entries =
        dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::DirsFirst);
    if (entries.isEmpty())
        out << "    " << QCoreApplication::translate("Cli", "(leer)") << '\n';
    for (const QFileInfo& entry : entries) {
        if (entry.isDir())
            out << "    " << entry.fileName() << "/\n";
        else
            out << "    " << entry.fileName() << "  ("
                << QCoreApplication::translate("Cli", "%1 Bytes").arg(entry.size()) << ")\n";
    }
}

// Every setting with what is used and where it came from, as git config --list --show-origin does.
void PrintSettings(QTextStream& out, const Settings& settings, const QString& file) {
    out << '\n' << QCoreApplication::translate("Cli", "Einstellungen (Herkunft, Name=Wert):") << '\n';
    for (const ListedSetting& s : settings.listing()) {
        QString origin;
        switch (s.origin) {
        case SettingOrigin::Default:
            origin = QCoreApplication::translate("Cli", "Standard");
            break;
        case SettingOrigin::File:
            origin = QStringLiteral("%1:%2").arg(QFileInfo(file).fileName()).arg(s.line);
            break;
        case SettingOrigin::Environment:
            origin = QCoreApplication::translate("Cli", "Umgebung %1").arg(s.environment);
            break;
        }
        // A server's URL never shows a password, wherever it came from.
        const QString value =
            s.name == QLatin1String("[Records] Database") ? records_url::WithoutPassword(s.value) : s.value;
        out << "  " << origin.leftJustified(24) << ' ' << s.name << '=' << Printable(value) << '\n';
    }
}

int RunFolders(QTextStream& out, QTextStream& err, const QStringList& arguments) {
    const QString install = FindInstallFolder(QCoreApplication::applicationDirPath());
    const AppFolders f = SettleFolders(install, ProgramVersionText(), arguments, SystemPlatformFolders());
    out << "ZAL family programmer " << ProgramVersionText() << "\n\n";
    PrintFolder(out, QCoreApplication::translate("Cli", "Installationsordner"), f.installFolder);
    PrintFolder(out, QCoreApplication::translate("Cli", "Datenordner"), f.dataFolder);
    PrintFolder(out, QCoreApplication::translate("Cli", "Konfigurationsordner"), f.configFolder);
    out << QCoreApplication::translate("Cli", "Standard-Konfigurationsordner") << ": "
        << f.defaultConfigFolder << '\n';
    out << QCoreApplication::translate("Cli", "Einstellungsdatei") << ": " << f.settingsFile << '\n';
    // Where the records are: a relative Database= is taken in the data folder; a password never shows.
    const Settings settings = f.settings();
    const QString records = RecordsDatabase::Location(f.dataFolder, settings);
    out << QCoreApplication::translate("Cli", "Aufzeichnungen") << ": "
        << RecordsDatabase::ShownLocation(records) << '\n';
    PrintSettings(out, settings, f.settingsFile);
    for (const QString& problem : settings.problems())
        err << "zalctl: " << QCoreApplication::translate("Cli", "Warnung: %1").arg(problem) << Qt::endl;
    return kOk;
}

int RunVersion(QTextStream& out, QTextStream&, const QStringList&) {
    out << VersionLine() << '\n';
    return kOk;
}

// clang-format off
const Command kCommands[] = {
    {"folders", "", 0, KbxUse::None, RunFolders,
     QT_TRANSLATE_NOOP("Cli", "Daten- und Konfigurationsordner einrichten, Values.ini und die Standardabbilder installieren und\n"
     "die Ordner mit ihrem Inhalt ausgeben")},
    {"new", "PRODUCT [VERSION]", kEditor | kOptOutput | kOptJson, KbxUse::None, RunNew,
     QT_TRANSLATE_NOOP("Cli", "eine neue Konfiguration aus dem Standardabbild des Produkts (VERSION: V1.x, V20, V21, V22); mit -o\n"
     "als FILE gespeichert")},
    {"show", "FILE", kEditor | kOptJson | kOptProduct, KbxUse::None, RunShow,
     QT_TRANSLATE_NOOP("Cli", "FILE öffnen, wie der Editor es tut, und seine vier Seiten ausgeben (oder JSON)")},
    {"set", "FILE NAME=VALUE...", kEditor | kOptOutput | kOptForce | kOptJson | kOptProduct, KbxUse::None, RunSet,
     QT_TRANSLATE_NOOP("Cli", "Felder ändern, wie ein Techniker es täte (Eingabefelder Taste für Taste, Auswahllisten v:WERT oder\n"
     "i:INDEX, Kontrollkästchen 1 oder 0), dann speichern")},
    {"apply", "FILE RECIPE.json", kEditor | kOptOutput | kOptForce, KbxUse::None, RunApply,
     QT_TRANSLATE_NOOP("Cli", "die Felder setzen, die ein Rezept nennt ({\"fields\": {NAME: {\"text\"|\"value\"|\"index\"|\"checked\": ...}}},\n"
     "die Form von show --json), wie set es tut, dann speichern")},
    {"diff", "A B", kEditor, KbxUse::None, RunDiff, QT_TRANSLATE_NOOP("Cli", "die Felder auflisten, deren angezeigte Werte sich unterscheiden")},
    {"export", "FILE", kEditor | kOptFormat | kOptOutput, KbxUse::None, nullptr,
     QT_TRANSLATE_NOOP("Cli", "der Konfigurationsbericht: jede Seite, Beschriftung und jeder angezeigte Wert")},
    {"backups list", "", kEditor | kOptSerial | kOptSince | kOptStation | kOptJson | kOptHeader, KbxUse::None, RunBackups,
     QT_TRANSLATE_NOOP("Cli", "die von Geräten aufbewahrten Abbilder (bei jedem Lesen und vor jedem Schreiben), an jeder Station der\n"
     "Aufzeichnungen; --since nimmt ein Datum (2026-12-07) oder eine Zeit")},
    {"backups restore", "FILE", kEditor | kOptConfigOnly | kOptReplace, KbxUse::One, RunBackups,
     QT_TRANSLATE_NOOP("Cli", "eine Sicherung (eine Datei oder ein Name aus der Liste, auch einer anderen Station) genau so in das\n"
     "Gerät schreiben, wie sie aufbewahrt wurde, und prüfen; in ein anderes Gerät nur mit --config-only oder --replace")},
    {"records rebuild", "", kEditor | kOptLog, KbxUse::None, RunRecords,
     QT_TRANSLATE_NOOP("Cli", "jede Sicherungsdatei dieser Station wieder in die Aufzeichnungen aufnehmen (verlorene oder leere\n"
     "Aufzeichnungen): das Gerät aus dem Abbild, die Zeit aus dem Namen; die Festcodes der Abbilder und\n"
     "jedes mit --log genannten Protokolls gelten als vergeben")},
    {"records roles", "[ROLE]", kEditor, KbxUse::None, RunRecords,
     QT_TRANSLATE_NOOP("Cli", "das SQL, das auf einem PostgreSQL-Server die Rolle ROLE (zal_station) der Stationen anlegt: sie\n"
     "reserviert Codes, fügt Sicherungen und Zeilen hinzu und vermerkt, was aus ihren Codes wurde, und löscht nichts")},
    {"records export", "--csv DIR | -o FILE.xlsx", kEditor | kOptCsv | kOptOutput, KbxUse::None, nullptr,
     QT_TRANSLATE_NOOP("Cli", "die Aufzeichnungen für eine Tabellenkalkulation, jede Tabelle (Sicherungen ohne Abbilder, Geräte,\n"
     "Ereignisse, Stationen, Produktionsläufe und ihre Zeilen, Festcodes): je eine CSV-Datei in DIR oder\n"
     "ein Blatt der Arbeitsmappe FILE.xlsx (Codes, Seriennummern und Versionen als Text, Zeiten als Datum)")},
    {"devices", "", kEditor | kOptJson | kOptHeader, KbxUse::None, RunDevices,
     QT_TRANSLATE_NOOP("Cli", "eine Zeile je Gerät der Aufzeichnungen: Produkt, Version, Seriennummer, Funk-ID, zuletzt gesehen,\n"
     "Station, Sicherungen, Festcodes")},
    {"devices show", "SERIAL", kEditor | kOptJson, KbxUse::None, RunDevices,
     QT_TRANSLATE_NOOP("Cli", "die Geschichte eines Geräts: jede Sicherung mit den Feldern, die sich seit der vorigen geändert haben")},
    {"support-bundle", "", kEditor | kOptOutput, KbxUse::One, nullptr,
     QT_TRANSLATE_NOOP("Cli", "das Supportprotokoll, Versionen, KBX-Informationen, eine Übersicht der Aufzeichnungen und Values.ini (-o FILE.zip)")},
    {"read", "", kEditor | kOptOutput | kOptJson, KbxUse::One, RunRead,
     QT_TRANSLATE_NOOP("Cli", "die Konfiguration des Geräts lesen (mit -o als FILE gespeichert)")},
    {"write", "FILE", kEditor | kOptJson | kOptPreview, KbxUse::One, RunWrite,
     QT_TRANSLATE_NOOP("Cli", "FILE in das Gerät schreiben und prüfen, dann die geänderten Felder auflisten;\n"
     "mit --preview auflisten, was sich ändern würde, und nichts schreiben")},
    {"learn", "FILE POSITION", kEditor | kOptTimeout | kOptForce, KbxUse::One, RunLearn,
     QT_TRANSLATE_NOOP("Cli", "den Code eines Senders über Funk in die Funkposition 1-8 einlernen")},
    {"change-codes", "FILE NEWCODE...", kEditor, KbxUse::One, RunChangeCodes,
     QT_TRANSLATE_NOOP("Cli", "die festen Funk-ID-Codes des Geräts ändern (aus dem ersten allein folgen die übrigen)")},
    {"write-default", "MODEL", kEditor, KbxUse::One, RunWriteDefault,
     QT_TRANSLATE_NOOP("Cli", "Service: das Standardabbild eines Produkts schreiben (MODEL: %DEFAULTS%)")},
    {"write-version-byte", "", kEditor, KbxUse::One, RunWriteVersionByte,
     QT_TRANSLATE_NOOP("Cli", "Service: das Versionsbyte eines Geräts mit V1.x-Firmware setzen")},
    {"line", "FILE", kEditor | kOptCount | kOptChangeCodesFrom | kOptLog | kOptAllowAsync, KbxUse::Several, RunLine,
     QT_TRANSLATE_NOOP("Cli", "Fertigungslinie: FILE in jedes Gerät schreiben, das an die KBX (oder an mehrere zugleich) kommt,\n"
     "wahlweise mit dem nächsten Block Festcodes, eine CSV-Zeile je Gerät; Strg+C endet nach dem\n"
     "Gerät in Arbeit")},
    {"kbx-info", "", 0, KbxUse::One, RunKbxInfo, QT_TRANSLATE_NOOP("Cli", "die KBX nach ihrem Informationstext fragen")},
    {"kbx-list", "", 0, KbxUse::Default, RunKbxList,
     QT_TRANSLATE_NOOP("Cli", "jede KBX, die das Programm sieht: FTDI-USB-Geräte (zugänglich oder nicht) und das tty von ZAL_KBX_PORT")},
    {"kbx-dump", "", kOptOutput | kOptYes, KbxUse::One, RunKbxDump,
     QT_TRANSLATE_NOOP("Cli", "das ganze Abbild des Geräts lesen: ein Hex-Dump oder eine rohe Sicherungsdatei")},
    {"version", "", 0, KbxUse::None, RunVersion, QT_TRANSLATE_NOOP("Cli", "die Programmversion ausgeben")},
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

QString ProductNames(bool withDefaultWriteOnly) {
    QStringList names;
    for (const ProductInfo& p : Products())
        if (!withDefaultWriteOnly || p.writeDefaultMenu)
            names << QString::fromLatin1(p.model.get()).remove(u' ');
    return names.join(QStringLiteral(", "));
}

QString CliText(const char* text) {
    return QCoreApplication::translate("Cli", text)
        .replace(QLatin1String("%PRODUCTS%"), ProductNames())
        .replace(QLatin1String("%DEFAULTS%"), ProductNames(true));
}

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
        // An option the command needs stands among its arguments, not as optional.
        if ((c.options & s.option) && !(kEditor & s.option) &&
            !QLatin1String(c.arguments).contains(QLatin1String(s.usage)))
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
    out << "Usage: zalctl COMMAND [OPTIONS]\n\n" << QCoreApplication::translate("Cli", "Befehle:") << '\n';
    for (const Command& c : kCommands) {
        out << "  " << UsageLine(c) << '\n';
        for (const QString& line : CliText(c.help).split(u'\n'))
            out << "        " << line << '\n';
    }
    out << '\n'
        << QCoreApplication::translate(
               "Cli",
               "Die Befehle, die einen Editor anlegen, nehmen --service und --changecodes, die wie die "
               "Schalter\n-SERVICE und -CHANGECODES des Programms wirken; --yes beantwortet Fragen mit Ja "
               "(sonst Nein).\nMeldungen gehen als \"<Art> <Nummer>: <Text>\" auf die Standardfehlerausgabe. "
               "Exit-Code 0, wenn der\nBefehl getan hat, was verlangt war, 1, wenn er abgelehnt wurde oder "
               "fehlschlug, 2 bei falschem Aufruf.\n\n--port PATH oder --kbx SERIAL (die USB-Seriennummer "
               "der Einheit) wählen die KBX eines Gerätebefehls.\nSonst ist die KBX das tty, das "
               "ZAL_KBX_PORT nennt (ein kbx-sim-Pseudoterminal oder /dev/ttyUSB0),\nsonst die Einheit, die "
               "an ihrer USB-Beschreibung erkannt wird. ZAL_KBX_TRACE=1 schreibt jeden Rahmen\nauf die "
               "Standardfehlerausgabe.")
        << '\n';
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
        for (const QString& line : CliText(c.help).split(u'\n'))
            out << "  " << line << '\n';
    }
    if (kbx)
        options |= kChosenKbx;
    if (options != 0) {
        out << '\n' << QCoreApplication::translate("Cli", "Optionen:") << '\n';
        for (const OptionSpelling& s : OptionSpellings()) {
            if (options & s.option)
                out << "  " << QString::fromLatin1(s.usage).leftJustified(28) << ' ' << CliText(s.help)
                    << '\n';
        }
    }
    out << "  " << QStringLiteral("-h, --help").leftJustified(28) << ' '
        << QCoreApplication::translate("Cli", "dieser Text") << '\n';
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
        err << "zalctl: " << note << '\n';
    if (!error.isEmpty())
        err << error << '\n';
    err.flush();
}

namespace {

// Whether a command reads or writes the records (a device command keeps a backup in them).
bool UsesRecords(const Command& c) {
    const QLatin1String name(c.name);
    if (name.startsWith(QLatin1String("kbx-")))
        return false;
    return c.kbx == KbxUse::One || c.kbx == KbxUse::Several || name.startsWith(QLatin1String("backups")) ||
           name.startsWith(QLatin1String("devices")) || name.startsWith(QLatin1String("records"));
}

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
    // Records named by a relative path or an unknown scheme would land in the current folder: two job
    // folders, two databases. Refused before anything is touched.
    if (UsesRecords(c)) {
        const AppFolders f = SettleFolders(FindInstallFolder(QCoreApplication::applicationDirPath()),
                                           ProgramVersionText(), arguments, SystemPlatformFolders());
        if (const QString problem =
                RecordsDatabase::LocationProblem(RecordsDatabase::Location(f.dataFolder, f.settings()));
            !problem.isEmpty()) {
            err << "zalctl: " << Printable(problem) << Qt::endl;
            return kUsage;
        }
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
