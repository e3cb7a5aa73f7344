// What the device commands leave behind: the device backups and the support log.

#include "DeviceCommandSupport.h"

#include "backup/SupportLog.h"
#include "shell/FileSystem.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

namespace zal {

using namespace device_commands;

namespace {

QString Now() {
    return QDateTime::currentDateTime().toString(Qt::ISODateWithMs);
}

} // namespace

BackupStore TfrmEnterData::backups() const {
    const Settings settings = folders_.settings();
    BackupStore store(BackupFolder(folders_.dataFolder),
                      RecordsDatabase::Location(folders_.dataFolder, settings),
                      RecordsDatabase::Station(settings), LoadBackupPolicy(settings));
    store.notice = [this](const QString& text) {
        LogEvent(text);
        if (observer_.notice)
            observer_.notice(text);
    };
    return store;
}

BackupStore& TfrmEnterData::commandBackups() {
    BackupStore current = backups();
    if (commandBackups_ && commandBackups_->folder() == current.folder() &&
        commandBackups_->database() == current.database() && commandBackups_->station() == current.station())
        commandBackups_->setPolicy(current.policy());
    else
        commandBackups_.emplace(std::move(current));
    return *commandBackups_;
}

void TfrmEnterData::CloseRecords() {
    if (commandBackups_)
        commandBackups_->CloseRecords();
}

QString TfrmEnterData::supportLogPath() const {
    return SupportLogPath(folders_.dataFolder);
}

void TfrmEnterData::RecordLine(const QString& line) {
    if (record_.active)
        record_.lines << QStringLiteral("  ") + line;
}

CommandResult TfrmEnterData::RunDeviceCommand(const QString& name,
                                              const std::function<CommandResult()>& steps) {
    const CommandScope scope(*this);
    record_ = CommandRecord{};
    record_.active = true;
    // What an earlier command sent, and whom it found, says nothing of this one.
    swappedIn_.reset();
    sentInOrder_.clear();
    sentConfirmed_ = 0;
    record_.command = name;
    record_.lines << Now() + u' ' + name + QStringLiteral(" (") + productName(product()) + u' ' +
                         selection_.firmware().text() +
                         (fileName_.isEmpty() ? QString() : QStringLiteral(", ") + fileName_) + u')';
    if (frameLogging_) {
        kbx_.setTraceSink([this](qint64 ms, char direction, const QByteArray& bytes) {
            RecordLine(QStringLiteral("%1 %2 %3")
                           .arg(ms)
                           .arg(QLatin1Char(direction))
                           .arg(QString::fromLatin1(bytes)));
        });
    }
    QElapsedTimer timer;
    timer.start();
    const CommandResult result = scope(steps());
    kbx_.setTraceSink({});

    if (!record_.backupFile.isEmpty() && !record_.backupReused)
        commandBackups().SetResult(record_.backupFile, ResultWord(result.kind()));
    lastBackup_ = record_.backupFile;
    if (!record_.backupProblem.isEmpty()) {
        // After the command's own status, so that neither hides the other.
        const QString& text = record_.backupProblem;
        setStatus(status_.isEmpty() ? text : status_ + QStringLiteral(" \u2013 ") + text);
        if (observer_.notice)
            observer_.notice(text);
    }
    record_.lines << Now() + u' ' + name + QStringLiteral(": ") + ResultWord(result.kind()) +
                         QStringLiteral(" (%1 ms)").arg(timer.elapsed());
    record_.active = false;
    SupportLog(supportLogPath()).Append(record_.lines);
    return result;
}

void TfrmEnterData::LogEvent(const QString& text) const {
    SupportLog(supportLogPath()).Append({Now() + u' ' + text});
}

void TfrmEnterData::BackupDeviceImage(const ConfigImage& image) {
    const Result<StoredBackup> kept = commandBackups().Store(image, record_.command);
    if (kept) {
        const StoredBackup& stored = *kept;
        record_.backupFile = stored.file;
        record_.backupReused = stored.reused;
        RecordLine((stored.reused ? QStringLiteral("backup unchanged: ") : QStringLiteral("backup: ")) +
                   stored.file);
        if (!stored.recordsProblem.isEmpty()) {
            // The command goes on: the backup is there, only its record waits.
            record_.backupProblem = QCoreApplication::translate(
                                        "Editor", "Die Sicherung %1 wurde gespeichert, die Aufzeichnungen "
                                                  "konnten aber nicht aktualisiert werden (%2); sie wird "
                                                  "nachgetragen, sobald sie erreichbar sind.")
                                        .arg(stored.file, stored.recordsProblem);
            RecordLine(QStringLiteral("records not updated: ") + stored.recordsProblem);
        }
    } else {
        record_.backupProblem =
            QCoreApplication::translate("Editor", "Sicherung fehlgeschlagen: %1").arg(kept.error());
        RecordLine(QStringLiteral("backup failed: ") + kept.error());
    }
}

Result<> TfrmEnterData::RecordDeviceEvent(const ConfigImage& image, const QString& kind) {
    return commandBackups().RecordEvent(image, kind);
}

void TfrmEnterData::RecordEvent(const QString& kind) {
    const Result<> recorded = RecordDeviceEvent(comparison_, kind);
    RecordLine(QStringLiteral("event %1: ").arg(kind) +
               (recorded ? QStringLiteral("recorded") : recorded.error()));
    if (recorded)
        return;
    const QString text =
        QCoreApplication::translate("Editor", "Die Aufzeichnungen konnten nicht festhalten, was "
                                              "das Gerät jetzt hält: %1")
            .arg(recorded.error());
    record_.backupProblem =
        record_.backupProblem.isEmpty() ? text : record_.backupProblem + QStringLiteral(" \u2013 ") + text;
}

QString TfrmEnterData::KbxInformation() {
    CommandFrame frame(*this, kbx_);
    if (kbx_.Open() != kbxOk) {
        const QString why = kbx_.openFailure();
        return MessageText(Msg::KbxNotFound) + (why.isEmpty() ? QString() : QStringLiteral("\n") + why);
    }
    QString info;
    if (kbx_.ReadInfo(info) != kbxOk)
        return QCoreApplication::translate("Editor", "Die KBX hat keinen Informationstext geliefert.");
    return info;
}

} // namespace zal
