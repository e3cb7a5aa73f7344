#include "RecordCommands.h"

#include "Columns.h"
#include "CommandTable.h"
#include "EditorView.h"
#include "Session.h"
#include "config/ImageFile.h"
#include "line/ProductionLine.h"
#include "radio/DeviceIdentity.h"
#include "shell/FileSystem.h"

#include <QCoreApplication>
#include <QDate>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <map>

namespace zal::cli {
namespace {

QJsonObject BackupJson(const BackupEntry& e, const BackupStore& store) {
    // An event (what a transfer left in the device) has no file of its own.
    const bool own = e.station == store.station() && !e.file.isEmpty();
    return QJsonObject{{QStringLiteral("file"), e.file},
                       {QStringLiteral("event"), e.file.isEmpty()},
                       {QStringLiteral("path"), own ? QJsonValue(store.folder() + e.file) : QJsonValue()},
                       {QStringLiteral("product"), e.device.productName},
                       {QStringLiteral("productCode"), e.device.product},
                       {QStringLiteral("version"), e.device.version},
                       {QStringLiteral("serial"), e.device.serial},
                       {QStringLiteral("radioId"), e.device.radioId},
                       {QStringLiteral("time"), JsonTime(e.time)},
                       {QStringLiteral("command"), e.command},
                       {QStringLiteral("result"), e.result},
                       {QStringLiteral("station"), e.station},
                       {QStringLiteral("user"), e.user}};
}

QString Or(const QString& text, const QString& empty) {
    return text.isEmpty() ? empty : text;
}

// A date (the whole day counts) or a time to the minute or second, in local time unless it names its
// zone (Z, +01:00). Anything else, an hour 25 or a stray word, is refused rather than half read.
std::optional<QDateTime> ParseSince(const QString& text) {
    static const QRegularExpression shape(
        QStringLiteral("^\\d{4}-\\d{2}-\\d{2}([T ]\\d{2}:\\d{2}(:\\d{2})?(Z|[+-]\\d{2}:\\d{2})?)?$"));
    if (!shape.match(text).hasMatch())
        return std::nullopt;
    if (text.size() == 10) {
        const QDate day = QDate::fromString(text, Qt::ISODate);
        return day.isValid() ? std::optional(day.startOfDay()) : std::nullopt;
    }
    QString iso = text;
    iso[10] = u'T';
    const QDateTime time = QDateTime::fromString(iso, Qt::ISODate);
    if (!time.isValid())
        return std::nullopt;
    return time;
}

int ListBackups(QTextStream& out, QTextStream& err, const Options& o) {
    BackupQuery query;
    query.serial = o.serial;
    query.station = o.station;
    for (const auto& [option, value] :
         {std::pair{kOptSerial, &o.serial}, std::pair{kOptStation, &o.station}}) {
        if ((o.given & option) && value->trimmed().isEmpty()) {
            err << "zalctl: "
                << QCoreApplication::translate(
                       "Cli", "%1 braucht einen Wert; ohne die Option wird jedes Gerät gelistet")
                       .arg(QLatin1String(option == kOptSerial ? "--serial" : "--station"))
                << Qt::endl;
            return kUsage;
        }
    }
    // A serial number is decimal digits, or a MUVE+ II's ten hexadecimal ones: anything else finds
    // nothing, and is a mistyped value, not an empty answer.
    static const QRegularExpression serial(QStringLiteral("^(\\d{1,8}|[0-9A-Fa-f]{10})$"));
    if ((o.given & kOptSerial) && !serial.match(o.serial.trimmed()).hasMatch()) {
        err << "zalctl: "
            << QCoreApplication::translate("Cli", "--serial %1 ist keine Seriennummer (Ziffern, oder zehn "
                                                  "Hexadezimalziffern eines MUVE+ II)")
                   .arg(Printable(o.serial))
            << Qt::endl;
        return kUsage;
    }
    if (o.given & kOptSince) {
        const std::optional<QDateTime> since = ParseSince(o.since);
        if (!since) {
            err << "zalctl: "
                << QCoreApplication::translate(
                       "Cli", "--since %1 ist kein Datum (2026-12-07) und keine Zeit (2026-12-07T10:15:00)")
                       .arg(o.since)
                << Qt::endl;
            return kUsage;
        }
        query.since = *since;
    }
    Session s = MakeSession(err, o);
    BackupStore store = s.editor->backups();
    // Written as they come from the records, never all held at once: 100,000 backups are a list a
    // script may ask for.
    int listed = 0;
    Columns columns(out, o,
                    {{QT_TRANSLATE_NOOP("Cli", "Zeit"), 19},
                     {QT_TRANSLATE_NOOP("Cli", "Gerät"), 13},
                     {QT_TRANSLATE_NOOP("Cli", "Seriennummer"), 8},
                     {QT_TRANSLATE_NOOP("Cli", "Funk-ID"), 7},
                     {QT_TRANSLATE_NOOP("Cli", "Befehl"), 14},
                     {QT_TRANSLATE_NOOP("Cli", "Station"), 10},
                     {QT_TRANSLATE_NOOP("Cli", "Datei"), 0}});
    const Result<> read = store.List(query, [&](const BackupEntry& e) {
        if (o.json) {
            // The array's elements indented as a whole document would have them.
            QByteArray object = QJsonDocument(BackupJson(e, store)).toJson(QJsonDocument::Indented);
            object.chop(1);
            object.replace("\n", "\n    ");
            out << (listed == 0 ? "[\n    " : ",\n    ") << QString::fromUtf8(object);
        } else {
            columns.row({e.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                         Printable(e.device.productName) + u' ' + Printable(e.device.version),
                         Printable(e.device.serial), Printable(Or(e.device.radioId, QStringLiteral("-"))),
                         Printable(e.command) + u' ' + Printable(Or(e.result, QStringLiteral("?"))),
                         Printable(e.station), Printable(e.file)});
        }
        ++listed;
        return true;
    });
    if (!read) {
        out.flush();
        err << "zalctl: "
            << QCoreApplication::translate("Cli", "die Aufzeichnungen können nicht gelesen werden: %1")
                   .arg(read.error())
            << Qt::endl;
        return kFailed;
    }
    if (o.json)
        out << (listed == 0 ? "[\n]\n" : "\n]\n");
    out.flush();
    // Lost or replaced records beside this station's backup files: the files are there, the list is not.
    if (listed == 0 && !(o.given & (kOptSerial | kOptSince | kOptStation)))
        if (const int files = store.FileCount(); files > 0)
            err << "zalctl: "
                << QCoreApplication::translate(
                       "Cli", "die Aufzeichnungen kennen keine Sicherung, in %1 liegen aber %2 "
                              "Sicherungsdateien; zalctl records rebuild nimmt sie auf")
                       .arg(store.folder())
                       .arg(files)
                << Qt::endl;
    if (listed == 0 && !o.serial.isEmpty())
        err << "zalctl: "
            << QCoreApplication::translate(
                   "Cli", "keine Sicherung eines Geräts mit der Seriennummer %1 in den Aufzeichnungen")
                   .arg(o.serial)
            << Qt::endl;
    return kOk;
}

int RestoreBackup(QTextStream& out, QTextStream& err, const Options& o) {
    if ((o.given & kOptConfigOnly) && (o.given & kOptReplace)) {
        PrintCommandUsage(
            err, "backups restore", {},
            QCoreApplication::translate("Cli", "--config-only und --replace schließen einander aus"));
        return kUsage;
    }
    Session s = MakeSession(err, o);
    s.dialogs->setChoiceHint(QCoreApplication::translate(
        "Cli", "nichts geschrieben; --config-only oder --replace sagt, was in ein anderes Gerät geht"));
    // A path, or a name from the list: this station's file, or the image the records keep.
    QString path = o.positional[1];
    if (!PathExists(path)) {
        BackupStore store = s.editor->backups();
        const Result<BackupEntry> entry = store.Find(o.positional[1]);
        path = entry ? store.LocalFile(*entry) : QString();
        if (path.isEmpty()) {
            err << "zalctl: "
                << (entry.error().isEmpty()
                        ? QCoreApplication::translate("Cli", "%1 ist weder eine Datei noch eine Sicherung "
                                                             "der Aufzeichnungen; nichts wurde geschrieben")
                              .arg(o.positional[1])
                        : QCoreApplication::translate("Cli",
                                                      "%1 ist weder eine Datei noch eine Sicherung der "
                                                      "Aufzeichnungen (%2); nichts wurde geschrieben")
                              .arg(o.positional[1], entry.error()))
                << Qt::endl;
            return kFailed;
        }
    }
    if (!Open(s, path)) {
        err << "zalctl: "
            << QCoreApplication::translate("Cli", "%1 wurde nicht geöffnet; nichts wurde geschrieben")
                   .arg(o.positional[1])
            << Qt::endl;
        return kFailed;
    }
    const DeviceIdentity id = IdentifyDevice(s.editor->working());
    if (!o.yes) {
        err << "zalctl: "
            << QCoreApplication::translate(
                   "Cli", "dies schreibt die Sicherung von %1 %2 (%3) in das Gerät; mit --yes geschieht es")
                   .arg(id.productName, id.serial, id.version)
            << Qt::endl;
        return kFailed;
    }
    ConfigImage kept{};
    const CommandResult result =
        LoadImageFile(path, kept)
            ? s.editor->RestoreImage(kept, (o.given & kOptReplace)      ? RestoreInto::Replacement
                                           : (o.given & kOptConfigOnly) ? RestoreInto::ConfigurationOnly
                                                                        : RestoreInto::Ask)
            : CommandResult::Failed;
    if (result)
        out << QCoreApplication::translate("Cli", "zurückgeschrieben: %1").arg(QFileInfo(path).fileName())
            << '\n';
    return result ? kOk : kFailed;
}

int ListDevices(QTextStream& out, QTextStream& err, const Options& o) {
    Session s = MakeSession(err, o);
    const TfrmEnterData& editor = *s.editor;
    RecordsDatabase records(
        RecordsDatabase::Location(editor.folders().dataFolder, editor.folders().settings()));
    const Result<std::vector<DeviceRecord>> devices = records.Devices();
    if (!devices) {
        err << "zalctl: "
            << QCoreApplication::translate("Cli", "die Aufzeichnungen können nicht gelesen werden: %1")
                   .arg(devices.error())
            << Qt::endl;
        return kFailed;
    }
    QJsonArray json;
    Columns columns(out, o,
                    {{QT_TRANSLATE_NOOP("Cli", "Gerät"), 13},
                     {QT_TRANSLATE_NOOP("Cli", "Seriennummer"), 8},
                     {QT_TRANSLATE_NOOP("Cli", "Funk-ID"), 7},
                     {QT_TRANSLATE_NOOP("Cli", "Zuletzt gesehen"), 19},
                     {QT_TRANSLATE_NOOP("Cli", "Station"), 10},
                     {QT_TRANSLATE_NOOP("Cli", "Sicherungen"), 14},
                     {QT_TRANSLATE_NOOP("Cli", "Festcodes"), 29}});
    for (const DeviceRecord& d : *devices) {
        if (o.json) {
            json.append(QJsonObject{{QStringLiteral("product"), d.device.productName},
                                    {QStringLiteral("productCode"), d.device.product},
                                    {QStringLiteral("version"), d.device.version},
                                    {QStringLiteral("serial"), d.device.serial},
                                    {QStringLiteral("radioId"), d.device.radioId},
                                    {QStringLiteral("lastSeen"), JsonTime(d.lastSeen.toLocalTime())},
                                    {QStringLiteral("station"), d.station},
                                    {QStringLiteral("backups"), d.backups},
                                    {QStringLiteral("codes"), d.codes},
                                    {QStringLiteral("replacedBy"), d.replacedBy},
                                    {QStringLiteral("replaced"), JsonTime(d.replaced.toLocalTime())}});
            continue;
        }
        QStringList cells{Printable(d.device.productName) + u' ' + Printable(d.device.version),
                          Printable(d.device.serial),
                          Printable(Or(d.device.radioId, QStringLiteral("-"))),
                          d.lastSeen.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                          Printable(d.station),
                          QCoreApplication::translate("Cli", "%n Sicherungen", nullptr, d.backups),
                          Printable(Or(d.codes, QStringLiteral("-")))};
        if (!d.replacedBy.isEmpty())
            cells << QCoreApplication::translate("Cli", "ersetzt durch %1 am %2")
                         .arg(Printable(d.replacedBy),
                              d.replaced.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
        columns.row(cells);
    }
    if (o.json)
        out << QJsonDocument(json).toJson(QJsonDocument::Indented);
    return kOk;
}

int ShowDevice(QTextStream& out, QTextStream& err, const Options& o) {
    Session s = MakeSession(err, o);
    BackupStore store = s.editor->backups();
    const QString serial = o.positional[1];
    // The images read before each change and what each transfer left in the device, in order.
    const Result<std::vector<BackupEntry>> entries = store.History({.serial = serial});
    if (!entries) {
        err << "zalctl: "
            << QCoreApplication::translate("Cli", "die Aufzeichnungen können nicht gelesen werden: %1")
                   .arg(entries.error())
            << Qt::endl;
        return kFailed;
    }
    if (entries->empty()) {
        err << "zalctl: "
            << QCoreApplication::translate("Cli",
                                           "die Aufzeichnungen kennen kein Gerät mit der Seriennummer %1")
                   .arg(serial)
            << Qt::endl;
        return kFailed;
    }
    // Each backup against the one before it of the same device (one serial number may name a device of
    // each product).
    std::map<QString, const BackupEntry*> previous;
    QJsonArray json;
    for (const BackupEntry& e : *entries) {
        ConfigImage before{}, after{};
        const BackupEntry* last = previous[e.device.deviceKey()];
        std::vector<DifferenceRow> changes;
        if (last && last->image.size() == kImageSize && e.image.size() == kImageSize) {
            std::copy_n(last->image.constData(), kImageSize, before.begin());
            std::copy_n(e.image.constData(), kImageSize, after.begin());
            changes = s.editor->ImageChanges(before, after);
        }
        previous[e.device.deviceKey()] = &e;
        if (o.json) {
            QJsonObject o = BackupJson(e, store);
            o.insert(QStringLiteral("changes"), ChangesJson(changes, "before", "after"));
            json.append(o);
            continue;
        }
        out << e.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) << "  "
            << Printable(e.device.productName) << ' ' << Printable(e.device.version) << "  "
            << Printable(e.device.serial) << "  " << Printable(e.command) << ' '
            << Printable(Or(e.result, QStringLiteral("?"))) << "  " << Printable(e.station) << "  "
            << (e.file.isEmpty() ? QCoreApplication::translate("Cli", "(nach der Übertragung, geprüft)")
                                 : Printable(e.file))
            << '\n';
        if (!last)
            out << "    "
                << QCoreApplication::translate("Cli",
                                               "(die erste Sicherung dieses Geräts in den Aufzeichnungen)")
                << '\n';
        else if (changes.empty())
            out << "    " << QCoreApplication::translate("Cli", "(kein Feld geändert)") << '\n';
        for (const DifferenceRow& r : changes)
            out << "    " << r.page << " / " << r.caption << ": "
                << Printable(Or(r.mine, QCoreApplication::translate("Cli", "(leer)"))) << " -> "
                << Printable(Or(r.other, QCoreApplication::translate("Cli", "(leer)"))) << '\n';
    }
    if (o.json)
        out << QJsonDocument(json).toJson(QJsonDocument::Indented);
    return kOk;
}

} // namespace

int RunBackups(QTextStream& out, QTextStream& err, const QStringList& arguments) {
    const Options o = Parse(arguments);
    const QString what = o.positional.value(0);
    if (o.error.isEmpty() && what == QLatin1String("list") && o.positional.size() == 1)
        return ListBackups(out, err, o);
    if (o.error.isEmpty() && what == QLatin1String("restore") && o.positional.size() == 2)
        return RestoreBackup(out, err, o);
    PrintCommandUsage(err, "backups", {}, o.error);
    return kUsage;
}

int RunRecords(QTextStream& out, QTextStream& err, const QStringList& arguments) {
    const Options o = Parse(arguments);
    if (o.error.isEmpty() && o.positional.value(0) == QLatin1String("roles") && o.positional.size() <= 2) {
        // A plain name, so that the SQL says exactly the role asked for.
        static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]{0,62}$"));
        const QString role = o.positional.value(1, QStringLiteral("zal_station"));
        if (!plain.match(role).hasMatch()) {
            PrintCommandUsage(
                err, "records roles",
                QCoreApplication::translate(
                    "Cli", "ROLE ist ein einfacher Name aus Buchstaben, Ziffern und _, nicht %1")
                    .arg(Printable(role)));
            return kUsage;
        }
        out << RecordsDatabase::StationRoleSql(role);
        return kOk;
    }
    if (!o.error.isEmpty() || o.positional != QStringList{QStringLiteral("rebuild")}) {
        PrintCommandUsage(err, "records rebuild", {}, o.error);
        return kUsage;
    }
    // Every log is read before anything is written: a mistyped name stops the rebuild untouched.
    std::vector<std::unique_ptr<LineLog>> logs;
    for (const QString& path : o.logs) {
        logs.push_back(std::make_unique<LineLog>());
        if (const Result<> read = logs.back()->Read(path); !read) {
            err << "zalctl: "
                << QCoreApplication::translate("Cli", "das Protokoll %1 kann nicht gelesen werden: %2")
                       .arg(path, read.error())
                << Qt::endl;
            return read.problem() == Problem::Invalid ? kUsage : kFailed;
        }
    }
    Session s = MakeSession(err, o);
    BackupStore store = s.editor->backups();
    const RebuiltRecords rebuilt = store.Rebuild();
    if (rebuilt.unreadable > 0)
        err << "zalctl: "
            << QCoreApplication::translate("Cli",
                                           "%1 Dateien in %2 sind keine Abbilder und wurden übergangen")
                   .arg(rebuilt.unreadable)
                   .arg(store.folder())
            << Qt::endl;
    if (!rebuilt.outcome) {
        err << "zalctl: "
            << QCoreApplication::translate("Cli", "die Aufzeichnungen konnten nicht aufgebaut werden: %1")
                   .arg(rebuilt.outcome.error())
            << Qt::endl;
        return kFailed;
    }
    out << QCoreApplication::translate("Cli",
                                       "%1 von %2 Sicherungsdateien in die Aufzeichnungen aufgenommen, die "
                                       "übrigen standen schon darin")
               .arg(rebuilt.added)
               .arg(rebuilt.files - rebuilt.unreadable)
        << '\n';
    out << QCoreApplication::translate("Cli", "%n Festcodes aus den Abbildern gelten als vergeben (%1 neu)",
                                       nullptr, rebuilt.codes)
               .arg(rebuilt.newCodes)
        << '\n';
    RecordsDatabase records(store.database());
    for (size_t i = 0; i < logs.size(); ++i) {
        const QString& path = o.logs[static_cast<int>(i)];
        const Result<LineLog::Taken> taken = logs[i]->TakeInto(records, path);
        if (!taken) {
            err << "zalctl: "
                << QCoreApplication::translate("Cli", "die Codes aus %1 konnten nicht aufgenommen werden: %2")
                       .arg(path, taken.error())
                << Qt::endl;
            return kFailed;
        }
        out << QCoreApplication::translate("Cli", "%n Festcodes aus %1 gelten als vergeben (%2 neu)", nullptr,
                                           static_cast<int>(logs[i]->usedCodes().size()))
                   .arg(path)
                   .arg(taken->added)
            << '\n';
    }
    // What no backup file holds is gone with the records: said, with what to do about it.
    err << "zalctl: "
        << QCoreApplication::translate(
               "Cli",
               "nicht wiederhergestellt: Ersatzvermerke, Produktionsläufe und ihre Zeilen, und die "
               "Festcodes von Geräten ohne Sicherung hier. Jedes Protokoll einer Fertigungslinie mit --log "
               "nennen und records rebuild an jeder Station laufen lassen, die Sicherungen hat, bevor "
               "wieder Codes vergeben werden")
        << Qt::endl;
    return kOk;
}

int RunDevices(QTextStream& out, QTextStream& err, const QStringList& arguments) {
    const Options o = Parse(arguments);
    if (o.error.isEmpty() && o.positional.isEmpty())
        return ListDevices(out, err, o);
    if (o.error.isEmpty() && o.positional.size() == 2 && o.positional[0] == QLatin1String("show")) {
        if (o.positional[1].trimmed().isEmpty()) {
            PrintCommandUsage(err, "devices show",
                              QCoreApplication::translate("Cli", "SERIAL ist die Seriennummer eines Geräts"));
            return kUsage;
        }
        return ShowDevice(out, err, o);
    }
    PrintCommandUsage(err, "devices", {}, o.error);
    return kUsage;
}

} // namespace zal::cli
