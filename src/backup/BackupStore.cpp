#include "BackupStore.h"
#include "BackupNames.h"

#include "shell/AppFolders.h"
#include "shell/FileSystem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <map>
#include <set>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zal {
using namespace backup_names;
namespace {

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
        {QStringLiteral("result"), e.result},
        {QStringLiteral("station"), e.station},
        {QStringLiteral("user"), e.user}};
}

QByteArray Line(const QJsonObject& o) {
    return QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n';
}

} // namespace

QString BackupFolder(const QString& dataFolder) {
    return WithTrailingSeparator(dataFolder) + QStringLiteral("Backups/");
}

BackupPolicy LoadBackupPolicy(const Settings& settings) {
    BackupPolicy p;
    p.maxAgeDays = settings.value(setting::kBackupMaxAgeDays);
    p.keepPerDevice = settings.value(setting::kBackupKeepPerDevice);
    p.beforeWrite = settings.value(setting::kBackupBeforeWrite);
    p.previewWrite = settings.value(setting::kBackupWritePreview);
    return p;
}

Result<> StoreBackupBeforeWrite(const QString& settingsFile, bool on) {
    return Settings::Store(settingsFile, setting::kBackupBeforeWrite, on);
}

Result<> StoreWritePreview(const QString& settingsFile, bool on) {
    return Settings::Store(settingsFile, setting::kBackupWritePreview, on);
}

BackupStore::BackupStore(QString folder, QString database, QString station, BackupPolicy policy,
                         Writer writer)
    : folder_(WithTrailingSeparator(std::move(folder))), database_(std::move(database)),
      station_(std::move(station)), policy_(policy), writer_(std::move(writer)) {
    if (!writer_)
        writer_ = WriteFileAtomically;
}

