#include "RecordCommands.h"

#include "CommandTable.h"
#include "Session.h"
#include "config/ImageFile.h"
#include "radio/DeviceIdentity.h"
#include "shell/FileSystem.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zal::cli {
namespace {

QJsonObject BackupJson(const BackupEntry& e, const QString& folder) {
    return QJsonObject{{QStringLiteral("file"), e.file},
                       {QStringLiteral("path"), folder + e.file},
                       {QStringLiteral("product"), e.device.productName},
                       {QStringLiteral("productCode"), e.device.product},
                       {QStringLiteral("version"), e.device.version},
                       {QStringLiteral("serial"), e.device.serial},
                       {QStringLiteral("radioId"), e.device.radioId},
                       {QStringLiteral("time"), e.time.toString(Qt::ISODate)},
                       {QStringLiteral("command"), e.command},
                       {QStringLiteral("result"), e.result}};
}

int ListBackups(QTextStream& out, QTextStream& err, const Options& o) {
    Session s = MakeSession(err, o);
    const BackupStore store = s.editor->backups();
    QJsonArray json;
    int listed = 0;
    for (const BackupEntry& e : store.List()) {
        if (!o.serial.isEmpty() && !SameSerial(e.device.serial, o.serial))
            continue;
        ++listed;
        if (o.json) {
            json.append(BackupJson(e, store.folder()));
            continue;
        }
        out << e.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) << "  " << e.device.productName << ' '
            << e.device.version << "  " << e.device.serial << "  "
            << (e.device.radioId.isEmpty() ? QStringLiteral("-") : e.device.radioId) << "  " << e.command
            << ' ' << (e.result.isEmpty() ? QStringLiteral("?") : e.result) << "  " << e.file << '\n';
    }
    if (o.json)
        out << QJsonDocument(json).toJson(QJsonDocument::Indented);
    out.flush();
    if (listed == 0 && !o.serial.isEmpty())
        err << "zalctl: no backup of a device with serial number " << o.serial << " in " << store.folder()
            << Qt::endl;
    return kOk;
}

int RestoreBackup(QTextStream& out, QTextStream& err, const Options& o) {
    Session s = MakeSession(err, o);
    // A name from the list, or a path.
    QString path = o.positional[1];
    if (!PathExists(path))
        path = s.editor->backups().folder() + path;
    if (!Open(s, path)) {
        err << "zalctl: " << o.positional[1] << " was not opened; nothing was written" << Qt::endl;
        return kFailed;
    }
    const DeviceIdentity id = IdentifyDevice(s.editor->working());
    if (!o.yes) {
        err << "zalctl: this writes the backup of " << id.productName << ' ' << id.serial << " ("
            << id.version << ") into the device; add --yes to do it" << Qt::endl;
        return kFailed;
    }
    ConfigImage kept{};
    const CommandResult result =
        LoadImageFile(path, kept) ? s.editor->RestoreImage(kept) : CommandResult::Failed;
    if (result)
        out << "restored " << QFileInfo(path).fileName() << '\n';
    return result ? kOk : kFailed;
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

} // namespace zal::cli
