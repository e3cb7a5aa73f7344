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
#include <limits>
#include <map>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    p.previewWrite = settings.text(kBackupSection, kBackupWritePreview).trimmed() != QLatin1String("0");
    return p;
}

bool StoreBackupBeforeWrite(const QString& settingsFile, bool on) {
    return WriteSettingValue(settingsFile, kBackupSection, kBackupBeforeWrite,
                             on ? QStringLiteral("1") : QStringLiteral("0"));
}

bool StoreWritePreview(const QString& settingsFile, bool on) {
    return WriteSettingValue(settingsFile, kBackupSection, kBackupWritePreview,
                             on ? QStringLiteral("1") : QStringLiteral("0"));
}

BackupStore::BackupStore(QString folder, BackupPolicy policy, Writer writer)
    : folder_(WithTrailingSeparator(std::move(folder))), policy_(policy), writer_(std::move(writer)) {
    if (!writer_)
        writer_ = WriteFileAtomically;
}

namespace {

// An entry without a time counts as the oldest (and is never removed).
qint64 MsecsOf(const BackupEntry& e) {
    return e.time.isValid() ? e.time.toMSecsSinceEpoch() : std::numeric_limits<qint64>::min();
}

} // namespace

const std::vector<BackupEntry>& BackupStore::ReadIndex() const {
    QFile index(indexPath());
    const bool open = index.open(QIODevice::ReadOnly);
    // Only appended to since: the lines read before still stand, and reading goes on after them.
    const bool appended = open && indexRead_ > 0 && index.size() >= indexRead_ &&
                          index.seek(indexRead_ - indexTail_.size()) &&
                          index.read(indexTail_.size()) == indexTail_;
    if (!appended) {
        indexEntries_.clear();
        indexTimes_.clear();
        indexByFile_.clear();
        indexRead_ = 0;
        indexTail_.clear();
        if (!open)
            return indexEntries_;
        index.seek(0);
    }
    while (!index.atEnd()) {
        const QByteArray line = index.readLine();
        // A line not yet ended (being written, or cut off) is read again next time with what follows.
        if (!line.endsWith('\n'))
            break;
        indexRead_ += line.size();
        const QJsonObject o = QJsonDocument::fromJson(line).object();
        const QString file = o.value(QStringLiteral("file")).toString();
        // A name with a path in it would reach outside the folder: only plain names count.
        if (file.isEmpty() || file.contains(u'/') || file.startsWith(u'.'))
            continue;
        const QString result = o.value(QStringLiteral("result")).toString();
        const auto known = indexByFile_.find(file);
        if (!o.contains(QStringLiteral("command"))) {
            if (known != indexByFile_.end())
                indexEntries_[known->second].result = result;
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
        if (known != indexByFile_.end()) {
            indexEntries_[known->second] = e;
            indexTimes_[known->second] = MsecsOf(e);
        } else {
            indexByFile_[file] = indexEntries_.size();
            indexEntries_.push_back(e);
            indexTimes_.push_back(MsecsOf(e));
        }
    }
    const qint64 tail = std::min<qint64>(indexRead_, 64);
    indexTail_.clear();
    if (index.seek(indexRead_ - tail))
        indexTail_ = index.read(tail);
    return indexEntries_;
}

std::vector<BackupEntry> BackupStore::List() const {
    std::vector<BackupEntry> entries = ReadIndex();
    std::erase_if(entries, [this](const BackupEntry& e) { return !QFileInfo(folder_ + e.file).isFile(); });
    std::stable_sort(entries.begin(), entries.end(),
                     [](const BackupEntry& a, const BackupEntry& b) { return a.time < b.time; });
    return entries;
}

bool BackupStore::AppendToIndex(const QByteArray& line) {
    const int fd = ::open(NativeName(indexPath()).constData(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    // A line torn by a kill or a power cut must not swallow this one: it is ended first, and stays an
    // unreadable line of its own.
    QByteArray text = line;
    struct stat st {};
    char last = '\n';
    if (::fstat(fd, &st) == 0 && st.st_size > 0 && ::pread(fd, &last, 1, st.st_size - 1) == 1 && last != '\n')
        text.prepend('\n');
    const bool ok = ::write(fd, text.constData(), static_cast<size_t>(text.size())) == text.size();
    return (::close(fd) == 0) && ok;
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

    // The device's newest backup that is still there stands for an image that has not changed since.
    // Only this device's entries are looked at on disk: the others may be thousands.
    std::vector<const BackupEntry*> own;
    for (const BackupEntry& e : ReadIndex()) {
        if (e.device.deviceKey() == device.deviceKey())
            own.push_back(&e);
    }
    std::stable_sort(own.begin(), own.end(),
                     [](const BackupEntry* a, const BackupEntry* b) { return a->time < b->time; });
    for (auto e = own.rbegin(); e != own.rend(); ++e) {
        if (!QFileInfo(folder_ + (*e)->file).isFile())
            continue;
        QByteArray previous;
        if (ReadWholeFile(folder_ + (*e)->file, previous) && previous == bytes) {
            stored.ok = stored.reused = true;
            stored.file = folder_ + (*e)->file;
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

namespace {

// The files the policy no longer keeps: old, and beyond the newest of their device. Each entry's time
// comes in ms since the epoch (local times would be converted at every comparison).
std::vector<QString> Expired(const std::vector<BackupEntry>& entries, const std::vector<qint64>& times,
                             const BackupPolicy& policy, const QDateTime& now) {
    const qint64 limit = now.addDays(-policy.maxAgeDays).toMSecsSinceEpoch();
    const auto old = [&](size_t i) { return entries[i].time.isValid() && times[i] < limit; };
    std::vector<size_t> byTime;
    for (size_t i = 0; i < entries.size(); ++i)
        byTime.push_back(i);
    if (std::none_of(byTime.begin(), byTime.end(), old))
        return {};
    std::stable_sort(byTime.begin(), byTime.end(), [&](size_t a, size_t b) { return times[a] < times[b]; });
    std::map<QString, int> newer; // per device, how many newer backups were seen
    std::vector<QString> gone;
    for (auto i = byTime.rbegin(); i != byTime.rend(); ++i) {
        const int rank = newer[entries[*i].device.deviceKey()]++;
        if (rank >= policy.keepPerDevice && old(*i))
            gone.push_back(entries[*i].file);
    }
    return gone;
}

} // namespace

int BackupStore::PruneLocked(const QDateTime& now) {
    // Entries whose files are gone only count as newer backups here, so that nothing expired by the
    // index alone means nothing expired at all; most writes end there without looking at the disk.
    if (Expired(ReadIndex(), indexTimes_, policy_, now).empty())
        return 0;
    const std::vector<BackupEntry> entries = List();
    std::vector<qint64> times;
    for (const BackupEntry& e : entries)
        times.push_back(MsecsOf(e));
    const std::vector<QString> gone = Expired(entries, times, policy_, now);
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
