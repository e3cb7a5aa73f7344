#pragma once

#include "config/ConfigImage.h"
#include "radio/DeviceIdentity.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class QLockFile;

namespace zal {

// How long backups are kept: a backup goes only when it is older than maxAgeDays and not among the
// newest keepPerDevice of its device, so every device keeps its recent history whatever the age.
struct BackupPolicy {
    int maxAgeDays = 365;
    int keepPerDevice = 20;
    bool beforeWrite = true; // read and keep the device's image before every write
    // Show the technician what a write will change before it changes anything; production work
    // turns it off.
    bool previewWrite = true;
};

// The policy from the section of its own in the settings file; missing or unusable keys give the
// defaults.
BackupPolicy LoadBackupPolicy(const QString& settingsFile);
bool StoreBackupBeforeWrite(const QString& settingsFile, bool on);
bool StoreWritePreview(const QString& settingsFile, bool on);

struct BackupEntry {
    QString file; // the name inside the backup folder
    DeviceIdentity device;
    QDateTime time;
    QString command; // what read the image: "read", "write", "write-default", ...
    QString result;  // how that command ended, once it has: "done", "refused", "failed", "cancelled"
};

// What Store came to.
struct StoredBackup {
    bool ok = false;
    bool reused = false; // the image equals the device's newest backup, which stands for it
    QString file;        // full path of the backup holding the image
    QString error;       // why nothing could be stored
};

// Images exactly as devices gave them, one file per image ("ZAL 004711 2026-12-07 10-15-02.bin", a plain
// configuration file the editor opens), and an index of JSON lines beside them. The index is only ever
// appended to, so an interrupted program cannot lose what it held; the result of a command is a line of
// its own that completes the entry of its file. Backup files are made read-only so that a backup
// opened in the editor is never overwritten by Save.
class BackupStore {
public:
    using Writer = std::function<bool(const QString& path, const QByteArray& data)>;

    // The folder ends with a separator. The writer is for tests that make the disk fail.
    explicit BackupStore(QString folder, BackupPolicy policy = {}, Writer writer = {});

    const QString& folder() const { return folder_; }
    QString indexPath() const { return folder_ + QStringLiteral("index.jsonl"); }
    const BackupPolicy& policy() const { return policy_; }
    void setPolicy(const BackupPolicy& policy) { policy_ = policy; }

    StoredBackup Store(const ConfigImage& image, const QString& command,
                       const QDateTime& now = QDateTime::currentDateTime());
    bool SetResult(const QString& file, const QString& result);

    // Every entry whose file is still there, oldest first.
    std::vector<BackupEntry> List() const;
    // Removes what the policy no longer keeps; the number of backups removed.
    int Prune(const QDateTime& now = QDateTime::currentDateTime());
    // The last entries of the index as they stand on disk (for a support bundle).
    QByteArray IndexTail(int entries) const;

private:
    std::unique_ptr<QLockFile> Lock() const;
    int PruneLocked(const QDateTime& now);
    // The index's entries, read from where the last call stopped when the file has only grown since.
    const std::vector<BackupEntry>& ReadIndex() const;
    bool AppendToIndex(const QByteArray& line);

    QString folder_;
    BackupPolicy policy_;
    Writer writer_;

    // What the index held up to `indexRead_` bytes, and its last bytes there, by which an index that
    // another program rewrote (a prune) is told from one that was only appended to. A production line
    // stores a backup per device; reading the whole index at each would make every write slower than
    // the one before. One store is used from one thread at a time.
    mutable std::vector<BackupEntry> indexEntries_;
    mutable std::vector<qint64> indexTimes_; // each entry's time in ms since the epoch, for the prune
    mutable std::map<QString, size_t> indexByFile_;
    mutable qint64 indexRead_ = 0;
    mutable QByteArray indexTail_;
};

// The backup folder in a data folder.
QString BackupFolder(const QString& dataFolder);

} // namespace zal
