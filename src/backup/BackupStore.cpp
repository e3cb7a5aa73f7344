#include "BackupStore.h"

#include "shell/AppFolders.h"
#include "shell/FileSystem.h"
#include "shell/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>

#include <algorithm>
#include <map>

namespace zal {
namespace {

int PositiveSetting(const QString& text, int fallback) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value > 0 ? value : fallback;
}

QByteArray ImageBytes(const ConfigImage& image) {
    return QByteArray(reinterpret_cast<const char*>(image.data()), static_cast<qsizetype>(image.size()));
}

QJsonObject EntryJson(const BackupEntry& e) {
    return QJsonObject{
        {QStringLiteral("file"), e.file},
        {QStringLiteral("product"), e.device.product},
        {QStringLiteral("productName"), e.device.productName},
        {QStringLiteral("version"), e.device.version},
        {QStringLiteral("serial"), e.device.serial},
        {QStringLiteral("radioId"), e.device.radioId},
        {QStringLiteral("time"), e.time.toOffsetFromUtc(e.time.offsetFromUtc()).toString(Qt::ISODate)},
        {QStringLiteral("command"), e.command},
        {QStringLiteral("result"), e.result}};
}

QByteArray Line(const QJsonObject& o) {
    return QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n';
}

} // namespace

QString BackupFolder(const QString& dataFolder) {
    return WithTrailingSeparator(dataFolder) + QStringLiteral("Backups/");
}

BackupPolicy LoadBackupPolicy(const QString& settingsFile) {
    const SettingsFile settings = SettingsFile::Load(settingsFile);
    BackupPolicy p;
    p.maxAgeDays = PositiveSetting(settings.text(kBackupSection, kBackupMaxAgeDays), p.maxAgeDays);
    p.keepPerDevice = PositiveSetting(settings.text(kBackupSection, kBackupKeepPerDevice), p.keepPerDevice);
    p.beforeWrite = settings.text(kBackupSection, kBackupBeforeWrite).trimmed() != QLatin1String("0");
    return p;
}

bool StoreBackupBeforeWrite(const QString& settingsFile, bool on) {
    return WriteSettingValue(settingsFile, kBackupSection, kBackupBeforeWrite,
                             on ? QStringLiteral("1") : QStringLiteral("0"));
}

BackupStore::BackupStore(QString folder, BackupPolicy policy, Writer writer)
    : folder_(WithTrailingSeparator(std::move(folder))), policy_(policy), writer_(std::move(writer)) {
    if (!writer_)
        writer_ = WriteFileAtomically;
}

std::vector<BackupEntry> BackupStore::ReadIndex() const {
    std::vector<BackupEntry> entries;
    QFile index(indexPath());
    if (!index.open(QIODevice::ReadOnly))
        return entries;
    std::map<QString, size_t> byFile;
    while (!index.atEnd()) {
        const QJsonObject o = QJsonDocument::fromJson(index.readLine()).object();
        const QString file = o.value(QStringLiteral("file")).toString();
        // A name with a path in it would reach outside the folder: only plain names count.
        if (file.isEmpty() || file.contains(u'/') || file.startsWith(u'.'))
            continue;
        const QString result = o.value(QStringLiteral("result")).toString();
        const auto known = byFile.find(file);
        if (!o.contains(QStringLiteral("command"))) {
            if (known != byFile.end())
                entries[known->second].result = result;
            continue;
        }
        BackupEntry e;
        e.file = file;
        e.device.product = o.value(QStringLiteral("product")).toInt();
        e.device.productName = o.value(QStringLiteral("productName")).toString();
        e.device.version = o.value(QStringLiteral("version")).toString();
        e.device.serial = o.value(QStringLiteral("serial")).toString();
        e.device.radioId = o.value(QStringLiteral("radioId")).toString();
        e.time = QDateTime::fromString(o.value(QStringLiteral("time")).toString(), Qt::ISODate);
        e.command = o.value(QStringLiteral("command")).toString();
        e.result = result;
        if (known != byFile.end()) {
            entries[known->second] = e;
        } else {
            byFile[file] = entries.size();
            entries.push_back(e);
        }
    }
    return entries;
}

std::vector<BackupEntry> BackupStore::List() const {
    std::vector<BackupEntry> entries = ReadIndex();
    std::erase_if(entries, [this](const BackupEntry& e) { return !QFileInfo(folder_ + e.file).isFile(); });
    std::stable_sort(entries.begin(), entries.end(),
                     [](const BackupEntry& a, const BackupEntry& b) { return a.time < b.time; });
    return entries;
}