namespace {

// The entries of an index file, a later line for the same file (its result) completing the earlier;
// the numbers of the lines that could not be read.
std::vector<BackupEntry> ParseIndex(const QByteArray& text, std::vector<int>& unreadable) {
    std::vector<BackupEntry> entries;
    std::map<QString, size_t> byFile;
    const QList<QByteArray> lines = text.split('\n');
    for (int n = 0; n < lines.size(); ++n) {
        if (lines[n].trimmed().isEmpty())
            continue;
        const QJsonObject o = QJsonDocument::fromJson(lines[n]).object();
        const QString file = o.value(QStringLiteral("file")).toString();
        const auto known = byFile.find(file);
        if (!PlainName(file) || (!o.contains(QStringLiteral("command")) && known == byFile.end())) {
            unreadable.push_back(n + 1);
            continue;
        }
        const QString result = o.value(QStringLiteral("result")).toString();
        if (!o.contains(QStringLiteral("command"))) {
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
        e.station = o.value(QStringLiteral("station")).toString();
        e.user = o.value(QStringLiteral("user")).toString();
        if (known != byFile.end()) {
            entries[known->second] = e;
        } else {
            byFile[file] = entries.size();
            entries.push_back(e);
        }
    }
    return entries;
}

QString Numbers(const std::vector<int>& numbers) {
    QStringList text;
    for (const int n : numbers)
        text << QString::number(n);
    return text.join(QStringLiteral(", "));
}

} // namespace

RecordsDatabase* BackupStore::Records(bool locked) {
    // The records keep each thread's connection; this handle only keeps a call's outcome, so that
    // each thread (and a call after a failed one) has its own.
    if (!records_ || !records_->error().isEmpty() || recordsThread_ != std::this_thread::get_id()) {
        records_ = std::make_shared<RecordsDatabase>(database_);
        recordsThread_ = std::this_thread::get_id();
    }
    if (!records_->isOpen()) {
        failure_ = records_->failure();
        records_.reset();
        return nullptr;
    }
    if (PathExists(indexPath())) {
        const auto lock = locked ? nullptr : Lock();
        ImportIndex(*records_);
    }
    return records_.get();
}

void BackupStore::CloseRecords() {
    records_.reset();
}

void BackupStore::ImportIndex(RecordsDatabase& records) {
    QByteArray text;
    if (!ReadWholeFile(indexPath(), text))
        return; // another program took it in a moment ago
    std::vector<int> unreadable;
    std::vector<BackupEntry> entries = ParseIndex(text, unreadable);
    int withoutFile = 0;
    std::erase_if(entries, [&](BackupEntry& e) {
        // An earlier index is this station's own; its entries name their files here.
        if (e.station.isEmpty())
            e.station = station_;
        if (!ReadWholeFile(folder_ + e.file, e.image) || e.image.size() != kImageSize) {
            ++withoutFile;
            return true;
        }
        return false;
    });
    const Result<int> added = records.AddBackups(entries);
    if (!added) {
        failure_ = added.failure();
        return;
    }
    // Kept beside, never lost: an earlier import's file takes this one's lines after its own.
    const QString kept = indexPath() + QStringLiteral(".imported");
    QByteArray before;
    if (PathExists(kept) && !ReadWholeFile(kept, before))
        return;
    if (!WriteFileAtomically(kept, before + text) || !QFile::remove(indexPath()))
        return;
    // The details are items of the sentence's list, each there only when it has something to say.
    const QString leftOut =
        withoutFile > 0
            ? QCoreApplication::translate("Backups", ", %n ohne ihre Datei ausgelassen", nullptr, withoutFile)
            : QString();
    const QString unread =
        unreadable.empty()
            ? QString()
            : QCoreApplication::translate("Backups", "; nicht lesbare Zeilen: %1").arg(Numbers(unreadable));
    if (notice)
        notice(QCoreApplication::translate(
                   "Backups",
                   "Der Sicherungsindex %1 wurde in die Aufzeichnungen übernommen: %n Einträge%2%3. "
                   "Er liegt nun als %4.",
                   nullptr, *added)
                   .arg(indexPath(), leftOut, unread, kept));
}

Result<> BackupStore::Journal(const QByteArray& line) {
    const auto failed = [this](int cause) {
        return Failure{FileProblem(cause),
                       QCoreApplication::translate("Backups", "%1 kann nicht geschrieben "
                                                              "werden: %2")
                           .arg(indexPath(), QString::fromLocal8Bit(std::strerror(cause)))};
    };
    const int fd = ::open(NativeName(indexPath()).constData(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return failed(errno);
    // A line torn by a kill or a power cut must not swallow this one: it is ended first, and stays an
    // unreadable line of its own.
    QByteArray text = line;
    struct stat st {};
    char last = '\n';
    if (::fstat(fd, &st) == 0 && st.st_size > 0 && ::pread(fd, &last, 1, st.st_size - 1) == 1 && last != '\n')
        text.prepend('\n');
    const ssize_t n = ::write(fd, text.constData(), static_cast<size_t>(text.size()));
    const int cause = n < 0 ? errno : ENOSPC; // a short write: the disk filled up under it
    if (::close(fd) != 0 || n != text.size())
        return failed(n == text.size() ? errno : cause);
    return {};
}

Result<StoredBackup> BackupStore::Store(const ConfigImage& image, const QString& command,
                                        const QDateTime& now) {
    StoredBackup stored;
    if (!QDir().mkpath(folder_))
        return Failure{
            Problem::Unreachable,
            QCoreApplication::translate("Backups", "Ordner %1 kann nicht angelegt werden").arg(folder_)};
    const auto lock = Lock();
    RecordsDatabase* const records = Records(true);
    const DeviceIdentity device = IdentifyDevice(image);
    const QByteArray bytes = ImageBytes(image);

    // The device's backups at this station: the newest stands for an image that has not changed since,
    // their names are taken, and the policy is applied to them with the new one.
    std::vector<BackupEntry> own;
    if (records) {
        own = records->Backups({.station = station_, .deviceKey = device.deviceKey(), .images = true})
                  .value_or(std::vector<BackupEntry>{});
        if (!own.empty() && own.back().image == bytes && PlainName(own.back().file) &&
            IsRegularFile(folder_ + own.back().file)) {
            stored.reused = true;
            stored.file = folder_ + own.back().file;
            return stored;
        }
    }
    const auto taken = [&](const QString& name) {
        return PathExists(folder_ + name) ||
               std::any_of(own.begin(), own.end(), [&](const BackupEntry& e) { return e.file == name; });
    };

    const QString base = device.deviceKey() + u' ' + now.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss"));
    QString name = base + QStringLiteral(".bin");
    for (int n = 2; taken(name); ++n)
        name = base + QStringLiteral(" (%1).bin").arg(n);
    if (const Result<> written = writer_(folder_ + name, bytes); !written) {
        QFile::remove(folder_ + name);
        return Failure{written.problem(),
                       QCoreApplication::translate("Backups", "%1 kann nicht geschrieben werden: %2")
                           .arg(folder_ + name, written.error())};
    }
    QFile::setPermissions(folder_ + name, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);

    const BackupEntry e{name, device, now, command, QString(), station_, RecordsDatabase::User(), bytes};
    const Result<int> added = records ? records->AddBackups({e}) : Result<int>(failure_);
    if (!added || *added != 1) {
        if (!added)
            stored.recordsProblem = added.error();
        else // a PC under the same station name recorded a backup of this name
            stored.recordsProblem = QCoreApplication::translate("Backups", "%1 steht dort schon").arg(name);
        if (Result<> journaled = Journal(Line(EntryJson(e))); !journaled) {
            // An image that neither the records nor the index name would be invisible: better none at all.
            QFile::setPermissions(folder_ + name, QFile::ReadOwner | QFile::WriteOwner);
            QFile::remove(folder_ + name);
            return journaled.failure();
        }
    }
    stored.file = folder_ + name;
    if (records && stored.recordsProblem.isEmpty()) {
        // This device's backups now; the others once a day, as they age.
        own.push_back(e);
        PruneEntries(*records, own, now);
        constexpr qint64 kDay = 24 * 3600 * 1000LL;
        if (now.toMSecsSinceEpoch() - prunedAt_ > kDay)
            prunedAt_ = records->LastFullPrune(station_).value_or(0);
        if (now.toMSecsSinceEpoch() - prunedAt_ > kDay) {
            PruneAll(*records, now);
            prunedAt_ = now.toMSecsSinceEpoch();
        }
    }
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
    const QString name = QFileInfo(file).fileName();
    RecordsDatabase* const records = Records(true);
    if (records && records->SetBackupResult(station_, name, result))
        return true;
    return static_cast<bool>(
        Journal(Line(QJsonObject{{QStringLiteral("file"), name}, {QStringLiteral("result"), result}})));
}

Result<> BackupStore::List(const BackupQuery& query, const std::function<bool(const BackupEntry&)>& each) {
    RecordsDatabase* const records = Records(false);
    if (!records)
        return failure_;
    return records->Backups(query, each);
}

Result<> BackupStore::RecordReplacement(const DeviceIdentity& old, const DeviceIdentity& replacement) {
    RecordsDatabase* const records = Records(false);
    if (!records)
        return failure_;
    return records->RecordReplacement(old, replacement, station_);
}

int BackupStore::FileCount() const {
    return static_cast<int>(QDir(folder_).entryList({QStringLiteral("*.bin")}, QDir::Files).size());
}

RebuiltRecords BackupStore::Rebuild() {
    RebuiltRecords rebuilt;
    RecordsDatabase* const records = Records(false); // takes a waiting index in first
    if (!records) {
        rebuilt.outcome = failure_;
        return rebuilt;
    }
    // What the journals still say of each file: its command, result, user and exact time.
    std::map<QString, BackupEntry> journal;
    for (const QString& path : {indexPath(), indexPath() + QStringLiteral(".imported")}) {
        QByteArray text;
        std::vector<int> unreadable;
        if (ReadWholeFile(path, text))
            for (BackupEntry& e : ParseIndex(text, unreadable))
                journal[e.file] = std::move(e);
    }
    static const QRegularExpression stamp(QStringLiteral("(\\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d-\\d\\d)"));
    std::vector<BackupEntry> batch;
    std::set<std::uint16_t> codes;
    const auto flush = [&] {
        const Result<int> added = records->AddBackups(batch);
        if (!added) {
            rebuilt.outcome = added.failure();
            return false;
        }
        rebuilt.added += *added;
        batch.clear();
        return true;
    };
    for (const QFileInfo& info :
         QDir(folder_).entryInfoList({QStringLiteral("*.bin")}, QDir::Files, QDir::Name)) {
        ++rebuilt.files;
        QByteArray bytes;
        if (!ReadWholeFile(info.filePath(), bytes) || bytes.size() != kImageSize) {
            ++rebuilt.unreadable;
            continue;
        }
        const auto known = journal.find(info.fileName());
        BackupEntry e = known != journal.end() ? known->second : BackupEntry{};
        ConfigImage image{};
        std::copy(bytes.begin(), bytes.end(), image.begin());
        // A device's fixed codes must never go to another: whatever a kept image holds counts as
        // handed out, also when the records that said so are lost.
        for (const std::uint16_t code : FixedCodesOf(image))
            codes.insert(code);
        e.file = info.fileName();
        e.device = IdentifyDevice(image);
        e.image = bytes;
        if (e.station.isEmpty())
            e.station = station_;
        if (!e.time.isValid()) {
            // The name holds the local time it was made at; else the file's own time.
            const auto match = stamp.match(e.file);
            e.time = match.hasMatch()
                         ? QDateTime::fromString(match.captured(1), QStringLiteral("yyyy-MM-dd HH-mm-ss"))
                         : info.lastModified();
        }
        if (e.command.isEmpty())
            e.command = QStringLiteral("read");
        if (e.user.isEmpty())
            e.user = info.owner();
        batch.push_back(std::move(e));
        // In parts, so that a folder of 100,000 backups is never held at once.
        if (batch.size() == 1000 && !flush())
            return rebuilt;
    }
    if (!flush())
        return rebuilt;
    rebuilt.codes = static_cast<int>(codes.size());
    const Result<int> marked = records->ImportUsedCodes(codes, QStringLiteral("backups"));
    if (!marked)
        rebuilt.outcome = marked.failure();
    else
        rebuilt.newCodes = *marked;
    return rebuilt;
}

Result<std::vector<BackupEntry>> BackupStore::List(const BackupQuery& query) {
    RecordsDatabase* const records = Records(false);
    if (!records)
        return failure_;
    return records->Backups(query);
}

Result<BackupEntry> BackupStore::Find(const QString& file) {
    RecordsDatabase* const records = Records(false);
    if (!records)
        return failure_;
    const Result<std::vector<BackupEntry>> found = records->Backups({.file = file, .images = true});
    if (!found)
        return found.failure();
    if (found->empty())
        return Failure{Problem::NotFound, QString()};
    const auto own = std::find_if(found->begin(), found->end(),
                                  [this](const BackupEntry& e) { return e.station == station_; });
    return own != found->end() ? *own : found->back();
}

QString BackupStore::LocalFile(const BackupEntry& entry) {
    if (!PlainName(entry.file))
        return {};
    QString folder = folder_;
    if (entry.station != station_) {
        // Another station's backups each in a folder named after it, so that equal names never meet.
        QString station = entry.station;
        station.replace(u'/', u'_');
        if (station.isEmpty() || station.startsWith(u'.'))
            station.prepend(u'_');
        folder += QStringLiteral("stations/") + station + u'/';
    }
    const QString path = folder + entry.file;
    QByteArray there, image = entry.image;
    if (ReadWholeFile(path, there) && (image.isEmpty() || there == image))
        return path;
    if (image.isEmpty()) {
        if (RecordsDatabase* const records = Records(false)) {
            const auto kept =
                records->Backups({.station = entry.station, .file = entry.file, .images = true});
            if (kept && !kept->empty())
                image = kept->front().image;
        }
    }
    if (image.size() != kImageSize || !QDir().mkpath(folder))
        return {};
    if (PathExists(path))
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    if (!WriteFileAtomically(path, image))
        return {};
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    return path;
}

} // namespace zal
