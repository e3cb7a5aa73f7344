#pragma once

#include "editor/EnterData.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace zal::gui {

// "Sicherungen": the images kept from devices, newest first; one can be opened in the editor or written
// back into the device (with the write's checks and verification). It lists the newest ones; a serial
// number finds a device's older ones too.
class BackupsDialog : public QDialog {
public:
    static constexpr int kListed = 1000;

    BackupsDialog(TfrmEnterData& editor, QWidget* parent = nullptr);

    QTreeWidget* list() const { return list_; }
    QLineEdit* serialFilter() const { return serial_; }
    // Lists again, for the serial number typed (at once rather than after the pause while typing).
    void refresh() { fill(); }
    // A file holding the selected backup (another station's is written from the records); empty with
    // none selected, or when the records no longer hold it.
    QString selectedPath();
    // Opens the selected backup in the editor (after the question about unsaved changes); true when
    // the editor took it, and the dialog then closes.
    bool openSelected();
    // Asks, then writes the selected backup into the device.
    bool writeSelected(bool ask = true);

private:
    void fill();

    TfrmEnterData& editor_;
    std::vector<BackupEntry> entries_; // as listed; each item holds its index
    QTreeWidget* list_;
    QLineEdit* serial_;
    QLabel* more_; // that older backups are not listed
    QCheckBox* beforeWrite_;
    QCheckBox* preview_;
    QPushButton *open_, *write_;
};

// What a write will change in the device, before anything is written: the fields by page and group,
// the device's value beside the one it will get.
class WritePreviewDialog : public QDialog {
public:
    WritePreviewDialog(const std::vector<DifferenceRow>& rows, const std::optional<DeviceIdentity>& target,
                       QWidget* parent = nullptr);
    QTreeWidget* tree() const { return tree_; }
    QPushButton* writeButton() const { return write_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    QTreeWidget* tree_;
    QPushButton *write_, *cancel_;
};

// The fields whose shown values differ between the editor and another configuration, page by page,
// the values side by side; the other one can be opened from here.
class CompareDialog : public QDialog {
public:
    CompareDialog(TfrmEnterData& editor, const QString& otherPath,
                  const std::vector<TfrmEnterData::DifferenceRow>& rows, QWidget* parent = nullptr);
    QTreeWidget* tree() const { return tree_; }

private:
    QTreeWidget* tree_;
};

// A backup's command and result as the windows name them ("Lesen", "vor dem Schreiben"; "fertig").
QString BackupCommandText(const QString& command);
// What a transfer in a device's history did: "write" becomes "geschrieben und geprüft".
QString HistoryEventText(const QString& kind);
QString BackupResultText(const QString& result);
// A list that follows what is typed into field after a short pause rather than at every key, and at
// once on Enter.
void FollowTyping(QLineEdit* field, int pauseMs, QWidget* owner, std::function<void()> follow);
// A file holding the backup (another station's is written from the records); empty, after saying so
// in a box titled title, when the records no longer hold it.
QString BackupFile(TfrmEnterData& editor, const BackupEntry& entry, const QString& title, QWidget* parent);
// Asks (when ask), opens the backup held in path in the editor, then writes its own bytes into the
// device with the restore's checks (another device's backup goes in only as asked). True once written
// and verified.
bool WriteBackupIntoDevice(TfrmEnterData& editor, const QString& path, const BackupEntry& entry, bool ask,
                           QWidget* parent);

// File, "Vergleichen mit...": asks for the other configuration (a file or a backup) and shows the
// differences.
void CompareWithOther(TfrmEnterData& editor, QWidget* parent);
// File, "Bericht drucken / exportieren...": the report in a print preview, from which it can be
// printed or exported as PDF, HTML or CSV.
void ShowReport(TfrmEnterData& editor, QWidget* parent);
// Saves the report in the format the file name's extension names.
Result<> ExportReport(TfrmEnterData& editor, const QString& path);
// Help, "Supportinformationen speichern...".
void SaveSupportInformation(TfrmEnterData& editor, QWidget* parent);

} // namespace zal::gui