bool BackupStore::AppendToIndex(const QByteArray& line) {
    QFile index(indexPath());
    if (!index.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const bool ok = index.write(line) == line.size() && index.flush();
    return ok;
}

StoredBackup BackupStore::Store(const ConfigImage& image, const QString& command, const QDateTime& now) {
    StoredBackup stored;
    if (!QDir().mkpath(folder_)) {
        stored.error = QStringLiteral("Ordner %1 kann nicht angelegt werden").arg(folder_);
        return stored;
    }
    const auto lock = Lock();
    const DeviceIdentity device = IdentifyDevice(image);
    const QByteArray bytes = ImageBytes(image);

    // The device's newest backup stands for an image that has not changed since.
    const std::vector<BackupEntry> entries = List();
    for (auto e = entries.rbegin(); e != entries.rend(); ++e) {
        if (e->device.deviceKey() != device.deviceKey())
            continue;
        QByteArray previous;
        if (ReadWholeFile(folder_ + e->file, previous) && previous == bytes) {
            stored.ok = stored.reused = true;
            stored.file = folder_ + e->file;
            return stored;
        }
        break;
    }

    const QString base = device.deviceKey() + u' ' + now.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
    QString name = base + QStringLiteral(".bin");
    for (int n = 2; QFileInfo::exists(folder_ + name); ++n)
        name = base + QStringLiteral(" (%1).bin").arg(n);
    if (!writer_(folder_ + name, bytes)) {
        QFile::remove(folder_ + name);
        stored.error = QStringLiteral("%1 kann nicht geschrieben werden").arg(folder_ + name);
        return stored;
    }
    QFile::setPermissions(folder_ + name, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);

    BackupEntry e{name, device, now, command, QString()};
    if (!AppendToIndex(Line(EntryJson(e)))) {
        // An image without its index line would be invisible to the list: better none at all.
        QFile::setPermissions(folder_ + name, QFile::ReadOwner | QFile::WriteOwner);
        QFile::remove(folder_ + name);
        stored.error = QStringLiteral("%1 kann nicht geschrieben werden").arg(indexPath());
        return stored;
    }
    stored.ok = true;
    stored.file = folder_ + name;
    PruneLocked(now);
    return stored;
}

std::unique_ptr<QLockFile> BackupStore::Lock() const {
    // Units of a production line, and a window and zalctl side by side, share the folder: one at a time
    // changes it. A lock that cannot be had in time is gone without: a backup matters more.
    auto lock = std::make_unique<QLockFile>(folder_ + QStringLiteral(".lock"));
    lock->tryLock(5000);
    return lock;
}

bool BackupStore::SetResult(const QString& file, const QString& result) {
    const auto lock = Lock();
    return AppendToIndex(Line(QJsonObject{{QStringLiteral("file"), QFileInfo(file).fileName()},
                                          {QStringLiteral("result"), result}}));
}

int BackupStore::Prune(const QDateTime& now) {
    const auto lock = Lock();
    return PruneLocked(now);
}

int BackupStore::PruneLocked(const QDateTime& now) {
    std::vector<BackupEntry> entries = List();
    std::map<QString, int> newer; // per device, how many newer backups were seen
    const QDateTime limit = now.addDays(-policy_.maxAgeDays);
    std::vector<QString> gone;
    for (auto e = entries.rbegin(); e != entries.rend(); ++e) {
        const int rank = newer[e->device.deviceKey()]++;
        if (rank >= policy_.keepPerDevice && e->time.isValid() && e->time < limit)
            gone.push_back(e->file);
    }
    int removed = 0;
    for (const QString& file : gone) {
        if (QFile::remove(folder_ + file))
            ++removed;
    }
    if (removed == 0)
        return 0;
    // The index is rewritten without the removed entries, so that it does not grow without end.
    QByteArray index;
    for (const BackupEntry& e : List())
        index += Line(EntryJson(e));
    WriteFileAtomically(indexPath(), index);
    return removed;
}

QByteArray BackupStore::IndexTail(int count) const {
    const std::vector<BackupEntry> entries = List();
    QByteArray tail;
    for (size_t i = entries.size() > static_cast<size_t>(count) ? entries.size() - count : 0;
         i < entries.size(); ++i)
        tail += Line(EntryJson(entries[i]));
    return tail;
}

} // namespace zal
