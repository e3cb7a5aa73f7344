#pragma once

#include "config/ConfigImage.h"
#include "radio/DeviceIdentity.h"
#include "records/RecordsDatabase.h"
#include "shell/Settings.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

class QLockFile;

namespace zal {

// How long backups are kept: a backup goes only when it is older than maxAgeDays and not among the
// newest keepPerDevice of its device, so every device keeps its recent history whatever the age.
struct BackupPolicy {
    int maxAgeDays = setting::kBackupMaxAgeDays.fallback;
    int keepPerDevice = setting::kBackupKeepPerDevice.fallback;
    // read and keep the device's image before every write
    bool beforeWrite = setting::kBackupBeforeWrite.fallback;
    // Show the technician what a write will change before it changes anything; production work
    // turns it off.
    bool previewWrite = setting::kBackupWritePreview.fallback;
};

// The policy from the settings; missing or unusable keys give the defaults.
BackupPolicy LoadBackupPolicy(const Settings& settings);
Result<> StoreBackupBeforeWrite(const QString& settingsFile, bool on);
Result<> StoreWritePreview(const QString& settingsFile, bool on);

// What Store came to.
struct StoredBackup {
    bool reused = false; // the image equals the device's newest backup, which stands for it
    QString file;        // full path of the backup holding the image
    // Why the records could not take it (the file is kept, and recorded when they can be reached again).
    QString recordsProblem;
};

// What taking the backup files back into the records came to.
struct RebuiltRecords {
    Result<> outcome;   // whether the records took them all, else why not
    int files = 0;      // backup files found
    int added = 0;      // of them, taken into the records (the others were there already)
    int unreadable = 0; // not a 256-byte image
    int codes = 0;      // fixed radio ID codes the images hold
    int newCodes = 0;   // of them, not yet counted as handed out in the records
};

// Images exactly as devices gave them, one file per image ("ZAL 004711 2026-12-07 10-15-02.bin", a plain
// configuration file the editor opens), indexed in the records database together with a copy of the
// image, the station and the user, so that a backup made at another station is listed, opened and
// restored from there. A file is written before its record, each record in one transaction: a kill loses
// at most the backup under way. Backup files are made read-only so that a backup opened in the editor is
// never overwritten by Save.
//
// When the records cannot be reached, the backup is still written and its entry kept as a line in
// index.jsonl beside the files (the index of earlier versions), which is taken into the records, and
// kept as index.jsonl.imported, the next time they can be reached.
class BackupStore {
public:
    using Writer = std::function<Result<>(const QString& path, const QByteArray& data)>;

    // The folder ends with a separator. The writer is for tests that make the disk fail.
    BackupStore(QString folder, QString database, QString station, BackupPolicy policy = {},
                Writer writer = {});

    const QString& folder() const { return folder_; }
    const QString& station() const { return station_; }
    const QString& database() const { return database_; }
    QString indexPath() const { return folder_ + QStringLiteral("index.jsonl"); }
    const BackupPolicy& policy() const { return policy_; }
    void setPolicy(const BackupPolicy& policy) { policy_ = policy; }
    // What the technician should hear of: an earlier index taken into the records.
    std::function<void(const QString&)> notice;

    // The file holding the image; a failure when none could be written.
    Result<StoredBackup> Store(const ConfigImage& image, const QString& command,
                               const QDateTime& now = QDateTime::currentDateTime());
    bool SetResult(const QString& file, const QString& result);

    // The backups the records hold, of every station, oldest first.
    Result<std::vector<BackupEntry>> List(const BackupQuery& query = {});
    // Takes every backup file of this station back into the records (lost or replaced records): the
    // device from the image, the command, user and time from the index journals where they name the
    // file, else the time from the file's name. Entries already there are kept as they are.
    RebuiltRecords Rebuild();
    // Records what a transfer left in the device, read back (kind: "write", "restore", "replacement",
    // "write-default", "line"); its device row takes it as its newest state.
    Result<> RecordEvent(const ConfigImage& image, const QString& kind,
                         const QDateTime& now = QDateTime::currentDateTime());
    // A device's history: the backups the query names and the events after transfers, oldest first
    // (at the same moment the image read before comes first), each with its image; an event has no file.
    Result<std::vector<BackupEntry>> History(BackupQuery query);
    // Notes in the records that replacement took the place of old (see RecordsDatabase).
    Result<> RecordReplacement(const DeviceIdentity& old, const DeviceIdentity& replacement);
    // How many backup files this station's folder holds.
    int FileCount() const;
    // Each in turn, without holding them all.
    Result<> List(const BackupQuery& query, const std::function<bool(const BackupEntry&)>& each);
    // A backup by its file name (this station's first), with its image; NotFound when the records
    // know none of that name.
    Result<BackupEntry> Find(const QString& file);
    // A file holding the backup's image: this station's own file, or one written from the records
    // (another station's backups go into a folder per station). Empty when there is none.
    QString LocalFile(const BackupEntry& entry);
    // Removes what the policy no longer keeps of this station's backups; how many went.
    int Prune(const QDateTime& now = QDateTime::currentDateTime());
    // Ends the connection to the records kept between calls; from the thread that used it.
    void CloseRecords();

private:
    std::unique_ptr<QLockFile> Lock() const;
    // The records, with an earlier index taken in when one is there; null when they cannot be reached.
    RecordsDatabase* Records(bool locked);
    void ImportIndex(RecordsDatabase& records);
    // Keeps a line for the records in index.jsonl while they cannot be reached.
    Result<> Journal(const QByteArray& line);
    int PruneEntries(RecordsDatabase& records, const std::vector<BackupEntry>& entries, const QDateTime& now);
    int PruneAll(RecordsDatabase& records, const QDateTime& now);

    QString folder_;
    QString database_;
    QString station_;
    BackupPolicy policy_;
    Writer writer_;
    Failure failure_;     // why the records could not be reached or written last, of its own kind
    qint64 prunedAt_ = 0; // when all of this station's backups were last pruned, as last looked up
    // The connection kept between calls (shared by copies of the store), and the thread it belongs to.
    std::shared_ptr<RecordsDatabase> records_;
    std::thread::id recordsThread_;
};

// The backup folder in a data folder.
QString BackupFolder(const QString& dataFolder);

} // namespace zal
