#include "Session.h"

#include "CommandTable.h"
#include "Interrupt.h"

#include "config/Products.h"
#include "shell/FileSystem.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <utility>
#include <vector>

namespace zal::cli {

const OptionSpelling (&OptionSpellings())[kOptionCount] {
    static const OptionSpelling spellings[kOptionCount] = {
        {kOptYes, "yes", "--yes",
         QT_TRANSLATE_NOOP(
             "Cli",
             "die Fragen des Programms mit Ja beantworten (sonst Nein); eine vorhandene Ausgabe ersetzen")},
        {kOptService, "service", "--service",
         QT_TRANSLATE_NOOP("Cli", "der Servicemodus, wie -SERVICE des Programms")},
        {kOptChangeCodes, "changecodes", "--changecodes",
         QT_TRANSLATE_NOOP("Cli", "der Festcode-Modus, wie -CHANGECODES des Programms")},
        {kOptJson, "json", "--json",
         QT_TRANSLATE_NOOP("Cli", "ein JSON-Dokument ausgeben, auch wenn der Befehl fehlschlägt")},
        {kOptForce, "force", "--force",
         QT_TRANSLATE_NOOP("Cli", "auch Felder ändern, die für das Produkt gesperrt sind")},
        {kOptOutput, "o", "-o FILE", QT_TRANSLATE_NOOP("Cli", "die zu schreibende Datei")},
        {kOptProduct, "product", "--product P",
         QT_TRANSLATE_NOOP("Cli", "die Datei als Produkt P öffnen (%PRODUCTS%)")},
        {kOptTimeout, "timeout", "--timeout S", QT_TRANSLATE_NOOP("Cli", "nach S Sekunden aufgeben")},
        {kOptSerial, "serial", "--serial S",
         QT_TRANSLATE_NOOP("Cli", "nur das Gerät mit der Seriennummer S")},
        {kOptFormat, "format", "--format pdf|html|csv|json",
         QT_TRANSLATE_NOOP("Cli", "das Format des Berichts (sonst die Endung von OUT)")},
        {kOptKbx, "kbx", "--kbx SERIAL", QT_TRANSLATE_NOOP("Cli", "die KBX mit dieser USB-Seriennummer")},
        {kOptPort, "port", "--port PATH",
         QT_TRANSLATE_NOOP("Cli", "die KBX an diesem tty (ein kbx-sim-Pseudoterminal, /dev/ttyUSB0)")},
        {kOptCount, "count", "--count N", QT_TRANSLATE_NOOP("Cli", "nach N Geräten aufhören")},
        {kOptChangeCodesFrom, "change-codes", "--change-codes FIRSTCODE",
         QT_TRANSLATE_NOOP("Cli", "jedem Gerät den nächsten Block Festcodes geben, beginnend bei FIRSTCODE")},
        {kOptLog, "log", "--log LOG.csv", QT_TRANSLATE_NOOP("Cli", "das CSV-Protokoll, eine Zeile je Gerät")},
        {kOptPreview, "preview", "--preview",
         QT_TRANSLATE_NOOP("Cli", "auflisten, was sich ändern würde, und nichts schreiben")},
        {kOptSince, "since", "--since DATE",
         QT_TRANSLATE_NOOP("Cli", "erst ab DATE (2026-12-07) oder einer Zeit (2026-12-07T10:15)")},
        {kOptStation, "station", "--station NAME", QT_TRANSLATE_NOOP("Cli", "nur die der Station NAME")},
        {kOptCsv, "csv", "--csv DIR",
         QT_TRANSLATE_NOOP("Cli", "die Tabellen als CSV-Dateien in den Ordner DIR")},
        {kOptConfigOnly, "config-only", "--config-only",
         QT_TRANSLATE_NOOP("Cli",
                           "in ein anderes Gerät nur die Konfiguration: es behält seine Funk ID-Codes und "
                           "Seriennummer")},
        {kOptReplace, "replace", "--replace",
         QT_TRANSLATE_NOOP("Cli",
                           "das Gerät ersetzt das der Sicherung und übernimmt dessen Funk ID-Codes (die "
                           "Aufzeichnungen vermerken es)")},
        {kOptAllowAsync, "allow-async-standby", "--allow-async-standby",
         QT_TRANSLATE_NOOP("Cli", "Codes auch vergeben, wenn der Server der Aufzeichnungen keinen synchronen "
                                  "Standby hat (jede Zeile des Protokolls vermerkt es)")},
        {kOptHeader, "header", "--header",
         QT_TRANSLATE_NOOP(
             "Cli", "Spaltenköpfe und ausgerichtete Spalten auch, wenn die Ausgabe kein Terminal ist")},
    };
    return spellings;
}

Options Parse(const QStringList& arguments) {
    QCommandLineParser parser;
    std::vector<QCommandLineOption> options;
    for (const OptionSpelling& s : OptionSpellings()) {
        const QString usage = QString::fromLatin1(s.usage);
        const qsizetype space = usage.indexOf(u' ');
        options.emplace_back(QString::fromLatin1(s.name), QString(),
                             space < 0 ? QString() : usage.mid(space + 1));
    }
    for (const QCommandLineOption& option : options)
        parser.addOption(option);
    // "-dash.Zal" is one unknown option, not the letters d, a, s, h, ...
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    Options o;
    // A file whose name starts with "-" (and names no option) is the file: it stands in for the parser
    // as a word no option can be, and takes its place among the positional arguments again.
    QStringList words{QStringLiteral("zalctl")};
    QStringList dashFiles;
    bool optionsEnd = false, valueNext = false;
    for (const QString& a : arguments) {
        optionsEnd = optionsEnd || a == QLatin1String("--");
        const QString name = a.mid(a.startsWith(QLatin1String("--")) ? 2 : 1).section(u'=', 0, 0);
        const auto option = std::find_if(options.begin(), options.end(), [&](const QCommandLineOption& c) {
            return a.startsWith(u'-') && c.names().contains(name);
        });
        // An option's value ("--count -1") stays its value whatever file has that name.
        const bool isValue = std::exchange(valueNext, option != options.end() && !a.contains(u'=') &&
                                                          !option->valueName().isEmpty());
        if (!optionsEnd && !isValue && a.size() > 1 && a.startsWith(u'-') && option == options.end() &&
            QFileInfo::exists(a)) {
            words << QStringLiteral("\x01%1").arg(dashFiles.size());
            dashFiles << a;
        } else {
            words << a;
        }
    }
    // The parser wants a program name in front.
    if (!parser.parse(words)) {
        // In the user's language, and as typed: the parser's own text is English and drops the dashes.
        const QStringList unknown = parser.unknownOptionNames();
        const QString last = arguments.value(arguments.size() - 1);
        const auto typed = [&](const QString& name) {
            for (const QString& a : arguments)
                if (a.startsWith(u'-') &&
                    a.mid(a.startsWith(QLatin1String("--")) ? 2 : 1).section(u'=', 0, 0) == name)
                    return a.section(u'=', 0, 0);
            return QStringLiteral("--") + name;
        };
        if (!unknown.isEmpty())
            o.error =
                QCoreApplication::translate("Cli", "unbekannte Option '%1'").arg(typed(unknown.first()));
        else if (last.startsWith(u'-') && !last.contains(u'='))
            o.error = QCoreApplication::translate("Cli", "%1 braucht einen Wert").arg(last);
        else
            o.error = parser.errorText();
        return o;
    }
    // The parser's options stand in the order of the spellings.
    const auto of = [&](Option option) -> const QCommandLineOption& {
        size_t i = 0;
        while (OptionSpellings()[i].option != option)
            ++i;
        return options[i];
    };
    for (size_t i = 0; i < options.size(); ++i) {
        if (parser.isSet(options[i]))
            o.given |= OptionSpellings()[i].option;
    }
    const auto value = [&](Option option) { return parser.value(of(option)); };
    const auto values = [&](Option option) { return parser.values(of(option)); };
    o.yes = o.given & kOptYes;
    o.service = o.given & kOptService;
    o.changeCodes = o.given & kOptChangeCodes;
    o.json = o.given & kOptJson;
    o.force = o.given & kOptForce;
    o.preview = o.given & kOptPreview;
    o.header = o.given & kOptHeader;
    o.output = value(kOptOutput);
    o.product = value(kOptProduct);
    o.timeout = value(kOptTimeout);
    o.serial = value(kOptSerial);
    o.format = value(kOptFormat).toLower();
    o.kbx = values(kOptKbx);
    o.port = values(kOptPort);
    o.count = value(kOptCount);
    o.changeCodes_ = value(kOptChangeCodesFrom);
    o.log = value(kOptLog);
    o.logs = values(kOptLog);
    o.since = value(kOptSince);
    o.station = value(kOptStation);
    o.csv = value(kOptCsv);
    o.positional = parser.positionalArguments();
    for (QString& p : o.positional)
        if (p.startsWith(u'\x01'))
            p = dashFiles.value(p.mid(1).toInt());
    return o;
}

bool OutputRefused(QTextStream& err, const Options& o, const QStringList& inputs) {
    const QFileInfo output(o.output);
    if (o.output.isEmpty() || o.yes || !PathExists(o.output))
        return false;
    for (const QString& input : inputs) {
        if (SameFile(input, o.output)) {
            err << "zalctl: "
                << QCoreApplication::translate("Cli", "%1 ist auch die Eingabe; --yes ersetzt sie")
                       .arg(o.output)
                << Qt::endl;
            return true;
        }
    }
    const QString suffix = u'.' + output.suffix();
    for (const ProductInfo& p : Products()) {
        if (suffix.compare(QLatin1String(p.extension), Qt::CaseInsensitive) == 0) {
            err << "zalctl: "
                << QCoreApplication::translate("Cli", "%1 ist eine Konfigurationsdatei; --yes ersetzt sie")
                       .arg(o.output)
                << Qt::endl;
            return true;
        }
    }
    return false;
}

Session MakeSession(QTextStream& err, const Options& o) {
    return MakeSession(err, o, o.port.value(0), o.kbx.value(0));
}

Session MakeSession(QTextStream& err, const Options& o, const QString& port, const QString& usbSerial) {
    Session s;
    s.dialogs = std::make_unique<CliDialogs>(err, o.yes);
    TfrmEnterData::Options options;
    if (o.service)
        options.arguments << QStringLiteral("-SERVICE");
    else if (o.changeCodes)
        options.arguments << QStringLiteral("-CHANGECODES");
    options.installFolder = FindInstallFolder(QCoreApplication::applicationDirPath());
    options.platform = SystemPlatformFolders();
    options.kbxFactory = TransportFactoryFor(port, usbSerial);
    s.editor = std::make_unique<TfrmEnterData>(*s.dialogs, options);
    s.editor->observer().notice = [&err](const QString& text) { err << "zalctl: " << text << Qt::endl; };
    // Settings that cannot be used as written are said once a command (a line makes a session a unit).
    static bool settingsSaid = false;
    if (!std::exchange(settingsSaid, true)) {
        for (const QString& problem : s.editor->folders().settings().problems())
            err << "zalctl: " << QCoreApplication::translate("Cli", "Warnung: %1").arg(problem) << Qt::endl;
    }
    // Ctrl+C, SIGTERM or SIGHUP before the first written byte: nothing goes into the device.
    s.editor->observer().stopRequested = [] { return Interrupted(); };
    s.editor->observer().restoreHint = [](const QString& backup) {
        return QCoreApplication::translate("Cli", "Die Sicherung von vor dem Schreiben, „%1“, schreibt "
                                                  "„zalctl backups restore %1“ zurück in das Gerät.")
            .arg(backup);
    };
    if (::isatty(STDERR_FILENO)) {
        s.editor->observer().progress = [](int done, int planned) {
            if (planned <= 0)
                return;
            std::fprintf(stderr, "\r%3d %% (%d/%d)", done * 100 / planned, done, planned);
            if (done >= planned)
                std::fprintf(stderr, "\r                    \r");
            std::fflush(stderr);
        };
    }
    return s;
}

CommandResult Open(Session& s, const QString& path) {
    s.dialogs->answerOpenWith(path);
    return s.editor->FileOpen();
}

namespace {

const ProductInfo* ProductOfExtension(const QString& suffix) {
    for (const ProductInfo& p : Products())
        if (QString(u'.' + suffix).compare(QLatin1String(p.extension), Qt::CaseInsensitive) == 0)
            return &p;
    return nullptr;
}

} // namespace

bool SaveNameRefused(QTextStream& err, const Options& o, const char* command) {
    if (o.output == QLatin1String("-")) {
        if (!o.json)
            return false;
        PrintCommandUsage(err, command,
                          QCoreApplication::translate("Cli",
                                                      "-o - (die Konfiguration auf der Standardausgabe) "
                                                      "und --json schließen einander aus"));
        return true;
    }
    const QString suffix = QFileInfo(o.output).suffix();
    if (o.output.isEmpty() || suffix.isEmpty() || ProductOfExtension(suffix) || IsWrittenThrough(o.output))
        return false;
    QStringList extensions;
    for (const ProductInfo& p : Products())
        extensions << QLatin1String(p.extension);
    PrintCommandUsage(err, command,
                      QCoreApplication::translate("Cli",
                                                  "eine Konfiguration wird unter der Endung ihres Produkts "
                                                  "gespeichert (%1), nicht unter .%2")
                          .arg(extensions.join(QStringLiteral(", ")), suffix));
    return true;
}

CommandResult SaveAs(Session& s, const QString& given, QTextStream& err) {
    const QString path = given == QLatin1String("-") ? QStringLiteral("/dev/stdout") : given;
    const ProductInfo* ours = FindProduct(s.editor->product());
    const QString suffix = QFileInfo(path).suffix();
    if (ours && !suffix.isEmpty() && !IsWrittenThrough(path) && ProductOfExtension(suffix) != ours) {
        err << "zalctl: "
            << QCoreApplication::translate("Cli",
                                           "%1 wurde nicht gespeichert: eine Konfiguration von %2 endet "
                                           "auf %3")
                   .arg(given, QLatin1String(ours->model), QLatin1String(ours->extension))
            << Qt::endl;
        return CommandResult::Refused;
    }
    s.dialogs->answerSaveWith(path);
    const CommandResult saved = s.editor->FileSaveAs();
    if (saved && s.editor->fileName() != path)
        err << "zalctl: "
            << QCoreApplication::translate("Cli", "gespeichert als %1").arg(s.editor->fileName()) << Qt::endl;
    return saved;
}

} // namespace zal::cli
